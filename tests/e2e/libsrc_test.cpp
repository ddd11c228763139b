// LIBSRC against a real ini file and the stand-in IDE: the value written,
// the stop box, and whether the IDE is started.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

using ide_test::ReadFile;

class LibSrcTest : public ::testing::Test {
protected:
    LibSrcTest() : root_("libsrc"), ide_(ide_test::Plain, root_.path + "\\", ide_test::StandInPath()) {
        CreateDirectoryA((root_.path + "\\Bin").c_str(), nullptr);
        ide_test::QuitStandIn();
        ide_test::ClearStandInLog();
    }
    ~LibSrcTest() override { ide_test::QuitStandIn(); }
    std::string ini() const { return root_.path + "\\Bin\\T60ee.ini"; }

    // Starts LIBSRC, checks the stop box and presses `button` in it.
    void RunThroughStopBox(const std::string& tail, const std::string& typedPath, int button,
                           const char* screenshot = nullptr) {
        gui::Shown box;
        ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw("LIBSRC " + tail)));
        EXPECT_EQ("Stop", box.d.caption);
        ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
        EXPECT_EQ("PUTINI PATH: " + typedPath + " File: " + ini(), box.d.staticTexts[0]);
        EXPECT_EQ((std::vector<std::string>{"&Abort", "&Ignore"}), box.d.ButtonTexts());
        ASSERT_NE(nullptr, box.d.DefaultButton()) << box.d.Describe();
        EXPECT_EQ(IDABORT, box.d.DefaultButton()->id);
        EXPECT_TRUE(gui::ShowsIcon(box.d, LoadIconA(nullptr, IDI_HAND)));
        // The value is written before the box asks.
        EXPECT_NE(std::string::npos, ReadFile(ini()).find("Libsrc="));
        if (screenshot) gui::Screenshot(box.dlg, screenshot);
        ASSERT_TRUE(gui::Press(box.dlg, button));
        EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
    }

    ide_test::TempDir root_;
    ide_test::WinIniIde ide_;
};

TEST_F(LibSrcTest, IgnoreWithRunStartsTheIdeWithItsNameAsTheWholeCommandLine) {
    RunThroughStopBox("\"c:\\My Libs\\abc src\" Run", "c:\\My Libs\\abc src", IDIGNORE,
                      "libsrc_stop_box");
    EXPECT_EQ("[Paths]\r\nLibsrc=C:\\MY LIBS\\ABC SRC\r\n", ReadFile(ini()));
    std::vector<std::string> log = ide_test::WaitStandInLog(1, 10000);
    ASSERT_EQ(1u, log.size());
    EXPECT_NE(std::string::npos, log[0].find("\tcmdline=" + ide_test::StandInPath()));
    EXPECT_EQ(log[0].size(), log[0].find("\tcmdline=") + 9 + ide_test::StandInPath().size())
        << log[0];
}

TEST_F(LibSrcTest, WithoutThirdParameterNothingStarts) {
    RunThroughStopBox("c:\\lib", "c:\\lib", IDIGNORE);
    EXPECT_EQ("[Paths]\r\nLibsrc=C:\\LIB\r\n", ReadFile(ini()));
    Sleep(1000);
    EXPECT_TRUE(ide_test::StandInLog().empty());
}

TEST_F(LibSrcTest, AbortEndsWithExitCodeZeroAndStartsNothing) {
    RunThroughStopBox("c:\\lib x", "c:\\lib", IDABORT);
    EXPECT_EQ("[Paths]\r\nLibsrc=C:\\LIB\r\n", ReadFile(ini()));
    Sleep(1000);
    EXPECT_TRUE(ide_test::StandInLog().empty());
}

TEST_F(LibSrcTest, MissingPathShowsTheMessageAndWritesNothing) {
    for (const char* tail : {"LIBSRC", "LIBSRC \"\""}) {
        gui::Shown box;
        ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw(tail)));
        EXPECT_EQ("Set ABC Library Directory", box.d.caption);
        ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
        EXPECT_EQ("File parameter missing from command line", box.d.staticTexts[0]);
        EXPECT_EQ((std::vector<std::string>{"OK"}), box.d.ButtonTexts());
        EXPECT_TRUE(gui::ShowsIcon(box.d, LoadIconA(nullptr, IDI_EXCLAMATION)));
        ASSERT_TRUE(gui::Press(box.dlg, IDOK));
        EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
    }
    EXPECT_EQ("<missing>", ReadFile(ini()));
}

// An IDE installed in a folder with a blank in its name is started itself,
// never a program of a shorter name that the system would try first.
TEST(LibSrcIdePath, AFolderWithABlankStartsTheIdeNotAShorterName) {
    ide_test::QuitStandIn();
    ide_test::TempDir root("libsrc_blank");
    const std::string folder = root.path + "\\Ide Files";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    CreateDirectoryA((root.path + "\\Bin").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(ide_test::StandInPath().c_str(), (folder + "\\StandInIde.exe").c_str(), FALSE));
    // The decoy: what "...\Ide Files\StandInIde.exe" names when unquoted.
    ASSERT_TRUE(CopyFileA(ide_test::StandInPath().c_str(), (root.path + "\\Ide.exe").c_str(), FALSE));
    {
        ide_test::WinIniIde ide(ide_test::Plain, root.path + "\\", folder + "\\StandInIde.exe");
        gui::Shown box;
        ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw("LIBSRC C:\\x Run")));
        ASSERT_TRUE(gui::Press(box.dlg, IDIGNORE));
        EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
        const std::string started = folder + "\\StandInIde.log";
        for (int i = 0; i < 200 && ReadFile(started) == "<missing>"; ++i) Sleep(50);
        EXPECT_NE("<missing>", ReadFile(started));
        EXPECT_EQ("<missing>", ReadFile(root.path + "\\StandInIde.log"));
        ide_test::QuitStandIn();
    }
}

}  // namespace
