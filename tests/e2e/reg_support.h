// What the REG tests share: a folder with the IDE's ini file and a template,
// the stand-in's DDE log, and the options the stand-in takes from the
// environment (inherited through DOVE60.exe by a stand-in that it starts).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace reg_test {

// One line of the stand-in's DDE log: "<ms> TAB what [TAB text]".
struct DdeLine {
    DWORD ms = 0;
    std::string what;
    std::string text;
};

inline std::string DdeLogPath() {
    std::string exe = ide_test::StandInPath();
    return exe.substr(0, exe.find_last_of('\\') + 1) + "StandInIde.dde.log";
}

inline std::vector<DdeLine> DdeLog() {
    std::vector<DdeLine> lines;
    std::string bytes = ide_test::ReadFile(DdeLogPath());
    if (bytes == "<missing>") return lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = bytes.substr(start, end - start);
        size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        DdeLine l;
        l.ms = static_cast<DWORD>(std::stoul(line.substr(0, tab1)));
        l.what = line.substr(tab1 + 1, tab2 == std::string::npos ? std::string::npos : tab2 - tab1 - 1);
        if (tab2 != std::string::npos) l.text = line.substr(tab2 + 1);
        lines.push_back(l);
    }
    return lines;
}

inline std::vector<DdeLine> Only(const std::vector<DdeLine>& log, const std::string& what) {
    std::vector<DdeLine> out;
    for (const DdeLine& l : log)
        if (l.what == what) out.push_back(l);
    return out;
}

// Polls until the log has a line of this kind, or timeoutMs passes.
inline std::vector<DdeLine> WaitDdeLog(const std::string& what, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    std::vector<DdeLine> log = DdeLog();
    while (Only(log, what).empty() && GetTickCount() - start < timeoutMs) {
        Sleep(20);
        log = DdeLog();
    }
    return log;
}

inline void ClearDdeLog() { DeleteFileA(DdeLogPath().c_str()); }

// TOVARO_STANDIN_OPTIONS for this process and what it starts, until destroyed.
class StandInOptions {
public:
    explicit StandInOptions(const char* options) {
        SetEnvironmentVariableA("TOVARO_STANDIN_OPTIONS", options);
    }
    ~StandInOptions() { SetEnvironmentVariableA("TOVARO_STANDIN_OPTIONS", nullptr); }
};

// Starts the stand-in with the options of its command line and leaves it
// running (until QuitStandIn).
inline bool LaunchStandIn(const std::string& options = "") {
    std::string line = gui::Quote(ide_test::StandInPath()) + " " + options;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// Starts the stand-in and waits until its service answers.
inline bool StartServingStandIn(const std::string& options = "") {
    ClearDdeLog();
    return LaunchStandIn(options) && !Only(WaitDdeLog("serving", 10000), "serving").empty();
}

}  // namespace reg_test
