// The text driver's options read from text: SEND commands and driver-string
// switches as the driver reads them, and the option builder's checks with
// their messages.
#include <gtest/gtest.h>

#include <string>

#include "files/text/text_driver_options.h"

namespace opt = dove::textopt;
using opt::Option;

namespace {

TEST(DriverOptionCommand, NamesMatchInFullAndValuesAreRead) {
    const struct {
        const char* text;
        Option option;
        bool hasValue;
        uint32_t number;
    } rows[] = {
        {"FILEBUFFERS=8", Option::FileBuffers, true, 8},
        {"filebuffers 16", Option::FileBuffers, true, 16},
        {"FILEBUFFERS=x12y", Option::FileBuffers, true, 12},
        {"FILEBUFFERS=99999999999", Option::FileBuffers, true, 0xFFFFFFFF},
        {"FILEBUFFERS", Option::FileBuffers, false, 0},
        {"FILEBUF=8", Option::None, false, 0},
        {"QUICKSCAN", Option::QuickScan, false, 0},
        {"REGISTER", Option::Register, false, 0},
        {"importfile", Option::ImportFile, false, 0},
        {"", Option::None, false, 0},
        {"BOGUS=1", Option::None, false, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        const opt::Command c = opt::ParseCommand(r.text);
        EXPECT_EQ(c.option, r.option);
        EXPECT_EQ(c.hasValue, r.hasValue);
        EXPECT_EQ(c.number, r.number);
    }
}

TEST(DriverOptionCommand, OnOffWords) {
    const struct {
        const char* text;
        Option option;
        bool hasValue, on;
    } rows[] = {
        {"CLIP=OFF", Option::Clip, true, false},      {"clip=on", Option::Clip, true, true},
        {"CLIP", Option::Clip, false, false},         {"CLIP=MAYBE", Option::Clip, false, false},
        {"CLIP = OFF", Option::Clip, true, false},    {"QUICKSCAN=ON", Option::QuickScan, true, true},
        {"CTRLZISEOF=OFF", Option::CtrlZIsEof, true, false},
        {"CTRLZISEOF=NO", Option::CtrlZIsEof, true, true},  // only OFF switches it off
        {"CTRLZISEOF", Option::CtrlZIsEof, false, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        const opt::Command c = opt::ParseCommand(r.text);
        EXPECT_EQ(c.option, r.option);
        EXPECT_EQ(c.hasValue, r.hasValue);
        if (c.hasValue) EXPECT_EQ(c.on, r.on);
    }
}

TEST(DriverOptionCommand, TabKeepsItsSign) {
    EXPECT_EQ(opt::ParseCommand("TAB=4").tab, 4);
    EXPECT_EQ(opt::ParseCommand("TAB=-3").tab, -3);
    EXPECT_EQ(opt::ParseCommand("TAB=-100").tab, -100);
    EXPECT_EQ(opt::ParseCommand("TAB=- 3").tab, 3) << "the sign must touch the digits";
    EXPECT_EQ(opt::ParseCommand("TAB=0").tab, 0);
    EXPECT_TRUE(opt::ParseCommand("TAB=0").hasValue);
    EXPECT_FALSE(opt::ParseCommand("TAB=").hasValue);
    EXPECT_EQ(opt::ParseCommand("TAB=-99999999999").tab, INT32_MIN);
    EXPECT_EQ(opt::ParseCommand("TAB=99999999999").tab, INT32_MAX);
}

TEST(DriverOptionCommand, EndOfRecordBytes) {
    EXPECT_EQ(opt::ParseCommand("ENDOFRECORD=2,13,10").delimiter, "\r\n");
    EXPECT_EQ(opt::ParseCommand("ENDOFRECORD=1,124").delimiter, "|");
    EXPECT_EQ(opt::ParseCommand("ENDOFRECORD=3,13,10").delimiter, "\r\n") << "fewer codes than the count";
    EXPECT_EQ(opt::ParseCommand("ENDOFRECORD=1,13,10").delimiter, "\r") << "more codes than the count";
    EXPECT_EQ(opt::ParseCommand("ENDOFRECORD=2, 0 , 255").delimiter, std::string("\0\xFF", 2));
    EXPECT_FALSE(opt::ParseCommand("ENDOFRECORD=1,256").hasValue);
    EXPECT_FALSE(opt::ParseCommand("ENDOFRECORD=2").hasValue);
    EXPECT_FALSE(opt::ParseCommand("ENDOFRECORD=0,13").hasValue);
    EXPECT_FALSE(opt::ParseCommand("ENDOFRECORD").hasValue);
}

TEST(DriverOptionCommand, SwitchesEndAtTheNextSlash) {
    const auto parts = opt::SplitSwitches("ASCII /FILEBUFFERS /TAB=4//CLIP=OFF");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0], "FILEBUFFERS ");
    EXPECT_FALSE(opt::ParseCommand(parts[0]).hasValue) << "does not take TAB's 4";
    EXPECT_EQ(parts[1], "TAB=4");
    EXPECT_EQ(parts[2], "");
    EXPECT_EQ(parts[3], "CLIP=OFF");
    EXPECT_TRUE(opt::SplitSwitches("no switches").empty());
}

TEST(DriverStringBuilder, ReadsAGoodStringIntoTheTable) {
    const opt::BuilderResult r =
        opt::ParseDriverString("/FILEBUFFERS=8 /quickscan=on /ENDOFRECORD=1,10 /CTRLZISEOF=OFF /CLIP=OFF /TAB=-3");
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.table.buffers, "8");
    EXPECT_EQ(r.table.quickScan, opt::QuickScanChoice::On);
    EXPECT_EQ(r.table.endOfRecord, "1,10");
    EXPECT_FALSE(r.table.ctrlZIsEof);
    EXPECT_FALSE(r.table.clip);
    EXPECT_EQ(r.table.tab, "-3");
    EXPECT_EQ(opt::ComposeDriverString(r.table),
              "/FILEBUFFERS=8 /QUICKSCAN=ON /ENDOFRECORD=1,10 /CTRLZISEOF=OFF /CLIP=OFF /TAB=-3");
    EXPECT_EQ(opt::ComposeDriverString(opt::SwitchTable{}), "");
}

TEST(DriverStringBuilder, MessagesNameTheOffendingSwitch) {
    const opt::BuilderResult r =
        opt::ParseDriverString("junk /FOO=1 /TAB /CLIP= /Clip=Maybe /QUICKSCAN=OFF /FILEBUF=2");
    const std::vector<std::string> expected = {
        "Poorly formed driver string.  junk is not a valid switch",
        "Poorly formed driver string.  /FOO is not a valid switch",
        "Poorly formed driver string.  /TAB has no value",
        "Poorly formed driver string.  /CLIP has missing value",
        "/Clip has an incorrect value of Maybe.  Value ignored,",
        "Poorly formed driver string.  /FILEBUF is not a valid switch",
    };
    EXPECT_EQ(r.messages, expected);
    EXPECT_TRUE(r.table.clip) << "a faulty switch leaves its entry";
    EXPECT_EQ(r.table.tab, "");
    EXPECT_EQ(r.table.quickScan, opt::QuickScanChoice::Off) << "good switches still count";
}

}  // namespace
