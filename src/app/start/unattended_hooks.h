// The runtime hooks of an unattended run: MESSAGE, STOP and the runtime
// error box write their text to the log and answer at once, as the button
// that Enter would press answers, instead of waiting for a user.
//
//   if (unattended::On()) unattended::InstallHooks();
//   ... the command runs ...
//   return unattended::FinishRun();   // the exit code
#pragma once

namespace dove::app::unattended {

void InstallHooks();

// Writes the last line of the run and returns its exit code: the outcome
// noted first (outcome.h), 0 when the command did its work.
int FinishRun();

}  // namespace dove::app::unattended
