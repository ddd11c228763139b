// Time pictures: T [fill] n [separator] [B], n from 1 to 8.
//
// Layouts 1 to 6 are fixed; 7 and 8 come from the Windows settings: the
// hour with a leading zero when iTLzero is 1, the sTime text as separator,
// the minutes (and in 8 the seconds), and on a 12-hour clock (iTime not 1) a
// blank and the two-position marker from s1159 and s2359. Pictures 3 and 6
// show "AM" and "PM" (or the TOVAMPM texts). With a marker the hour is on a
// 12-hour clock: 0 shows as 12, 13 to 23 lose 12.
//
// A time value outside 1..8,640,000 is no time: digits and marker are blank,
// separators stay. B blanks the whole field for the value 0 only.
#include "runtime/pictures/date_time.h"
#include "runtime/locale/locale_settings.h"
#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

// h/H hour with a blank or zero first digit, M minutes, S seconds, ":" a
// separator, a the AM/PM marker, _ a literal blank.
const char* const kTimeLayouts[7] = {nullptr, "h:M", "hM", "h:Ma", "h:M:S", "hMS", "h:M:Sa"};

void AddTimeCode(char code, Builder* b) {
    switch (code) {
        case 'h': b->Add(' ', kHourDigit), b->Add('0', kHourDigit); break;
        case 'H': b->Add('0', kHourDigit, 2); break;
        case 'M': b->Add('0', kMinuteDigit, 2); break;
        case 'S': b->Add('0', kSecondDigit, 2); break;
        case 'a': b->Add(' ', kAmPm, 2); break;
        case '_': b->Add(' ', kLiteral); break;
        default: b->Add(code, kSeparator); break;
    }
}

void BuildWindowsTime(bool seconds, Builder* b) {
    const locale::Settings& s = locale::Current();
    AddTimeCode(s.hourLeadingZero ? 'H' : 'h', b);
    for (char c : s.timeSeparator) b->Add(c, kSeparator);
    AddTimeCode('M', b);
    if (seconds) {
        for (char c : s.timeSeparator) b->Add(c, kSeparator);
        AddTimeCode('S', b);
    }
    if (!s.clock24) {
        AddTimeCode('_', b);
        AddTimeCode('a', b);
    }
}

void SetMarker(const std::string& am, const std::string& pm, Picture* p) {
    for (int i = 0; i < 2; ++i) {
        p->am[i] = static_cast<size_t>(i) < am.size() ? am[i] : ' ';
        p->pm[i] = static_cast<size_t>(i) < pm.size() ? pm[i] : ' ';
    }
}

}  // namespace

bool CompileTime(Cursor* c, Picture* p) {
    p->fill = TakeFill(c);
    int n = 0;
    if (!c->TakeNumber(1, &n) || n < 1 || n > 8) return false;
    p->format = n;
    const locale::Settings& s = locale::Current();
    Builder b(p);
    if (n <= 6) {
        for (const char* code = kTimeLayouts[n]; *code != '\0'; ++code) AddTimeCode(*code, &b);
        SetMarker(s.amText, s.pmText, p);
    } else {
        BuildWindowsTime(n == 8, &b);
        SetMarker(s.text1159, s.text2359, p);
    }
    if (!b.ok()) return false;
    ApplyFill(p);
    return TakeTail(c, p);
}

std::string FormatTime(const Picture& p, int32_t time) {
    if (p.blankWhenZero && time == 0) return Blanks(p);
    int hour = 0, minute = 0, second = 0, hundredths = 0;
    const bool valid = datetime::SplitTime(time, &hour, &minute, &second, &hundredths);
    bool marker = false;
    for (int i = 0; i < p.count; ++i) marker = marker || p.pos[i].role == kAmPm;
    const bool pm = hour >= 12;
    if (marker) hour = hour % 12 == 0 ? 12 : hour % 12;
    std::string out(static_cast<size_t>(p.count), ' ');
    for (int i = 0; i < p.count;) {
        const uint8_t role = p.pos[i].role;
        const int end = IsFieldRole(role) ? RunEnd(p, i) : i + 1;
        if (!IsFieldRole(role)) {
            out[i] = p.pos[i].ch;
        } else if (!valid) {
            // no time: the field stays blank
        } else if (role == kAmPm) {
            const char* text = pm ? p.pm : p.am;
            for (int k = i; k < end; ++k) out[k] = text[(k - i) % 2];
        } else {
            const int value = role == kHourDigit ? hour : role == kMinuteDigit ? minute : second;
            PutDigits(p, i, end - i, value, &out);
        }
        i = end;
    }
    return out;
}

}  // namespace dove::pic::detail
