#include "app/start/command_line_win32.h"

#include <windows.h>

#include "app/start/argument.h"
#include "app/start/unattended.h"

namespace dove::app {
namespace {

// The unattended switch is the program's, not the command's: no parameter
// moves because of it.
std::string RawCommandLine() {
    const char* raw = GetCommandLineA();
    return unattended::WithoutSwitch(raw ? raw : "");
}

std::string ModuleFileName() {
    char name[260] = {};
    DWORD n = GetModuleFileNameA(nullptr, name, 259);
    return std::string(name, n < 259 ? n : 259);
}

}  // namespace

void InstallWin32CommandLine() { SetCommandLineSource({&RawCommandLine, &ModuleFileName}); }

}  // namespace dove::app
