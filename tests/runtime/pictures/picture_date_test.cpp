#include <gtest/gtest.h>

#include <string>

#include "runtime/pictures/date_time.h"
#include "runtime/locale/locale_settings.h"
#include "runtime/pictures/picture.h"

namespace dt = dove::datetime;
namespace loc = dove::locale;

namespace {

const int32_t kDec6 = dt::DayNumber(2026, 12, 6);    // a Sunday
const int32_t kJan5 = dt::DayNumber(2026, 1, 5);     // a Monday
const int32_t kMay7y2005 = dt::DayNumber(2005, 5, 7);

struct DateCase {
    int32_t day;
    const char* picture;
    const char* expected;
};

// Locale settings changed by a test are put back afterwards.
class LocaleTest : public ::testing::Test {
protected:
    void TearDown() override { loc::Install(loc::Defaults()); }
};

}  // namespace

TEST(DatePictureTest, UtilityDateAndTime) {
    EXPECT_EQ("12/06/26", dove::FORMAT(kDec6, "d1"));
    EXPECT_EQ(" 1/05/26", dove::FORMAT(kJan5, "d1"));
    EXPECT_EQ(" 905", dove::FORMAT(dt::TimeValue(9, 5, 0, 0), "t2"));
    EXPECT_EQ("1200", dove::FORMAT(dt::TimeValue(12, 0, 0, 0), "t2"));
}

TEST(DatePictureTest, LayoutsOneToSixteen) {
    const DateCase rows[] = {
        {kJan5, "d1", " 1/05/26"},       {kJan5, "d2", " 1/05/2026"},   {kJan5, "d3", "Jan  5,2026"},
        {kJan5, "d4", "January       5, 2026"},                         {kJan5, "d5", " 5/01/26"},
        {kJan5, "d6", " 5/01/2026"},     {kJan5, "d7", " 5 Jan 26"},    {kJan5, "d8", " 5 Jan 2026"},
        {kJan5, "d9", "26/01/05"},       {kJan5, "d10", "2026/01/05"},  {kJan5, "d11", "260105"},
        {kJan5, "d12", "20260105"},      {kJan5, "d13", "01/26"},       {kJan5, "d14", "01/2026"},
        {kJan5, "d15", "26/01"},         {kJan5, "d16", "2026/01"},
        {kDec6, "d3", "Dec  6,2026"},    {kDec6, "d4", "December      6, 2026"},
        {kMay7y2005, "d1", " 5/07/05"},  {kMay7y2005, "d11", "050507"},
    };
    for (const DateCase& r : rows) {
        const std::string got = dove::FORMAT(r.day, r.picture);
        EXPECT_EQ(r.expected, got) << r.picture;
        dove::pic::Picture p;
        ASSERT_TRUE(dove::pic::Compile(r.picture, &p)) << r.picture;
        EXPECT_EQ(static_cast<int>(got.size()), p.count) << r.picture;
    }
    const int counts[17] = {0, 8, 10, 11, 21, 8, 10, 9, 11, 8, 10, 6, 8, 5, 7, 5, 7};
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(static_cast<size_t>(counts[n]), dove::FORMAT(kDec6, "d" + std::to_string(n)).size()) << "d" << n;
    }
}

TEST(DatePictureTest, FillsSeparatorsAndBlankWhenZero) {
    const DateCase rows[] = {
        {kJan5, "d01", "01/05/26"},      {kJan5, "d*1", "*1/*5/26"},     {kJan5, "d_1", " 1/ 5/26"},
        {kMay7y2005, "d*1", "*5/*7/*5"}, {kJan5, "d06", "05/01/2026"},   {kJan5, "d*3", "Jan *5,2026"},
        {kJan5, "d1.", " 1.05.26"},      {kJan5, "d1-", " 1-05-26"},     {kJan5, "d1_", " 1 05 26"},
        {kJan5, "d1`", " 1,05,26"},      {kJan5, "d7-", " 5-Jan-26"},    {kJan5, "d3_", "Jan  5 2026"},
        {kJan5, "d04", "January00000 05, 2026"},   // the fill covers the name's unused letters
        {kMay7y2005, "d04", "May000000000 07, 2005"},  {kJan5, "d03", "Jan 05,2026"},  {kJan5, "d07", "05 Jan 26"},
        {kJan5, "d*4", "January***** *5, 2026"},   {kJan5, "d01-B", "01-05-26"},    {0, "d1B", "        "},         {0, "d1b", "        "},
        {0, "d4B", "                     "},                            {kJan5, "D1", " 1/05/26"},
    };
    for (const DateCase& r : rows) EXPECT_EQ(r.expected, dove::FORMAT(r.day, r.picture)) << r.picture;
}

TEST(DatePictureTest, NoDateKeepsSeparatorsOnly) {
    for (int32_t bad : {0, 3, -1, dt::kLastDay + 1, INT32_MIN}) {
        EXPECT_EQ("  /  /  ", dove::FORMAT(bad, "d1")) << bad;
        EXPECT_EQ("      ,    ", dove::FORMAT(bad, "d3")) << bad;
        EXPECT_EQ("               ,     ", dove::FORMAT(bad, "d4")) << bad;
        EXPECT_EQ("  -  -  ", dove::FORMAT(bad, "d01-")) << bad;
    }
    EXPECT_EQ("  /  /  ", dove::FORMAT(std::string_view("99999999999"), "d1"));
    EXPECT_EQ("  /  /  ", dove::FORMAT(int64_t{1} << 40, "d1"));
    EXPECT_EQ("12/31/99", dove::FORMAT(dt::kLastDay, "d1"));
    EXPECT_EQ(" 1/01/1801", dove::FORMAT(dt::kFirstDay, "d2"));
}

TEST(DatePictureTest, RejectedDatePictures) {
    for (const char* p : {"d", "dB", "d0", "d19", "d1x", "d1<", "d1<100", "d1..", "d1BB", "d1-.", "d01_5", "d-1",
                          "d1B-", "d123"}) {
        dove::pic::Picture compiled;
        EXPECT_FALSE(dove::pic::Compile(p, &compiled)) << p;
        EXPECT_EQ("", dove::FORMAT(kDec6, p)) << p;
    }
}

TEST(DatePictureTest, WindowsAreStored) {
    struct Row { const char* picture; int window; };
    const Row rows[] = {{"d1", 80}, {"d1<50", 50}, {"d1<0", 80}, {"d1>10", 89}, {"d1>0", 80}, {"d01<30-B", 30}};
    for (const Row& r : rows) {
        dove::pic::Picture p;
        ASSERT_TRUE(dove::pic::Compile(r.picture, &p)) << r.picture;
        EXPECT_EQ(r.window, p.window) << r.picture;
    }
}

TEST_F(LocaleTest, PicturesSeventeenAndEighteenFollowTheWindowsDateFormats) {
    EXPECT_EQ("12/06/26", dove::FORMAT(kDec6, "d17"));
    EXPECT_EQ("Sun, December  06, 2026", dove::FORMAT(kDec6, "d18"));
    loc::IntlValues intl;
    intl.sShortDate = "dd.MM.yyyy";
    intl.sLongDate = "dddd, d'. 'MMMM yyyy gg";
    loc::Load(intl, "");
    EXPECT_EQ("06.12.2026", dove::FORMAT(kDec6, "d17"));
    EXPECT_EQ("06-12-2026", dove::FORMAT(kDec6, "d17-"));
    EXPECT_EQ("  .  .    ", dove::FORMAT(0, "d17"));
    EXPECT_EQ("Sunday   ,  6. December  2026 ", dove::FORMAT(kDec6, "d18"));
    intl.sShortDate = "M/d/y";
    intl.sLongDate = "'It''s' MMM";
    loc::Load(intl, "");
    EXPECT_EQ("12/ 6/26", dove::FORMAT(kDec6, "d17"));
    EXPECT_EQ("It's Dec", dove::FORMAT(kDec6, "d18"));
    intl.sLongDate = std::string(300, '-');
    loc::Load(intl, "");
    EXPECT_EQ("", dove::FORMAT(kDec6, "d18"));   // more than 255 positions
}

TEST_F(LocaleTest, MonthNamesFromTheEnvironment) {
    loc::Load(loc::IntlValues{}, "TOVMONTH=Januar,Februar,Maerz,April,Mai,Juni,Juli,August,September,Oktober,November,Dezember\n"
                                 "TOVMON=Jan,Feb,Mrz,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez\n");
    EXPECT_EQ("Dez  6,2026", dove::FORMAT(kDec6, "d3"));
    EXPECT_EQ("Dezember      6, 2026", dove::FORMAT(kDec6, "d4"));
    EXPECT_EQ(" 7 Mai 05", dove::FORMAT(kMay7y2005, "d7"));
}

TEST(TimePictureTest, LayoutsWithAmPmAtMidnightNoonAndEvening) {
    struct Row { int hour; const char* picture; const char* expected; };
    const Row rows[] = {
        {0, "t1", " 0:07"},        {0, "t2", " 007"},           {0, "t3", "12:07AM"},     {0, "t4", " 0:07:08"},
        {0, "t5", " 00708"},       {0, "t6", "12:07:08AM"},     {12, "t1", "12:07"},      {12, "t3", "12:07PM"},
        {12, "t6", "12:07:08PM"},  {23, "t1", "23:07"},         {23, "t3", "11:07PM"},    {23, "t6", "11:07:08PM"},
        {23, "t5", "230708"},      {9, "t01", "09:07"},         {9, "t*4", "*9:*7:*8"},   {9, "t_4", " 9: 7: 8"},
        {9, "t1.", " 9.07"},       {9, "t4-", " 9-07-08"},      {9, "t4_", " 9 07 08"},   {9, "T6`", " 9,07,08AM"},
        {13, "t3", " 1:07PM"},     {11, "t3", "11:07AM"},
    };
    for (const Row& r : rows) {
        const int32_t t = dt::TimeValue(r.hour, 7, 8, 55);
        EXPECT_EQ(r.expected, dove::FORMAT(t, r.picture)) << r.picture << " at hour " << r.hour;
    }
    const int counts[7] = {0, 5, 4, 7, 8, 6, 10};
    for (int n = 1; n <= 6; ++n) EXPECT_EQ(static_cast<size_t>(counts[n]), dove::FORMAT(2, "t" + std::to_string(n)).size());
}

TEST(TimePictureTest, NoTimeAndBlankWhenZero) {
    EXPECT_EQ("  :  ", dove::FORMAT(0, "t1"));
    EXPECT_EQ("  :  :    ", dove::FORMAT(-1, "t6"));
    EXPECT_EQ("  :  ", dove::FORMAT(dt::kLastTime + 1, "t1"));
    EXPECT_EQ("     ", dove::FORMAT(0, "t1B"));
    EXPECT_EQ(" 0:00", dove::FORMAT(1, "t1B"));   // midnight itself is a time
    EXPECT_EQ("23:59:59", dove::FORMAT(dt::kLastTime, "t4"));
    for (const char* p : {"t", "tB", "t0", "t9", "t10", "t1x", "t1<5", "t1--"}) EXPECT_EQ("", dove::FORMAT(2, p)) << p;
}

TEST_F(LocaleTest, PicturesSevenAndEightFollowTheWindowsTimeSettings) {
    const int32_t evening = dt::TimeValue(21, 5, 9, 0);
    EXPECT_EQ(" 9:05 PM", dove::FORMAT(evening, "t7"));
    EXPECT_EQ(" 9:05:09 PM", dove::FORMAT(evening, "t8"));
    EXPECT_EQ("12:00 AM", dove::FORMAT(1, "t7"));
    loc::IntlValues intl;
    intl.iTime = "1";
    intl.iTLzero = "1";
    intl.sTime = ".";
    loc::Load(intl, "");
    EXPECT_EQ("21.05", dove::FORMAT(evening, "t7"));
    EXPECT_EQ("09.05.09", dove::FORMAT(dt::TimeValue(9, 5, 9, 0), "t8"));
    intl = loc::IntlValues{};
    intl.s1159 = "a";
    intl.s2359 = "nachm.";
    loc::Load(intl, "TOVAMPM=vm,nm\n");
    EXPECT_EQ(" 9:05 na", dove::FORMAT(evening, "t7"));
    EXPECT_EQ(" 9:05 a ", dove::FORMAT(dt::TimeValue(9, 5, 0, 0), "t7"));
    EXPECT_EQ(" 9:05nm", dove::FORMAT(evening, "t3"));   // TOVAMPM serves pictures 3 and 6
}
