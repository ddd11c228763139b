// Setting up the IDE's side for tests that run under Wine: WIN.INI sections,
// the utility's own ini file in the Windows directory, folders with ini
// files, and the stand-in IDE's log. Every guard here restores what it
// changed when it goes, so no test depends on another's leftovers.
//
//   ide_test::TempDir root("usermenu");                  // fresh folder
//   ide_test::WinIniIde ide(ide_test::Plain, root.path + "\\", ide_test::StandInPath());
//   ide_test::WriteFile(root.path + "\\Bin\\T60ee.ini", "[User Menus]\r\n1=a|b\r\n");
//   ... start DOVE60.exe ...
//   EXPECT_EQ(expected, ide_test::ReadFile(root.path + "\\Bin\\T60ee.ini"));
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ide_test {

// Raw bytes of a file; "<missing>" when it cannot be opened.
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::string WindowsDir();
std::string WinIniPath();

// A fresh, empty folder below the tests folder, removed with its content.
class TempDir {
public:
    explicit TempDir(const std::string& name);
    ~TempDir();
    std::string path;   // without a trailing backslash
};

// Both of the IDE's WIN.INI sections and the utility's own ini file are
// removed on entry and on exit; the chosen section is written with the
// entries given (nullptr: not written).
enum Section { Plain, Enterprise };
class WinIniIde {
public:
    WinIniIde() { Clear(); }
    WinIniIde(Section section, const char* root, const char* exeName);
    WinIniIde(Section section, const std::string& root, const std::string& exeName)
        : WinIniIde(section, root.c_str(), exeName.c_str()) {}
    ~WinIniIde() { Clear(); }
    void Add(Section section, const char* root, const char* exeName);
    static void Clear();
};

// The utility's own ini file in the Windows directory: written raw, and put
// back as it was (or removed) afterwards.
class OwnIniFile {
public:
    explicit OwnIniFile(const std::string& bytes);
    ~OwnIniFile();

private:
    std::string before_;
};

std::string StandInPath();
std::string StandInLogPath();
// Lines of the stand-in's log (CR LF removed).
std::vector<std::string> StandInLog();
void ClearStandInLog();
// Polls until the log has at least n lines or timeoutMs passes.
std::vector<std::string> WaitStandInLog(size_t n, DWORD timeoutMs);
// Asks a running stand-in to close (StandInIde.exe --quit) and waits until
// its window is gone.
void QuitStandIn();
bool StandInWindowShown();

// Runs a command line to its end; its exit code, or -1 when it did not end
// within timeoutMs (it is then ended).
int RunToEnd(const std::string& commandLine, DWORD timeoutMs = 15000);

// Starts every command suspended, then lets them all go at once, so that
// their work overlaps; their exit codes in order (-1: did not end in time).
std::vector<int> RunTogether(const std::vector<std::string>& commandLines, DWORD timeoutMs = 15000);

// DOVE60.exe with a raw argument text, as a user would type it.
std::string ExeRaw(const std::string& tail);

// Every entry of an ini file as the profile functions read it back (the way
// the IDE reads it): (section, entry) upper-cased, mapped to the value.
using IniEntries = std::map<std::pair<std::string, std::string>, std::string>;
IniEntries ReadIniAsTheIdeDoes(const std::string& path);

}  // namespace ide_test
