// DOVE60.exe: process start and end.
#include <windows.h>

#include "app/start/app_services_win32.h"
#include "app/start/command_line_win32.h"
#include "app/start/main_procedure.h"
#include "runtime/lifecycle.h"
#include "app/start/runtime_start_win32.h"
#include "app/start/unattended_hooks.h"
#include "app/start/unattended_win32.h"
#include "windows/definitions/module_windows_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!dove::StartWin32Runtime()) return 0;
    dove::app::InstallWin32CommandLine();
    bool unattended = dove::app::unattended::StartIfAsked();
    // The Log/Version module's initialiser: its window without controls
    // lives as long as the program.
    dove::win::DeclareModuleWindow("Install$WorkLog", "WORKLOG$NOWINDOW");
    dove::app::Win32AppServices services;
    dove::app::MainProcedure(services);
    // A run with a user always ends with 0; a script is told what happened.
    int exitCode = unattended ? dove::app::unattended::FinishRun() : 0;
    dove::lifecycle::Shutdown();
    return exitCode;
}
