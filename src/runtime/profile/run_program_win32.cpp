// RUNPROGRAM's process calls: CreateProcessA, WaitForSingleObject and
// GetExitCodeProcess.
#include <windows.h>

#include <vector>

#include "runtime/profile/run_program.h"

namespace dove::process {
namespace {

struct Started {
    HANDLE process;
    HANDLE thread;
};

// No application name, nothing inherited, no creation flags, the caller's
// environment and directory. The show-window value is set but no start-up
// flag selects it, so the started program shows itself as it likes.
bool Start(const std::string& commandLine, void** process, int* osError) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        *osError = static_cast<int>(GetLastError());
        return false;
    }
    *process = new Started{pi.hProcess, pi.hThread};
    return true;
}

uint32_t WaitExit(void* process) {
    Started* s = static_cast<Started*>(process);
    WaitForSingleObject(s->process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(s->process, &code);
    return code;
}

void Close(void* process) {
    Started* s = static_cast<Started*>(process);
    CloseHandle(s->process);
    CloseHandle(s->thread);
    delete s;
}

}  // namespace

void InstallWin32Platform() { SetPlatform(Platform{&Start, &WaitExit, &Close}); }

}  // namespace dove::process
