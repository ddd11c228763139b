#include "runtime/strings/text_search.h"

#include <cstdint>
#include <cstring>

namespace dove::search {
namespace {

constexpr size_t kMaxSkip = 255;

bool MatchesAt(std::string_view text, std::string_view find, long pos) {
    return std::memcmp(text.data() + pos - 1, find.data(), find.size()) == 0;
}

long Forward(std::string_view text, std::string_view find, long step, long start) {
    const long last = static_cast<long>(text.size() - find.size()) + 1;
    if (step == 1 && text.size() >= kSkipTextMin && find.size() >= kSkipPatternMin) {
        if (start > last) return 0;
        const size_t at = SkipSearch(text, find, static_cast<size_t>(start - 1));
        return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
    }
    for (long pos = start; pos <= last; pos += step) {
        if (MatchesAt(text, find, pos)) return (pos - 1) / step + 1;
        if (step > last - pos) break;
    }
    return 0;
}

long Backward(std::string_view text, std::string_view find, long step, long start) {
    const long last = static_cast<long>(text.size() - find.size()) + 1;
    long pos = start;
    if (pos > last) {
        const long excess = pos - last;
        pos -= (excess / step + (excess % step != 0 ? 1 : 0)) * step;
    }
    for (; pos >= 1; pos -= step) {
        if (MatchesAt(text, find, pos)) return (pos - 1) / step + 1;
    }
    return 0;
}

}  // namespace

size_t SkipSearch(std::string_view text, std::string_view find, size_t from) {
    const size_t m = find.size();
    if (m == 0 || text.size() < m || from > text.size() - m) return std::string_view::npos;
    uint8_t skip[256];
    std::memset(skip, static_cast<int>(m < kMaxSkip ? m : kMaxSkip), sizeof skip);
    const size_t first = m > kMaxSkip ? m - kMaxSkip : 0;
    for (size_t i = first; i + 1 < m; ++i) {
        skip[static_cast<uint8_t>(find[i])] = static_cast<uint8_t>(m - 1 - i);
    }
    for (size_t at = from; at <= text.size() - m;) {
        const uint8_t tail = static_cast<uint8_t>(text[at + m - 1]);
        if (tail == static_cast<uint8_t>(find[m - 1]) &&
            std::memcmp(text.data() + at, find.data(), m - 1) == 0) {
            return at;
        }
        at += skip[tail];
    }
    return std::string_view::npos;
}

long Find(std::string_view text, std::string_view find, long step, long start) {
    if (find.empty() || find.size() > text.size() || start <= 0) return 0;
    if (step == 0) step = static_cast<long>(find.size());
    if (step > 0) return Forward(text, find, step, start);
    return Backward(text, find, -step, start);
}

}  // namespace dove::search
