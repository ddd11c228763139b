// The unattended mode: a run that never waits on a box nobody can see.
//
// Installers run DOVE60 as a service account, from package managers and
// from build servers, where a message box would wait for ever. The mode is
// on when the argument text starts with /UNATTENDED, when the environment
// variable DOVE60_UNATTENDED is set to anything but "" or "0", or when the
// process's window station is not visible. Then every message and stop box
// goes to the log instead (unattended_log.h), answered with the button that
// Enter would press, and the process ends with the run's outcome
// (outcome.h) as its exit code. Everything else happens as in a run with a
// user: the same ini writes, DDE exchanges and file writes.
//
//   DOVE60 /UNATTENDED REG C:\T\my.tpl     is    DOVE60 REG C:\T\my.tpl
//                                              with the boxes logged
#pragma once

#include <string>
#include <string_view>

namespace dove::app::unattended {

extern const char kSwitch[];                // "/UNATTENDED"
extern const char kEnvironmentVariable[];   // "DOVE60_UNATTENDED"

// Whether the first argument of the argument text (the command line after
// the program name), as ARGUMENT splits it, is the switch in any letter
// case: /UNATTENDED, "/unattended" and /UNATTENDED,REG all start with it;
// /UNATTENDEDREG does not.
bool BeginsWithSwitch(std::string_view tail);

// The raw command line with the switch and the separators after it taken
// out of its argument text, so that ARGUMENT and the tokeniser see exactly
// the command that follows it. A line without the switch is returned whole.
std::string WithoutSwitch(std::string_view rawCommandLine);

// The environment variable's value (nullptr: not set) asks for the mode.
bool EnvironmentAsks(const char* valueOrNull);

void SetOn(bool on);
bool On();

}  // namespace dove::app::unattended
