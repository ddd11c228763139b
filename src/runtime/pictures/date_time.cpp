#include "runtime/pictures/date_time.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace dove::datetime {
namespace {

constexpr int kFirstYear = 1801;
constexpr int kLastYear = 9999;
constexpr int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int32_t kHundredthsPerHour = 360000;
constexpr int32_t kHundredthsPerMinute = 6000;

// Leap days from year 1 up to and including year y.
int32_t LeapDaysThrough(int y) { return y / 4 - y / 100 + y / 400; }

LocalTime SystemClock() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm parts{};
#if defined(_WIN32)
    localtime_s(&parts, &seconds);
#else
    localtime_r(&seconds, &parts);
#endif
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    t.millisecond = static_cast<int>(ms < 0 ? ms + 1000 : ms);
    return t;
}

std::atomic<ClockSource> g_source{nullptr};
std::atomic<int> g_currentYear{0};   // 0: not read yet

}  // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return kLength[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int32_t DayNumber(int year, int month, int day) {
    if (year < kFirstYear || year > kLastYear) return -1;
    if (day < 1 || day > DaysInMonth(year, month)) return -1;
    int32_t n = (year - kFirstYear) * 365 + kDaysBefore[month - 1] + day + 3 +
                (LeapDaysThrough(year) - LeapDaysThrough(1800));
    if (month <= 2 && IsLeapYear(year)) --n;   // this year's leap day is still ahead
    return n;
}

bool IsValidDay(int32_t dayNumber) { return dayNumber >= kFirstDay && dayNumber <= kLastDay; }

bool SplitDay(int32_t dayNumber, int* year, int* month, int* day) {
    if (!IsValidDay(dayNumber)) return false;
    // Estimate the year from the mean year length, then correct it; the
    // estimate is never more than one year off.
    int y = kFirstYear + static_cast<int>((dayNumber - kFirstDay) * 400LL / 146097);
    if (y > kLastYear) y = kLastYear;
    while (y > kFirstYear && DayNumber(y, 1, 1) > dayNumber) --y;
    while (y < kLastYear && DayNumber(y + 1, 1, 1) <= dayNumber) ++y;
    int rest = dayNumber - DayNumber(y, 1, 1);
    int m = 1;
    while (rest >= DaysInMonth(y, m)) rest -= DaysInMonth(y, m++);
    *year = y;
    *month = m;
    *day = rest + 1;
    return true;
}

int Weekday(int32_t dayNumber) {
    // Day 4, 1 January 1801, was a Thursday.
    const int w = dayNumber % 7;
    return w < 0 ? w + 7 : w;
}

int32_t TimeValue(int hour, int minute, int second, int hundredths) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return -1;
    if (second < 0 || second > 59 || hundredths < 0 || hundredths > 99) return -1;
    return hour * kHundredthsPerHour + minute * kHundredthsPerMinute + second * 100 + hundredths + 1;
}

bool IsValidTime(int32_t timeValue) { return timeValue >= 1 && timeValue <= kLastTime; }

bool SplitTime(int32_t timeValue, int* hour, int* minute, int* second, int* hundredths) {
    if (!IsValidTime(timeValue)) return false;
    int32_t rest = timeValue - 1;
    *hour = rest / kHundredthsPerHour;
    rest %= kHundredthsPerHour;
    *minute = rest / kHundredthsPerMinute;
    rest %= kHundredthsPerMinute;
    *second = rest / 100;
    *hundredths = rest % 100;
    return true;
}

int ExpandYear(int year, int window, int currentYear) {
    if (year < 0 || year > 99) return year;
    const int d = currentYear % 100 - year;
    const int r = currentYear - d;
    if (d <= window - 100) return r - 100;
    if (d > window) return r + 100;
    return r;
}

int ExpandYear(int year, int window) { return ExpandYear(year, window, CurrentYear()); }

void SetClockSource(ClockSource source) {
    g_source.store(source);
    g_currentYear.store(0);
}

LocalTime ReadClock() {
    const ClockSource source = g_source.load();
    return source != nullptr ? source() : SystemClock();
}

int CurrentYear() {
    int year = g_currentYear.load();
    if (year == 0) {
        year = ReadClock().year;
        g_currentYear.store(year);
    }
    return year;
}

}  // namespace dove::datetime

namespace dove {

int32_t TODAY() {
    const datetime::LocalTime t = datetime::ReadClock();
    return datetime::DayNumber(t.year, t.month, t.day);
}

int32_t CLOCK() {
    const datetime::LocalTime t = datetime::ReadClock();
    if (t.hour == 0 && t.minute == 0 && t.second == 0 && t.millisecond / 10 == 0) return 0;
    return datetime::TimeValue(t.hour, t.minute, t.second, t.millisecond / 10);
}

}  // namespace dove
