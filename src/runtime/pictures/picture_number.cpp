// Number pictures: N [currency] [sign] [fill] width [marks [decimals]] [sign]
// [currency] [B].
//
// Layout, from the right: trailing currency, trailing sign, the decimals,
// the decimal mark, the units digit (always shown), then the integer
// positions leftwards, every fourth one counted from the units digit being
// the grouping character (never the leftmost). Leading sign and currency take
// the leftmost positions.
//
// Choices of ours:
// - A decimal mark with no decimals takes no position; it still chooses the
//   decimal and grouping characters ("n6`" groups with ".").
// - Two equal mark characters ("n10..2") make the grouping and the decimal
//   mark the same character; DEFORMAT takes the last one before the
//   decimals as the decimal mark.
// - A value that needs more integer digits than the layout has shows "#" in
//   every digit position, decimals included; grouping, sign and currency
//   positions keep their characters.
// - Blank fill: a leading sign and currency float right to the first digit.
//   Fill "0" and "*": they stay leftmost, since those fills exist to leave no
//   room in front of the number.
// - No sign in the picture: the magnitude is shown.
#include <vector>

#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

constexpr char kMarks[] = ".`vV_";

// "$" or "~text~"; 0 when none, -1 when a "~" is not closed.
int TakeCurrency(Cursor* c, std::string* text) {
    if (c->Take('$')) {
        *text = "$";
        return 1;
    }
    if (c->Peek() != '~') return 0;
    const std::string_view rest = c->Rest();
    const size_t close = rest.find('~', 1);
    if (close == std::string_view::npos || close == 1) return -1;
    *text = std::string(rest.substr(1, close - 1));
    c->Skip(close + 1);
    return 1;
}

bool ValidSigns(char lead, char trail) {
    if (lead == '(' || trail == ')') return lead == '(' && trail == ')';
    return lead == 0 || trail == 0;
}

char ShownMark(char mark) { return mark == '_' ? ' ' : mark == '`' ? ',' : mark; }

char DefaultGrouping(char fill, char decimalMark) {
    if (fill == '0' || fill == '_') return 0;
    if (fill == '*') return '*';
    return decimalMark == ',' ? '.' : ',';
}

struct NumberSpec {
    std::string leadCurrency, trailCurrency;
    char leadSign = 0, trailSign = 0;
    char mark1 = 0, mark2 = 0;
    int width = 0;
    int decimals = 0;
};

bool ParseSpec(Cursor* c, NumberSpec* s, Picture* p) {
    if (TakeCurrency(c, &s->leadCurrency) < 0) return false;
    c->TakeAnyOf("-(", &s->leadSign);
    p->fill = TakeFill(c);
    if (!c->TakeNumber(3, &s->width) || s->width < 1 || s->width > kMaxPositions) return false;
    if (c->TakeAnyOf(kMarks, &s->mark1)) c->TakeAnyOf(kMarks, &s->mark2);
    if (s->mark1 != 0 && IsDigit(c->Peek())) {
        if (!c->TakeNumber(3, &s->decimals) || s->decimals > kMaxDecimals) return false;
    }
    c->TakeAnyOf("-)", &s->trailSign);
    const int trail = TakeCurrency(c, &s->trailCurrency);
    if (trail < 0 || (trail > 0 && !s->leadCurrency.empty())) return false;
    if (c->TakeLetter('B')) p->blankWhenZero = true;
    return c->AtEnd() && ValidSigns(s->leadSign, s->trailSign);
}

// Grouping and decimal characters from the mark characters.
bool ChooseMarks(const NumberSpec& s, Picture* p) {
    char decimal = s.mark2 != 0 ? s.mark2 : s.mark1;
    if (s.mark2 != 0) {
        if (s.mark1 == 'v' || s.mark1 == 'V') return false;
        p->grouping = ShownMark(s.mark1);
    }
    const bool implied = decimal == 'v' || decimal == 'V';
    p->decimalMark = implied ? 0 : decimal == 0 ? '.' : ShownMark(decimal);
    if (s.mark2 == 0) p->grouping = DefaultGrouping(p->fill, p->decimalMark);
    return true;
}

void AddIntegerPositions(int room, const Picture& p, Builder* b) {
    for (int k = room; k >= 1; --k) {
        if (k == 1) {
            b->Add('0', kDigit);
        } else if (p.grouping != 0 && k % 4 == 0 && k != room) {
            b->Add(p.grouping, kGrouping);
        } else if (p.fill == '0' || p.fill == '*') {
            b->Add(p.fill, kDigit);
        } else {
            b->Add(' ', kDigitBlankZero);
        }
    }
}

bool BuildLayout(const NumberSpec& s, Picture* p) {
    const bool markTakesRoom = s.decimals > 0 && p->decimalMark != 0;
    const int fixed = static_cast<int>(s.leadCurrency.size() + s.trailCurrency.size()) + (s.leadSign ? 1 : 0) +
                      (s.trailSign ? 1 : 0) + (markTakesRoom ? 1 : 0) + s.decimals;
    const int room = s.width - fixed;
    if (room < 0 || room + s.decimals == 0) return false;   // no digit position at all
    Builder b(p);
    for (char ch : s.leadCurrency) b.Add(ch, kCurrency);
    if (s.leadSign) b.Add(s.leadSign, kSign);
    AddIntegerPositions(room, *p, &b);
    if (s.decimals > 0) {
        b.Add(p->decimalMark != 0 ? p->decimalMark : '.', p->decimalMark != 0 ? kDecimalPoint : kImpliedPoint);
        b.Add('0', kDigit, s.decimals);
    }
    if (s.trailSign) b.Add(s.trailSign, kSign);
    for (char ch : s.trailCurrency) b.Add(ch, kCurrency);
    return b.ok();
}

// Output slots: the positions that take room, and where the integer part is.
struct Slots {
    std::vector<Position> pos;
    int intFirst = 0;   // first slot of the integer region
    int intEnd = 0;     // one past its last slot
    int intDigits = 0;  // digit positions in it
};

Slots SlotsOf(const Picture& p) {
    Slots s;
    bool seenPoint = false, inPrefix = true;
    for (int i = 0; i < p.count; ++i) {
        const Position& q = p.pos[i];
        if (q.role == kImpliedPoint || q.role == kDecimalPoint) seenPoint = true;
        if (q.role == kImpliedPoint) continue;
        inPrefix = inPrefix && (q.role == kSign || q.role == kCurrency);
        if (inPrefix) ++s.intFirst;
        if (!seenPoint && (q.role == kDigit || q.role == kDigitBlankZero || q.role == kGrouping)) {
            s.intEnd = static_cast<int>(s.pos.size()) + 1;
            if (q.role != kGrouping) ++s.intDigits;
        }
        s.pos.push_back(q);
    }
    if (s.intEnd < s.intFirst) s.intEnd = s.intFirst;
    return s;
}

void FillInteger(const Picture& p, const Slots& s, const Digits& d, bool overflow, std::string* out) {
    const int n = static_cast<int>(d.ints.size());
    int placed = 0;
    for (int o = s.intEnd - 1; o >= s.intFirst; --o) {
        const Position& q = s.pos[o];
        const bool significantLeft = placed < n;
        if (q.role == kGrouping) {
            const char leading = p.fill == '0' ? q.ch : p.fill == '*' ? '*' : ' ';
            (*out)[o] = overflow || significantLeft ? q.ch : leading;
        } else if (overflow) {
            (*out)[o] = '#';
        } else if (significantLeft) {
            (*out)[o] = d.ints[n - 1 - placed++];
        } else {
            (*out)[o] = q.role == kDigit ? q.ch : ' ';
        }
    }
}

void FillRest(const Slots& s, const Digits& d, bool overflow, std::string* out) {
    size_t dec = 0;
    for (int o = 0; o < static_cast<int>(s.pos.size()); ++o) {
        if (o >= s.intFirst && o < s.intEnd) continue;
        const Position& q = s.pos[o];
        if (q.role == kSign) {
            (*out)[o] = d.negative ? q.ch : ' ';
        } else if (q.role == kDigit || q.role == kDigitBlankZero) {
            (*out)[o] = overflow ? '#' : dec < d.decs.size() ? d.decs[dec] : '0';
            ++dec;
        } else {
            (*out)[o] = q.ch;
        }
    }
}

// Moves the shown characters of the leading sign and currency right, onto
// the blanks in front of the first digit.
void FloatPrefix(const Slots& s, std::string* out) {
    int prefix = 0;
    while (prefix < static_cast<int>(s.pos.size()) && (s.pos[prefix].role == kSign || s.pos[prefix].role == kCurrency)) {
        ++prefix;
    }
    std::string shown;   // the currency text whole, the sign when shown
    for (int i = 0; i < prefix; ++i) {
        if (s.pos[i].role == kCurrency || (*out)[i] != ' ') shown += (*out)[i];
    }
    size_t first = static_cast<size_t>(prefix);
    while (first < out->size() && (*out)[first] == ' ') ++first;
    *out = std::string(first - shown.size(), ' ') + shown + out->substr(first);
}

}  // namespace

bool CompileNumber(Cursor* c, Picture* p) {
    NumberSpec s;
    if (!ParseSpec(c, &s, p) || !ChooseMarks(s, p)) return false;
    p->format = s.width;
    p->decimals = s.decimals;
    return BuildLayout(s, p);
}

std::string FormatNumber(const Picture& p, const Decimal& value) {
    const Digits d = Rounded(value, p.decimals);
    if (p.blankWhenZero && IsZero(d)) return Blanks(p);
    const Slots s = SlotsOf(p);
    const bool overflow = static_cast<int>(d.ints.size()) > s.intDigits;
    std::string out(s.pos.size(), ' ');
    FillInteger(p, s, d, overflow, &out);
    FillRest(s, d, overflow, &out);
    if (!overflow && (p.fill == 0 || p.fill == '_')) FloatPrefix(s, &out);
    return out;
}

}  // namespace dove::pic::detail
