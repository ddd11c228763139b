// Where a Windows run learns that nobody is there to answer a box.
#pragma once

namespace dove::app::unattended {

// Turns the unattended mode on when the command line starts with the
// switch, when DOVE60_UNATTENDED asks for it, or when the process's window
// station is not visible (a service, a non-interactive session); it then
// installs the log file writer and the hooks. Call it before the first
// ARGUMENT. True when the mode is on.
bool StartIfAsked();

}  // namespace dove::app::unattended
