// ARGUMENT's rules over given command-line texts.
#include "app/start/argument.h"

#include <gtest/gtest.h>

#include "support/row_name.h"

#include <string>

namespace dove::app {
namespace {

const std::string kProgram = "C:\\Tools\\DOVE60.EXE";

struct Case {
    const char* tail;
    const char* selector;
    const char* expected;
};

class ArgumentSelection : public ::testing::TestWithParam<Case> {};

TEST_P(ArgumentSelection, SelectsAsTheCommandLineRulesSay) {
    const Case& c = GetParam();
    EXPECT_EQ(c.expected, SelectArgument(c.tail, c.selector, kProgram))
        << "tail [" << c.tail << "] selector [" << c.selector << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ArgumentSelection,
    ::testing::Values(
        // whole tail, program name, positions
        Case{"REG  file.tpl", "", "REG  file.tpl"}, Case{"REG file.tpl", "   ", "REG file.tpl"},
        Case{"REG file.tpl", "0", "C:\\Tools\\DOVE60.EXE"}, Case{"REG file.tpl", "1", "REG"},
        Case{"REG file.tpl", "2", "file.tpl"}, Case{"REG file.tpl", "3", ""},
        Case{"REG file.tpl", "-1", ""}, Case{"a b c", "2xyz", "b"}, Case{"a b c", " 3", "c"},
        // commas separate; an empty argument between two commas still counts
        Case{"REG,file.tpl", "1", "REG"}, Case{"REG,file.tpl", "2", "file.tpl"},
        Case{"a,,b", "2", ""}, Case{"a,,b", "3", "b"}, Case{"a , b", "2", "b"},
        // quotes group, are not copied, and a doubled quote is one quote
        Case{"REG \"My File.tpl\"", "2", "My File.tpl"}, Case{"say \"a\"\"b\"", "2", "a\"b"},
        Case{"x\"\"y", "1", "x\"y"}, Case{"\"\" b", "1", "\""}, Case{"\"\" b", "2", "b"},
        Case{"a\"b c\"d e", "1", "ab cd"}, Case{"\"a,b\"", "1", "a,b"},
        // a slash after other characters starts a new argument
        Case{"a/b", "1", "a"}, Case{"a/b", "2", "/b"}, Case{"/x/y", "2", "/y"},
        Case{"path/to", "1", "path"},
        // bytes 0x80..0xFF end an argument outside quotes only
        Case{"ab\xE9" "cd", "1", "ab"}, Case{"ab\xE9" "cd", "2", "cd"},
        Case{"\"ab\xE9" "cd\"", "1", "ab\xE9" "cd"},
        // tabs and other white space
        Case{"\ta\tb", "2", "b"}, Case{"a\r\nb", "2", "b"},
        // switches and named arguments, any case
        Case{"a/b", "/B", "b"}, Case{"run /Quiet now", "/q", "Quiet"},
        Case{"run /quiet", "/quieter", ""}, Case{"x name=Value y", "NAME", "Value"},
        Case{"x name=Value y", "nam", ""}, Case{"x NAME= y", "name", ""},
        Case{"a 00=z", "00", "z"}, Case{"a 0 b", "00", ""},
        Case{"first /sw", "/", "sw"}),
    [](const ::testing::TestParamInfo<Case>& info) {
        return test::RowName(info.index, {info.param.tail, info.param.selector});
    });

TEST(CommandTail, SkipsTheProgramNameAndTheWhiteSpaceAfterIt) {
    EXPECT_EQ("REG x", CommandTailOf("DOVE60.exe REG x"));
    EXPECT_EQ("REG x", CommandTailOf("  \t\"C:\\Program Files\\DOVE60.exe\"   REG x"));
    EXPECT_EQ("x", CommandTailOf("C:\\a\" \"b\\DOVE60.exe x"));
    EXPECT_EQ("", CommandTailOf("DOVE60.exe"));
    EXPECT_EQ("", CommandTailOf(""));
    EXPECT_EQ("a  ", CommandTailOf("p a  "));
}

std::string g_raw;
std::string Raw() { return g_raw; }
std::string Name() { return kProgram; }

TEST(ArgumentStackForm, ReadsTheInstalledCommandLineOnceAndForAll) {
    g_raw = "\"C:\\My Tools\\DOVE60.exe\" CMD \"a b\"";
    SetCommandLineSource({&Raw, &Name});
    EXPECT_EQ("CMD", Argument("1"));
    g_raw = "other text";  // the tail is made on the first call and kept
    EXPECT_EQ("a b", Argument("2"));
    EXPECT_EQ("CMD \"a b\"", Argument());
    EXPECT_EQ(kProgram, Argument("0"));
}

}  // namespace
}  // namespace dove::app
