#include "runtime/strings/strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "runtime/locale/char_tables.h"
#include "runtime/strings/text_search.h"

namespace {

namespace str = dove::str;
namespace vs = dove::vstack;
namespace chartab = dove::chartab;

// The helpers go through the stack: each must leave it as it found it.
class Strings : public ::testing::Test {
protected:
    void SetUp() override { vs::Reset(); }
    void TearDown() override {
        EXPECT_EQ(vs::Depth(), 0);
        vs::Reset();
        chartab::Install(chartab::Defaults());
    }
};

TEST_F(Strings, ClipBlankAndEquality) {
    EXPECT_EQ(str::Clip("ab \t  "), "ab \t");
    EXPECT_TRUE(str::IsBlank(""));
    EXPECT_TRUE(str::IsBlank("    "));
    EXPECT_FALSE(str::IsBlank("  x "));
    EXPECT_TRUE(str::Equal("REG", "REG   "));
    EXPECT_FALSE(str::Equal("REG", "reg"));
    EXPECT_LT(str::Compare("abc", "abd"), 0);
    EXPECT_TRUE(str::EqualNoCase("usermenu", "UserMenu  "));
    EXPECT_FALSE(str::EqualNoCase("usermenu", "usermenus"));
    EXPECT_GT(str::CompareNoCase("b", "A"), 0);
}

TEST_F(Strings, TypedOperations) {
    EXPECT_EQ(str::Upper("Tovaro 6.0"), "TOVARO 6.0");
    EXPECT_EQ(str::Lower("ABC\xC9"), "abc\xC9");
    EXPECT_EQ(str::Concat("DOVE60", ".ini"), "DOVE60.ini");
    EXPECT_EQ(str::Sub("abcdef", -3, 2), "de");
    EXPECT_EQ(str::Justify("7", vs::Justify::Right, 4), "   7");
    EXPECT_EQ(str::FromInt(-5), "-5");
    EXPECT_EQ(str::FromReal(2.50), "2.5");
    EXPECT_EQ(dove::DecimalToText(str::ToNumber(" 3,25 ")), "3.25");
}

TEST_F(Strings, Assignment) {
    char fixed[6];
    std::memset(fixed, '#', sizeof fixed);
    str::AssignFixed(fixed, 5, "abc");
    EXPECT_EQ(std::string(fixed, 6), "abc  #");
    char z[4];
    str::AssignZ(z, 3, "abc");
    EXPECT_STREQ(z, "ab");
    str::AssignZ(z, sizeof z, std::string_view());
    EXPECT_STREQ(z, "");
}

TEST_F(Strings, InString) {
    const struct { const char* text; const char* find; long step, start, want; } rows[] = {
        {"ABCDEFGHI", "DEF", 1, 1, 4},
        {"ABCDEFGHI", "DEF", 3, 1, 2},
        {"ABCDEFGHI", "DEF", 0, 1, 2},    // step 0: the length of the text to find
        {"ABCDEFGHI", "DEF", 2, 1, 0},    // offsets 0, 2, 4: none is a match
        {"ABCDEFGHI", "EFG", 2, 1, 3},
        {"ABCDEFGHI", "DEF", 1, 5, 0},
        {"ABCDEFGHI", "DEF", 1, 0, 0},
        {"ABCDEFGHI", "DEF", 1, -2, 0},
        {"ABCDEFGHI", "", 1, 1, 0},
        {"ABC", "ABCD", 1, 1, 0},
        {"ABCDEFGHI", "XYZ", 1, 1, 0},
        {"abcabcabc", "abc", 1, 2, 4},
        {"abcabcabc", "abc", -1, 9, 7},
        {"abcabcabc", "abc", -1, 6, 4},
        {"abcabcabc", "abc", -1, 100, 7},
        {"abcabcabc", "abc", -1, 3, 1},
        {"abcabcabc", "abc", -3, 7, 3},
        {"abcabcabc", "bca", -3, 7, 0},   // positions 7, 4, 1 only
        {"abcabcabc", "abc", -3, 9, 0},   // positions 6 and 3 only
        {"aaaa", "aa", 1, 3, 3},
        {"aaaa", "aa", 1, 4, 0},
        {"abc", "abc", 1, 1, 1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(str::InString(row.text, row.find, row.step, row.start), row.want)
            << "INSTRING('" << row.find << "', '" << row.text << "', " << row.step << ", "
            << row.start << ")";
    }
}

// The skip table must find exactly what a plain search finds, including
// patterns longer than the 255 characters the table is built from.
TEST_F(Strings, LongTextSearchAgreesWithPlainSearch) {
    std::mt19937 random(4711);
    for (int round = 0; round < 400; ++round) {
        const char alphabet = round % 2 == 0 ? 'b' : 'd';
        std::uniform_int_distribution<int> letter('a', alphabet);
        std::string text(256 + random() % 1500, ' ');
        for (char& c : text) c = static_cast<char>(letter(random));
        const size_t m = 4 + random() % (round % 10 == 0 ? 400 : 12);
        std::string find;
        if (round % 3 == 0 && m < text.size()) {
            find = text.substr(random() % (text.size() - m), m);
        } else {
            for (size_t i = 0; i < m; ++i) find += static_cast<char>(letter(random));
        }
        const long start = 1 + static_cast<long>(random() % 200);
        const size_t plain = text.find(find, static_cast<size_t>(start - 1));
        const long want = plain == std::string::npos ? 0 : static_cast<long>(plain) + 1;
        ASSERT_EQ(str::InString(text, find, 1, start), want)
            << "round " << round << ", pattern of " << m << " from " << start;
        ASSERT_EQ(dove::search::SkipSearch(text, find, 0), text.find(find)) << "round " << round;
    }
}

// A byte that occurs only in the head of a long pattern, beyond the 255
// characters the skip table sees, must not skip past a match.
TEST_F(Strings, LongPatternWhoseHeadIsOutsideTheSkipTable) {
    const std::string find = "X" + std::string(299, 'a');
    const std::string text = std::string(350, 'a') + find + std::string(50, 'a');
    EXPECT_EQ(str::InString(text, find, 1, 1), 351);
    EXPECT_EQ(dove::search::SkipSearch(text, find, 0), 350u);
}

TEST_F(Strings, LongTextWithBytesAbove127) {
    std::string text(300, '\xE9');
    text.replace(280, 5, "\xFF\x80zz\x01");
    EXPECT_EQ(str::InString(text, "\xE9\xFF\x80zz\x01", 1, 1), 280);
    EXPECT_EQ(str::InString(text, "\xFF\x80zz", 1, 281), 281);
    EXPECT_EQ(str::InString(text, "\xFF\x80zz", 1, 282), 0);
}

TEST_F(Strings, DefaultTables) {
    const chartab::Tables t = chartab::Defaults();
    for (int c = 0; c < 256; ++c) {
        const bool upper = c >= 'A' && c <= 'Z';
        const bool lower = c >= 'a' && c <= 'z';
        EXPECT_EQ(t.cls[c], upper ? chartab::kUpper : lower ? chartab::kLower : chartab::kOther) << c;
        EXPECT_EQ(t.partner[c], upper ? c + 32 : lower ? c - 32 : c) << c;
        EXPECT_EQ(t.weight[c], c) << c;
    }
}

TEST_F(Strings, InstalledTablesAreCurrent) {
    chartab::Tables t = chartab::Defaults();
    t.weight[static_cast<uint8_t>('\xC9')] = 'E';
    chartab::Install(t);
    EXPECT_EQ(chartab::Current().weight[0xC9], 'E');
    EXPECT_TRUE(chartab::SameIgnoringCase('e', '\xC9')) << "same weight";
    EXPECT_TRUE(chartab::SameIgnoringCase('q', 'Q'));
    EXPECT_FALSE(chartab::SameIgnoringCase('q', 'r'));
    EXPECT_EQ(chartab::UpperOf('q'), 'Q');
    EXPECT_EQ(chartab::LowerOf('Q'), 'q');
    EXPECT_EQ(chartab::UpperOf('1'), '1');
}

}  // namespace
