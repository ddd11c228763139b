// GETINI, PUTINI and RUNPROGRAM over the real platform, inside the test
// process: WIN.INI and private files of the test prefix, real processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/errors/error_record.h"
#include "runtime/profile/profile.h"
#include "runtime/profile/run_program.h"
#include "runtime/system_props.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace dove {
namespace {

class RealPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        profile::InstallWin32Platform();
        process::InstallWin32Platform();
        err::InstallWin32Sources();
    }
};

TEST_F(RealPlatform, PrivateFileWritesDeletesAndClips) {
    ide_test::TempDir dir("profile");
    std::string file = dir.path + "\\p.ini";
    PutIni("One", "a", "1  ", file + "   ");
    PutIni("One", "b", std::string(1100, 'v'), file);
    PutIni("Two", "c", "3", file);
    EXPECT_EQ("[One]\r\na=1\r\nb=" + std::string(1023, 'v') + "\r\n[Two]\r\nc=3\r\n",
              ide_test::ReadFile(file));
    EXPECT_EQ("1", GetIni("One  ", "a ", "x", file));
    EXPECT_EQ(std::string(1023, 'v'), GetIni("One", "b", "", file));
    EXPECT_EQ(std::string(1023, 'd'), GetIni("One", "zz", std::string(2000, 'd'), file));
    PutIni("One", "a", std::nullopt, file);
    EXPECT_EQ("[One]\r\nb=" + std::string(1023, 'v') + "\r\n[Two]\r\nc=3\r\n",
              ide_test::ReadFile(file));
    PutIni("One", std::nullopt, std::nullopt, file);
    EXPECT_EQ("[Two]\r\nc=3\r\n", ide_test::ReadFile(file));
    EXPECT_EQ("gone", GetIni("One", "b", "gone", file));
}

TEST_F(RealPlatform, EmptyFileNameIsWinIni) {
    PutIni("DOVE60 test", "k", "from win.ini", "  ");
    EXPECT_NE(std::string::npos, ide_test::ReadFile(ide_test::WinIniPath()).find("k=from win.ini"));
    EXPECT_EQ("from win.ini", GetIni("DOVE60 test", "k", "", ""));
    PutIni("DOVE60 test", std::nullopt, std::nullopt, "");
    EXPECT_EQ(std::string::npos, ide_test::ReadFile(ide_test::WinIniPath()).find("DOVE60 test"));
    EXPECT_EQ("dflt", GetIni("DOVE60 test", "k", "dflt", ""));
}

// The real profile functions: a name that would read back as something else
// leaves the file as it was, and a value reads back in the form that the
// callers' duplicate checks compare.
TEST_F(RealPlatform, HostileNamesWriteNothingAndValuesReadBackAsModelled) {
    ide_test::TempDir dir("profile_names");
    std::string file = dir.path + "\\p.ini";
    const std::string content = "[Paths]\r\nLibsrc=C:\\LIB\r\n[S]\r\nk=v\r\n";
    ASSERT_TRUE(ide_test::WriteFile(file, content));
    for (const char* entry : {"[Paths]", "\t[Paths]", ";k", "k=x", "\t"}) {
        PutIni("S", entry, "evil", file);
        PutIni("S", entry, std::nullopt, file);
    }
    PutIni("Paths]x", "Libsrc", "evil", file);
    PutIni("Paths]", std::nullopt, std::nullopt, file);
    EXPECT_EQ(content, ide_test::ReadFile(file));
    EXPECT_EQ("C:\\LIB", GetIni("Paths", "Libsrc", "", file));

    for (const char* value : {" \tTools/X|App", "'Tools/X|App'", "\"x\"", "\"''x''\"", " ' x ' ",
                              "'x\"", "'", "''", "a\r\nb\n", "\r\n'q'\r\n", "x \x1A"}) {
        PutIni("V", "k", value, file);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());   // read the file
        EXPECT_EQ(IniValueAsReadBack(value), GetIni("V", "k", "<none>", file)) << value;
    }
}

std::vector<std::string> g_hooks;
void Unlock() { g_hooks.push_back("unlock"); }
void Lock() { g_hooks.push_back("lock"); }

TEST_F(RealPlatform, RunProgramResults) {
    RunProgram("Z:\\no\\such\\program.exe", true);
    EXPECT_EQ(-4, RUNRESULT());
    EXPECT_EQ(2, err::Code());
    EXPECT_EQ("File Not Found", err::Text());

    SetSystemProp(kUnlockThreadHook, reinterpret_cast<uintptr_t>(&Unlock));
    SetSystemProp(kLockThreadHook, reinterpret_cast<uintptr_t>(&Lock));
    RunProgram("cmd.exe /c exit 3", true);
    SetSystemProp(kUnlockThreadHook, 0);
    SetSystemProp(kLockThreadHook, 0);
    EXPECT_EQ(3, RUNRESULT());
    EXPECT_GE(err::Code(), 300);
    EXPECT_EQ((std::vector<std::string>{"unlock", "lock"}), g_hooks);

    RunProgram("cmd.exe /c exit 0", true);
    EXPECT_EQ(0, RUNRESULT());
    EXPECT_EQ(0, err::Code());

    // The stand-in IDE stays up until asked to quit: waiting for it would
    // never end.
    ide_test::QuitStandIn();
    ide_test::ClearStandInLog();
    DWORD start = GetTickCount();
    RunProgram(gui::Quote(ide_test::StandInPath()) + " from-wintest", false);
    EXPECT_EQ(0, RUNRESULT());
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_FALSE(ide_test::WaitStandInLog(1, 10000).empty());
    ide_test::QuitStandIn();
}

}  // namespace
}  // namespace dove
