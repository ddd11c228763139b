#include "files/text/text_record.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dove::files {

namespace {

constexpr char kTab = 9;

void Blank(char* p, uint32_t n) {
    if (n) std::memset(p, ' ', n);
}

// A failed look without an OS error behind it (a look-ahead larger than the
// window) must not read as success: it becomes "File System Error".
int LookError(const ByteSource& source) {
    int e = source.LastError();
    return e ? e : 90;
}

bool DelimiterAt(const char* data, uint32_t avail, uint32_t i, std::string_view d) {
    if (d.empty() || static_cast<uint64_t>(i) + d.size() > avail) return false;
    return std::memcmp(data + i, d.data(), d.size()) == 0;
}

// The first byte of data[0..n) that is a, b or c; n when there is none.
// Sixteen bytes at a time where the processor has SSE2, else eight: the
// platform's memchr may go byte by byte, and a line is looked at for three
// bytes at once. This scan is most of the time a read of a line takes.
uint32_t FindFirstOf(const char* data, uint32_t n, uint8_t a, uint8_t b, uint8_t c) {
    uint32_t i = 0;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(static_cast<char>(a));
    const __m128i vb = _mm_set1_epi8(static_cast<char>(b));
    const __m128i vc = _mm_set1_epi8(static_cast<char>(c));
    for (; i + 16 <= n; i += 16) {
        __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(w, va), _mm_cmpeq_epi8(w, vb)),
                                   _mm_cmpeq_epi8(w, vc));
        int mask = _mm_movemask_epi8(hit);
        if (mask) return i + static_cast<uint32_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    const uint64_t ma = kOnes * a, mb = kOnes * b, mc = kOnes * c;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, data + i, 8);
        uint64_t xa = w ^ ma, xb = w ^ mb, xc = w ^ mc;
        uint64_t hit = ((xa - kOnes) & ~xa) | ((xb - kOnes) & ~xb) | ((xc - kOnes) & ~xc);
        if (hit & kHigh) break;
    }
    for (; i < n; ++i) {
        uint8_t x = static_cast<uint8_t>(data[i]);
        if (x == a || x == b || x == c) return i;
    }
    return n;
}

// The common line: a delimiter within the record's length, nothing to expand
// or stop at before it.
bool ReadFast(const char* data, uint32_t avail, const RecordSettings& s, char* record,
              uint32_t length, uint32_t* size) {
    if (s.delimiter.empty()) return false;
    uint32_t span = std::min(length, avail);
    uint8_t first = static_cast<uint8_t>(s.delimiter[0]);
    uint8_t stop = s.ctrlZIsEof ? static_cast<uint8_t>(kCtrlZ) : first;
    uint32_t k = FindFirstOf(data, span, first, static_cast<uint8_t>(kTab), stop);
    if (k == span || static_cast<uint8_t>(data[k]) != first) return false;
    if (!DelimiterAt(data, avail, k, s.delimiter)) return false;
    std::memcpy(record, data, k);
    Blank(record + k, length - k);
    *size = k + static_cast<uint32_t>(s.delimiter.size());
    return true;
}

// Where a TAB leaves the output column (the blanks are already there).
uint32_t ExpandTab(char* record, uint32_t length, uint32_t column, int32_t tab) {
    if (tab == 0) return column;
    if (tab == kTabKeep) {
        record[column] = kTab;
        return column + 1;
    }
    int64_t width = tab > 0 ? tab - static_cast<int64_t>(column % static_cast<uint32_t>(tab))
                            : -static_cast<int64_t>(tab);
    return static_cast<uint32_t>(std::min<int64_t>(column + width, length));
}

struct SlowRead {
    uint32_t consumed = 0;
    bool delimited = false;
    bool dataEnd = false;
};

SlowRead ReadByteByByte(const char* data, uint32_t avail, const RecordSettings& s, char* record,
                        uint32_t length) {
    SlowRead r;
    uint32_t column = 0;
    while (column < length && r.consumed < length && r.consumed < avail) {
        if (DelimiterAt(data, avail, r.consumed, s.delimiter)) {
            r.consumed += static_cast<uint32_t>(s.delimiter.size());
            r.delimited = true;
            return r;
        }
        char b = data[r.consumed];
        if (b == kCtrlZ && s.ctrlZIsEof) {
            r.dataEnd = true;
            return r;
        }
        ++r.consumed;
        if (b == kTab) {
            column = ExpandTab(record, length, column, s.tab);
        } else {
            record[column++] = b;
        }
    }
    return r;
}

// Skips the rest of an over-long line: up to and including its delimiter or,
// with Ctrl-Z as end of data, a Ctrl-Z. Returns 0 or the look's error.
int SkipRest(ByteSource& source, uint32_t fileSize, uint32_t look, const RecordSettings& s,
             uint32_t* pos) {
    uint32_t dlen = static_cast<uint32_t>(s.delimiter.size());
    while (*pos < fileSize) {
        uint32_t want = std::min(look, fileSize - *pos);
        ByteSource::View v = source.Peek(*pos, want);
        if (!v.data) return LookError(source);
        uint32_t avail = std::min(v.available, fileSize - *pos);
        if (avail == 0) return 0;
        // Fewer bytes than asked for means the file ends here, whatever size
        // was cached: another handle may have cut it since.
        bool lastPiece = static_cast<uint64_t>(*pos) + avail >= fileSize || avail < want;
        // A delimiter that may run past this piece is looked at with the next.
        uint32_t limit = lastPiece || dlen == 0 || avail < dlen ? avail : avail - dlen + 1;
        for (uint32_t i = 0; i < limit; ++i) {
            if (DelimiterAt(v.data, avail, i, s.delimiter)) {
                *pos += i + dlen;
                return 0;
            }
            if (s.ctrlZIsEof && v.data[i] == kCtrlZ) {
                *pos += i + 1;
                return 0;
            }
        }
        *pos += limit;
    }
    return 0;
}

}  // namespace

RecordRead ReadRecord(ByteSource& source, uint32_t fileSize, uint32_t offset,
                      const RecordSettings& settings, char* record, uint32_t length) {
    RecordRead r;
    if (offset >= fileSize) {
        r.error = 33;
        return r;
    }
    uint64_t look64 = static_cast<uint64_t>(length) + settings.delimiter.size();
    uint32_t look = static_cast<uint32_t>(std::min<uint64_t>(look64, 0xFFFFFFFFu));
    ByteSource::View v = source.Peek(offset, look);
    // From here on the record is blank unless a line fills it, even when
    // the read then fails.
    if (!v.data) {
        Blank(record, length);
        r.error = LookError(source);
        return r;
    }
    uint32_t avail = std::min(v.available, fileSize - offset);
    if (avail == 0 || (v.data[0] == kCtrlZ && settings.ctrlZIsEof)) {
        Blank(record, length);
        r.error = 33;
        return r;
    }
    if (ReadFast(v.data, avail, settings, record, length, &r.size)) return r;
    Blank(record, length);
    SlowRead slow = ReadByteByByte(v.data, avail, settings, record, length);
    uint32_t pos = offset + slow.consumed;
    if (slow.dataEnd) {
        // A Ctrl-Z inside a line ends this record only: the skip of the rest
        // stops at once, taking the Ctrl-Z, and the next record starts after
        // it. Only a record that begins with Ctrl-Z is the end of the data.
        r.size = pos + 1 - offset;
        return r;
    }
    if (!slow.delimited && pos < fileSize) {
        r.error = SkipRest(source, fileSize, std::max<uint32_t>(look, 1), settings, &pos);
        if (r.error) return r;
    }
    r.size = pos - offset;
    return r;
}

}  // namespace dove::files
