// The picture compiler's entry, its reading helpers and the parts that date
// and time pictures share. The kinds' own grammars are in their files.
#include <cstring>

#include "runtime/pictures/picture_internal.h"

namespace dove::pic {
namespace detail {

bool Builder::Add(char ch, uint8_t role, int times) {
    for (int i = 0; i < times; ++i) {
        // An implied point takes no room, so it may be the 256th entry.
        const bool takesRoom = role != kImpliedPoint;
        if (p_->count > kMaxPositions || (takesRoom && width_ >= kMaxPositions)) return ok_ = false;
        if (takesRoom) ++width_;
        p_->pos[p_->count++] = Position{ch, role};
    }
    return ok_;
}

bool Cursor::Take(char c) {
    if (AtEnd() || text_[i_] != c) return false;
    ++i_;
    return true;
}

bool Cursor::TakeAnyOf(const char* set, char* c) {
    if (AtEnd() || text_[i_] == '\0' || std::strchr(set, text_[i_]) == nullptr) return false;
    *c = text_[i_++];
    return true;
}

bool Cursor::TakeLetter(char upper) {
    if (AtEnd() || AsciiUpper(text_[i_]) != upper) return false;
    ++i_;
    return true;
}

bool Cursor::TakeNumber(int maxDigits, int* value) {
    int v = 0;
    int n = 0;
    while (!AtEnd() && IsDigit(text_[i_])) {
        if (++n > maxDigits) return false;
        v = v * 10 + (text_[i_++] - '0');
    }
    if (n == 0) return false;
    *value = v;
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0x80;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsIgnoringCase(a, b);
}

bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiUpper(text[i]) != AsciiUpper(prefix[i])) return false;
    }
    return true;
}

char TakeFill(Cursor* c) {
    char fill = 0;
    c->TakeAnyOf("0_*", &fill);
    return fill;
}

bool TakeTail(Cursor* c, Picture* p) {
    char separator = 0;
    if (c->TakeAnyOf(".-_`", &separator)) ApplySeparator(separator, p);
    if (c->TakeLetter('B')) p->blankWhenZero = true;
    return c->AtEnd();
}

void ApplySeparator(char separator, Picture* p) {
    const char shown = separator == '_' ? ' ' : separator == '`' ? ',' : separator;
    for (int i = 0; i < p->count; ++i) {
        if (p->pos[i].role == kSeparator) p->pos[i].ch = shown;
    }
}

// S n: n characters, nothing after the number.
bool CompileString(Cursor* c, Picture* p) {
    int width = 0;
    if (!c->TakeNumber(3, &width) || width < 1 || width > kMaxPositions || !c->AtEnd()) return false;
    p->format = width;
    return Builder(p).Add(' ', kLiteral, width);
}

std::string Blanks(const Picture& p) { return std::string(static_cast<size_t>(Width(p)), ' '); }

}  // namespace detail

using namespace detail;

bool Compile(std::string_view text, Picture* out) {
    *out = Picture{};
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '@') text.remove_prefix(1);
    Cursor c(text);
    const char letter = AsciiUpper(c.Peek());
    c.Skip(1);
    Picture p;
    bool ok = false;
    switch (letter) {
        case 'N': p.kind = Kind::Number, ok = CompileNumber(&c, &p); break;
        case 'E': p.kind = Kind::Scientific, ok = CompileScientific(&c, &p); break;
        case 'D': p.kind = Kind::Date, ok = CompileDate(&c, &p); break;
        case 'T': p.kind = Kind::Time, ok = CompileTime(&c, &p); break;
        case 'S': p.kind = Kind::String, ok = CompileString(&c, &p); break;
        default: break;
    }
    if (!ok || p.count == 0) return false;
    *out = p;
    return true;
}

int Width(const Picture& picture) {
    int width = 0;
    for (int i = 0; i < picture.count; ++i) {
        if (picture.pos[i].role != kImpliedPoint) ++width;
    }
    return width;
}

}  // namespace dove::pic
