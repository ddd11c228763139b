// Dates as day numbers and times as hundredths of a second.
//
// A date is a signed 32-bit day number: day 4 is 1 January 1801 and every
// later day adds one, up to 2,994,626 (31 December 9999). A time is the
// hundredths of a second since midnight plus 1, so 00:00:00.00 is 1 and
// 23:59:59.99 is 8,640,000; 0 means "no time". Both can be compared and
// subtracted directly.
//
//   int32_t day = dove::datetime::DayNumber(2026, 12, 6);    // -1 if invalid
//   int y, m, d;
//   if (dove::datetime::SplitDay(day, &y, &m, &d)) ...
//   int32_t now = dove::CLOCK();
#pragma once

#include <cstdint>

namespace dove::datetime {

constexpr int32_t kFirstDay = 4;          // 1 January 1801
constexpr int32_t kLastDay = 2994626;     // 31 December 9999
constexpr int32_t kLastTime = 8640000;    // 23:59:59.99
constexpr int kDefaultWindow = 80;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);   // 0 for a month outside 1..12

// -1 unless 1801 <= year <= 9999, 1 <= month <= 12, 1 <= day <= month length.
int32_t DayNumber(int year, int month, int day);
bool IsValidDay(int32_t dayNumber);
// False (fields untouched) for a day number outside kFirstDay..kLastDay.
bool SplitDay(int32_t dayNumber, int* year, int* month, int* day);
// 0 Sunday .. 6 Saturday; only meaningful for a valid day number.
int Weekday(int32_t dayNumber);

// Hundredths since midnight plus 1; -1 when a field is out of range
// (negative, hour over 23, minute or second over 59, hundredths over 99).
int32_t TimeValue(int hour, int minute, int second, int hundredths);
bool IsValidTime(int32_t timeValue);   // 1..kLastTime
bool SplitTime(int32_t timeValue, int* hour, int* minute, int* second, int* hundredths);

// Places a two-digit year (0..99) in a century by the sliding window around
// currentYear: with window 80 it falls between 80 years before and 19 years
// after currentYear. Other years are returned unchanged.
int ExpandYear(int year, int window, int currentYear);
// Same, around the current year as read once from the clock.
int ExpandYear(int year, int window = kDefaultWindow);

// The local wall-clock reading. The portable default reads the C library's
// local time; the Windows start-up installs GetLocalTime. A test may install
// a fixed reading; installing a source forgets the cached current year.
struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};
using ClockSource = LocalTime (*)();
void SetClockSource(ClockSource source);   // nullptr restores the default
LocalTime ReadClock();
int CurrentYear();   // read once from the clock, then kept

}  // namespace dove::datetime

namespace dove {

// The local date as a day number.
int32_t TODAY();
// The local time as a time value; exactly 00:00:00.00 gives 0 (no time).
int32_t CLOCK();

}  // namespace dove
