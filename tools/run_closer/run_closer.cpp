// RunCloser.exe: ends what a program shows when nobody can see the display.
//
//   RunCloser.exe IMAGE      (for example DOVE60.exe)
//
// Finds the visible top-level windows of every running process whose file
// name is IMAGE, presses each dialog's default button (printing the window's
// caption and the button's text), waits a moment, then sends WM_CLOSE to
// whatever window of those processes is still there. Exits 0; 2 on bad usage.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<DWORD> ProcessesNamed(const char* image) {
    std::set<DWORD> pids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        if (lstrcmpiA(pe.szExeFile, image) == 0) pids.insert(pe.th32ProcessID);
    CloseHandle(snap);
    return pids;
}

struct Search {
    std::set<DWORD> pids;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    Search* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (s->pids.count(pid) && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> WindowsOf(const char* image) {
    Search s;
    s.pids = ProcessesNamed(image);
    if (!s.pids.empty()) EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::string TextOf(HWND hwnd) {
    char buf[512] = {};
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
}

void PressDefaultButton(HWND dlg) {
    DWORD_PTR reply = 0;
    SendMessageTimeoutA(dlg, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &reply);
    if (HIWORD(reply) != DC_HASDEFID) {
        std::printf("\"%s\": no default button\n", TextOf(dlg).c_str());
        return;
    }
    HWND button = GetDlgItem(dlg, LOWORD(reply));
    std::printf("\"%s\": pressed \"%s\"\n", TextOf(dlg).c_str(),
                button ? TextOf(button).c_str() : "?");
    if (button)
        PostMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(LOWORD(reply), BN_CLICKED), 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: RunCloser IMAGE\n");
        return 2;
    }
    for (HWND hwnd : WindowsOf(argv[1])) PressDefaultButton(hwnd);
    Sleep(1000);
    for (HWND hwnd : WindowsOf(argv[1])) {
        std::printf("\"%s\": sent WM_CLOSE\n", TextOf(hwnd).c_str());
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    std::fflush(stdout);
    return 0;
}
