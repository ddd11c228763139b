#include "app/start/unattended_win32.h"

#include <windows.h>

#include <string>

#include "app/start/argument.h"
#include "app/start/unattended.h"
#include "app/start/unattended_hooks.h"
#include "app/start/unattended_log.h"
#include "app/start/unattended_log_file_win32.h"

namespace dove::app::unattended {
namespace {

bool EnvironmentSaysSo() { return EnvironmentAsks(Environment(kEnvironmentVariable).c_str()); }

// A service's window station, or one of a session nobody sees: a box there
// could never be answered.
bool WindowStationVisible() {
    HWINSTA station = GetProcessWindowStation();
    USEROBJECTFLAGS flags = {};
    DWORD needed = 0;
    if (!station || !GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, &needed))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

bool StartIfAsked() {
    const char* raw = GetCommandLineA();
    bool asked = BeginsWithSwitch(CommandTailOf(raw ? raw : "")) || EnvironmentSaysSo() ||
                 !WindowStationVisible();
    if (!asked) return false;
    SetOn(true);
    SetLogWriter(&AppendToLogFile);
    InstallHooks();
    return true;
}

}  // namespace dove::app::unattended
