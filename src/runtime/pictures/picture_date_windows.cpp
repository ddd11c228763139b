// Date pictures 17 and 18: a layout from a Windows date format text.
//
// Our translation: "d" and "M" are a day or month with a blank first digit,
// "dd" and "MM" with a zero; "ddd" and "MMM" the abbreviated weekday or
// month name, "dddd" and "MMMM" the full name, each as wide as the longest
// such name; "y" and "yy" a two-digit year, three or more "y" four digits;
// "g" (era) is dropped. Text between single quotes is literal ("''" is a
// quote), so are blanks and other letters; every other character is a
// separator position that the picture's separator can replace. A format
// that needs more than 255 positions rejects the picture.
#include <algorithm>

#include "runtime/locale/locale_settings.h"
#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

template <size_t N>
int LongestName(const std::array<std::string, N>& names) {
    size_t n = 1;
    for (const std::string& name : names) n = std::max(n, name.size());
    return static_cast<int>(n);
}

void AddDayOrMonth(char letter, int repeat, Builder* b) {
    const locale::Settings& s = locale::Current();
    const bool day = letter == 'd';
    const uint8_t digit = day ? kDayDigit : kMonthDigit;
    const uint8_t name = day ? kWeekdayLetter : kMonthLetter;
    if (repeat == 1) {
        b->Add(' ', digit);
        b->Add('0', digit);
    } else if (repeat == 2) {
        b->Add('0', digit, 2);
    } else if (repeat == 3) {
        b->Add(' ', name, day ? LongestName(s.dayAbbrevs) : LongestName(s.monthAbbrevs));
    } else {
        b->Add(' ', name, day ? LongestName(s.dayNames) : LongestName(s.monthNames));
    }
}

// Quoted text from just after the opening quote; returns the index after it.
size_t AddQuoted(std::string_view f, size_t i, Builder* b) {
    while (i < f.size()) {
        if (f[i] != '\'') {
            b->Add(f[i++], kLiteral);
        } else if (i + 1 < f.size() && f[i + 1] == '\'') {
            b->Add('\'', kLiteral);
            i += 2;
        } else {
            return i + 1;
        }
    }
    return i;
}

}  // namespace

bool BuildWindowsDate(std::string_view f, Picture* p) {
    Builder b(p);
    size_t i = 0;
    while (i < f.size() && b.ok()) {
        const char c = f[i];
        size_t repeat = 1;
        while (i + repeat < f.size() && f[i + repeat] == c) ++repeat;
        if (c == '\'') {
            i = AddQuoted(f, i + 1, &b);
            continue;
        }
        if (c == 'd' || c == 'M') {
            AddDayOrMonth(c, static_cast<int>(std::min<size_t>(repeat, 4)), &b);
        } else if (c == 'y') {
            b.Add('0', kYearDigit, repeat <= 2 ? 2 : 4);
        } else if (c == 'g') {
            // the era is not shown
        } else if (c == ' ' || IsLetter(c)) {
            b.Add(c, kLiteral, static_cast<int>(repeat));
        } else {
            b.Add(c, kSeparator, static_cast<int>(repeat));
        }
        i += repeat;
    }
    return b.ok();
}

}  // namespace dove::pic::detail
