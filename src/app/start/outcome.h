// How a command run ended, for the exit code of an unattended run.
//
// A command notes the first thing that kept it from doing its work, beside
// the message (if any) that it shows. An interactive run ignores all this
// and ends with 0; an unattended run ends with the code noted first, so a
// script can tell a failed registration from a good one.
//
//   if (!os::Exists(name)) {
//       NoteFailure(Outcome::kFileFailed, "template file not found");
//       return Warn(...);
//   }
#pragma once

#include <string>
#include <string_view>

namespace dove::app {

enum class Outcome : int {
    kDone = 0,             // the command did its work
    kUsage = 1,            // missing parameter, incorrect command line, unknown word
    kIdeNotFound = 2,      // the IDE's settings were not found
    kRegUndelivered = 3,   // REG: IDE not started, no answer, or command refused
    kFileFailed = 4,       // a file could not be read or written
    kWindowAsked = 5,      // the Log/Version window was asked for
};

// Keeps the first failure of the run; later ones are dropped.
void NoteFailure(Outcome outcome, std::string_view why);
Outcome RunOutcome();
// What kept the command from its work, in a few words; empty when done.
const std::string& RunOutcomeReason();
// Back to kDone; for tests that run several commands in one process.
void ResetOutcome();

}  // namespace dove::app
