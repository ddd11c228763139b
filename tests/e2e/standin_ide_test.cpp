// The stand-in IDE itself: it must register and run as the tests and the
// demo expect of the IDE.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dde/ide_names.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

std::string WinIni(const char* section, const char* entry) {
    char buf[512] = {};
    GetProfileStringA(section, entry, "<none>", buf, sizeof buf);
    return buf;
}

std::string StandIn(const std::string& args) { return gui::Quote(ide_test::StandInPath()) + args; }

TEST(StandInIde, InstallWritesWinIniAndTheIniFileUninstallRemovesTheSection) {
    ide_test::WinIniIde clean;
    ide_test::TempDir root("standin_root");
    ASSERT_EQ(0, ide_test::RunToEnd(StandIn(" --install " + root.path)));
    EXPECT_EQ(root.path + "\\", WinIni(dove::ide::kWinIniSection, "root"));
    EXPECT_EQ(ide_test::StandInPath(), WinIni(dove::ide::kWinIniSection, "exename"));
    EXPECT_EQ("", ide_test::ReadFile(root.path + "\\Bin\\T60ee.ini"));
    // An existing ini file is kept.
    ASSERT_TRUE(ide_test::WriteFile(root.path + "\\Bin\\T60ee.ini", "[Paths]\r\n"));
    ASSERT_EQ(0, ide_test::RunToEnd(StandIn(" --install " + root.path + "\\ --enterprise")));
    EXPECT_EQ(root.path + "\\", WinIni(dove::ide::kWinIniEnterpriseSection, "root"));
    EXPECT_EQ("[Paths]\r\n", ide_test::ReadFile(root.path + "\\Bin\\T60ee.ini"));
    ASSERT_EQ(0, ide_test::RunToEnd(StandIn(" --uninstall")));
    EXPECT_EQ("<none>", WinIni(dove::ide::kWinIniSection, "root"));
    EXPECT_EQ(root.path + "\\", WinIni(dove::ide::kWinIniEnterpriseSection, "root"));
    EXPECT_EQ(2, ide_test::RunToEnd(StandIn(" --install")));
}

TEST(StandInIde, LogsEveryStartAndRunsOnceUntilQuit) {
    ide_test::QuitStandIn();
    ide_test::ClearStandInLog();
    gui::App first = gui::Start(gui::Quote(ide_test::StandInPath()), {}, false);
    HWND window = first.WaitWindow(nullptr, 10000);
    ASSERT_TRUE(window) << first.Error();
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("Tovaro stand-in IDE", title);
    // A second start logs and leaves at once; the first stays.
    EXPECT_EQ(0, ide_test::RunToEnd(StandIn(" second")));
    EXPECT_TRUE(first.Running());
    std::vector<std::string> log = ide_test::StandInLog();
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ(0u, log[0].find("pid=" + std::to_string(first.Pid()) + "\tcwd="));
    EXPECT_NE(std::string::npos, log[1].find("\tcmdline=" + gui::Quote(ide_test::StandInPath()) + " second"));
    EXPECT_EQ(0, ide_test::RunToEnd(StandIn(" --quit")));
    EXPECT_EQ(0, first.WaitExit(10000)) << first.Error();
    EXPECT_EQ(2u, ide_test::StandInLog().size());
}

}  // namespace
