// DOVE60.exe finding the IDE through real WIN.INI sections and its own ini
// file in the Windows directory, and the box it shows when it cannot.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dde/ide_names.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

using ide_test::Enterprise;
using ide_test::Plain;
using ide_test::ReadFile;

const char kMissing[] = "<missing>";

// A USERMENU run that must end by itself; where it wrote tells which ini
// file discovery chose.
int AddMenuEntry() { return ide_test::RunToEnd(ide_test::ExeRaw("USERMENU App Tools-App a.exe")); }

const char kOneEntryIni[] = "[User Menus]\r\n1=Tools/App|App\r\n[User Applications]\r\nApp=a.exe\r\n";

bool HasMenuEntry(const std::string& iniPath) {
    return ReadFile(iniPath).find("1=Tools/App|App") != std::string::npos;
}

TEST(Discovery, OwnIniFileInTheWindowsDirectoryWinsAndWinIniIsNotRead) {
    ide_test::TempDir own("disc_own"), winIni("disc_winini");
    // WIN.INI would give another root and an executable that does not exist.
    ide_test::WinIniIde ide(Enterprise, winIni.path + "\\", winIni.path + "\\none.exe");
    ide_test::OwnIniFile ownIni("[" + std::string(dove::ide::kOwnIniSection) + "]\r\nroot=" +
                                own.path + "\\\r\nExeName=" + ide_test::StandInPath() +
                                "\r\nIniFile=" + own.path + "\\own.ini\r\n");
    ide_test::ClearStandInLog();
    ASSERT_EQ(0, AddMenuEntry());
    EXPECT_TRUE(HasMenuEntry(own.path + "\\own.ini")) << ReadFile(own.path + "\\own.ini");
    EXPECT_EQ(kMissing, ReadFile(winIni.path + "\\Bin\\T60ee.ini"));

    // EXENAME came from the own file too: LIBSRC with Run starts the stand-in.
    gui::Shown box;
    ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw("LIBSRC c:\\lib Run")));
    ASSERT_TRUE(gui::Press(box.dlg, IDIGNORE));
    EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
    EXPECT_EQ(1u, ide_test::WaitStandInLog(1, 10000).size());
    ide_test::QuitStandIn();
}

TEST(Discovery, EnterpriseSectionWinsOverThePlainOne) {
    ide_test::TempDir plain("disc_plain"), enterprise("disc_ent");
    ide_test::WinIniIde ide(Plain, plain.path + "\\", ide_test::StandInPath());
    ide.Add(Enterprise, (enterprise.path + "\\").c_str(), ide_test::StandInPath().c_str());
    CreateDirectoryA((enterprise.path + "\\Bin").c_str(), nullptr);
    CreateDirectoryA((plain.path + "\\Bin").c_str(), nullptr);
    ASSERT_EQ(0, AddMenuEntry());
    EXPECT_EQ(kOneEntryIni, ReadFile(enterprise.path + "\\Bin\\T60ee.ini"));
    EXPECT_EQ(kMissing, ReadFile(plain.path + "\\Bin\\T60ee.ini"));
}

TEST(Discovery, RootWithOrWithoutTrailingBackslashGivesTheBinIniFile) {
    for (const char* end : {"", "\\"}) {
        ide_test::TempDir root("disc_root");
        CreateDirectoryA((root.path + "\\Bin").c_str(), nullptr);
        ide_test::WinIniIde ide(Plain, root.path + end, ide_test::StandInPath());
        ASSERT_EQ(0, AddMenuEntry()) << "root ending [" << end << "]";
        EXPECT_EQ(kOneEntryIni, ReadFile(root.path + "\\Bin\\T60ee.ini")) << "[" << end << "]";
        EXPECT_EQ(kMissing, ReadFile(root.path + "Bin\\T60ee.ini"));
    }
}

// The box, and that no command ran: USERMENU wrote nothing, CMD showed no
// help box after it.
void ExpectEntryNotFound(const std::string& tail, const char* screenshot) {
    SCOPED_TRACE(tail);
    gui::Shown box;
    ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw(tail)));
    EXPECT_EQ("Entry Not Found", box.d.caption);
    ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
    EXPECT_EQ("The DA Duduror Ovud program looks for Tovaro information in the WIN.INI file.  "
              "Required information was not found.",
              box.d.staticTexts[0]);
    EXPECT_EQ((std::vector<std::string>{"OK"}), box.d.ButtonTexts()) << box.d.Describe();
    EXPECT_TRUE(gui::ShowsIcon(box.d, LoadIconA(nullptr, IDI_EXCLAMATION)));
    if (screenshot) gui::Screenshot(box.dlg, screenshot);
    ASSERT_TRUE(gui::Press(box.dlg, IDOK));
    EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
}

TEST(Discovery, MissingRootOrExeNameShowsEntryNotFoundAndRunsNothing) {
    ide_test::TempDir root("disc_missing");
    CreateDirectoryA((root.path + "\\Bin").c_str(), nullptr);
    {
        ide_test::WinIniIde ide(Plain, nullptr, ide_test::StandInPath().c_str());
        ExpectEntryNotFound("CMD", "entry_not_found");
        ExpectEntryNotFound("USERMENU App Tools-App a.exe", nullptr);
    }
    {
        ide_test::WinIniIde ide(Plain, (root.path + "\\").c_str(), nullptr);
        ExpectEntryNotFound("cmd", nullptr);
        ExpectEntryNotFound("USERMENU App Tools-App a.exe", nullptr);
    }
    EXPECT_EQ(kMissing, ReadFile(root.path + "\\Bin\\T60ee.ini"));
}

// A root folder named with exactly `length` characters, the trailing
// backslash included, below dir.
std::string RootOfLength(const std::string& dir, size_t length) {
    return dir + "\\" + std::string(length - dir.size() - 2, 'r') + "\\";
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do
        if (fd.cFileName[0] != '.') names.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

// A long root folder: the commands use the ini file's whole name, or
// discovery fails with its message; never a name cut to fit.
TEST(Discovery, LongRootGivesTheWholeIniFileNameOrTheMessage) {
    ide_test::TempDir dir("disc_long");
    // Root and "Bin\T60ee.ini" make 255 and 259 characters: both are held.
    for (size_t length : {242u, 246u}) {
        SCOPED_TRACE(length);
        std::string root = RootOfLength(dir.path, length);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((root + "Bin").c_str(), nullptr));
        ide_test::WinIniIde ide(Plain, root, ide_test::StandInPath());
        ASSERT_EQ(0, AddMenuEntry());
        EXPECT_EQ(kOneEntryIni, ReadFile(root + "Bin\\T60ee.ini"));
        EXPECT_EQ((std::vector<std::string>{"T60ee.ini"}), FilesIn(root + "Bin"));
    }
    // 260 characters and more: no file name the profile functions take.
    for (size_t length : {247u, 254u}) {
        SCOPED_TRACE(length);
        std::string root = RootOfLength(dir.path, length);
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "Bin").c_str(), nullptr);
        ide_test::WinIniIde ide(Plain, root, ide_test::StandInPath());
        ExpectEntryNotFound("USERMENU App Tools-App a.exe", nullptr);
        ExpectEntryNotFound("LIBSRC c:\\lib", nullptr);
        ExpectEntryNotFound("REG x.tpl", nullptr);
        EXPECT_EQ(std::vector<std::string>{}, FilesIn(root + "Bin"));
        for (const std::string& name : FilesIn(root)) EXPECT_EQ("Bin", name);
    }
}

}  // namespace
