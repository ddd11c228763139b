// INCLUDE on real files, natively: the golden templates of include_golden/
// and the cases that must leave everything alone.
#include "app/commands/include_command.h"

#include <gtest/gtest.h>

#include <string>

#include "e2e/include_cases.h"
#include "runtime/errors/error_record.h"
#include "files/object/file_statements.h"
#include "files/text/text_file_fixture.h"  // tests/files

namespace dove::app {
namespace {

using files::testing::ReadBytes;
using files::testing::WriteBytes;

std::string Golden(const std::string& leaf) {
    return ReadBytes(std::string(DOVE_SOURCE_DIR) + "/tests/e2e/include_golden/" + leaf);
}

class Include : public files::testing::FilesTest {};

TEST_F(Include, GoldenTemplates) {
    for (const include_cases::Case& c : include_cases::kCases) {
        SCOPED_TRACE(std::string(c.name) + " x" + std::to_string(c.runs));
        std::string target = dir.File(std::string(c.name) + ".tpl");
        WriteBytes(target, Golden(std::string(c.name) + ".before"));
        for (int i = 0; i < c.runs; ++i) IncludeInto(target.c_str(), include_cases::kIncludeName);
        EXPECT_EQ(Golden(std::string(c.name) + ".after"), ReadBytes(target));
    }
}

TEST_F(Include, MissingTargetOrParametersChangeNothing) {
    std::string missing = dir.File("missing.tpl");
    IncludeInto(missing.c_str(), "x.tpl");
    EXPECT_FALSE(files::testing::Exists(missing));
    std::string target = dir.File("t.tpl");
    WriteBytes(target, "A\r\n");
    IncludeInto(target.c_str(), "   ");
    IncludeInto("", "x.tpl");
    EXPECT_EQ("A\r\n", ReadBytes(target));
}

// The longest line a template line holds is written whole and found again;
// one character more is not written at all (cut, it would lack its "')" and
// be appended again on every run).
TEST_F(Include, ALineLongerThanATemplateLineIsNotWritten) {
    std::string target = dir.File("t.tpl");
    WriteBytes(target, "A\r\n");
    const std::string fits(243, 'f');   // "#INCLUDE('" and "')" make 255
    for (int run = 0; run < 2; ++run) EXPECT_EQ(IncludeResult::kDone, IncludeInto(target.c_str(), fits.c_str()));
    const std::string once = "A\r\n\r\n#INCLUDE('" + fits + "')\r\n";
    EXPECT_EQ(once, ReadBytes(target));
    EXPECT_EQ(IncludeResult::kLineTooLong, IncludeInto(target.c_str(), std::string(244, 'g').c_str()));
    EXPECT_EQ(once, ReadBytes(target));
}

TEST_F(Include, TheTargetIsClosedAfterwards) {
    std::string target = dir.File("t.tpl");
    WriteBytes(target, "A\r\n");
    IncludeInto(target.c_str(), "x.tpl");
    files::Set(IncludeTarget());
    EXPECT_EQ(37, err::Code());
}

}  // namespace
}  // namespace dove::app
