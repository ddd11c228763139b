#include "app/start/runtime_start_win32.h"

#include <windows.h>

#include "dde/dde_channel.h"
#include "runtime/errors/error_record.h"
#include "runtime/pictures/date_time_win32.h"
#include "runtime/lifecycle.h"
#include "runtime/locale/locale_settings_win32.h"
#include "runtime/profile/profile.h"
#include "runtime/profile/profile_lock.h"
#include "runtime/profile/run_program.h"
#include "runtime/profile/stop.h"
#include "runtime/runtime_record.h"
#include "windows/loop/runtime_window_win32.h"

namespace dove {

// Order matters: error texts and the error box first, so that anything that
// fails later can report; the locale settings before any string is compared.
bool StartWin32Runtime() {
    err::InstallWin32Sources();
    datetime::InstallWin32Clock();
    locale::LoadWin32Settings();
    profile::InstallWin32Platform();
    profile::InstallWin32LockPlatform();
    process::InstallWin32Platform();
    stop::InstallWin32Box();
    lifecycle::Start();
    // The main thread's runtime record: windows are prepared only on threads
    // that have one.
    win::ThreadRecord();
    // Only the layout: the rest of the window layer (the common controls)
    // waits for the first window, to keep every command's start short.
    win::SetProcessKeyboardLayout(GetKeyboardLayout(0));
    // "TW_QUERY_PSCREEN" and the closing of a window's DDE channels.
    dde::StartDdeLayer();
    return true;
}

}  // namespace dove
