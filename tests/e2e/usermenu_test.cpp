// USERMENU against a real ini file of the IDE: what the file holds
// afterwards, byte for byte, and the message for a short command line.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <thread>
#include <vector>

#include "runtime/profile/profile_lock.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

using ide_test::ReadFile;
using ide_test::WriteFile;

// An installed IDE in a fresh root folder; ini() is its ini file.
class UserMenuTest : public ::testing::Test {
protected:
    UserMenuTest() : root_("usermenu"), ide_(ide_test::Plain, root_.path + "\\", ide_test::StandInPath()) {
        CreateDirectoryA((root_.path + "\\Bin").c_str(), nullptr);
    }
    std::string ini() const { return root_.path + "\\Bin\\T60ee.ini"; }
    int Run(const std::string& tail) { return ide_test::RunToEnd(ide_test::ExeRaw("USERMENU " + tail)); }

    ide_test::TempDir root_;
    ide_test::WinIniIde ide_;
};

TEST_F(UserMenuTest, ConvertsPlusAndMinusAndTakesTheFirstFreeSlot) {
    ASSERT_TRUE(WriteFile(ini(), "[User Menus]\r\n1=Tools/Editor|ED\r\n2=   \r\n3=\r\n"
                                 "5=Tools/My Program|MyProg\r\n"));
    ASSERT_EQ(0, Run("MyProg Tools-My+Program \"C:\\Program Files\\my.exe\" /x+a+b"));
    EXPECT_EQ("[User Menus]\r\n1=Tools/Editor|ED\r\n2=Tools/My Program|MyProg\r\n3=\r\n"
              "5=Tools/My Program|MyProg\r\n"
              "[User Applications]\r\nMyProg=C:\\Program Files\\my.exe /x a b\r\n",
              ReadFile(ini()));
    // Now slot 2 holds it: a second run in other letters writes nothing at
    // all, also not a changed command line.
    std::string before = ReadFile(ini());
    ASSERT_EQ(0, Run("MYPROG TOOLS-MY+PROGRAM other.exe"));
    EXPECT_EQ(before, ReadFile(ini()));
    // The blank slot 3 is next.
    ASSERT_EQ(0, Run("Other \"Tools-Other One\" o.exe"));
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("\r\n3=Tools/Other One|Other\r\n"));
}

TEST_F(UserMenuTest, AllHundredSlotsTakenChangesOnlyTheApplications) {
    std::string full = "[User Menus]\r\n";
    for (int n = 1; n <= 100; ++n) full += std::to_string(n) + "=Menu/Item" + std::to_string(n) + "|R\r\n";
    ASSERT_TRUE(WriteFile(ini(), full));
    ASSERT_EQ(0, Run("App Tools-App a.exe"));
    EXPECT_EQ(full + "[User Applications]\r\nApp=a.exe\r\n", ReadFile(ini()));
    // A script is told that the menu entry did not land.
    EXPECT_EQ(4, ide_test::RunToEnd(ide_test::ExeRaw("/UNATTENDED USERMENU App Tools-App a.exe")));
}

TEST_F(UserMenuTest, ShortCommandLineShowsTheValuesAsRead) {
    ASSERT_TRUE(WriteFile(ini(), "[User Menus]\r\n"));
    gui::Shown box;
    ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw("USERMENU App Tools-My+App")));
    EXPECT_EQ("Incorrect Command Line", box.d.caption);
    ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
    EXPECT_EQ("Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: \r\n"
              "   AppRef: App\r\n   MenuDisplay: Tools-My+App\r\n   CommandLine: \r\n   Parm:",
              box.d.staticTexts[0]);
    EXPECT_EQ((std::vector<std::string>{"OK"}), box.d.ButtonTexts());
    EXPECT_TRUE(gui::ShowsIcon(box.d, LoadIconA(nullptr, IDI_EXCLAMATION)));
    gui::Screenshot(box.dlg, "incorrect_command_line");
    ASSERT_TRUE(gui::Press(box.dlg, IDOK));
    EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
    EXPECT_EQ("[User Menus]\r\n", ReadFile(ini()));
}

// Two installers at the same moment, each with its own entry: both entries
// must survive, in two different slots.
TEST_F(UserMenuTest, TwoRunsAtTheSameMomentBothLand) {
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(WriteFile(ini(), "[User Menus]\r\n1=Tools/Editor|ED\r\n"));
        ASSERT_EQ((std::vector<int>{0, 0}),
                  ide_test::RunTogether({ide_test::ExeRaw("USERMENU AppA Tools-A a.exe"),
                                         ide_test::ExeRaw("USERMENU AppB Tools-B b.exe")}));
        std::string file = ReadFile(ini());
        SCOPED_TRACE("round " + std::to_string(round) + ":\n" + file);
        EXPECT_NE(std::string::npos, file.find("=Tools/A|AppA\r\n"));
        EXPECT_NE(std::string::npos, file.find("=Tools/B|AppB\r\n"));
        EXPECT_NE(std::string::npos, file.find("AppA=a.exe\r\n"));
        EXPECT_NE(std::string::npos, file.find("AppB=b.exe\r\n"));
        EXPECT_NE(std::string::npos, file.find("\r\n2=")) ;
        EXPECT_NE(std::string::npos, file.find("\r\n3="));
        if (HasFailure()) break;
    }
}

// Input that is too long, unbalanced, empty or 8-bit: the documented
// outcome, an orderly end and no file but the ini file touched.
// An installer that died while it held the ini file's lock must not block
// the next one: a thread that ends holding the lock leaves it abandoned.
TEST_F(UserMenuTest, ALockLeftByAnInstallerThatDiedIsTakenOver) {
    ASSERT_TRUE(WriteFile(ini(), "[User Menus]\r\n"));
    char full[MAX_PATH];
    ASSERT_NE(0u, GetFullPathNameA(ini().c_str(), sizeof full, full, nullptr));
    std::string name = dove::ProfileLockName(full);
    HANDLE mutex = nullptr;
    std::thread([&] { mutex = CreateMutexA(nullptr, TRUE, name.c_str()); }).join();
    ASSERT_NE(nullptr, mutex);
    EXPECT_EQ(0, Run("App Tools-App a.exe"));
    EXPECT_EQ("[User Menus]\r\n1=Tools/App|App\r\n[User Applications]\r\nApp=a.exe\r\n", ReadFile(ini()));
    CloseHandle(mutex);
}

TEST_F(UserMenuTest, BadInputEndsInOrderAndTouchesNothingElse) {
    ASSERT_TRUE(WriteFile(ini(), "[User Menus]\r\n"));
    std::string winIni = ReadFile(ide_test::WinIniPath());

    // Longer than the 254 characters the utility takes: refused whole, as a
    // cut parameter would be written as a value nobody gave.
    gui::Shown box;
    ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw("USERMENU " + std::string(300, 'a') + " M c.exe")));
    EXPECT_EQ("DOVidovur", box.d.caption);
    EXPECT_EQ(0u, box.d.staticTexts.at(0).find("The command line holds 317 characters;")) << box.d.Describe();
    ASSERT_TRUE(gui::Press(box.dlg, IDOK));
    EXPECT_EQ(0, box.app.WaitExit(10000));
    EXPECT_EQ("[User Menus]\r\n", ReadFile(ini()));

    // A long parameter is kept to what fits: 254 characters of the text.
    std::string longApp(230, 'L');
    ASSERT_EQ(0, Run(longApp + " M c.exe"));
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("1=M|" + longApp + "\r\n"));

    // An unclosed quote runs to the end: one parameter "M c.exe".
    gui::Shown open;
    ASSERT_TRUE(gui::OpenDialog(&open, ide_test::ExeRaw("USERMENU App2 \"M c.exe")));
    EXPECT_NE(std::string::npos, open.d.staticTexts.at(0).find("MenuDisplay: M c.exe\r\n"));
    ASSERT_TRUE(gui::Press(open.dlg, IDOK));
    EXPECT_EQ(0, open.app.WaitExit(10000));

    // 8-bit characters are ordinary characters of a parameter.
    ASSERT_EQ(0, Run("App\xE9 Men\xFC-\xC0+x c\x80.exe"));
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("2=Men\xFC/\xC0 x|App\xE9\r\n"));
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("App\xE9=c\x80.exe\r\n"));

    // A line break in a parameter is written as a blank: the menu entry stays
    // whole on its line, and no section or entry of its own appears.
    ASSERT_EQ(0, Run("App3 Tools-C\r\n[Evil]\r\nx=y c.exe\n[Evil2]"));
    EXPECT_EQ(std::string::npos, ReadFile(ini()).find("\n[Evil")) << ReadFile(ini());
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("\r\n3=Tools/C  [Evil]  x=y|App3\r\n"))
        << ReadFile(ini());
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("\r\nApp3=c.exe [Evil2]\r\n"));

    EXPECT_EQ(winIni, ReadFile(ide_test::WinIniPath()));
    WIN32_FIND_DATAA fd;
    int files = 0;
    HANDLE h = FindFirstFileA((root_.path + "\\*").c_str(), &fd);
    do files += fd.cFileName[0] != '.';
    while (FindNextFileA(h, &fd));
    FindClose(h);
    EXPECT_EQ(1, files);   // only Bin
}

// The IDE's settings before a hostile run; whatever the run does, the IDE
// must read back the same settings afterwards, apart from the one entry
// that was asked for.
const char kIdeSettings[] = "[Paths]\r\nLibsrc=C:\\LIB\r\n[User Menus]\r\n1=Tools/Editor|ED\r\n"
                            "[User Applications]\r\nED=ed.exe\r\n[Environment]\r\nAutoPick=on\r\n";

// An AppRef that would come back as a section header ("[Paths]" hides the
// real section), a comment, an entry of another name or no name at all is
// refused as a missing one is, and nothing is written.
TEST_F(UserMenuTest, AnAppRefThatWouldNotReadBackIsRefusedAndWritesNothing) {
    for (const char* appRef : {"[Paths]", "\t[Paths]", ";App", "A=B", "App=", "\t"}) {
        SCOPED_TRACE(appRef);
        ASSERT_TRUE(WriteFile(ini(), kIdeSettings));
        const ide_test::IniEntries before = ide_test::ReadIniAsTheIdeDoes(ini());
        gui::Shown box;
        ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw(std::string("USERMENU ") + appRef +
                                                           " Tools-X c.exe")));
        EXPECT_EQ("Incorrect Command Line", box.d.caption);
        ASSERT_TRUE(gui::Press(box.dlg, IDOK));
        EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
        EXPECT_EQ(kIdeSettings, ReadFile(ini()));
        EXPECT_EQ(before, ide_test::ReadIniAsTheIdeDoes(ini()));
    }
}

// The same command three times gives one menu entry, also when the file
// gives the entry back in another form than it was typed: a leading "+"
// (a blank), enclosing single quotes, a line break.
TEST_F(UserMenuTest, TheSameCommandThreeTimesFillsOneSlot) {
    struct Row {
        const char* tail;
        const char* slotAsRead;
    };
    for (const Row& row : {Row{"App +Tools-X c.exe", "Tools/X|App"},
                           Row{"App' 'Tools-X c.exe", "Tools/X|App"},
                           Row{"App Tools-X\r\n c.exe", "Tools/X  |App"}}) {
        SCOPED_TRACE(row.tail);
        ASSERT_TRUE(WriteFile(ini(), kIdeSettings));
        ide_test::IniEntries expected = ide_test::ReadIniAsTheIdeDoes(ini());
        for (int run = 0; run < 3; ++run) ASSERT_EQ(0, Run(row.tail));
        // The application entry keeps its written name: "App'" in the quoted row.
        std::string appRef = std::string(row.tail).substr(0, std::string(row.tail).find(' '));
        for (char& c : appRef) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        expected[{"USER MENUS", "2"}] = row.slotAsRead;
        expected[{"USER APPLICATIONS", appRef}] = "c.exe";
        EXPECT_EQ(expected, ide_test::ReadIniAsTheIdeDoes(ini())) << ReadFile(ini());
    }
}

TEST_F(UserMenuTest, MissingFolderOrUnwritableFileLeavesAllAsItWas) {
    std::string winIni = ReadFile(ide_test::WinIniPath());
    // No Bin folder: the write fails quietly and creates nothing.
    RemoveDirectoryA((root_.path + "\\Bin").c_str());
    ASSERT_EQ(0, Run("App Tools-App a.exe"));
    EXPECT_FALSE(ide_test::FileExists(root_.path + "\\Bin"));

    // A file that another program holds without sharing cannot be written.
    CreateDirectoryA((root_.path + "\\Bin").c_str(), nullptr);
    const std::string content = "[User Menus]\r\n1=Tools/Editor|ED\r\n";
    ASSERT_TRUE(WriteFile(ini(), content));
    HANDLE held = CreateFileA(ini().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, Run("App Tools-App a.exe"));
    CloseHandle(held);
    EXPECT_EQ(content, ReadFile(ini()));

    // A read-only file: the system refuses the write, except to a superuser
    // (as the tests may run here), who gets the ordinary result.
    SetFileAttributesA(ini().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, Run("App Tools-App a.exe"));
    SetFileAttributesA(ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string after = ReadFile(ini());
    if (after != content)
        EXPECT_EQ(content + "2=Tools/App|App\r\n[User Applications]\r\nApp=a.exe\r\n", after);
    EXPECT_EQ(winIni, ReadFile(ide_test::WinIniPath()));
}

}  // namespace
