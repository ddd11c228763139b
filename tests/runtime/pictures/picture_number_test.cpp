#include <gtest/gtest.h>

#include <string>

#include "runtime/pictures/picture.h"

namespace {

struct Case {
    const char* value;
    const char* picture;
    const char* expected;
};

void ExpectFormats(const Case* rows, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const Case& r = rows[i];
        EXPECT_EQ(r.expected, dove::FORMAT(std::string_view(r.value), r.picture))
            << "FORMAT(" << r.value << ", \"" << r.picture << "\")";
    }
}

template <size_t N>
void ExpectFormats(const Case (&rows)[N]) {
    ExpectFormats(rows, N);
}

}  // namespace

TEST(NumberPictureTest, PicturesOfTheUtility) {
    const Case rows[] = {
        {"7", "n04", "0007"},        {"1", "n04", "0001"},       {"9999", "n04", "9999"},
        {"12345", "n04", "####"},    {"0", "n04", "0000"},       {"1.5", "n4.2", "1.50"},
        {"1.6", "n4.2", "1.60"},     {"10", "n4.2", "#.##"},     {"1.5", "n04.2", "1.50"},
        {"1.6", "n5.2", " 1.60"},    {"12.34", "n5.2", "12.34"}, {"100", "n5.2", "##.##"},
        {"0", "n5.2", " 0.00"},      {"5", "n_3", "  5"},        {"123", "n_3", "123"},
        {"1234", "n_3", "###"},      {"1.00", "N4.2", "1.00"},   {"42", "N04", "0042"},
    };
    ExpectFormats(rows);
}

TEST(NumberPictureTest, GroupingEveryFourthPositionNeverTheLeftmost) {
    const Case rows[] = {
        {"1234", "n4", "1234"},            // the fourth position is the leftmost: a digit
        {"1234", "n5", "1,234"},           {"123", "n5", "  123"},
        {"1234567", "n9", "1,234,567"},    {"1234567", "n10", " 1,234,567"},
        {"12345678", "n9", "#,###,###"},   {"1234.5", "n10.2", "  1,234.50"},
        {"1234.5", "n10`2", "  1.234,50"},   // grave accent: decimal comma, grouping "."
        {"1234567", "n10_.2", "### ###.##"},
        {"1234.5", "n10_.2", "  1 234.50"},  // explicit grouping blank, decimal point
        {"1234.5", "n10.`2", "  1.234,50"},  // explicit grouping ".", decimal comma
        {"1234.5", "n10`.2", "  1,234.50"},
        {"1234", "n06", "001234"},         // fill 0: no grouping
        {"1234", "n_6", "  1234"},         // fill _: no grouping
        {"1234", "n*7", "**1*234"},        // fill *: grouping *
        {"1234", "n07`.0", "001,234"},     // explicit grouping with fill 0
        {"12", "n*7.`0", "*****12"},
        // The same mark twice: grouping and decimal mark alike.
        {"1234.5", "n10..2", "  1.234.50"}, {"1234.5", "n10``2", "  1,234,50"},
        {"1234.5", "n10__2", "  1 234 50"}, {"1.5", "n5..2", " 1.50"},
    };
    ExpectFormats(rows);
}

TEST(NumberPictureTest, DecimalMarksAndRounding) {
    const Case rows[] = {
        {"1.005", "n4.2", "1.01"},      {"-1.005", "n-5.2", "-1.01"},  {"1.004", "n4.2", "1.00"},
        {"9.995", "n4.2", "#.##"},      {"0.5", "n1", "1"},            {"0.4", "n1", "0"},
        {"-0.001", "n-5.2", " 0.00"},  // rounds to zero: no sign
        {"1.5", "n5v2", "  150"},       {"0.07", "n4v2", " 007"},       {"1.5", "n05v2", "00150"},
        {"1.5", "n6_2", "  1 50"},      {"2.5", "n5.", "    3"},       // a mark with no decimals takes no room
        {"1234.5", "n6`", " 1.235"},    {"0.25", "n3.2", ".25"},       {"1.25", "n3.2", ".##"},
        {"3", "n5.0", "    3"},         {"12", "n2", "12"},
        {"1", "n6.4", "1.0000"},
    };
    ExpectFormats(rows);
}

TEST(NumberPictureTest, SignForms) {
    const Case rows[] = {
        {"-5", "n-6", "    -5"},        {"5", "n-6", "     5"},        {"-1234", "n-6", "-1,234"},
        {"-5", "n6-", "    5-"},        {"5", "n6-", "    5 "},        {"-5", "n(7)", "    (5)"},
        {"5", "n(7)", "     5 "},        {"-5", "n(10.2)", "    (5.00)"}, {"-5", "n-05", "-0005"},
        {"-5", "n-*6", "-****5"},       {"-5", "n05-", "0005-"},       {"-5", "n5", "    5"},  // no sign: magnitude
        {"-12345", "n-5", "-####"},
    };
    ExpectFormats(rows);
}

TEST(NumberPictureTest, Currency) {
    const Case rows[] = {
        {"5", "n$10.2", "     $5.00"},      {"-5", "n$-10.2", "    $-5.00"},   {"5", "n$010.2", "$000005.00"},
        {"5", "n$*10.2", "$*****5.00"},     {"5", "n10.2$", "     5.00$"},     {"5", "n10.2~ EUR~", "  5.00 EUR"},
        {"-5", "n~EUR ~-12.2", "   EUR -5.00"}, {"-5", "n12.2-~ kr~", "    5.00- kr"},
        {"1234", "n$7", " $1,234"},
        {"12345", "n$6", "$#,###"},   // overflow keeps the currency and grouping
    };
    ExpectFormats(rows);
}

TEST(NumberPictureTest, BlankWhenZero) {
    const Case rows[] = {
        {"0", "n5.2B", "     "}, {"0.001", "n5.2b", "     "}, {"0.01", "n5.2B", " 0.01"},
        {"0", "n04B", "    "},   {"", "n04B", "    "},       {"abc", "n04B", "    "},
        {"0", "n$-10.2B", "          "},
    };
    ExpectFormats(rows);
}

TEST(NumberPictureTest, ValuesComeThroughAllOverloads) {
    EXPECT_EQ("0007", dove::FORMAT(7, "n04"));
    EXPECT_EQ("0007", dove::FORMAT(int64_t{7}, "n04"));
    EXPECT_EQ(" 1.60", dove::FORMAT(1.6, "n5.2"));
    EXPECT_EQ(" 0.10", dove::FORMAT(0.1, "n5.2"));   // 15 significant digits, not 0.1000000000000000055
    EXPECT_EQ("   1.235e+03", dove::FORMAT(1234.5, "e12.3"));
    EXPECT_EQ("-2,147,483,648", dove::FORMAT(INT32_MIN, "n-14"));
    EXPECT_EQ("0012", dove::FORMAT(std::string_view("  12.4abc"), "n04"));   // text-to-number rules
    EXPECT_EQ("0000", dove::FORMAT(std::string_view("abc"), "n04"));
    EXPECT_EQ("1.00", dove::FORMAT(dove::DecimalFromText("1"), "n4.2"));
    EXPECT_EQ("12.5      ", dove::FORMAT(12.5, "s10"));
}

TEST(NumberPictureTest, WidestPicturesHold255Positions) {
    const std::string wide = dove::FORMAT(std::string_view("1"), "n0255");
    EXPECT_EQ(std::string(254, '0') + "1", wide);
    EXPECT_EQ(255u, dove::FORMAT(std::string_view("1"), "n255.253").size());
    EXPECT_EQ(255u, dove::FORMAT(std::string_view("1"), "n255v254").size());
    const std::string many = "1" + std::string(30, '0') + "." + std::string(32, '5');
    const std::string f = dove::FORMAT(std::string_view(many), "n-0255.40");
    EXPECT_EQ(255u, f.size());
    const std::string expected = " " + std::string(213 - 31, '0') + many + std::string(8, '0');
    EXPECT_EQ(expected, f);
}

TEST(NumberPictureTest, RejectedPicturesFormatAsEmpty) {
    const char* const rejected[] = {
        "",        "n",        "n0",       "n256",      "n-",       "n(5",     "n5)",     "n(5-",
        "n-5)",    "n-5-",     "nB",       "n5.2x",     "n5.256",   "n3.3",    "n4.2--",  "n$5$",
        "n~~5",    "n~EUR5",   "n5vv2",    "n5v.2",     "n5,2",     "n1000",   "n5.2BB",  "x5",
        "n5 2",    "n$-$5",    "n-$5",     "n10v`2",    "n5.2~x~B~", "n~abc~~d~5", "n0_5",      "n$-2",     "n(2)",     "n5v0~abcde~",
    };
    for (const char* p : rejected) {
        dove::pic::Picture compiled;
        EXPECT_FALSE(dove::pic::Compile(p, &compiled)) << '"' << p << '"';
        EXPECT_EQ(dove::pic::Kind::None, compiled.kind) << p;
        EXPECT_EQ("", dove::FORMAT(std::string_view("5"), p)) << p;
    }
}

TEST(NumberPictureTest, CompiledFormOfN10Point2) {
    dove::pic::Picture p;
    ASSERT_TRUE(dove::pic::Compile("N-$10.2", &p) == false);   // currency must come before the sign
    ASSERT_TRUE(dove::pic::Compile("n$-10.2  ", &p));          // trailing blanks are ignored
    EXPECT_EQ(dove::pic::Kind::Number, p.kind);
    EXPECT_EQ(10, p.count);
    const char* chars = "$- ,  0.00";
    const int roles[] = {6, 5, 4, 1, 4, 4, 3, 2, 3, 3};
    for (int i = 0; i < p.count; ++i) {
        EXPECT_EQ(chars[i], p.pos[i].ch) << "position " << i;
        EXPECT_EQ(roles[i], p.pos[i].role) << "position " << i;
    }
    ASSERT_TRUE(dove::pic::Compile("@n5v2", &p));
    EXPECT_EQ(6, p.count);
    EXPECT_EQ(5, dove::pic::Width(p));
    EXPECT_EQ(dove::pic::kImpliedPoint, p.pos[3].role);
}

TEST(ScientificPictureTest, LayoutRoundingAndRejection) {
    const Case rows[] = {
        {"1234.5", "e12.3", "   1.235e+03"}, {"-1234.5", "e12.3", "  -1.235e+03"}, {"0", "e12.3", "   0.000e+00"},
        {"0", "e12.3B", "            "}, {"0.00012345", "e10.2", "  1.23e-04"}, {"9.9999", "e10.2", "  1.00e+01"},
        {"5", "e6", " 5e+00"},           {"9.8e30", "e8", "   #e+31"},          {"1234.5", "e12`3", "   1,235e+03"},
    };
    for (const Case& r : rows) {
        EXPECT_EQ(r.expected, dove::FORMAT(std::string_view(r.value), r.picture)) << r.value << " " << r.picture;
    }
    for (const char* p : {"e", "e5", "e9.3", "e12.3x", "e12v3", "e256"}) {
        EXPECT_EQ("", dove::FORMAT(std::string_view("1"), p)) << p;
    }
}

TEST(StringPictureTest, EntriesOfTheUtilityAndRejectedPictures) {
    const std::string note = dove::FORMAT(std::string_view("Built the release"), "s180");
    EXPECT_EQ(180u, note.size());
    EXPECT_EQ("Built the release" + std::string(163, ' '), note);
    const std::string longName(130, 'x');
    EXPECT_EQ(longName.substr(0, 120), dove::FORMAT(std::string_view(longName), "s120"));
    EXPECT_EQ("Version.kvi" + std::string(109, ' '), dove::FORMAT(std::string_view("Version.kvi"), "S120"));
    EXPECT_EQ("     ", dove::FORMAT(std::string_view(""), "s5"));
    EXPECT_EQ("-12.5", dove::FORMAT(dove::DecimalFromText("-12.50"), "s5"));
    for (const char* p : {"s", "s0", "s256", "s5B", "s5.2", "s-5", "s1000"}) {
        EXPECT_EQ("", dove::FORMAT(std::string_view("text"), p)) << p;
    }
    EXPECT_EQ(255u, dove::FORMAT(std::string_view("x"), "s255").size());
}
