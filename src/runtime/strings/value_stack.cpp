#include "runtime/strings/value_stack.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/locale/char_tables.h"
#include "runtime/errors/fault.h"
#include "runtime/strings/text_search.h"

namespace dove::vstack {
namespace {

// Kind word: value type in the low byte, ownership in the second byte. Only
// type 0 (8-bit text) exists here; the wide and OLE forms belong to an
// automation layer this program does not have.
constexpr uint16_t kText = 0;
constexpr uint16_t kBorrowed = 0;
constexpr uint16_t kHeap = 1;
constexpr uint16_t kInline = 2;

constexpr uint16_t Kind(uint16_t type, uint16_t ownership) {
    return static_cast<uint16_t>(type | (ownership << 8));
}

const char kNoChars[] = "";

// A borrowed entry with a null pointer is a value without characters (as
// PushFill leaves it); its length then carries the fill direction.
struct Entry {
    uint16_t kind;
    char* ptr;
    ptrdiff_t len;
    char buf[kInlineSize];
};

uint16_t Ownership(const Entry& e) { return static_cast<uint16_t>(e.kind >> 8); }
bool HasChars(const Entry& e) { return Ownership(e) != kBorrowed || e.ptr != nullptr; }

char* Data(Entry& e) { return Ownership(e) == kInline ? e.buf : e.ptr; }

std::string_view View(Entry& e) {
    if (!HasChars(e)) return {};
    return {Data(e), static_cast<size_t>(e.len)};
}

void SetEmpty(Entry& e) {
    e.kind = Kind(kText, kBorrowed);
    e.ptr = const_cast<char*>(kNoChars);
    e.len = 0;
}

void Release(Entry& e) {
    if (Ownership(e) == kHeap) std::free(e.ptr);
    SetEmpty(e);
}

struct Stack {
    Entry entries[kCapacity];
    int count = 0;
    ~Stack() {
        for (int i = 0; i < count; ++i) Release(entries[i]);
    }
};

Stack& Mine() {
    thread_local Stack stack;
    return stack;
}

char* Allocate(size_t n) {
    char* p = static_cast<char*>(std::malloc(n));
    if (p == nullptr) InternalFault(kOutOfMemoryFault, "Out of memory for a string value");
    return p;
}

char* Reallocate(char* old, size_t n) {
    char* p = static_cast<char*>(std::realloc(old, n));
    if (p == nullptr) InternalFault(kOutOfMemoryFault, "Out of memory for a string value");
    return p;
}

Entry& Push() {
    Stack& s = Mine();
    if (s.count == kCapacity) InternalFault(kFaultNumber, "Value stack overflow");
    Entry& e = s.entries[s.count++];
    SetEmpty(e);
    return e;
}

// The entry `below` places under the top.
Entry& At(int below) {
    Stack& s = Mine();
    if (s.count <= below) InternalFault(kFaultNumber, "Value stack underflow");
    return s.entries[s.count - 1 - below];
}

void PopTop() {
    Release(At(0));
    --Mine().count;
}

// Scratch for a result that is built before it replaces an entry: the
// inline room when it fits, else a heap block the entry will own.
struct Result {
    char local[kInlineSize];
    char* chars;
    size_t n;
    explicit Result(size_t size) : chars(size <= kInlineSize ? local : Allocate(size)), n(size) {}
};

// Replaces the entry's value with the result; the old value may have been
// read to build it, so it is released only now.
void Adopt(Entry& e, Result& r) {
    Release(e);
    if (r.n == 0) return;
    if (r.chars == r.local) {
        e.kind = Kind(kText, kInline);
        std::memcpy(e.buf, r.local, r.n);
    } else {
        e.kind = Kind(kText, kHeap);
        e.ptr = r.chars;
    }
    e.len = static_cast<ptrdiff_t>(r.n);
}

void MakeEntryPrivate(Entry& e) {
    if (Ownership(e) != kBorrowed || e.ptr == nullptr) return;
    const std::string_view v = View(e);
    Result r(v.size());
    if (!v.empty()) std::memcpy(r.chars, v.data(), v.size());
    Adopt(e, r);
}

void Join(bool reversed) {
    Entry& b = At(0);
    Entry& a = At(1);
    const std::string_view bv = View(b);
    if (bv.empty()) {
        PopTop();
        return;
    }
    const std::string_view av = View(a);
    const size_t total = av.size() + bv.size();
    if (!reversed && Ownership(a) == kHeap) {
        a.ptr = Reallocate(a.ptr, total);
        std::memcpy(a.ptr + av.size(), bv.data(), bv.size());
        a.len = static_cast<ptrdiff_t>(total);
    } else {
        const std::string_view first = reversed ? bv : av;
        const std::string_view second = reversed ? av : bv;
        Result r(total);
        if (!first.empty()) std::memcpy(r.chars, first.data(), first.size());
        std::memcpy(r.chars + first.size(), second.data(), second.size());
        Adopt(a, r);
    }
    PopTop();
}

void ChangeCase(uint8_t fromClass) {
    Entry& e = At(0);
    MakeEntryPrivate(e);
    if (!HasChars(e)) return;
    const chartab::Tables& t = chartab::Current();
    char* p = Data(e);
    for (ptrdiff_t i = 0; i < e.len; ++i) {
        const uint8_t c = static_cast<uint8_t>(p[i]);
        if (t.cls[c] == fromClass) p[i] = static_cast<char>(t.partner[c]);
    }
}

}  // namespace

void PushRef(const char* p, size_t len) {
    Entry& e = Push();
    if (p == nullptr || len == 0) return;
    e.ptr = const_cast<char*>(p);   // borrowed: never written through
    e.len = static_cast<ptrdiff_t>(len);
}

void PushCopy(const char* p, size_t len) {
    PushRef(p, len);
    MakeEntryPrivate(At(0));
}

void PushText(const char* z) {
    PushCopy(z, z == nullptr ? 0 : std::strlen(z));
}

void PushInt(int32_t v) {
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%ld", static_cast<long>(v));
    PushCopy(text, static_cast<size_t>(n));
}

void PushReal(double v) {
    Decimal d;
    if (DecimalFromDoubleChecked(v, &d)) {
        const std::string text = DecimalToText(d);
        PushCopy(text.data(), text.size());
        return;
    }
    char text[40];   // beyond the accumulator: exponent form
    const int n = std::snprintf(text, sizeof text, "%.15g", v);
    PushCopy(text, static_cast<size_t>(n));
}

void PushEmpty() { Push(); }

void PushFill(int direction) {
    Entry& e = Push();
    e.ptr = nullptr;
    e.len = direction == 0 ? 0 : (direction < 0 ? -1 : 1);
}

void PopFixed(char* dst, size_t n) {
    Entry& e = At(0);
    if (n == 0) {
        // nothing to assign
    } else if (!HasChars(e)) {
        const int fill = e.len == 0 ? ' ' : (e.len < 0 ? 0 : 0xFF);
        std::memset(dst, fill, n);
    } else {
        const std::string_view v = View(e);
        const size_t copied = v.size() < n ? v.size() : n;
        std::memmove(dst, v.data(), copied);
        std::memset(dst + copied, ' ', n - copied);
    }
    PopTop();
}

void PopZ(char* dst, size_t n) {
    Entry& e = At(0);
    if (n == 0) {
        // no room even for the terminator
    } else if (!HasChars(e)) {
        const size_t filled = e.len > 0 ? n - 1 : 0;
        std::memset(dst, 0xFF, filled);
        dst[filled] = '\0';
    } else {
        const std::string_view v = View(e);
        const size_t copied = v.size() < n - 1 ? v.size() : n - 1;
        std::memmove(dst, v.data(), copied);
        dst[copied] = '\0';
    }
    PopTop();
}

void PopAppend(std::string& growable) {
    growable.append(View(At(0)));
    PopTop();
}

std::string PopString() {
    std::string s(View(At(0)));
    PopTop();
    return s;
}

bool PopTest() {
    std::string_view v = View(At(0));
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    PopTop();
    return !v.empty();
}

size_t PopLength() {
    const size_t n = View(At(0)).size();
    PopTop();
    return n;
}

Decimal PopNumber() {
    const Decimal d = DecimalFromText(View(At(0)));
    PopTop();
    return d;
}

void Drop() { PopTop(); }

void MakePrivate() { MakeEntryPrivate(At(0)); }

// Clipping only shortens, so a borrowed entry stays borrowed.
void Clip() {
    Entry& e = At(0);
    if (!HasChars(e)) return;
    const char* p = Data(e);
    while (e.len > 0 && p[e.len - 1] == ' ') --e.len;
}

void Concat() { Join(false); }

void ConcatReversed() { Join(true); }

void Rotate(int k) {
    Stack& s = Mine();
    if (k < 0 || k >= s.count) InternalFault(kFaultNumber, "Value stack rotated beyond its depth");
    const int from = s.count - 1 - k;
    const Entry moving = s.entries[from];
    for (int i = from; i < s.count - 1; ++i) s.entries[i] = s.entries[i + 1];
    s.entries[s.count - 1] = moving;
}

// Positions whose bytes differ but weigh the same (letters a locale sorts
// together) do not decide: the walk goes on to the next position.
int Compare() {
    const std::string_view b = View(At(0));
    const std::string_view a = View(At(1));
    const uint8_t* weight = chartab::Current().weight;
    const size_t n = a.size() > b.size() ? a.size() : b.size();
    int result = 0;
    for (size_t i = 0; i < n && result == 0; ++i) {
        const uint8_t ca = static_cast<uint8_t>(i < a.size() ? a[i] : ' ');
        const uint8_t cb = static_cast<uint8_t>(i < b.size() ? b[i] : ' ');
        if (ca != cb) result = weight[ca] - weight[cb];
    }
    PopTop();
    PopTop();
    return result;
}

void Upper() { ChangeCase(chartab::kLower); }

void Lower() { ChangeCase(chartab::kUpper); }

void Substring(long start, long len) {
    Entry& e = At(0);
    const long total = static_cast<long>(View(e).size());
    if (start == 0) start = 1;
    if (start < 0) start = total + start + 1 < 1 ? 1 : total + start + 1;
    if (start > total || len <= 0) {
        Release(e);
        return;
    }
    const long kept = len < total - start + 1 ? len : total - start + 1;
    if (Ownership(e) == kBorrowed) {
        e.ptr += start - 1;
    } else {
        char* p = Data(e);
        std::memmove(p, p + start - 1, static_cast<size_t>(kept));
    }
    e.len = kept;
}

void JustifyTop(Justify how, long width) {
    Entry& e = At(0);
    std::string_view v = View(e);
    const size_t w = width < 0 ? v.size() : static_cast<size_t>(width);
    if (how != Justify::Right) {
        while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    }
    if (how != Justify::Left) {
        while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    }
    Result r(w);
    if (v.size() >= w) {
        size_t offset = 0;
        if (how == Justify::Right) offset = v.size() - w;
        if (how == Justify::Center) offset = (v.size() - w + 1) / 2;
        if (w > 0) std::memcpy(r.chars, v.data() + offset, w);
    } else {
        size_t left = 0;
        if (how == Justify::Right) left = w - v.size();
        if (how == Justify::Center) left = (w - v.size() + 1) / 2;
        std::memset(r.chars, ' ', w);
        if (!v.empty()) std::memcpy(r.chars + left, v.data(), v.size());
    }
    Adopt(e, r);
}

long InString(long step, long start) {
    const std::string_view find = View(At(0));
    const std::string_view text = View(At(1));
    const long found = search::Find(text, find, step, start);
    PopTop();
    PopTop();
    return found;
}

int Depth() { return Mine().count; }

void Reset() {
    while (Mine().count > 0) PopTop();
}

}  // namespace dove::vstack
