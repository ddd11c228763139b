// DEFORMAT of date and time pictures.
//
// The text is cut into runs of digits and runs of letters; everything else
// (separators, blanks, commas, dots) only divides them. The runs are matched
// in order against the picture's fields:
// - a number field takes one digit run; fields that stand side by side in
//   the picture without a separator ("yMD", "hM") may share one run when
//   there are fewer runs than fields, split from the right so that the first
//   field takes what is left (" 905" in "t2" is 9:05), and a first two-digit
//   year of such a run may take four digits;
// - a month field, digits or name, takes a number or a month name (full,
//   abbreviated, or the first three or more letters of the full name, in any
//   case); a weekday name is skipped when present; with fill "0", a run of
//   zeros written right after a name is the name's unused letter positions
//   and is skipped too;
// - a year of one or two digits is placed by the picture's century window,
//   three or four digits are taken as they are;
// - in time pictures, missing minutes and seconds are 0, and an AM/PM
//   marker (the picture's texts, or just their first letter) is optional;
//   without it the hour is read on the 24-hour clock.
// Text without any digit or letter reads as 0 (no date, no time). Runs left
// over, a missing field, or an impossible date or time reject the text.
#include <algorithm>
#include <vector>

#include "runtime/pictures/date_time.h"
#include "runtime/locale/locale_settings.h"
#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

constexpr int kMaxFieldDigits = 9;

struct Token {
    bool digits = false;
    std::string_view text;
};

std::vector<Token> Tokenize(std::string_view text) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        const bool digit = IsDigit(text[i]);
        if (!digit && !IsLetter(text[i])) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && (digit ? IsDigit(text[end]) : IsLetter(text[end]))) ++end;
        tokens.push_back(Token{digit, text.substr(i, end - i)});
        i = end;
    }
    return tokens;
}

bool NumberOf(std::string_view digits, int* out) {
    if (digits.empty() || digits.size() > static_cast<size_t>(kMaxFieldDigits)) return false;
    int v = 0;
    for (char c : digits) v = v * 10 + (c - '0');
    *out = v;
    return true;
}

template <size_t N>
int MatchName(std::string_view word, const std::array<std::string, N>& names, const std::array<std::string, N>& abbrevs) {
    for (size_t i = 0; i < N; ++i) {
        if (EqualIgnoringCase(word, names[i]) || EqualIgnoringCase(word, abbrevs[i])) return static_cast<int>(i);
    }
    if (word.size() < 3) return -1;
    for (size_t i = 0; i < N; ++i) {
        if (StartsIgnoringCase(names[i], word)) return static_cast<int>(i);
    }
    return -1;
}

// What the fields read.
struct Values {
    int year = -1, month = -1, day = -1;
    bool twoDigitYear = false;
    int hour = -1, minute = -1, second = -1;
    int marker = 0;   // 0 none, 1 AM, 2 PM
};

bool Store(uint8_t role, std::string_view digits, Values* v) {
    int n = 0;
    if (!NumberOf(digits, &n)) return false;
    switch (role) {
        case kMonthDigit: case kMonthLetter: v->month = n; break;
        case kDayDigit: v->day = n; break;
        case kYearDigit: v->year = n, v->twoDigitYear = digits.size() <= 2; break;
        case kHourDigit: v->hour = n; break;
        case kMinuteDigit: v->minute = n; break;
        case kSecondDigit: v->second = n; break;
        default: return false;
    }
    return true;
}

bool IsTimeDefaultable(uint8_t role) { return role == kMinuteDigit || role == kSecondDigit; }

class FieldReader {
public:
    FieldReader(const Picture& p, std::string_view text) : p_(p), tokens_(Tokenize(text)) {
        fieldCount_ = Fields(p, fields_, kMaxPositions);
    }
    bool Empty() const { return tokens_.empty(); }
    bool Read(Values* v);

private:
    bool HaveDigits() const { return next_ < tokens_.size() && tokens_[next_].digits; }
    bool HaveLetters() const { return next_ < tokens_.size() && !tokens_[next_].digits; }
    bool ReadGroup(int first, int* end, Values* v);
    bool ReadSplit(int first, int last, Values* v);
    int RunCover(int f, int last) const;
    bool ReadMonthName(Values* v);
    bool ReadMarker(Values* v);
    void SkipNameFill();

    const Picture& p_;
    std::vector<Token> tokens_;
    size_t next_ = 0;
    Field fields_[kMaxPositions];
    int fieldCount_ = 0;
};

bool FieldReader::Read(Values* v) {
    for (int f = 0; f < fieldCount_;) {
        const uint8_t role = fields_[f].role;
        int end = f + 1;
        bool ok = true;
        if (role == kWeekdayLetter) {
            const locale::Settings& s = locale::Current();
            if (HaveLetters() && MatchName(tokens_[next_].text, s.dayNames, s.dayAbbrevs) >= 0) {
                ++next_;
                SkipNameFill();
            }
        } else if (role == kMonthLetter) {
            ok = ReadMonthName(v);
        } else if (role == kAmPm) {
            ok = ReadMarker(v);
        } else {
            ok = ReadGroup(f, &end, v);
        }
        if (!ok) return false;
        f = end;
    }
    return next_ == tokens_.size();
}

// Number fields from `first` that stand side by side.
bool FieldReader::ReadGroup(int first, int* end, Values* v) {
    int last = first;
    while (fields_[last].adjacentToNext && last + 1 < fieldCount_ && fields_[last + 1].role != kMonthLetter &&
           fields_[last + 1].role != kWeekdayLetter && fields_[last + 1].role != kAmPm) {
        ++last;
    }
    *end = last + 1;
    for (int f = first; f <= last;) {
        if (!HaveDigits()) {
            if (!IsTimeDefaultable(fields_[f].role)) return false;
            ++f;   // Read() fills in 0
            continue;
        }
        // A run longer than its field covers as many of the following fields
        // as there are runs missing for them: "2026-01-06" in "d12" is one
        // run a field, "20260106" one run for all three, and "182212*5" (fill
        // "*") one run for year and month.
        const int cover = RunCover(f, last);
        if (cover > 1) {
            if (!ReadSplit(f, f + cover - 1, v)) return false;
        } else if (!Store(fields_[f].role, tokens_[next_++].text, v)) {
            return false;
        }
        f += cover;
    }
    return true;
}

int FieldReader::RunCover(int f, int last) const {
    if (tokens_[next_].text.size() <= static_cast<size_t>(fields_[f].width)) return 1;
    int runs = 0;
    for (size_t t = next_; t < tokens_.size() && tokens_[t].digits; ++t) ++runs;
    const int fieldsLeft = last - f + 1;
    return std::max(1, fieldsLeft - (runs - 1));
}

// One digit run for the fields first..last: the later fields take their
// widths from the right, the first what remains.
bool FieldReader::ReadSplit(int first, int last, Values* v) {
    const std::string_view run = tokens_[next_++].text;
    size_t rest = 0;
    for (int f = first + 1; f <= last; ++f) rest += static_cast<size_t>(fields_[f].width);
    if (run.size() <= rest) return false;
    const size_t head = run.size() - rest;
    const bool longYear = fields_[first].role == kYearDigit && head <= 4;
    if (head > static_cast<size_t>(fields_[first].width) && !longYear) return false;
    if (!Store(fields_[first].role, run.substr(0, head), v)) return false;
    size_t at = head;
    for (int f = first + 1; f <= last; ++f) {
        const size_t width = static_cast<size_t>(fields_[f].width);
        if (!Store(fields_[f].role, run.substr(at, width), v)) return false;
        at += width;
    }
    return true;
}

bool FieldReader::ReadMonthName(Values* v) {
    if (HaveDigits()) return Store(kMonthDigit, tokens_[next_++].text, v);
    if (!HaveLetters()) return false;
    const locale::Settings& s = locale::Current();
    const int month = MatchName(tokens_[next_++].text, s.monthNames, s.monthAbbrevs);
    v->month = month + 1;
    if (month >= 0) SkipNameFill();
    return month >= 0;
}

void FieldReader::SkipNameFill() {
    if (p_.fill != '0' || !HaveDigits()) return;
    const std::string_view name = tokens_[next_ - 1].text;
    const std::string_view zeros = tokens_[next_].text;
    const bool adjacent = name.data() + name.size() == zeros.data();
    if (adjacent && zeros.find_first_not_of('0') == std::string_view::npos) ++next_;
}

bool FieldReader::ReadMarker(Values* v) {
    if (!HaveLetters()) return true;
    const std::string_view word = tokens_[next_].text;
    const std::string am = std::string(p_.am, 2), pm = std::string(p_.pm, 2);
    auto trimmed = [](std::string s) { return s.substr(0, s.find_last_not_of(' ') + 1); };
    if (EqualIgnoringCase(word, trimmed(am))) {
        v->marker = 1;
    } else if (EqualIgnoringCase(word, trimmed(pm))) {
        v->marker = 2;
    } else if (word.size() == 1 && AsciiUpper(word[0]) == AsciiUpper(am[0]) && AsciiUpper(am[0]) != AsciiUpper(pm[0])) {
        v->marker = 1;
    } else if (word.size() == 1 && AsciiUpper(word[0]) == AsciiUpper(pm[0]) && AsciiUpper(am[0]) != AsciiUpper(pm[0])) {
        v->marker = 2;
    } else {
        return false;
    }
    ++next_;
    return true;
}

bool HourFromMarker(Values* v) {
    if (v->marker == 0) return true;
    if (v->hour > 12) return false;
    if (v->marker == 2 && v->hour < 12) v->hour += 12;
    if (v->marker == 1 && v->hour == 12) v->hour = 0;
    return true;
}

}  // namespace

int Fields(const Picture& p, Field* out, int max) {
    int n = 0;
    for (int i = 0; i < p.count && n < max;) {
        if (!IsFieldRole(p.pos[i].role)) {
            ++i;
            continue;
        }
        const int end = RunEnd(p, i);
        out[n] = Field{p.pos[i].role, end - i, end < p.count && IsFieldRole(p.pos[end].role)};
        ++n;
        i = end;
    }
    return n;
}

}  // namespace dove::pic::detail

namespace dove::pic {

using namespace detail;

bool ReadDate(const Picture& p, std::string_view text, int32_t* out) {
    if (p.kind != Kind::Date) return false;
    FieldReader reader(p, text);
    if (reader.Empty()) return *out = 0, true;
    Values v;
    if (!reader.Read(&v)) return false;
    if (v.day < 0) v.day = 1;   // month and year layouts
    if (v.twoDigitYear) v.year = datetime::ExpandYear(v.year, p.window);
    const int32_t day = datetime::DayNumber(v.year, v.month, v.day);
    if (day < 0) return false;
    *out = day;
    return true;
}

bool ReadTime(const Picture& p, std::string_view text, int32_t* out) {
    if (p.kind != Kind::Time) return false;
    FieldReader reader(p, text);
    if (reader.Empty()) return *out = 0, true;
    Values v;
    if (!reader.Read(&v) || v.hour < 0 || !HourFromMarker(&v)) return false;
    const int32_t time = datetime::TimeValue(v.hour, v.minute < 0 ? 0 : v.minute, v.second < 0 ? 0 : v.second, 0);
    if (time < 0) return false;
    *out = time;
    return true;
}

}  // namespace dove::pic
