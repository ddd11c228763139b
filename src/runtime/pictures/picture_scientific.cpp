// Scientific pictures: E width [mark decimals] [B], for example "e12.3".
//
// Our layout: one digit before the decimal mark ("." or, with the grave
// accent, ","), the given decimals, then "e", the exponent's sign and two
// digits (the accumulator's range, 10^-32 to 10^30, never needs more), all
// right-aligned in the width with a "-" in front of a negative mantissa:
// 1234.5 in "e12.3" is "   1.235e+03" (rounded half away from zero). The
// width must leave room for the sign: "e10.3" is the narrowest with three
// decimals. Zero is "0.000e+00", or blanks with B. A mantissa that rounds up
// beyond the accumulator's range (10^31) shows "#" in its digits.
//
// DEFORMAT reads a number with an optional exponent: blanks, one "-" in
// front, digits, the decimal mark (or "."), then "e" or "E", an optional sign
// and digits. Anything else rejects the text.
#include <algorithm>
#include <cstdlib>

#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

constexpr int kExponentRoom = 4;   // "e+dd"
constexpr int kExponentLimit = 1000;

// Digits of a non-zero number as one run, and the exponent of its first
// significant digit.
void Normalise(const Digits& d, std::string* run, int* exponent) {
    std::string all = d.ints + d.decs;
    const size_t first = all.find_first_not_of('0');
    *run = all.substr(first);
    *exponent = static_cast<int>(d.ints.size()) - 1 - static_cast<int>(first);
}

std::string Mantissa(const Decimal& value, int decimals, int* exponent) {
    const Digits exact = Rounded(value, kDecimalDecDigits);
    *exponent = 0;
    if (IsZero(exact)) return "0" + std::string(static_cast<size_t>(decimals), '0');
    std::string run;
    Normalise(exact, &run, exponent);
    Digits m;
    m.ints = run.substr(0, 1);
    m.decs = run.substr(1);
    RoundDigits(&m, decimals);
    if (m.ints.size() > 1) {   // 9.99.. rounded up to 10.0..
        ++*exponent;
        m.ints = "1";
        m.decs.assign(static_cast<size_t>(decimals), '0');
    }
    return m.ints + m.decs;
}

std::string TwoDigits(int v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

}  // namespace

bool CompileScientific(Cursor* c, Picture* p) {
    int width = 0;
    if (!c->TakeNumber(3, &width) || width < 1 || width > kMaxPositions) return false;
    char mark = '.';
    int decimals = 0;
    if (c->TakeAnyOf(".`", &mark) && IsDigit(c->Peek())) {
        if (!c->TakeNumber(3, &decimals) || decimals > kMaxDecimals) return false;
    }
    if (c->TakeLetter('B')) p->blankWhenZero = true;
    if (!c->AtEnd()) return false;
    const int needed = 2 + (decimals > 0 ? decimals + 1 : 0) + kExponentRoom;
    if (width < needed) return false;
    p->format = width;
    p->decimals = decimals;
    p->decimalMark = mark == '`' ? ',' : '.';
    Builder b(p);
    b.Add(' ', kLiteral, width - needed);
    b.Add('-', kSign);
    b.Add('0', kDigit);
    if (decimals > 0) {
        b.Add(p->decimalMark, kDecimalPoint);
        b.Add('0', kDigit, decimals);
    }
    b.Add('e', kExponent);
    b.Add('+', kExponent);
    b.Add('0', kExponent, 2);
    return b.ok();
}

std::string FormatScientific(const Picture& p, const Decimal& value) {
    int exponent = 0;
    std::string digits = Mantissa(value, p.decimals, &exponent);
    // Rounding 9.9..e+30 up leaves the accumulator's range: shown as
    // overflow, like a number too wide for an N picture.
    if (exponent >= kDecimalIntDigits) digits.assign(digits.size(), '#');
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (zero && p.blankWhenZero) return Blanks(p);
    std::string text = value.negative && !zero ? "-" : "";
    text += digits[0];
    if (p.decimals > 0) text += p.decimalMark + digits.substr(1);
    text += exponent < 0 ? "e-" : "e+";
    text += TwoDigits(std::abs(exponent));
    const size_t width = static_cast<size_t>(Width(p));
    return std::string(width - std::min(width, text.size()), ' ') + text;
}

bool ReadScientificText(const Picture& p, std::string_view text, Decimal* out) {
    Digits d;
    bool point = false, digit = false, sign = false;
    size_t i = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            (point ? d.decs : d.ints) += c;
            digit = true;
        } else if ((c == p.decimalMark || c == '.') && !point) {
            point = true;
        } else if (c == '-' && !sign && !digit && !point) {
            sign = true;
        } else if (c != ' ' && c != '\t') {
            return false;
        }
    }
    int exponent = 0;
    if (i < text.size()) {
        Cursor c(text.substr(i + 1));
        const bool negative = c.Take('-');
        if (!negative) c.Take('+');
        if (!c.TakeNumber(4, &exponent) || !digit) return false;
        while (c.Take(' ')) {}
        if (!c.AtEnd() || exponent > kExponentLimit) return false;
        if (negative) exponent = -exponent;
    }
    d.negative = sign;
    std::string run = d.ints + d.decs;
    long pointAt = static_cast<long>(d.ints.size()) + exponent;
    if (pointAt < 0) run.insert(0, static_cast<size_t>(-pointAt), '0'), pointAt = 0;
    if (pointAt > static_cast<long>(run.size())) run.append(static_cast<size_t>(pointAt) - run.size(), '0');
    d.ints = run.substr(0, static_cast<size_t>(pointAt));
    d.decs = run.substr(static_cast<size_t>(pointAt));
    return ToDecimal(d, out);
}

}  // namespace dove::pic::detail
