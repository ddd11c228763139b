#include "runtime/pictures/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using dove::Decimal;

std::string Zeros(int n) { return std::string(static_cast<size_t>(n), '0'); }

TEST(DecimalFromText, ReadingRules) {
    const struct { std::string text; std::string want; } rows[] = {
        {"", "0"},
        {"abc", "0"},
        {"0", "0"},
        {"007", "7"},
        {"  -12.50  ", "-12.5"},
        {"\t\r\n 42", "42"},
        {"+5", "0"},
        {"- 5", "0"},
        {"-0", "0"},
        {"-0.000", "0"},
        {"1,5", "1.5"},
        {"1,234.5", "1.234"},
        {"1.5.3", "1.5"},
        {".5", "0.5"},
        {"-.5", "-0.5"},
        {"5.", "5"},
        {".", "0"},
        {"12abc", "12"},
        {"1.5e3", "1500"},
        {"1.5E-2", "0.015"},
        {"25e+1", "250"},
        {"0.05e4", "500"},
        {"123e-2", "1.23"},
        {"2e", "2"},
        {"2e+", "2"},
        {"2ex", "2"},
        {"e5", "0"},
        {"0e999999", "0"},
        {"5e-999999", "0"},
        {"1e99999999999999999999", "0"},
        {std::string(31, '9'), std::string(31, '9')},
        {std::string(32, '9'), "0"},
        {"1e30", "1" + Zeros(30)},
        {"1e31", "0"},
        {"0." + Zeros(31) + "1", "0." + Zeros(31) + "1"},
        {"1e-32", "0." + Zeros(31) + "1"},
        {"1e-33", "0"},
        {"1." + Zeros(31) + "15", "1." + Zeros(31) + "1"},
        {Zeros(98) + "12", "1"},   // cut to 99 characters before reading
        {"7" + std::string(200, ' '), "7"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(dove::DecimalToText(dove::DecimalFromText(row.text)), row.want)
            << '"' << row.text << '"';
    }
}

TEST(DecimalFromText, DigitLayout) {
    const Decimal d = dove::DecimalFromText("-0120.0340");
    EXPECT_TRUE(d.negative);
    ASSERT_EQ(d.intCount, 3);
    EXPECT_EQ(d.intDigits[0], 1);
    EXPECT_EQ(d.intDigits[1], 2);
    EXPECT_EQ(d.intDigits[2], 0);
    ASSERT_GE(d.decCount, 3);
    EXPECT_EQ(d.decDigits[0], 0);
    EXPECT_EQ(d.decDigits[1], 3);
    EXPECT_EQ(d.decDigits[2], 4);
    for (int i = 3; i < d.decCount; ++i) EXPECT_EQ(d.decDigits[i], 0) << i;

    const Decimal zero = dove::DecimalFromText("0.5e-40");
    EXPECT_EQ(zero.intCount, 0);
    EXPECT_FALSE(zero.negative);
    EXPECT_TRUE(dove::DecimalIsZero(zero));
}

TEST(DecimalFromDouble, FifteenSignificantDigits) {
    const struct { double v; std::string want; } rows[] = {
        {0, "0"},
        {-0.0, "0"},
        {1.5, "1.5"},
        {-2.25, "-2.25"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {-123456789.123456789, "-123456789.123457"},
        {1e30, "1" + Zeros(30)},
        {9.5, "9.5"},
        {1e-32, "0." + Zeros(31) + "1"},
        {1.23e-31, "0." + Zeros(30) + "12"},
        {4e-33, "0"},
        {6e-33, "0." + Zeros(31) + "1"},   // rounded at the 32nd decimal
    };
    for (const auto& row : rows) {
        Decimal d;
        EXPECT_TRUE(dove::DecimalFromDoubleChecked(row.v, &d)) << row.v;
        EXPECT_EQ(dove::DecimalToText(d), row.want) << row.v;
        EXPECT_EQ(dove::DecimalToText(dove::DecimalFromDouble(row.v)), row.want) << row.v;
    }
}

TEST(DecimalFromDouble, BeyondTheAccumulatorGivesZero) {
    const double rows[] = {
        1e31, -1e31, 9.9999999999999999e30, 1e300,
        std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
    };
    for (double v : rows) {
        Decimal d;
        d.intCount = 5;
        EXPECT_FALSE(dove::DecimalFromDoubleChecked(v, &d)) << v;
        EXPECT_TRUE(dove::DecimalIsZero(d)) << v;
        EXPECT_EQ(dove::DecimalToText(dove::DecimalFromDouble(v)), "0") << v;
    }
}

TEST(DecimalFromInt, AllDigits) {
    const struct { int64_t v; const char* want; } rows[] = {
        {0, "0"}, {-1, "-1"}, {1234567, "1234567"},
        {std::numeric_limits<int64_t>::max(), "9223372036854775807"},
        {std::numeric_limits<int64_t>::min(), "-9223372036854775808"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(dove::DecimalToText(dove::DecimalFromInt(row.v)), row.want) << row.v;
    }
}

TEST(DecimalToDouble, ReadsTheDigits) {
    const struct { const char* text; double want; } rows[] = {
        {"-12.5", -12.5}, {"0", 0}, {"1e-32", 1e-32}, {"123456789012345", 123456789012345.0},
        {"0.1", 0.1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(dove::DecimalToDouble(dove::DecimalFromText(row.text)), row.want) << row.text;
    }
}

TEST(DecimalToText, DropsTrailingZerosAndPoint) {
    Decimal d;
    d.intCount = 1;
    d.intDigits[0] = 4;
    d.decCount = 3;   // 4.500
    d.decDigits[0] = 5;
    EXPECT_EQ(dove::DecimalToText(d), "4.5");
    d.decDigits[0] = 0;
    EXPECT_EQ(dove::DecimalToText(d), "4");
    d.negative = true;
    EXPECT_EQ(dove::DecimalToText(d), "-4");
}

}  // namespace
