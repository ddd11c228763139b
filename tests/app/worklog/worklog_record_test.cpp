// The version file's line layout: the entry's columns, the numbers as the
// file keeps them, and which lines may be rewritten in place.
#include <gtest/gtest.h>

#include <cmath>

#include "app/worklog/worklog_record.h"
#include "runtime/pictures/date_time.h"

namespace dove::app::worklog {
namespace {

TEST(WorklogRecord, EntryLineHasItsColumns) {
    VersionRecord r;
    r.Clear();
    r.Set(kVer, VersionColumns("1.6"));
    r.Set(kBuild, BuildColumns(2));
    int32_t day = datetime::DayNumber(2026, 12, 8);
    int32_t time = datetime::TimeValue(9, 5, 30, 0);
    FillEntry(&r, day, time, true);
    EXPECT_EQ(std::string("Version             EQUATE('1.60  0002')  ! 12/08/26  905 -- "),
              std::string(r.bytes, 61));
    EXPECT_EQ(std::string(180, ' '), r.Get(kNote));
    EXPECT_EQ(20u, AddedText(day, datetime::TimeValue(23, 59, 0, 0)).size());
    FillEntry(&r, day, time, false);
    EXPECT_EQ("Update is turned off", r.Get(kNote).substr(0, 20));
}

TEST(WorklogRecord, BuildComesFromColumns35To38) {
    VersionRecord r;
    r.Clear();
    std::string line = "Version = 2.5 build 17, see below 0041 and more";
    std::copy(line.begin(), line.end(), r.bytes);
    EXPECT_EQ(41, BuildOf(r));
    r.Set(kBuild, "ab12");
    EXPECT_EQ(0, BuildOf(r));
}

TEST(WorklogRecord, VersionsAndBuildsThatFitTheirColumns) {
    struct Row {
        const char* version;
        const char* columns;
        bool refused;
    } rows[] = {
        {"1.6", "1.60", false},   {"9.99", "9.99", false},    {"10", "10.00", false},
        {"99.99", "99.99", false}, {"100", "", true},          {"100.00", "", true},
        {"", "0.00", false},      {"abc", "0.00", false},
        // Rounded before the width is chosen: 9.995 is written as 10.00.
        {"9.994", "9.99", false},  {"9.995", "10.00", false},  {"99.995", "", true},
        // No sign position: a negative version would lose its sign.
        {"-5", "", true},          {"-10", "", true},          {"-0.001", "0.00", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.refused, !VersionRefusal(row.version).empty()) << row.version;
        if (!row.refused) {
            EXPECT_EQ(row.columns, VersionColumns(row.version)) << row.version;
        }
    }
    EXPECT_EQ("", BuildRefusal("9999"));
    EXPECT_EQ("", BuildRefusal("0"));
    EXPECT_EQ("9999", BuildColumns(9999));
    std::string refusal = BuildRefusal("10000");
    EXPECT_NE(std::string::npos, refusal.find("10000")) << refusal;
    EXPECT_NE(std::string::npos, refusal.find("largest build number it can hold is 9999")) << refusal;
    refusal = BuildRefusal("-3");
    EXPECT_NE(std::string::npos, refusal.find("-3")) << refusal;
    EXPECT_NE(std::string::npos, refusal.find("smallest build number it can hold is 0.")) << refusal;
    EXPECT_NE(std::string::npos, VersionRefusal("100").find("99.99"));
    EXPECT_NE(std::string::npos, VersionRefusal("-5").find("smallest version it can hold is 0.00"));
}

TEST(WorklogRecord, RewriteCoversExactlyTheLinesOwnBytes) {
    struct Row {
        LineShape line;
        int32_t expected;
    } rows[] = {
        {{2, 2, false}, -1},     // empty line
        {{1, 1, false}, -1},     // empty line, LF only
        {{9, 2, false}, -1},     // 7 characters: shorter than "!Version"
        {{10, 2, false}, 8},     // exactly the label's length
        {{15, 2, true}, 13},     // short line: padded to its own length
        {{63, 2, false}, 61},    // an entry without a note
        {{62, 1, false}, 61},    // the same with LF only
        {{243, 2, false}, 241},  // as long as the record
        {{242, 1, false}, 241},
        {{244, 2, false}, -1},   // longer: read cut short
        {{60, 0, true}, 60},     // the last line without a line break
        {{60, 0, false}, -1},    // stops short of the end: cut at the record's length
        {{242, 0, true}, -1},    // over-long last line without a break
        {{30, 2, false, true}, -1},  // a lone CR inside: two lines to an editor
        {{62, 1, true}, 61},     // ends with an end-of-data mark, kept after the text
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, RewriteLength(row.line))
            << "size " << row.line.size << " ending " << row.line.ending << " end "
            << row.line.endsTheFile;
    }
    VersionRecord blanks;
    blanks.Clear();
    blanks.bytes[3] = '\t';
    EXPECT_FALSE(HoldsEntry({12, 2, false}, blanks)) << "a line of blanks and TABs";
    blanks.bytes[9] = 'x';
    EXPECT_TRUE(HoldsEntry({12, 2, false}, blanks));
    EXPECT_FALSE(HoldsEntry({7, 2, false}, blanks)) << "too short to rewrite";
}

// Builds beyond what any integer holds are clamped, never cast: one more
// (the auto increment) still fits, and OK refuses them with the limit 9999.
TEST(WorklogRecord, HugeBuildsInTheFileAreClamped) {
    VersionRecord r;
    r.Clear();
    struct Row {
        const char* columns;
        int32_t build;
    } rows[] = {{"9e20", 2147483646}, {"-9e9", -2147483647}, {"0041", 41}, {"abcd", 0}};
    for (const Row& row : rows) {
        r.Set(kBuild, row.columns);
        EXPECT_EQ(row.build, BuildOf(r)) << row.columns;
    }
    EXPECT_NE(std::string::npos, BuildRefusal("2147483647").find("largest build number it can hold is 9999"));
    EXPECT_EQ(0, ClampedInteger(std::nan(""), 0, 9999));
}

}  // namespace
}  // namespace dove::app::worklog
