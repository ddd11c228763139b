// DOVE60.exe with a DOVE60.ENV beside it, as people write that file: a copy
// of the program in a folder of its own, so that no other test sees the file.
// Each file ends with a TOVBUTTON line, so the help box's button shows that
// the file was read to its end; the help box itself shows that the command
// word still upper-cases to CMD.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/gui_harness.h"
#include "support/ide_setup.h"
#include "test_paths.h"

namespace {

constexpr char kLastLine[] = "TOVBUTTON=Okay\r\n";

// Comment lines up to just under the 1 MiB that the program still reads.
std::string FilledToLimit(std::string text) {
    const size_t limit = (1u << 20) - sizeof kLastLine - 64;
    const std::string filler = "; " + std::string(60, 'x') + "\r\n";
    while (text.size() + filler.size() <= limit) text += filler;
    return text + kLastLine;
}

std::string ManyMessages() {
    std::string text;
    for (int n = 1; n <= 2000; ++n) text += "TOVMSG=" + std::to_string(n) + "," + std::string(400, 'm') + "\r\n";
    return FilledToLimit(text);
}

struct EnvCase {
    const char* what;
    std::string env;
};

void ExpectHelpBoxWithTranslatedOk(const EnvCase& c) {
    SCOPED_TRACE(c.what);
    ide_test::TempDir dir("envfile");
    const std::string exe = dir.path + "\\DOVE60.exe";
    ASSERT_TRUE(CopyFileA(DOVE_EXE_PATH, exe.c_str(), FALSE));
    ASSERT_TRUE(ide_test::WriteFile(dir.path + "\\DOVE60.ENV", c.env));
    ide_test::WinIniIde ide(ide_test::Plain, "C:\\TV6\\", ide_test::StandInPath());
    gui::Shown box;
    ASSERT_TRUE(gui::OpenDialog(&box, gui::Quote(exe) + " cmd"));
    ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
    EXPECT_EQ(0u, box.d.staticTexts[0].rfind("Command Line Parameters are:", 0)) << box.d.Describe();
    EXPECT_EQ((std::vector<std::string>{"Okay"}), box.d.ButtonTexts()) << box.d.Describe();
    ASSERT_TRUE(gui::Press(box.dlg, IDOK));
    EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
}

}  // namespace

TEST(EnvironmentFile, DamagedOrLargeFilesStillGiveTheHelpBox) {
    const EnvCase cases[] = {
        {"a case pair that re-pairs m", std::string("TOVCASE=Xm\r\n") + kLastLine},
        {"2000 messages filled to 1 MiB", ManyMessages()},
        {"one 512 KiB message filled to 1 MiB", FilledToLimit("TOVMSG=2," + std::string(512 * 1024, 'm') + "\r\n")},
        {"byte-order mark and CR-only line ends", "\xEF\xBB\xBF; saved as UTF-8\rTOVBUTTON=Okay\rTOVAMPM=a,p\r"},
    };
    for (const EnvCase& c : cases) ExpectHelpBoxWithTranslatedOk(c);
}
