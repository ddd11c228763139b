// The local clock of a Windows process: GetLocalTime behind TODAY and CLOCK.
// Installed once at start-up.
#pragma once

namespace dove::datetime {

void InstallWin32Clock();

}  // namespace dove::datetime
