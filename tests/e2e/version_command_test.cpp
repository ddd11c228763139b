// DOVE60 VERSION as a build script runs it: in a project folder, without
// the IDE. Each run is held against the window on a copy of the same
// folder: what VERSION leaves is what OK in the window leaves, byte for
// byte, and VERSION /SHOW then prints the entry through a pipe and through
// cmd's "for /f".
#include "e2e/worklog_session.h"

#include <optional>
#include <tuple>

#include "support/ide_setup.h"
#include "test_paths.h"

namespace worklog_e2e {
namespace {

const std::string kCrLf = "\r\n";

// The new entry is the last line that begins with "Version"; its date and
// time (columns 42-61) are the minute it was prepared in.
std::string MaskNewEntryTime(std::string file) {
    size_t at = file.rfind("\nVersion ");
    at = at == std::string::npos ? (file.compare(0, 8, "Version ") == 0 ? 0 : file.size()) : at + 1;
    if (at + 61 <= file.size()) file.replace(at + 41, 20, 20, '#');
    return file;
}

// Reads the message box the program shows, presses its first button and
// gives its text ("(none)" when none came).
std::string PressMessage(gui::App& app) {
    HWND box = app.WaitWindow("#32770", 15000);
    if (!box) return "(none) " + app.Error();
    gui::Dialog d = gui::Read(box);
    std::string text;
    for (const std::string& s : d.staticTexts) text += s + "\n";
    if (!d.buttons.empty()) gui::Press(box, d.buttons[0].id);
    return text;
}

std::vector<std::string> VersionArgs(const char* note) {
    std::vector<std::string> args{"VERSION"};
    if (note) args.push_back(note);
    return args;
}

// Runs VERSION /SHOW in the folder: what it printed, and no message.
std::string ShowOutput(const Folder& f) {
    gui::App app = gui::Start(gui::ExeCommand({"VERSION", "/SHOW"}), f.Path());
    if (app.WaitExit(10000) != 0) return "(exit) " + app.Error();
    return app.Output();
}

struct Row {
    const char* title;
    std::optional<std::string> before;   // nothing: no version file
    const char* autoIncrement;
    const char* on;
    const char* note;                    // nullptr: none given
    const char* build;                   // the window's build when it opens
    const char* shown;                   // what /SHOW prints afterwards
};

std::vector<Row> Rows() {
    const std::string lastOf9999 = Entry("Version", "1.60", "9999", " ! 12/02/26  900 -- ", "");
    return {
        {"CR LF", kOld + kCrLf + kLast + kCrLf, "1", "1", nullptr, "0042", "1.60 0042\n"},
        {"LF only, a note with blanks", kOld + "\n" + kLast + "\n", "1", "1", "fixed the  build",
         "0042", "1.60 0042\n"},
        {"mixed line ends", kOld + kCrLf + kLast + "\n", "1", "1", "x", "0042", "1.60 0042\n"},
        {"trailing empty lines", kOld + kCrLf + kLast + kCrLf + kCrLf + kCrLf, "1", "1", nullptr,
         "0042", "1.60 0042\n"},
        {"two end-of-data marks", kOld + kCrLf + kLast + kCrLf + "\x1A\x1A", "1", "1", nullptr,
         "0042", "1.60 0042\n"},
        {"a mark right after the last entry", kOld + kCrLf + kLast + "\x1A", "1", "1", nullptr,
         "0042", "1.60 0042\n"},
        {"no file", std::nullopt, "1", "1", "first", "0001", "1.00 0001\n"},
        {"build 9999 without auto increment", kOld + kCrLf + lastOf9999 + kCrLf, "0", "1", nullptr,
         "9999", "1.60 9999\n"},
        {"updates off", kOldComment + kCrLf + kLast + kCrLf, "1", "0", nullptr, "0042",
         "1.60 0041\n"},
    };
}

void Prepare(const Folder& f, const Row& row) {
    if (row.before) WriteFileBytes(f.File("Version.kvi"), *row.before);
    f.SetIni("DOVE60.ini", "Status", "Auto Increment", row.autoIncrement);
    f.SetIni("DOVE60.ini", "Status", "On", row.on);
}

void RunWindow(const Folder& f, const Row& row) {
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ(row.build, u.WaitText(kBuild, row.build));
    bool on = std::string(row.on) != "0";
    if (on) {
        if (row.note) u.Type(kNote, row.note);
        u.Click(kOk);
    }
    EXPECT_EQ(0, u.WaitExit(10000)) << u.Error();   // with updates off it closes by itself
}

TEST(VersionCommand, LeavesWhatOkInTheWindowLeaves) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.title);
        Folder byWindow, byCommand;
        Prepare(byWindow, row);
        Prepare(byCommand, row);
        RunWindow(byWindow, row);
        gui::App app = gui::Start(gui::ExeCommand(VersionArgs(row.note)), byCommand.Path());
        if (std::string(row.on) == "0") {
            std::string message = PressMessage(app);
            EXPECT_NE(std::string::npos, message.find("Update is turned off")) << message;
        }
        EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
        EXPECT_EQ("", app.Output());
        std::string window = ReadFileBytes(byWindow.File("Version.kvi"));
        std::string command = ReadFileBytes(byCommand.File("Version.kvi"));
        if (window != command) {   // a minute may have turned between the two
            window = MaskNewEntryTime(window);
            command = MaskNewEntryTime(command);
        }
        EXPECT_EQ(Describe(window), Describe(command));
        for (auto [file, section, entry] : {std::tuple{"DOVE60.ini", "Status", "Auto Increment"},
                                            {"DOVE60.ini", "FileName", "Name"},
                                            {"ZERU.ini", "Status", "On"}}) {
            EXPECT_EQ(byWindow.Ini(file, section, entry), byCommand.Ini(file, section, entry))
                << file << " " << entry;
        }
        std::string before = ReadFileBytes(byCommand.File("Version.kvi"));
        EXPECT_EQ(row.shown, ShowOutput(byCommand));
        EXPECT_EQ(before, ReadFileBytes(byCommand.File("Version.kvi"))) << "/SHOW changed it";
    }
}

// A build script reads the entry with cmd's "for /f", which runs the
// program with its output into a pipe of cmd's own.
TEST(VersionCommand, ShowFeedsCmdsForF) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kOldComment + kCrLf + kLast + kCrLf);
    WriteFileBytes(f.File("show.cmd"),
                   "@echo off\r\nfor /f \"tokens=1,2\" %%v in ('" +
                       gui::ExeCommand({"VERSION", "/SHOW"}) +
                       "') do echo version=%%v build=%%w.\r\n");
    gui::App cmd = gui::Start("cmd.exe /c show.cmd", f.Path());
    EXPECT_EQ(0, cmd.WaitExit(15000)) << cmd.Error();
    EXPECT_EQ("version=1.60 build=0041.\n", cmd.Output());
}

// Auto Increment on a build of 9999: the entry is refused with the box of
// the window's OK, the run still ends with 0 (it is not unattended), and the
// file keeps one active entry, the last one, as Cancel leaves it.
TEST(VersionCommand, ARefusedBuildLeavesTheLastEntryActive) {
    Folder f;
    const std::string last = Entry("Version", "1.60", "9999", " ! 12/02/26  900 -- ", "last");
    WriteFileBytes(f.File("Version.kvi"), kOld + kCrLf + last + kCrLf);
    gui::App app = gui::Start(gui::ExeCommand({"VERSION", "too far"}), f.Path());
    std::string message = PressMessage(app);
    EXPECT_NE(std::string::npos, message.find(" 10000 ")) << message;
    EXPECT_NE(std::string::npos, message.find(" 9999.")) << message;
    EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
    EXPECT_EQ(Describe(kOldComment + kCrLf + last + kCrLf),
              Describe(ReadFileBytes(f.File("Version.kvi"))));
    EXPECT_EQ("", f.Ini("ZERU.ini", "Status", "On")) << "a refused entry writes no settings";
    EXPECT_EQ("1.60 9999\n", ShowOutput(f));
}

// Another program holds the file open for writing: VERSION cannot take it
// and says why, leaving it as it was; /SHOW still reads it.
TEST(VersionCommand, AFileHeldForWritingByAnotherProgram) {
    Folder f;
    std::string path = f.File("Version.kvi");
    WriteFileBytes(path, kOld + kCrLf + kLast + kCrLf);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    gui::App app = gui::Start(gui::ExeCommand({"VERSION"}), f.Path());
    std::string message = PressMessage(app);
    EXPECT_NE(std::string::npos, message.find("Version.kvi")) << message;
    EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
    EXPECT_EQ("1.60 0041\n", ShowOutput(f));
    CloseHandle(held);
    EXPECT_EQ(kOld + kCrLf + kLast + kCrLf, ReadFileBytes(path));
}

// Nothing to show: /SHOW prints nothing, says why in a box and creates
// nothing.
TEST(VersionCommand, ShowWithoutAnActiveEntry) {
    struct Case {
        const char* title;
        std::optional<std::string> file;
        const char* said;
    } cases[] = {
        {"no file", std::nullopt, "File Not Found"},
        {"an empty file", "", "no active entry"},
        {"every entry a comment", kOldComment + kCrLf + kLastComment + kCrLf, "no active entry"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Folder f;
        if (c.file) WriteFileBytes(f.File("Version.kvi"), *c.file);
        gui::App app = gui::Start(gui::ExeCommand({"VERSION", "/show"}), f.Path());
        std::string message = PressMessage(app);
        EXPECT_NE(std::string::npos, message.find(c.said)) << message;
        EXPECT_NE(std::string::npos, message.find("Version.kvi")) << message;
        EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
        EXPECT_EQ("", app.Output());
        EXPECT_EQ(c.file.has_value(), FileExists(f.File("Version.kvi")));
        EXPECT_FALSE(FileExists(f.File("DOVE60.ini"))) << "/SHOW writes no settings";
    }
}


// Unattended, as a build server runs it: what the command line and the
// folder hold decides the exit code, and the file keeps one active entry.
TEST(VersionCommand, UnattendedRunsEndAsABuildScriptNeeds) {
    const std::string kAnyTime = " ! 01/01/26 1200 -- ";   // masked
    struct Case {
        const char* title;
        std::string tail;   // after VERSION
        std::string nameInIni;
        std::string before;
        int exitCode;
        std::string after;  // "": as before
    } cases[] = {
        {"a line break in the note is a blank", "\"one\r\nVersion             EQUATE('9.99  9000')\"", "",
         kOld + kCrLf + kLast + kCrLf, 0,
         kOldComment + kCrLf + kLastComment + kCrLf +
             Entry("Version", "1.60", "0042", kAnyTime, "one  Version             EQUATE('9.99  9000')") + kCrLf},
        {"a note in words without quotes", "nightly build  two", "", kOld + kCrLf + kLast + kCrLf, 0,
         kOldComment + kCrLf + kLastComment + kCrLf + Entry("Version", "1.60", "0042", kAnyTime, "nightly build two") + kCrLf},
        {"a file name longer than FILENAME holds", "x", std::string(150, 'a') + ".kvi",
         kOld + kCrLf + kLast + kCrLf, 4, ""},
        {"/SHOW of a build its columns cannot show", "/SHOW", "",
         kOldComment + kCrLf + Entry("Version", "1.60", "9e20", " ! 12/02/26  900 -- ", "") + kCrLf, 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Folder f;
        WriteFileBytes(f.File("Version.kvi"), c.before);
        if (!c.nameInIni.empty()) f.SetIni("DOVE60.ini", "FileName", "Name", c.nameInIni.c_str());
        SetEnvironmentVariableA("DOVE60_LOG", f.File("run.log").c_str());
        gui::App app = gui::Start(gui::Quote(DOVE_EXE_PATH) + " /UNATTENDED VERSION " + c.tail, f.Path());
        EXPECT_EQ(c.exitCode, app.WaitExit(15000)) << app.Error() << ReadFileBytes(f.File("run.log"));
        SetEnvironmentVariableA("DOVE60_LOG", nullptr);
        std::string after = MaskNewEntryTime(ReadFileBytes(f.File("Version.kvi")));
        EXPECT_EQ(Describe(MaskNewEntryTime(c.after.empty() ? c.before : c.after)), Describe(after));
        if (c.tail == "/SHOW") EXPECT_EQ("", app.Output());
        EXPECT_FALSE(FileExists(f.File(std::string(119, 'a'))));
    }
}

// Build jobs at the same moment in one project: each waits for the other
// instead of failing, and the builds follow each other.
TEST(VersionCommand, RunsAtTheSameMomentEachAddTheirEntry) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kOld + kCrLf + kLast + kCrLf);
    SetEnvironmentVariableA("DOVE60_LOG", f.File("run.log").c_str());
    std::vector<std::string> runs(6, "cmd /c cd /d " + gui::Quote(f.Path()) + " && " +
                                         gui::Quote(DOVE_EXE_PATH) + " /UNATTENDED VERSION");
    EXPECT_EQ(std::vector<int>(6, 0), ide_test::RunTogether(runs, 30000)) << ReadFileBytes(f.File("run.log"));
    SetEnvironmentVariableA("DOVE60_LOG", nullptr);
    EXPECT_EQ("1.60 0047\n", ShowOutput(f));
    std::string file = ReadFileBytes(f.File("Version.kvi"));
    size_t active = 0;
    for (size_t at = 0; (at = file.find("\nVersion ", at)) != std::string::npos; ++at) ++active;
    EXPECT_EQ(1u, active) << Describe(file);
}

}  // namespace
}  // namespace worklog_e2e
