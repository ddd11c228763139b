// Times bench/usermenu's two programs from inside Wine, so that starting the
// Wine loader from the shell does not blur the figures: each run gets a
// fresh ini file with the first 99 slots taken, then one program is started
// and waited for. Runs alternate between the two programs.
//
//   usermenu_timer.exe INIFILE RUNS "COMMAND A" "COMMAND B"
//
// Prints one line per run: "a MS" or "b MS" (milliseconds, 3 decimals).
// Exits 1 when a run fails to start, to end or to write slot 100.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dde/ide_names.h"

namespace {

bool FreshIni(const char* path) {
    std::string text = std::string("[") + dove::ide::kUserMenusSection + "]\r\n";
    for (int n = 1; n <= 99; ++n) {
        std::string s = std::to_string(n);
        text += s + "=Menu/Item" + s + "|Ref" + s + "\r\n";
    }
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
    return written == text.size();
}

bool SlotHundredWritten(const char* path) {
    char value[64] = "";
    GetPrivateProfileStringA(dove::ide::kUserMenusSection, "100", "", value, sizeof value, path);
    return value[0] != 0;
}

// Milliseconds from CreateProcess to the end of the process; < 0 on failure.
double TimeOne(const std::string& command) {
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    DWORD waited = WaitForSingleObject(pi.hProcess, 30000);
    QueryPerformanceCounter(&t1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    if (waited != WAIT_OBJECT_0) return -1;
    return 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: usermenu_timer INIFILE RUNS \"COMMAND A\" \"COMMAND B\"\n");
        return 2;
    }
    const char* ini = argv[1];
    int runs = std::atoi(argv[2]);
    for (int r = 0; r < runs; ++r) {
        for (int which = 0; which < 2; ++which) {
            if (!FreshIni(ini)) return 1;
            double ms = TimeOne(argv[3 + which]);
            if (ms < 0 || !SlotHundredWritten(ini)) {
                std::fprintf(stderr, "run of %s failed\n", argv[3 + which]);
                return 1;
            }
            std::printf("%c %.3f\n", which ? 'b' : 'a', ms);
        }
    }
    return 0;
}
