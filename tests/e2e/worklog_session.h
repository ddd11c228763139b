// Driving the Log/Version window of DOVE60.exe from outside, as a user
// would: a fresh folder with its settings and version file, the program
// started there without arguments, its controls found by their field
// numbers, and the files read back byte for byte.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/gui_harness.h"

namespace worklog_e2e {

// Field equates of P2$W.
enum Field {
    kEntryGroup = 6, kNext = 7, kNote = 9, kVer = 11, kBuild = 13, kOnOff = 15,
    kAutoIncrement = 16, kFileName = 18, kOk = 19, kCancel = 20, kTab2 = 21, kVersion = 22,
    kBack = 23,
};

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder under the prefix's temporary folder, removed afterwards.
class Folder {
public:
    Folder();
    ~Folder();
    std::string File(const std::string& leaf) const { return path_ + "\\" + leaf; }
    const std::string& Path() const { return path_; }
    // An entry of a settings file in this folder ("" when missing).
    std::string Ini(const char* file, const char* section, const char* entry) const;
    void SetIni(const char* file, const char* section, const char* entry, const char* value) const;

private:
    std::string path_;
};

// A version-file line as the utility writes it.
std::string Entry(const std::string& label, const std::string& version, const std::string& build,
                  const std::string& added, const std::string& note);
// File bytes made readable in a failure message: line ends and
// end-of-data marks named.
std::string Describe(const std::string& bytes);
// VER:ADDED for the local time now: " ! 12/08/26 2315 -- ".
std::string AddedNow();

// The running utility and its window.
class Utility {
public:
    // Starts DOVE60.exe in the folder and waits for its window.
    ::testing::AssertionResult Start(const Folder& folder);
    HWND Window() const { return win_; }
    HWND Control(int field) const;
    std::string Text(int field) const;
    bool Enabled(int field) const { return IsWindowEnabled(Control(field)) != 0; }
    std::string StatusZone(int zone) const;
    // Clicks a button or check box.
    void Click(int field) const;
    // Gives the control the focus with a click and types the text into it;
    // it is taken when the focus leaves.
    void Type(int field, const char* text) const;
    // The message box the utility shows, or null after the time-out.
    HWND WaitMessage(DWORD timeoutMs = 5000);
    // The control's text once it reads `expected`, or what it reads after
    // the time-out.
    std::string WaitText(int field, const std::string& expected, DWORD timeoutMs = 5000) const;
    int WaitExit(DWORD timeoutMs = 10000) { return app_.WaitExit(timeoutMs); }
    bool Running() const { return app_.Running(); }
    const std::string& Error() const { return app_.Error(); }

private:
    gui::App app_;
    HWND win_ = nullptr;
};

// ---- implementation ----

inline Folder::Folder() {
    static int counter = 0;
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    path_ = std::string(tmp) + "dove_worklog_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(counter++);
    CreateDirectoryA(path_.c_str(), nullptr);
}

inline Folder::~Folder() {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string file = path_ + "\\" + fd.cFileName;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path_.c_str());
}

inline std::string Folder::Ini(const char* file, const char* section, const char* entry) const {
    char value[512] = {};
    GetPrivateProfileStringA(section, entry, "", value, sizeof value, File(file).c_str());
    return value;
}

inline void Folder::SetIni(const char* file, const char* section, const char* entry,
                           const char* value) const {
    WritePrivateProfileStringA(section, entry, value, File(file).c_str());
}

inline std::string Entry(const std::string& label, const std::string& version,
                         const std::string& build, const std::string& added,
                         const std::string& note) {
    std::string line = label;
    line.resize(20, ' ');
    std::string ver = version;
    ver.resize(5, ' ');
    line += "EQUATE('" + ver + " " + build + "') " + added + note;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

// The two entries most files start from: an earlier one and the last one,
// active and commented out.
inline const std::string kOld = Entry("Version", "1.60", "0040", " ! 12/01/26 1000 -- ", "old");
inline const std::string kOldComment = Entry("!Version", "1.60", "0040", " ! 12/01/26 1000 -- ", "old");
inline const std::string kLast = Entry("Version", "1.60", "0041", " ! 12/02/26  900 -- ", "last");
inline const std::string kLastComment = Entry("!Version", "1.60", "0041", " ! 12/02/26  900 -- ", "last");

inline std::string Describe(const std::string& bytes) {
    std::string shown;
    for (char c : bytes) {
        if (c == '\r') shown += "<CR>";
        else if (c == '\n') shown += "<LF>\n";
        else if (c == 26) shown += "<EOF>";
        else shown += c;
    }
    return shown;
}

inline std::string AddedNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[32];
    snprintf(text, sizeof text, " ! %2d/%02d/%02d %2d%02d -- ", t.wMonth, t.wDay, t.wYear % 100,
             t.wHour, t.wMinute);
    return text;
}

inline ::testing::AssertionResult Utility::Start(const Folder& folder) {
    app_ = gui::Start(gui::ExeCommand({}), folder.Path());
    if (!app_.Started()) return ::testing::AssertionFailure() << app_.Error();
    win_ = app_.WaitWindow(nullptr, 10000);
    if (!win_) return ::testing::AssertionFailure() << app_.Error();
    return ::testing::AssertionSuccess();
}

struct FindField {
    int id;
    HWND found;
};

inline BOOL CALLBACK MatchField(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<FindField*>(lp);
    if (GetDlgCtrlID(hwnd) == f->id && !f->found) f->found = hwnd;
    return TRUE;
}

inline HWND Utility::Control(int field) const {
    FindField f{field, nullptr};
    EnumChildWindows(win_, &MatchField, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

inline std::string Utility::Text(int field) const {
    char text[512] = {};
    SendMessageA(Control(field), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

inline std::string Utility::StatusZone(int zone) const {
    HWND sb = FindWindowExA(win_, nullptr, STATUSCLASSNAMEA, nullptr);
    if (!sb) return "(no status bar)";
    // The text goes into a buffer of the utility's own process.
    HANDLE proc = app_.Process();
    void* remote = VirtualAllocEx(proc, nullptr, 512, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return "(no buffer)";
    char text[512] = {};
    SendMessageA(sb, SB_GETTEXTA, zone - 1, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(proc, remote, text, sizeof text - 1, nullptr);
    VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    return text;
}

inline void Utility::Click(int field) const { PostMessageA(Control(field), BM_CLICK, 0, 0); }

inline void Utility::Type(int field, const char* text) const {
    HWND edit = Control(field);
    PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(edit, WM_LBUTTONUP, 0, 0);
    Sleep(100);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
}

inline HWND Utility::WaitMessage(DWORD timeoutMs) { return app_.WaitWindow("#32770", timeoutMs); }

inline std::string Utility::WaitText(int field, const std::string& expected,
                                     DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    std::string text = Text(field);
    while (text != expected && GetTickCount() - start < timeoutMs) {
        Sleep(50);
        text = Text(field);
    }
    return text;
}

}  // namespace worklog_e2e
