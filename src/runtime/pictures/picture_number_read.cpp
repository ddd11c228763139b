// DEFORMAT of number pictures: reads what FORMAT wrote and what a person
// types into such a field.
//
// Accepted: digits; the picture's decimal mark once (for an implied point
// also "."; for a blank mark, a single blank between two digits or "."); the
// grouping character (or, where the picture has none, the usual one for its
// decimal mark) before the decimal mark; blanks, tabs and "*" anywhere; the
// picture's currency text and "$"; one "-" anywhere or a pair of
// parentheses, meaning a negative number. The currency text counts only
// where FORMAT puts it (a leading one before the digits, a trailing one at
// the end), since such a text may itself hold digits or signs. Anything else (letters, "#" of an
// overflowed field, a second sign or mark) rejects the text, and so does an
// integer part of more than 31 digits. Blank text reads as 0.
//
// With an implied decimal point and no mark typed, the last digits are the
// decimals, as FORMAT showed them. When grouping and decimal mark are the
// same character, the last one that stands before a digit is the decimal
// mark (for a blank, the last one between two digits) and the others group.
// The value is rounded to the picture's decimals, half away from zero, so
// the field holds what it shows.
#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

struct ReadState {
    Digits d;
    bool point = false;
    bool digit = false;
    bool sign = false;
    bool open = false;
    bool closed = false;
};

std::string CurrencyOf(const Picture& p, bool* leading) {
    std::string text;
    for (int i = 0; i < p.count; ++i) {
        if (p.pos[i].role == kCurrency) text += p.pos[i].ch;
    }
    *leading = p.count > 0 && p.pos[0].role == kCurrency;
    return text;
}

// The currency text where FORMAT puts it: a leading one before the first
// digit, a trailing one at the end. Matching it only there keeps a currency
// text that holds digits or signs from being read as part of the number.
size_t CurrencyAt(std::string_view text, size_t i, const std::string& currency, bool leading, bool digitSeen) {
    if (currency.empty() || !StartsIgnoringCase(text.substr(i), currency)) return 0;
    if (leading) return digitSeen ? 0 : currency.size();
    std::string_view rest = text.substr(i + currency.size());
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
    return rest.empty() ? currency.size() : 0;
}

bool HasImpliedPoint(const Picture& p) {
    for (int i = 0; i < p.count; ++i) {
        if (p.pos[i].role == kImpliedPoint) return true;
    }
    return false;
}

bool TakeSign(char c, ReadState* s) {
    if (c == ')') {
        if (!s->open || s->closed) return false;
        s->closed = true;
        return true;
    }
    if (s->sign) return false;
    s->sign = true;
    s->open = c == '(';
    return true;
}

bool HasIntegerPosition(const Picture& p) {
    for (int i = 0; i < p.count; ++i) {
        const uint8_t role = p.pos[i].role;
        if (role == kDecimalPoint || role == kImpliedPoint) return false;
        if (role == kDigit || role == kDigitBlankZero) return true;
    }
    return false;
}

// Moves the last `decimals` digits of the integer part behind the point.
void PlaceImpliedPoint(int decimals, Digits* d) {
    const size_t n = static_cast<size_t>(decimals);
    if (d->ints.size() < n) d->ints.insert(0, n - d->ints.size(), '0');
    d->decs = d->ints.substr(d->ints.size() - n);
    d->ints.resize(d->ints.size() - n);
}

// Where the reading loop finds the currency text: [at, at + length), or a
// length of 0 when it has none there.
struct Span {
    size_t at = 0;
    size_t length = 0;
    bool Holds(size_t i) const { return i >= at && i - at < length; }
};

Span CurrencySpan(std::string_view text, const std::string& currency, bool leading) {
    bool digit = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (size_t n = CurrencyAt(text, i, currency, leading, digit)) return {i, n};
        if (IsDigit(text[i])) digit = true;
    }
    return {};
}

// Where the decimal mark stands when it is also the grouping character;
// npos when the picture has no decimals to read. Marks and digits inside the
// currency text are not the number's: a currency text such as "2..5" would
// otherwise move the point.
size_t SharedMarkAt(const Picture& p, std::string_view text, Span currency) {
    if (p.decimals == 0) return std::string_view::npos;
    auto digitAt = [&](size_t i) { return i < text.size() && IsDigit(text[i]) && !currency.Holds(i); };
    for (size_t i = text.size(); i-- > 0;) {
        if (text[i] != p.decimalMark || currency.Holds(i) || !digitAt(i + 1)) continue;
        if (p.decimalMark == ' ' && (i == 0 || !digitAt(i - 1))) continue;
        return i;
    }
    return std::string_view::npos;
}

}  // namespace

bool ReadNumberText(const Picture& p, std::string_view text, Decimal* out) {
    // With an implied point a typed "." is the point, unless "." groups.
    const char point = p.decimalMark != 0 ? p.decimalMark : p.grouping == '.' ? ',' : '.';
    const char group = p.grouping != 0 ? p.grouping : point == ',' ? '.' : ',';
    bool leading = false;
    const std::string currency = CurrencyOf(p, &leading);
    bool currencyTaken = false;
    const bool sharedMark = p.decimalMark != 0 && p.grouping == p.decimalMark;
    const size_t sharedAt =
        sharedMark ? SharedMarkAt(p, text, CurrencySpan(text, currency, leading)) : std::string_view::npos;
    ReadState s;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool nextIsDigit = i + 1 < text.size() && IsDigit(text[i + 1]);
        const size_t currencyLength = currencyTaken ? 0 : CurrencyAt(text, i, currency, leading, s.digit);
        if (currencyLength > 0) {
            currencyTaken = true;
            i += currencyLength - 1;
        } else if (IsDigit(c)) {
            (s.point ? s.d.decs : s.d.ints) += c;
            s.digit = true;
        } else if (sharedMark && c == point) {
            if (i == sharedAt) {
                s.point = true;
            } else if (s.point && c != ' ') {
                return false;   // a grouping character among the decimals
            }
        } else if (c == point && c != ' ') {
            if (s.point) return false;
            s.point = true;
        } else if (c == ' ' && point == ' ' && !s.point && s.digit && nextIsDigit) {
            s.point = true;
        } else if (c == '.' && point == ' ' && group != '.') {
            if (s.point) return false;
            s.point = true;
        } else if (c == ' ' || c == '\t' || c == '*' || c == '$') {
            continue;
        } else if (c == group && !s.point) {
            continue;
        } else if (c == '-' || c == '(' || c == ')') {
            if (!TakeSign(c, &s)) return false;
        } else {
            return false;
        }
    }
    if (s.open != s.closed) return false;
    if (!s.point && p.decimalMark == 0 && HasImpliedPoint(p)) {
        PlaceImpliedPoint(p.decimals, &s.d);
    } else if (!s.point && !HasIntegerPosition(p)) {
        // A picture without integer positions (".50" of "n3.2") shows only
        // decimals, whatever its mark; its digits are read as such.
        s.d.decs.swap(s.d.ints);
    }
    s.d.negative = s.sign;
    RoundDigits(&s.d, p.decimals);
    return ToDecimal(s.d, out);
}

}  // namespace dove::pic::detail
