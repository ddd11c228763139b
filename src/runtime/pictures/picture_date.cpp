// Date pictures: D [fill] n [window] [separator] [B], n from 1 to 18.
//
// Layouts 1 to 16 are fixed (the table below); 17 and 18 come from the
// Windows short and long date formats (picture_date_windows.cpp). A day
// number outside 4..2,994,626 is no date: its digit and name positions are
// blank and its separators stay. B blanks the whole field for day 0 only.
//
// Month names are left-aligned in their positions, the unused ones showing
// the fill, "0" included ("d04" of 5 January 2026 is "January00000 05, 2026";
// DEFORMAT skips those zeros again). A run of letter positions no wider than
// the longest abbreviation shows the abbreviation (layouts 3 and 7, "MMM"), a
// wider one the full name (layout 4, "MMMM").
#include <algorithm>

#include "runtime/pictures/date_time.h"
#include "runtime/locale/locale_settings.h"
#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

// m/M month with blank or zero first digit, d/D day likewise, y/Y two- or
// four-digit year, n/N month name of 3 or 12 letters; "/", "," and " " are
// separator positions, "_" a literal blank.
const char* const kDateLayouts[17] = {
    nullptr, "m/D/y", "m/D/Y", "n_d,Y", "N_d,_Y", "d/M/y", "d/M/Y", "d n y", "d n Y",
    "y/M/D", "Y/M/D", "yMD",   "YMD",   "M/y",    "M/Y",   "y/M",   "Y/M",
};

void AddDateCode(char code, Builder* b) {
    switch (code) {
        case 'm': b->Add(' ', kMonthDigit), b->Add('0', kMonthDigit); break;
        case 'M': b->Add('0', kMonthDigit, 2); break;
        case 'd': b->Add(' ', kDayDigit), b->Add('0', kDayDigit); break;
        case 'D': b->Add('0', kDayDigit, 2); break;
        case 'y': b->Add('0', kYearDigit, 2); break;
        case 'Y': b->Add('0', kYearDigit, 4); break;
        case 'n': b->Add(' ', kMonthLetter, 3); break;
        case 'N': b->Add(' ', kMonthLetter, 12); break;
        case '_': b->Add(' ', kLiteral); break;
        default: b->Add(code, kSeparator); break;
    }
}

bool TakeWindow(Cursor* c, Picture* p) {
    char direction = 0;
    if (!c->TakeAnyOf("<>", &direction)) return true;
    int k = 0;
    if (!c->TakeNumber(2, &k)) return false;
    if (k == 0) k = direction == '<' ? 80 : 19;
    p->window = direction == '<' ? k : 99 - k;
    return true;
}

size_t Longest(const std::string* names, size_t count) {
    size_t n = 0;
    for (size_t i = 0; i < count; ++i) n = std::max(n, names[i].size());
    return n;
}

// The name shown in a run of `width` letter positions.
const std::string& NameFor(uint8_t role, int index, int width) {
    const locale::Settings& s = locale::Current();
    if (role == kWeekdayLetter) {
        const bool abbrev = static_cast<size_t>(width) <= Longest(s.dayAbbrevs.data(), 7);
        return abbrev ? s.dayAbbrevs[index] : s.dayNames[index];
    }
    const bool abbrev = static_cast<size_t>(width) <= Longest(s.monthAbbrevs.data(), 12);
    return abbrev ? s.monthAbbrevs[index] : s.monthNames[index];
}

void PutName(const Picture& p, int first, int width, const std::string& name, std::string* out) {
    for (int k = 0; k < width; ++k) {
        (*out)[first + k] = static_cast<size_t>(k) < name.size() ? name[k] : p.pos[first + k].ch;
    }
}

}  // namespace

bool IsFieldRole(uint8_t role) {
    return (role >= kMonthDigit && role <= kWeekdayLetter && role != kExponent) || role == kAmPm;
}

int RunEnd(const Picture& p, int first) {
    int end = first + 1;
    while (end < p.count && p.pos[end].role == p.pos[first].role) ++end;
    return end;
}

void PutDigits(const Picture& p, int first, int width, int value, std::string* out) {
    int length = 1;
    for (int v = value; v >= 10; v /= 10) ++length;
    for (int k = 0; k < width; ++k) {
        const int o = first + width - 1 - k;
        (*out)[o] = k < length ? static_cast<char>('0' + value % 10) : p.pos[o].ch;
        value /= 10;
    }
}

// The fill covers every digit and name-letter position alike.
void ApplyFill(Picture* p) {
    if (p->fill == 0) return;
    const char shown = p->fill == '_' ? ' ' : p->fill;
    for (int i = 0; i < p->count; ++i) {
        const uint8_t role = p->pos[i].role;
        if (IsFieldRole(role) && role != kAmPm) p->pos[i].ch = shown;
    }
}

bool CompileDate(Cursor* c, Picture* p) {
    p->fill = TakeFill(c);
    int n = 0;
    if (!c->TakeNumber(2, &n) || n < 1 || n > 18 || !TakeWindow(c, p)) return false;
    p->format = n;
    if (n <= 16) {
        Builder b(p);
        for (const char* code = kDateLayouts[n]; *code != '\0'; ++code) AddDateCode(*code, &b);
    } else {
        const locale::Settings& s = locale::Current();
        if (!BuildWindowsDate(n == 17 ? s.shortDate : s.longDate, p)) return false;
    }
    ApplyFill(p);
    return TakeTail(c, p);
}

std::string FormatDate(const Picture& p, int32_t day) {
    if (p.blankWhenZero && day == 0) return Blanks(p);
    int year = 0, month = 0, dayOfMonth = 0;
    const bool valid = datetime::SplitDay(day, &year, &month, &dayOfMonth);
    std::string out(static_cast<size_t>(p.count), ' ');
    for (int i = 0; i < p.count;) {
        const uint8_t role = p.pos[i].role;
        const int end = IsFieldRole(role) ? RunEnd(p, i) : i + 1;
        const int width = end - i;
        if (!IsFieldRole(role)) {
            out[i] = p.pos[i].ch;
        } else if (!valid) {
            // no date: the field stays blank
        } else if (role == kMonthLetter) {
            PutName(p, i, width, NameFor(role, month - 1, width), &out);
        } else if (role == kWeekdayLetter) {
            PutName(p, i, width, NameFor(role, datetime::Weekday(day), width), &out);
        } else {
            const int value = role == kMonthDigit ? month : role == kDayDigit ? dayOfMonth
                                                                              : width <= 2 ? year % 100 : year;
            PutDigits(p, i, width, value, &out);
        }
        i = end;
    }
    return out;
}

}  // namespace dove::pic::detail
