// Times the Log/Version utility from its start until its window is ready:
// shown, with the new entry prepared (the build field reads the expected
// number); then Cancel closes it. Against it, a program that loads user32
// and returns at once, timed from start to end. Prints one line per run:
//   <utility ms> <floor ms>
//   worklog_driver DOVE60.exe user32_floor.exe FOLDER BUILD RUNS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "clock.h"

namespace {

PROCESS_INFORMATION Launch(const std::string& exe, const char* cwd) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + exe + "\"";
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi)) {
        std::fprintf(stderr, "cannot start %s: %lu\n", exe.c_str(), GetLastError());
        std::exit(1);
    }
    return pi;
}

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK VisibleOf(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct Field {
    int id;
    HWND found;
};

BOOL CALLBACK FieldOf(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<Field*>(lp);
    if (GetDlgCtrlID(hwnd) == f->id && !f->found) f->found = hwnd;
    return TRUE;
}

HWND Control(HWND win, int id) {
    Field f{id, nullptr};
    EnumChildWindows(win, &FieldOf, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

constexpr int kBuildField = 13;
constexpr int kCancelField = 20;

double TimeUtility(const std::string& exe, const char* folder, const std::string& build) {
    double start = NowMs();
    PROCESS_INFORMATION pi = Launch(exe, folder);
    Search s{pi.dwProcessId, nullptr};
    HWND build_ = nullptr;
    for (;;) {
        if (!s.found) EnumWindows(&VisibleOf, reinterpret_cast<LPARAM>(&s));
        if (s.found && !build_) build_ = Control(s.found, kBuildField);
        if (build_) {
            char text[32] = {};
            SendMessageA(build_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
            if (build == text) break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "the utility ended before its window was ready\n");
            std::exit(1);
        }
    }
    double ready = NowMs() - start;
    PostMessageA(Control(s.found, kCancelField), BM_CLICK, 0, 0);
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ready;
}

double TimeFloor(const std::string& exe) {
    double start = NowMs();
    PROCESS_INFORMATION pi = Launch(exe, nullptr);
    WaitForSingleObject(pi.hProcess, INFINITE);
    double took = NowMs() - start;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return took;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: worklog_driver DOVE60.exe FLOOR.exe FOLDER BUILD RUNS\n");
        return 2;
    }
    int runs = std::atoi(argv[5]);
    TimeUtility(argv[1], argv[3], argv[4]);   // warm the caches once
    TimeFloor(argv[2]);
    for (int i = 0; i < runs; ++i) {
        double utility = TimeUtility(argv[1], argv[3], argv[4]);
        double floor = TimeFloor(argv[2]);
        std::printf("%.0f %.0f\n", utility, floor);
        std::fflush(stdout);
    }
    return 0;
}
