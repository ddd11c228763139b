#include "app/start/outcome.h"

namespace dove::app {
namespace {

// Commands run on the main thread only, one per process.
Outcome g_outcome = Outcome::kDone;
std::string g_reason;

}  // namespace

void NoteFailure(Outcome outcome, std::string_view why) {
    if (g_outcome != Outcome::kDone || outcome == Outcome::kDone) return;
    g_outcome = outcome;
    g_reason = std::string(why);
}

Outcome RunOutcome() { return g_outcome; }

const std::string& RunOutcomeReason() { return g_reason; }

void ResetOutcome() {
    g_outcome = Outcome::kDone;
    g_reason.clear();
}

}  // namespace dove::app
