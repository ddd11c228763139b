#include "app/start/main_procedure.h"

#include "app/start/argument.h"
#include "app/start/discovery.h"
#include "app/start/dispatch.h"
#include "app/start/program_globals.h"
#include "app/start/tokenizer.h"
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

// Returns false when no command may run; the reason has been shown.
bool StartCommandRun(AppServices& services, const std::string& first) {
    ProgramGlobals& g = Globals();
    g.tokenQ = std::make_unique<std::deque<TokenEntry>>();
    SetCommandWord(first);
    str::AssignZ(g.programPath, sizeof g.programPath, services.ShortCurrentDirectory());
    if (!DiscoverIde(services)) return false;
    TokeniseCommandLine(Argument());
    return true;
}

void EndCommandRun() {
    ProgramGlobals& g = Globals();
    if (g.tokenQ) g.tokenQ->clear();
    g.tokenQ.reset();
}

// VERSION keeps the current folder's version file and needs no IDE: its
// command run looks for none. False when the command is another.
bool RanVersion(AppServices& services, const std::string& first) {
    SetCommandWord(first);
    if (!str::Equal(Globals().cmd, "VERSION")) return false;
    ProgramGlobals& g = Globals();
    g.tokenQ = std::make_unique<std::deque<TokenEntry>>();
    str::AssignZ(g.programPath, sizeof g.programPath, services.ShortCurrentDirectory());
    TokeniseCommandLine(Argument());
    services.RunVersion();
    EndCommandRun();
    return true;
}

}  // namespace

void MainProcedure(AppServices& services) {
    std::string first = Argument("1");
    if (str::IsBlank(first)) {
        services.RunWorkLog();
        return;
    }
    if (RanVersion(services, first)) return;
    if (StartCommandRun(services, first)) Dispatch(services, Globals().cmd);
    EndCommandRun();
}

}  // namespace dove::app
