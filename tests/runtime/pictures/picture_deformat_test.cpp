#include <gtest/gtest.h>

#include <string>

#include "runtime/pictures/date_time.h"
#include "runtime/pictures/picture.h"

namespace dt = dove::datetime;

namespace {

struct ReadCase {
    const char* text;
    const char* picture;
    const char* expected;   // nullptr: rejected
};

void ExpectReads(const ReadCase* rows, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const ReadCase& r = rows[i];
        bool ok = false;
        const std::string got = dove::DEFORMAT(r.text, r.picture, &ok);
        if (r.expected == nullptr) {
            EXPECT_FALSE(ok) << "DEFORMAT(\"" << r.text << "\", " << r.picture << ") gave " << got;
        } else {
            EXPECT_TRUE(ok) << "DEFORMAT(\"" << r.text << "\", " << r.picture << ") rejected";
            EXPECT_EQ(r.expected, got) << "DEFORMAT(\"" << r.text << "\", " << r.picture << ")";
        }
    }
}

template <size_t N>
void ExpectReads(const ReadCase (&rows)[N]) {
    ExpectReads(rows, N);
}

dt::LocalTime Year2026() { return dt::LocalTime{2026, 6, 15, 12, 0, 0, 0}; }

class Clock2026Test : public ::testing::Test {
protected:
    void SetUp() override { dt::SetClockSource(&Year2026); }
    void TearDown() override { dt::SetClockSource(nullptr); }
};

std::string Day(int y, int m, int d) { return std::to_string(dt::DayNumber(y, m, d)); }

}  // namespace

TEST(DeformatNumberTest, PicturesOfTheLogVersionWindow) {
    const ReadCase rows[] = {
        {" 1.60", "n5.2", "1.6"},  {"1.6", "n5.2", "1.6"},     {"1", "n5.2", "1"},        {"12.34", "n5.2", "12.34"},
        {"", "n5.2", "0"},         {"   ", "n5.2", "0"},      {"1.605", "n5.2", "1.61"}, {"100", "n5.2", "100"},
        {"abc", "n5.2", nullptr},  {"1.6x", "n5.2", nullptr}, {"1.2.3", "n5.2", nullptr}, {"##.##", "n5.2", nullptr},
        {"-1", "n5.2", "-1"},      {"--1", "n5.2", nullptr},  {"+1", "n5.2", nullptr},
        {"0042", "n04", "42"},     {"42", "n04", "42"},       {" 42 ", "n04", "42"},     {"12345", "n04", "12345"},
        {"####", "n04", nullptr},  {"4a", "n04", nullptr},    {"1.5", "n04", "2"},
    };
    ExpectReads(rows);
    const std::string note = "Built the release, " + std::string(200, 'x');
    EXPECT_EQ(note.substr(0, 180), dove::DEFORMAT(note, "s180"));
    EXPECT_EQ("Version.kvi", dove::DEFORMAT("Version.kvi", "s120"));
    EXPECT_EQ("  padded  ", dove::DEFORMAT("  padded  ", "s120"));
    EXPECT_EQ("", dove::DEFORMAT("", "s120"));
    bool ok = false;
    dove::DEFORMAT("text", "s0", &ok);
    EXPECT_FALSE(ok);
}

TEST(DeformatNumberTest, WhatFormatWritesAndWhatPeopleType) {
    const ReadCase rows[] = {
        {"  -1,234.50", "n-12.2", "-1234.5"},  {"1,234.5", "n-12.2", "1234.5"},   {"(5.00)", "n(10.2)", "-5"},
        {"(5", "n(10.2)", nullptr},            {"5)", "n(10.2)", nullptr},         {"  5.00-", "n10.2-", "-5"},
        {"  1.234,50", "n12`2", "1234.5"},     {"1234,5", "n12`2", "1234.5"},      {"1,234,5", "n12`2", nullptr},
        {"  150", "n5v2", "1.5"},              {"5", "n5v2", "0.05"},              {"1.5", "n5v2", "1.5"},
        {"  1 50", "n6_2", "1.5"},             {"1.5", "n6_2", "1.5"},            {"  1 234.50", "n10_.2", "1234.5"},
        {"    $-5.00", "n$-10.2", "-5"},       {"$5", "n$-10.2", "5"},             {"  5.00 EUR", "n10.2~ EUR~", "5"},
        {"5 eur", "n10.2~ EUR~", "5"},         {"$***5.00", "n$*10.2", "5"},       {"**1*234", "n*7", "1234"},
        {"9999999999999999999999999999999999999999", "n-50", nullptr},              {"\t7\t", "n04", "7"},
        {"   1.235e+03", "e12.3", "1235"},     {"-1.5E-2", "e12.3", "-0.015"},     {"2e", "e12.3", nullptr},
        {"1e3x", "e12.3", nullptr},            {"1,5e1", "e12`3", "15"},           {"e5", "e12.3", nullptr},
        // Currency texts that hold digits or signs count only where FORMAT puts them.
        {"   15.005", "n9.2~5~", "15"},       {"    1-5.00", "n~1~-10.2", "-5"},    {"     5.00-", "n10.2~-~", "5"},
        {"   1.23450", "n10.v2", "1234.5"}, {".50", "n3.2", "0.5"}, {"50", "n3.2", "0.5"}, {" 390000000", "n10_9", "0.39"},      {"1.234,5", "n10.v2", "1234.5"},  // "." groups: "," is the point
        // Grouping and decimal mark the same: the last one before a digit is the point.
        {"  1.234.50", "n10..2", "1234.5"},  {"1,234,50", "n10``2", "1234.5"},  {"  1 234 50", "n10__2", "1234.5"},
        {"1.5", "n10..2", "1.5"},            {"1.234", "n10..2", "1.23"},       {"1.234.50.", "n10..2", nullptr},
        {"1234", "n10..2", "1234"},          {"1.234", "n10..0", "1234"},
        // ... and marks inside the currency text are not the number's.
        {"   8.00 26..2)kr", "n(16..2)~26..2)kr~", "8"}, {"5..2 1.234.50", "n~5..2 ~14..2", "1234.5"},
    };
    ExpectReads(rows);
}

TEST(DeformatNumberTest, RoundTripsThroughFormat) {
    const char* const pictures[] = {"n-12.2", "n(12.2)", "n$-012.3", "n-*12.2", "n15`2-", "n-9v2", "n-10_2",
                                    "n-_8",   "n-16.`4", "n-10.2~ kr~", "n-12.2B",
                                    "n-12..2", "n-12``2", "n-12__2", "n(16..2)~26..2)kr~"};
    const char* const values[] = {"0", "1", "-1", "0.5", "-0.25", "12.345", "-999.99", "1234.5", "-98765.4321", "7"};
    for (const char* picture : pictures) {
        dove::pic::Picture p;
        ASSERT_TRUE(dove::pic::Compile(picture, &p)) << picture;
        for (const char* value : values) {
            const std::string shown = dove::FORMAT(std::string_view(value), picture);
            if (shown.find('#') != std::string::npos) continue;
            bool ok = false;
            const std::string back = dove::DEFORMAT(shown, picture, &ok);
            ASSERT_TRUE(ok) << value << " in " << picture << " shown as \"" << shown << "\"";
            // The value rounded as the picture rounds it.
            const std::string plain = "n-40." + std::to_string(p.decimals);
            const std::string expected = dove::DEFORMAT(value, plain);
            EXPECT_EQ(expected, back) << value << " in " << picture << " shown as \"" << shown << "\"";
        }
    }
}

TEST_F(Clock2026Test, DatesAsFormatWritesThemAndAsPeopleTypeThem) {
    const std::string dec6 = Day(2026, 12, 6), jan5 = Day(2026, 1, 5);
    struct Row { const char* text; const char* picture; std::string expected; };
    const Row cases[] = {
        {"12/06/26", "d1", dec6},          {" 1/05/26", "d1", jan5},        {"1/5/26", "d1", jan5},
        {"1/5/2026", "d1", jan5},          {"1-5-26", "d1", jan5},          {"12/6/45", "d1", Day(2045, 12, 6)},
        {"12/6/46", "d1", Day(1946, 12, 6)},   {"12/6/46", "d1>25", Day(2046, 12, 6)},
        {"12/6/20", "d1<5", Day(2120, 12, 6)}, {"Jan  5,2026", "d3", jan5},     {"jan 5 2026", "d3", jan5},
        {"January       5, 2026", "d4", jan5}, {"Janu 5, 2026", "d4", jan5},   {"1 5, 2026", "d4", jan5},
        {" 5 Jan 26", "d7", jan5},         {"5-JAN-2026", "d8", jan5},      {"26/01/05", "d9", jan5},
        {"260105", "d11", jan5},           {"20260105", "d11", jan5},       {"2026-01-05", "d12", jan5},
        {"20260105", "d12", jan5},         {"182212*5", "d*12", Day(1822, 12, 5)}, {"1901*314", "d*12", Day(1901, 3, 14)},         {"01/26", "d13", Day(2026, 1, 1)},   {"2026/01", "d16", Day(2026, 1, 1)},
        {"Mon, January   05, 2026", "d18", jan5}, {"January 05, 2026", "d18", jan5},
        // Fill "0": the zeros right after a name are its unused letter positions.
        {"January00000 05, 2026", "d04", jan5}, {"May000000000 07, 2005", "d04", Day(2005, 5, 7)},
        {"january0 5, 2026", "d04", jan5},
        {"  /  /  ", "d1", "0"},           {"", "d1", "0"},
    };
    for (const Row& r : cases) {
        bool ok = false;
        EXPECT_EQ(r.expected, dove::DEFORMAT(r.text, r.picture, &ok)) << r.text << " in " << r.picture;
        EXPECT_TRUE(ok) << r.text << " in " << r.picture;
    }
    const ReadCase rejected[] = {
        {"13/06/26", "d1", nullptr},  {"2/30/26", "d1", nullptr},  {"12/06", "d1", nullptr},
        {"12/06/26/1", "d1", nullptr}, {"Dec 6 2026", "d1", nullptr}, {"Foo 6, 2026", "d3", nullptr},
        {"12/06/1700", "d2", nullptr}, {"2601051", "d11", nullptr},  {"12/06/26 x", "d1", nullptr},
        {"Ja 5, 2026", "d3", nullptr},
        {"January00000 00, 2026", "d04", nullptr},  // the zeros are skipped once only
        {"January 00000 05, 2026", "d04", nullptr}, // not right after the name: a field
        {"January00000 05, 2026", "d4", nullptr},   // without fill "0" the zeros are the day
    };
    ExpectReads(rejected);
}

TEST_F(Clock2026Test, EveryDateLayoutReadsBackWhatItWrote) {
    const int32_t first = dt::DayNumber(1927, 1, 1), last = dt::DayNumber(2125, 12, 31);
    for (int i = 0; i < 4 * 18; ++i) {
        const std::string fills[] = {"", "0", "*", "_"};
        const int n = i % 18 + 1;
        const std::string picture = "d" + fills[i / 18] + std::to_string(n);
        for (int32_t day = first; day <= last; day += 97) {
            const std::string shown = dove::FORMAT(day, picture);
            bool ok = false;
            const std::string back = dove::DEFORMAT(shown, picture, &ok);
            // Month-and-year layouts read back the first of the month; two-digit
            // years come back inside the window around 2026.
            int y, m, d;
            dt::SplitDay(day, &y, &m, &d);
            const bool fourDigits = n == 2 || n == 3 || n == 4 || n == 6 || n == 8 || n == 10 || n == 12 || n == 14 ||
                                    n == 16 || n == 18;
            if (!fourDigits) y = dt::ExpandYear(y % 100, 80, 2026);
            if (n >= 13 && n <= 16) d = 1;
            ASSERT_TRUE(ok) << picture << " \"" << shown << "\"";
            EXPECT_EQ(std::to_string(dt::DayNumber(y, m, d)), back) << picture << " \"" << shown << "\"";
        }
    }
}

TEST(DeformatTimeTest, TimesAsFormatWritesThemAndAsPeopleTypeThem) {
    const std::string t905 = std::to_string(dt::TimeValue(9, 5, 0, 0));
    const std::string t2105 = std::to_string(dt::TimeValue(21, 5, 0, 0));
    struct Row { const char* text; const char* picture; std::string expected; };
    const Row cases[] = {
        {" 905", "t2", t905},            {"0905", "t2", t905},          {"9 05", "t2", t905},
        {" 9:05", "t1", t905},           {"9:5", "t1", t905},           {"9", "t1", std::to_string(dt::TimeValue(9, 0, 0, 0))},
        {" 9:05PM", "t3", t2105},        {"9:05 pm", "t3", t2105},      {"9:05p", "t3", t2105},
        {"9:05", "t3", t905},            {"21:05", "t3", t2105},        {"12:00AM", "t3", "1"},
        {"12:30PM", "t3", std::to_string(dt::TimeValue(12, 30, 0, 0))},
        {" 9:05:30", "t4", std::to_string(dt::TimeValue(9, 5, 30, 0))},
        {"090530", "t5", std::to_string(dt::TimeValue(9, 5, 30, 0))},
        {"11:59:59PM", "t6", std::to_string(dt::TimeValue(23, 59, 59, 0))},
        {" 9:05 PM", "t7", t2105},       {"  :  ", "t1", "0"},          {"", "t4", "0"},
    };
    for (const Row& r : cases) {
        bool ok = false;
        EXPECT_EQ(r.expected, dove::DEFORMAT(r.text, r.picture, &ok)) << r.text << " in " << r.picture;
        EXPECT_TRUE(ok) << r.text << " in " << r.picture;
    }
    const ReadCase rejected[] = {
        {"25:00", "t1", nullptr},   {"9:60", "t1", nullptr},   {"13:00PM", "t3", nullptr}, {"9:05XM", "t3", nullptr},
        {"9:05:30", "t1", nullptr}, {"99999", "t2", nullptr},  {"x", "t1", nullptr},      {"9:05", "d1", nullptr},
    };
    ExpectReads(rejected);
}

TEST(DeformatTimeTest, EveryTimeLayoutReadsBackWhatItWrote) {
    for (int n = 1; n <= 8; ++n) {
        const std::string picture = "t" + std::to_string(n);
        const bool seconds = n == 4 || n == 5 || n == 6 || n == 8;
        for (int32_t t = 1; t <= dt::kLastTime; t += 77777) {
            int h, m, s, c;
            dt::SplitTime(t, &h, &m, &s, &c);
            const std::string shown = dove::FORMAT(t, picture);
            const std::string expected = std::to_string(dt::TimeValue(h, m, seconds ? s : 0, 0));
            EXPECT_EQ(expected, dove::DEFORMAT(shown, picture)) << picture << " \"" << shown << "\"";
        }
    }
}
