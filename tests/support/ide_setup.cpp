#include "support/ide_setup.h"

#include <cstring>

#include "dde/ide_names.h"
#include "support/gui_harness.h"
#include "test_paths.h"

namespace ide_test {
namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

const char* SectionName(Section s) {
    return s == Enterprise ? dove::ide::kWinIniEnterpriseSection : dove::ide::kWinIniSection;
}

}  // namespace

std::string ReadFile(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WindowsDir() {
    char buf[MAX_PATH] = {};
    GetWindowsDirectoryA(buf, MAX_PATH);
    return buf;
}

std::string WinIniPath() { return WindowsDir() + "\\win.ini"; }

TempDir::TempDir(const std::string& name) {
    std::string base = std::string(DOVE_TESTS_DIR) + "\\tmp";
    CreateDirectoryA(base.c_str(), nullptr);
    path = base + "\\" + name;
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(path); }

WinIniIde::WinIniIde(Section section, const char* root, const char* exeName) {
    Clear();
    Add(section, root, exeName);
}

void WinIniIde::Add(Section section, const char* root, const char* exeName) {
    if (root) WriteProfileStringA(SectionName(section), dove::ide::kWinIniRootEntry, root);
    if (exeName) WriteProfileStringA(SectionName(section), dove::ide::kWinIniExeNameEntry, exeName);
}

// A test that was ended from outside may have left the own ini file behind;
// it would override every WIN.INI section that later tests write.
void WinIniIde::Clear() {
    DeleteFileA((WindowsDir() + "\\" + dove::ide::kOwnIniFile).c_str());
    WriteProfileStringA(dove::ide::kWinIniEnterpriseSection, nullptr, nullptr);
    WriteProfileStringA(dove::ide::kWinIniSection, nullptr, nullptr);
}

OwnIniFile::OwnIniFile(const std::string& bytes) {
    std::string path = WindowsDir() + "\\" + dove::ide::kOwnIniFile;
    before_ = ReadFile(path);
    WriteFile(path, bytes);
}

OwnIniFile::~OwnIniFile() {
    std::string path = WindowsDir() + "\\" + dove::ide::kOwnIniFile;
    if (before_ == "<missing>")
        DeleteFileA(path.c_str());
    else
        WriteFile(path, before_);
}

std::string StandInPath() { return DOVE_STANDIN_IDE_PATH; }

std::string StandInLogPath() {
    std::string exe = StandInPath();
    return exe.substr(0, exe.find_last_of('\\') + 1) + "StandInIde.log";
}

std::vector<std::string> StandInLog() {
    std::string bytes = ReadFile(StandInLogPath());
    std::vector<std::string> lines;
    if (bytes == "<missing>") return lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

void ClearStandInLog() { DeleteFileA(StandInLogPath().c_str()); }

std::vector<std::string> WaitStandInLog(size_t n, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    std::vector<std::string> lines = StandInLog();
    while (lines.size() < n && GetTickCount() - start < timeoutMs) {
        Sleep(50);
        lines = StandInLog();
    }
    return lines;
}

bool StandInWindowShown() { return FindWindowA("TovaroStandInIde", nullptr) != nullptr; }

// A stand-in that has started but has no window yet would miss the request:
// its running mark comes before its window, so wait for the window first.
// (It must not outlive the test: under Wine it holds the test's output.)
void QuitStandIn() {
    HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, "TovaroStandInIde.Running");
    if (!running) return;
    CloseHandle(running);
    for (int i = 0; i < 200 && !StandInWindowShown(); ++i) Sleep(25);
    RunToEnd(gui::Quote(StandInPath()) + " --quit");
    for (int i = 0; i < 200 && StandInWindowShown(); ++i) Sleep(25);
}

int RunToEnd(const std::string& commandLine, DWORD timeoutMs) {
    gui::App app = gui::Start(commandLine, {}, false);
    if (!app.Started()) return -2;
    return app.WaitExit(timeoutMs);
}

std::vector<int> RunTogether(const std::vector<std::string>& commandLines, DWORD timeoutMs) {
    std::vector<PROCESS_INFORMATION> started;
    for (const std::string& line : commandLines) {
        std::vector<char> cmd(line.begin(), line.end());
        cmd.push_back(0);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                            nullptr, &si, &pi))
            pi.hProcess = pi.hThread = nullptr;
        started.push_back(pi);
    }
    for (const PROCESS_INFORMATION& pi : started)
        if (pi.hThread) ResumeThread(pi.hThread);
    std::vector<int> codes;
    for (const PROCESS_INFORMATION& pi : started) {
        if (!pi.hProcess) {
            codes.push_back(-2);
            continue;
        }
        DWORD code = 0;
        if (WaitForSingleObject(pi.hProcess, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, 99);
            codes.push_back(-1);
        } else {
            GetExitCodeProcess(pi.hProcess, &code);
            codes.push_back(static_cast<int>(code));
        }
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    return codes;
}

std::string ExeRaw(const std::string& tail) { return gui::Quote(DOVE_EXE_PATH) + " " + tail; }

namespace {

// A double-zero-terminated list of names, as the profile functions give it.
std::vector<std::string> NameList(const std::vector<char>& buf) {
    std::vector<std::string> names;
    for (const char* p = buf.data(); *p; p += std::strlen(p) + 1) names.emplace_back(p);
    return names;
}

std::string UpperCased(std::string s) {
    CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

}  // namespace

IniEntries ReadIniAsTheIdeDoes(const std::string& path) {
    // Drop the cache of this process, so the file as it is now is read.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    std::vector<char> buf(1 << 16);
    IniEntries entries;
    GetPrivateProfileSectionNamesA(buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
    for (const std::string& section : NameList(buf)) {
        std::vector<char> keys(1 << 16);
        GetPrivateProfileStringA(section.c_str(), nullptr, "", keys.data(),
                                 static_cast<DWORD>(keys.size()), path.c_str());
        for (const std::string& key : NameList(keys)) {
            char value[1024];
            GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value,
                                     path.c_str());
            entries[{UpperCased(section), UpperCased(key)}] = value;
        }
    }
    return entries;
}

}  // namespace ide_test
