#include "app/start/main_procedure.h"

#include "app/start/argument.h"
#include "app/start/discovery.h"
#include "app/start/dispatch.h"
#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "app/start/tokenizer.h"
#include "app/start/unattended.h"
#include "app/start/unattended_log.h"
#include "runtime/message/message_dialog.h"
#include "runtime/strings/strings.h"

namespace dove::app {
namespace {

// CMD: the first argument upper-cased, leading blanks removed, 19 at most.
void SetCommandWord(const std::string& first) {
    std::string word = str::Upper(first);
    size_t lead = word.find_first_not_of(' ');
    word = lead == std::string::npos ? std::string() : word.substr(lead);
    str::AssignZ(Globals().cmd, sizeof Globals().cmd, word);
}

// TEXT keeps 254 characters of the argument text. A parameter cut there
// would be written as a value nobody typed (a program path without its
// end, an include of a file that does not exist), so such a command line
// is refused whole.
bool ArgumentTextFits(AppServices& services, const std::string& text) {
    size_t length = str::Clip(text).size();
    if (length < sizeof Globals().text) return true;
    NoteFailure(Outcome::kUsage, "the command line is longer than 254 characters");
    services.Message(CommandLineTooLongText(length), kUtilityCaption,
                     SystemIconCode(kIconExclamation), "", 0, 0);
    return false;
}

// VERSION keeps the current folder's version file and needs no IDE.
bool NeedsIde(std::string_view cmd) { return !str::Equal(cmd, kVersionWord); }

// Returns false when no command may run; the reason has been shown.
bool StartCommandRun(AppServices& services, const std::string& first) {
    ProgramGlobals& g = Globals();
    g.tokenQ = std::make_unique<std::deque<TokenEntry>>();
    SetCommandWord(first);
    str::AssignZ(g.programPath, sizeof g.programPath, services.ShortCurrentDirectory());
    if (NeedsIde(g.cmd) && !DiscoverIde(services)) return false;
    std::string text = Argument();
    if (!ArgumentTextFits(services, text)) return false;
    TokeniseCommandLine(text);
    return true;
}

// The window waits for a user by its nature; unattended, nothing is opened
// and nothing changed.
void RefuseWorkLogWindow() {
    unattended::LogNote("The Log/Version window cannot be used unattended; nothing was changed.");
    NoteFailure(Outcome::kWindowAsked, "the Log/Version window was asked for");
}

void EndCommandRun() {
    ProgramGlobals& g = Globals();
    if (g.tokenQ) g.tokenQ->clear();
    g.tokenQ.reset();
}

}  // namespace

void MainProcedure(AppServices& services) {
    std::string first = Argument("1");
    if (str::IsBlank(first)) {
        if (unattended::On()) RefuseWorkLogWindow();
        else services.RunWorkLog();
        return;
    }
    if (StartCommandRun(services, first)) Dispatch(services, Globals().cmd);
    EndCommandRun();
}

}  // namespace dove::app
