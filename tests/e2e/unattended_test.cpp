// DOVE60 run as installers and build servers run it: nobody at the screen.
// Every box of the utility must go to the log instead of waiting, the exit
// code must tell what happened, and without the mode the same runs must
// still show their boxes and end with 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/gui_harness.h"
#include "support/ide_setup.h"
#include "support/row_name.h"
#include "test_paths.h"

namespace {

using ide_test::ReadFile;
using ide_test::WriteFile;

// An environment variable of this process (and of what it starts) until
// destroyed; then it is as it was.
class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        char before[4096];
        DWORD n = GetEnvironmentVariableA(name, before, sizeof before);
        wasSet_ = n != 0 && n < sizeof before;
        if (wasSet_) before_.assign(before, n);
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~EnvVar() { SetEnvironmentVariableA(name_, wasSet_ ? before_.c_str() : nullptr); }

private:
    const char* name_;
    bool wasSet_ = false;
    std::string before_;
};

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    if (bytes == "<missing>") return lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start) + "<no line end>");
    return lines;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// What one run left: its exit code, the visible windows it had at any
// moment, and the log's lines.
struct QuietRun {
    int exitCode = -1;
    std::vector<std::string> windowsSeen;
    std::vector<std::string> log;
    std::string error;
};

struct WindowSearch {
    DWORD pid;
    std::vector<std::string>* seen;
};

BOOL CALLBACK NoteVisibleWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd)) {
        char title[256] = {};
        GetWindowTextA(hwnd, title, sizeof title);
        search->seen->push_back(title);
    }
    return TRUE;
}

enum Way { kSwitch, kEnvironment };

// A project folder with an installed IDE (the stand-in) and its ini file,
// and a log of its own for the runs.
class UnattendedTest : public ::testing::Test {
protected:
    UnattendedTest()
        : root_("unattended"), ide_(ide_test::Plain, root_.path + "\\", ide_test::StandInPath()),
          logVariable_("DOVE60_LOG", log()) {
        CreateDirectoryA((root_.path + "\\Bin").c_str(), nullptr);
        WriteFile(ini(), "[User Menus]\r\n");
        ide_test::QuitStandIn();
        ide_test::ClearStandInLog();
    }
    ~UnattendedTest() override { ide_test::QuitStandIn(); }

    std::string ini() const { return root_.path + "\\Bin\\T60ee.ini"; }
    std::string log() const { return root_.path + "\\run.log"; }

    // Runs DOVE60 unattended in the project folder, watching its windows.
    QuietRun RunQuietly(const std::string& tail, Way way = kSwitch, DWORD timeoutMs = 60000) {
        DeleteFileA(log().c_str());
        std::unique_ptr<EnvVar> asked;
        if (way == kEnvironment) asked = std::make_unique<EnvVar>("DOVE60_UNATTENDED", "1");
        gui::App app = gui::Start(ide_test::ExeRaw(way == kSwitch ? "/UNATTENDED " + tail : tail),
                                  root_.path, false);
        QuietRun run;
        if (!app.Started()) {
            run.error = app.Error();
            return run;
        }
        DWORD start = GetTickCount();
        while (app.Running() && GetTickCount() - start < timeoutMs) {
            WindowSearch search{app.Pid(), &run.windowsSeen};
            EnumWindows(&NoteVisibleWindow, reinterpret_cast<LPARAM>(&search));
            Sleep(15);
        }
        run.exitCode = app.WaitExit(1000);
        run.error = app.Error();
        run.log = Lines(ReadFile(log()));
        return run;
    }

    ide_test::TempDir root_;
    ide_test::WinIniIde ide_;
    EnvVar logVariable_;
};

// Every box the commands show, and the ends that show none.
struct BoxRow {
    const char* tail;
    bool ideInstalled;
    const char* caption;   // nullptr: the run shows no box
    const char* answer;
    int exitCode;
    const char* lastLine;  // how the log's exit line ends
};

// The longest include name a command line can carry (TEXT holds 254) and
// one that no template line can hold.
const std::string kLongInclude(244, 'i');

const BoxRow kBoxes[] = {
    {"FOO", true, "DOVidovur", "OK", 1, "exit 1: unknown command word"},
    {"CMD", true, "DOVidovur", "OK", 0, "exit 0"},
    {"CMD", false, "Entry Not Found", "OK", 2, "exit 2: the IDE's settings were not found"},
    {"REG", true, "KV Install Error", "OK", 1, "exit 1: the template name is missing"},
    {"REG none.tpl", true, "Register Error", "OK", 4, "exit 4: template not found: none.tpl"},
    {"USERMENU App Tools-App", true, "Incorrect Command Line", "OK", 1, "exit 1: incorrect command line"},
    {"LIBSRC", true, "Set ABC Library Directory", "OK", 1, "exit 1: the path parameter is missing"},
    {"LIBSRC C:\\LIB Run", true, "Stop", "Abort", 0, "exit 0"},
    {"INCLUDE t ", true, "Add Include to Template", "OK", 4, "exit 4: the #INCLUDE line is too long: t"},
    {"INCLUDE none.tpl x.tpl", true, nullptr, nullptr, 4, "exit 4: could not open none.tpl"},
    {"", true, nullptr, nullptr, 5, "exit 5: the Log/Version window was asked for"},
    {"USERMENU App Tools-App ", true, "DOVidovur", "OK", 1, "exit 1: the command line is longer than 254 characters"},
};

std::string TailOf(const BoxRow& row) {
    std::string tail = row.tail;
    if (tail == "INCLUDE t ") tail += kLongInclude;
    if (tail == "USERMENU App Tools-App ") tail += "C:\\" + std::string(240, 'p') + ".exe";
    return tail;
}

class EveryBox : public UnattendedTest, public ::testing::WithParamInterface<BoxRow> {
protected:
    void SetUp() override {
        if (!GetParam().ideInstalled) ide_test::WinIniIde::Clear();
    }
};

TEST_P(EveryBox, IsLoggedAndAnsweredWhileNothingIsShown) {
    const BoxRow& row = GetParam();
    for (Way way : {kSwitch, kEnvironment}) {
        SCOPED_TRACE(way == kSwitch ? "switched on by /UNATTENDED" : "switched on by DOVE60_UNATTENDED");
        std::string before = ReadFile(ini());
        QuietRun run = RunQuietly(TailOf(row), way);
        ASSERT_EQ(row.exitCode, run.exitCode) << run.error;
        EXPECT_TRUE(run.windowsSeen.empty()) << "shown: " << run.windowsSeen.front();
        ASSERT_EQ(row.caption ? 2u : (row.tail[0] ? 1u : 2u), run.log.size())
            << ReadFile(log());
        const std::string& first = run.log.front();
        if (row.caption) {
            EXPECT_NE(std::string::npos, first.find(std::string(" \"") + row.caption + "\" \"")) << first;
            EXPECT_TRUE(EndsWith(first, std::string("-> ") + row.answer)) << first;
        }
        EXPECT_TRUE(EndsWith(run.log.back(), row.lastLine)) << run.log.back();
        // Local time, process id, command word.
        EXPECT_EQ('T', first[10]) << first;
        if (std::string(row.tail).rfind("LIBSRC C", 0) != 0) EXPECT_EQ(before, ReadFile(ini()));
    }
    EXPECT_FALSE(ide_test::FileExists(root_.path + "\\Version.kvi"));
    EXPECT_FALSE(ide_test::FileExists(root_.path + "\\DOVE60.ini"));
}

TEST_P(EveryBox, WithoutTheModeIsShownAndTheRunEndsWithZero) {
    const BoxRow& row = GetParam();
    if (!row.tail[0]) GTEST_SKIP() << "the Log/Version window has tests of its own";
    gui::App app = gui::Start(ide_test::ExeRaw(TailOf(row)), root_.path, false);
    ASSERT_TRUE(app.Started()) << app.Error();
    if (row.caption) {
        HWND dlg = app.WaitWindow("#32770", 15000);
        ASSERT_TRUE(dlg) << app.Error();
        gui::Dialog d = gui::Read(dlg);
        EXPECT_EQ(row.caption, d.caption);
        ASSERT_NE(nullptr, d.DefaultButton()) << d.Describe();
        ASSERT_TRUE(gui::Press(dlg, d.DefaultButton()->id));
    }
    EXPECT_EQ(0, app.WaitExit(15000)) << app.Error();
    EXPECT_FALSE(ide_test::FileExists(log()));
}

INSTANTIATE_TEST_SUITE_P(Rows, EveryBox, ::testing::ValuesIn(kBoxes), [](const auto& info) {
    return test::RowName(info.index, {info.param.tail, info.param.ideInstalled ? "" : "noide"});
});

// The stop box's default is Abort: LIBSRC writes the path and then ends
// without starting the IDE, as after a press of Abort.
TEST_F(UnattendedTest, TheStopBoxEndsLibsrcWithoutStartingTheIde) {
    QuietRun run = RunQuietly("LIBSRC C:\\LIB Run");
    ASSERT_EQ(0, run.exitCode) << run.error;
    ASSERT_EQ(2u, run.log.size());
    EXPECT_NE(std::string::npos, run.log[0].find(" LIBSRC \"Stop\" \"PUTINI PATH: C:\\LIB File: " + ini() +
                                                 "\" [Abort/Ignore] -> Abort"))
        << run.log[0];
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("Libsrc=C:\\LIB\r\n"));
    Sleep(500);
    EXPECT_TRUE(ide_test::StandInLog().empty());
}

// The ini file of the IDE cannot be written (here a folder has its name,
// which no user's rights can write into): the script must hear of it.
TEST_F(UnattendedTest, AnIniFileThatCannotBeWrittenEndsWith4) {
    DeleteFileA(ini().c_str());
    ASSERT_TRUE(CreateDirectoryA(ini().c_str(), nullptr));
    QuietRun menu = RunQuietly("USERMENU App Tools-App a.exe");
    QuietRun libsrc = RunQuietly("LIBSRC C:\\LIB");
    RemoveDirectoryA(ini().c_str());
    EXPECT_EQ(4, menu.exitCode) << menu.error;
    EXPECT_EQ(4, libsrc.exitCode) << libsrc.error;
    ASSERT_FALSE(libsrc.log.empty());
    EXPECT_TRUE(EndsWith(libsrc.log.back(), "exit 4: the IDE's ini file was not written: " + ini()));
}

// REG that cannot deliver: the IDE refuses the command.
TEST_F(UnattendedTest, ARegistrationTheIdeRefusesEndsWith3) {
    ASSERT_TRUE(WriteFile(root_.path + "\\my.tpl", "template\r\n"));
    EnvVar refuse("TOVARO_STANDIN_OPTIONS", "--nack");
    QuietRun run = RunQuietly("REG my.tpl");
    EXPECT_EQ(3, run.exitCode) << run.error;
    ASSERT_EQ(1u, run.log.size());
    EXPECT_NE(std::string::npos, run.log[0].find(" REG exit 3: the IDE did not take the command"))
        << run.log[0];
    EXPECT_TRUE(run.windowsSeen.empty());
}

// REG that cannot deliver: the IDE's program is not there, so nobody
// answers within the 30 seconds of the connection.
TEST_F(UnattendedTest, AnIdeThatCannotBeStartedEndsWith3) {
    ASSERT_TRUE(WriteFile(root_.path + "\\my.tpl", "template\r\n"));
    ide_test::WinIniIde gone(ide_test::Plain, root_.path + "\\", root_.path + "\\Bin\\gone.exe");
    QuietRun run = RunQuietly("REG my.tpl", kEnvironment, 90000);
    EXPECT_EQ(3, run.exitCode) << run.error;
    ASSERT_EQ(1u, run.log.size());
    EXPECT_TRUE(EndsWith(run.log[0], " REG exit 3: the IDE could not be started or did not answer"))
        << run.log[0];
}

// The switch is the program's: every parameter after it stays in its
// place, also in quotes with blanks and after a tab.
TEST_F(UnattendedTest, TheSwitchLeavesEveryParameterInItsPlace) {
    const std::string tail = "USERMENU \"My App\" Tools-My+App \"C:\\Program Files\\a b.exe\" /x+y";
    ASSERT_EQ(0, ide_test::RunToEnd(ide_test::ExeRaw(tail)));
    const std::string withUser = ReadFile(ini());
    EXPECT_NE(std::string::npos, withUser.find("My App=C:\\Program Files\\a b.exe /x y\r\n")) << withUser;
    for (const char* prefix : {"/UNATTENDED ", "/unattended\t", "/Unattended    "}) {
        ASSERT_TRUE(WriteFile(ini(), "[User Menus]\r\n"));
        ASSERT_EQ(0, ide_test::RunToEnd(ide_test::ExeRaw(prefix + tail))) << prefix;
        EXPECT_EQ(withUser, ReadFile(ini())) << prefix;
    }
}

// A service or a session nobody sees: the window station tells, without
// any switch or variable.
TEST_F(UnattendedTest, AnInvisibleWindowStationKeepsNoBoxWaiting) {
    for (const char* tail : {"USERMENU App Tools-App", "LIBSRC C:\\LIB Run"}) {
        DeleteFileA(log().c_str());
        gui::App probe = gui::Start(
            gui::ProbeCommand("hidden_station_probe", {"30000", ide_test::ExeRaw(tail)}), root_.path);
        ASSERT_EQ(0, probe.WaitExit(40000)) << probe.Error();
        std::string out = probe.Output();
        EXPECT_NE(std::string::npos, out.find("station visible=0\n")) << out;
        const char* expected = tail[0] == 'U' ? "exit 1\n" : "exit 0\n";
        EXPECT_NE(std::string::npos, out.find(expected)) << tail << ": " << out;
        std::vector<std::string> lines = Lines(ReadFile(log()));
        ASSERT_EQ(2u, lines.size()) << tail;
        EXPECT_NE(std::string::npos, lines[0].find(tail[0] == 'U' ? "\"Incorrect Command Line\"" : "\"Stop\""));
    }
}

// Installers at the same moment share one log: every line whole.
TEST_F(UnattendedTest, RunsAtTheSameTimeWriteWholeLines) {
    DeleteFileA(log().c_str());
    std::vector<std::string> commands;
    for (int i = 0; i < 8; ++i)
        commands.push_back(ide_test::ExeRaw("/UNATTENDED USERMENU " + std::string(200, static_cast<char>('a' + i)) +
                                            " Tools-" + std::to_string(i)));
    ASSERT_EQ(std::vector<int>(8, 1), ide_test::RunTogether(commands, 30000));
    std::vector<std::string> lines = Lines(ReadFile(log()));
    ASSERT_EQ(16u, lines.size()) << ReadFile(log());
    std::map<std::string, int> linesOfPid;
    for (const std::string& line : lines) {
        ASSERT_GT(line.size(), 21u) << line;
        EXPECT_EQ('T', line[10]) << line;
        bool box = EndsWith(line, "[OK] -> OK");
        EXPECT_TRUE(box || EndsWith(line, "exit 1: incorrect command line")) << line;
        if (box) {
            char letter = line[line.find("AppRef: ") + 8];
            EXPECT_NE(std::string::npos, line.find("AppRef: " + std::string(200, letter) + " | ")) << line;
        }
        ++linesOfPid[line.substr(20, line.find(' ', 20) - 20)];
    }
    EXPECT_EQ(8u, linesOfPid.size());
    for (const auto& [pid, count] : linesOfPid) EXPECT_EQ(2, count) << "pid " << pid;
}

// A silent install as an installer's author writes it: a script run by the
// system's command interpreter that checks ERRORLEVEL after every step, and
// a build script's way of reading the build.
TEST_F(UnattendedTest, ASilentInstallScriptReadsEveryStepsExitCode) {
    ASSERT_TRUE(WriteFile(root_.path + "\\My Template.tpl", "template\r\n"));
    ASSERT_TRUE(WriteFile(root_.path + "\\Version.kvi",
                          "Version             EQUATE('1.60  0042')  !  12/09/26 18:40 -- \r\n"));
    const std::string script =
        "@echo off\r\n"
        "set DOVE=" + std::string(DOVE_EXE_PATH) + "\r\n"
        "set DOVE60_LOG=%~dp0install.log\r\n"
        "\"%DOVE%\" /UNATTENDED REG \"%~dp0My Template.tpl\"\r\n"
        "if errorlevel 1 goto failed\r\n"
        "echo REG done\r\n"
        "\"%DOVE%\" /UNATTENDED USERMENU MyApp Tools-My+App \"%~dp0my app.exe\"\r\n"
        "if not %ERRORLEVEL%==0 goto failed\r\n"
        "echo USERMENU done\r\n"
        "for /f \"usebackq tokens=1,2\" %%v in (`\"%DOVE%\" /UNATTENDED VERSION /SHOW`) do (set VER=%%v& set BUILD=%%w)\r\n"
        "echo built %VER% %BUILD%\r\n"
        "\"%DOVE%\" /UNATTENDED REG \"%~dp0missing.tpl\"\r\n"
        "echo missing template: %ERRORLEVEL%\r\n"
        "\"%DOVE%\" /UNATTENDED USERMENU MyApp\r\n"
        "echo short command line: %ERRORLEVEL%\r\n"
        "exit /b 0\r\n"
        ":failed\r\n"
        "echo failed with %ERRORLEVEL%\r\n"
        "exit /b 1\r\n";
    ASSERT_TRUE(WriteFile(root_.path + "\\install.cmd", script));
    gui::App cmd = gui::Start("cmd /c " + gui::Quote(root_.path + "\\install.cmd"), root_.path);
    ASSERT_EQ(0, cmd.WaitExit(90000)) << cmd.Error() << cmd.Output();
    EXPECT_EQ("REG done\nUSERMENU done\nbuilt 1.60 0042\nmissing template: 4\nshort command line: 1\n",
              cmd.Output());
    EXPECT_NE(std::string::npos, ReadFile(ini()).find("MyApp=" + root_.path + "\\my app.exe"));
    std::vector<std::string> log = Lines(ReadFile(root_.path + "\\install.log"));
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(EndsWith(log.back(), "USERMENU exit 1: incorrect command line")) << log.back();
}

// DOVE60_LOG as people set it in batch files: in quotes, a folder, a
// mistyped folder, a log someone edited. The line lands where it is meant
// to, or in the temporary folder, and never stops the command.
TEST_F(UnattendedTest, TheLogIsFoundHoweverItIsNamed) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string temporaryLog = std::string(temp) + "DOVE60.log";
    const std::string folderLog = root_.path + "\\DOVE60.log";
    struct Row {
        std::string value, lands;
    } rows[] = {
        {"\"" + log() + "\"", log()},
        {root_.path, folderLog},
        {root_.path + "\\", folderLog},
        {root_.path + "\\no such folder\\run.log", temporaryLog},
        {"NUL", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        for (const std::string& path : {log(), folderLog, temporaryLog}) DeleteFileA(path.c_str());
        EnvVar named("DOVE60_LOG", row.value);
        ASSERT_EQ(1, ide_test::RunToEnd(ide_test::ExeRaw("/UNATTENDED USERMENU App Tools-App")));
        for (const std::string& path : {log(), folderLog, temporaryLog})
            EXPECT_EQ(path == row.lands ? 2u : 0u, Lines(ReadFile(path)).size()) << path;
    }
    // A log whose last line has no line break gets one before the new line.
    ASSERT_TRUE(WriteFile(log(), "step 1 done"));
    ASSERT_EQ(1, ide_test::RunToEnd(ide_test::ExeRaw("/UNATTENDED USERMENU App Tools-App")));
    std::vector<std::string> lines = Lines(ReadFile(log()));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("step 1 done", lines[0]);
    EXPECT_EQ('T', lines[1][10]) << lines[1];
}

}  // namespace
