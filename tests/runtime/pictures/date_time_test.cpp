#include "runtime/pictures/date_time.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace dt = dove::datetime;

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, by the well-known
// era-based civil calendar arithmetic; independent of the code under test.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int* y, int* m, int* d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = static_cast<int>(yoe + era * 400 + (*m <= 2));
}

const int64_t kEpochOfDay4 = DaysFromCivil(1801, 1, 1);

dt::LocalTime g_fixed;
dt::LocalTime FixedClock() { return g_fixed; }

class FixedClockTest : public ::testing::Test {
protected:
    void Set(int y, int mo, int d, int h, int mi, int s, int ms) {
        g_fixed = dt::LocalTime{y, mo, d, h, mi, s, ms};
        dt::SetClockSource(&FixedClock);
    }
    void TearDown() override { dt::SetClockSource(nullptr); }
};

}  // namespace

TEST(DayNumberTest, EveryDayFrom1801To9999AgreesWithTheCivilCalendarBothWays) {
    int failures = 0;
    for (int32_t n = dt::kFirstDay; n <= dt::kLastDay && failures < 5; ++n) {
        int ey, em, ed;
        CivilFromDays(kEpochOfDay4 + (n - 4), &ey, &em, &ed);
        int y = 0, m = 0, d = 0;
        const bool split = dt::SplitDay(n, &y, &m, &d);
        const int32_t back = dt::DayNumber(ey, em, ed);
        if (!split || y != ey || m != em || d != ed || back != n) {
            ++failures;
            ADD_FAILURE() << "day " << n << ": expected " << ey << "-" << em << "-" << ed << ", split gave " << y << "-"
                          << m << "-" << d << ", DayNumber of the civil date gave " << back;
        }
    }
    int y, m, d;
    ASSERT_TRUE(dt::SplitDay(dt::kLastDay, &y, &m, &d));
    EXPECT_EQ(9999 * 10000 + 12 * 100 + 31, y * 10000 + m * 100 + d);
}

TEST(DayNumberTest, LeapYearBoundaries) {
    struct Row { int y, m, d; int32_t expected; };
    const Row rows[] = {
        {1801, 1, 1, 4},
        {1804, 2, 28, 1157}, {1804, 2, 29, 1158}, {1804, 3, 1, 1159},
        {1900, 2, 28, 36221}, {1900, 3, 1, 36222}, {1900, 2, 29, -1},
        {2000, 2, 28, 72745}, {2000, 2, 29, 72746}, {2000, 3, 1, 72747},
        {9999, 12, 31, 2994626},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.expected, dt::DayNumber(r.y, r.m, r.d)) << r.y << "-" << r.m << "-" << r.d;
        if (r.expected > 0) {
            EXPECT_EQ(r.expected, DaysFromCivil(r.y, r.m, r.d) - kEpochOfDay4 + 4) << "oracle " << r.y;
        }
    }
    EXPECT_EQ(dt::DayNumber(1804, 2, 29) + 1, dt::DayNumber(1804, 3, 1));
    EXPECT_EQ(dt::DayNumber(1900, 2, 28) + 1, dt::DayNumber(1900, 3, 1));
}

TEST(DayNumberTest, InvalidDatesGiveMinusOneAndInvalidNumbersDoNotSplit) {
    const int rows[][3] = {{1800, 12, 31}, {10000, 1, 1}, {2026, 0, 1}, {2026, 13, 1},
                           {2026, 4, 31}, {2026, 1, 0},   {2027, 2, 29}, {-5, 1, 1}};
    for (const auto& r : rows) EXPECT_EQ(-1, dt::DayNumber(r[0], r[1], r[2])) << r[0] << "-" << r[1] << "-" << r[2];
    int y = 7, m = 7, d = 7;
    for (int32_t n : {-1, 0, 3, dt::kLastDay + 1, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(dt::SplitDay(n, &y, &m, &d)) << n;
        EXPECT_EQ(7, y) << "fields untouched for " << n;
    }
}

TEST(DayNumberTest, WeekdayOfKnownDates) {
    EXPECT_EQ(4, dt::Weekday(4));                               // 1 Jan 1801, Thursday
    EXPECT_EQ(0, dt::Weekday(dt::DayNumber(2026, 12, 6)));      // Sunday
    EXPECT_EQ(1, dt::Weekday(dt::DayNumber(2026, 1, 5)));       // Monday
    EXPECT_EQ(6, dt::Weekday(dt::DayNumber(2000, 1, 1)));       // Saturday
}

TEST(TimeValueTest, RangeAndFields) {
    EXPECT_EQ(1, dt::TimeValue(0, 0, 0, 0));
    EXPECT_EQ(2, dt::TimeValue(0, 0, 0, 1));
    EXPECT_EQ(8640000, dt::TimeValue(23, 59, 59, 99));
    EXPECT_EQ(9 * 360000 + 5 * 6000 + 1, dt::TimeValue(9, 5, 0, 0));
    const int bad[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 100}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
    for (const auto& b : bad) EXPECT_EQ(-1, dt::TimeValue(b[0], b[1], b[2], b[3])) << b[0] << ":" << b[1] << ":" << b[2];
    int h, m, s, c;
    ASSERT_TRUE(dt::SplitTime(8640000, &h, &m, &s, &c));
    EXPECT_EQ(23 * 1000000 + 59 * 10000 + 59 * 100 + 99, h * 1000000 + m * 10000 + s * 100 + c);
    EXPECT_FALSE(dt::SplitTime(0, &h, &m, &s, &c));
    EXPECT_FALSE(dt::SplitTime(8640001, &h, &m, &s, &c));
}

TEST(ExpandYearTest, SlidingWindowAroundTheCurrentYear) {
    struct Row { int year, window, current, expected; };
    const Row rows[] = {
        {45, 80, 2026, 2045}, {46, 80, 2026, 1946}, {26, 80, 2026, 2026}, {0, 80, 2026, 2000},
        {99, 80, 2026, 1999}, {0, 80, 2099, 2100}, {19, 80, 2000, 2019}, {20, 80, 2000, 1920},
        {50, 50, 2026, 2050}, {76, 50, 2026, 1976}, {75, 50, 2026, 2075},
        {1999, 80, 2026, 1999},   // not a two-digit year
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.expected, dt::ExpandYear(r.year, r.window, r.current))
            << r.year << " window " << r.window << " in " << r.current;
    }
}

TEST_F(FixedClockTest, ClockIsZeroExactlyAtMidnightAndTwoOneHundredthLater) {
    Set(2026, 12, 6, 0, 0, 0, 0);
    EXPECT_EQ(0, dove::CLOCK());
    Set(2026, 12, 6, 0, 0, 0, 9);
    EXPECT_EQ(0, dove::CLOCK());
    Set(2026, 12, 6, 0, 0, 0, 10);
    EXPECT_EQ(2, dove::CLOCK());
    Set(2026, 12, 6, 23, 59, 59, 999);
    EXPECT_EQ(8640000, dove::CLOCK());
}

TEST_F(FixedClockTest, TodayAndTheCurrentYearFollowTheClock) {
    Set(2026, 12, 6, 9, 5, 0, 0);
    EXPECT_EQ(dt::DayNumber(2026, 12, 6), dove::TODAY());
    EXPECT_EQ(2026, dt::CurrentYear());
    EXPECT_EQ(2045, dt::ExpandYear(45));
    EXPECT_EQ(1946, dt::ExpandYear(46));
}

TEST(SystemClockTest, ReadsAPlausibleLocalTime) {
    const int32_t today = dove::TODAY();
    EXPECT_GT(today, dt::DayNumber(2020, 1, 1));
    const int32_t now = dove::CLOCK();
    EXPECT_GE(now, 0);
    EXPECT_LE(now, dt::kLastTime);
}
