#include "app/start/discovery.h"

#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "dde/ide_names.h"
#include "runtime/message/message_dialog.h"
#include "runtime/profile/profile.h"
#include "runtime/strings/strings.h"

namespace dove::app {

const char kEntryNotFoundText[] =
    "The DA Duduror Ovud program looks for Tovaro information in the WIN.INI file.  "
    "Required information was not found.";
const char kEntryNotFoundCaption[] = "Entry Not Found";

namespace {

// The own ini file's entry, else the WIN.INI entry of the Enterprise
// section, else that of the plain section; blank when none has it.
std::string LookUp(const char* ownEntry, const char* winIniEntry) {
    std::string value = GetIni(ide::kOwnIniSection, ownEntry, "", ide::kOwnIniFile);
    if (str::IsBlank(value)) value = GetIni(ide::kWinIniEnterpriseSection, winIniEntry, "", "");
    if (str::IsBlank(value)) value = GetIni(ide::kWinIniSection, winIniEntry, "", "");
    return value;
}

bool Fail(AppServices& services) {
    NoteFailure(Outcome::kIdeNotFound, "the IDE's settings were not found");
    services.Message(kEntryNotFoundText, kEntryNotFoundCaption, SystemIconCode(kIconExclamation),
                     "", 0, 0);
    return false;
}

// A name cut to fit its global would name another file (or program), which
// the commands would then write into or start without a word.
bool Fits(std::string_view value, size_t bufferSize) { return str::Clip(value).size() < bufferSize; }

}  // namespace

std::string DefaultIniFile(std::string_view root) {
    std::string path = str::Clip(root);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    return path + ide::kDefaultIniFile;
}

bool DiscoverIde(AppServices& services) {
    ProgramGlobals& g = Globals();
    std::string root = LookUp(ide::kOwnRootEntry, ide::kWinIniRootEntry);
    str::AssignZ(g.root, sizeof g.root, root);
    if (str::IsBlank(g.root)) return Fail(services);
    std::string exeName = LookUp(ide::kOwnExeNameEntry, ide::kWinIniExeNameEntry);
    str::AssignZ(g.exeName, sizeof g.exeName, exeName);
    if (str::IsBlank(g.exeName)) return Fail(services);
    std::string iniFile = GetIni(ide::kOwnIniSection, ide::kOwnIniFileEntry, "", ide::kOwnIniFile);
    // Built from the root as read, not from ROOT, which may have been cut.
    if (str::IsBlank(iniFile)) iniFile = DefaultIniFile(root);
    // A name that does not fit is as good as not found: the commands must
    // not write into, or start, a file of a name that was cut.
    if (!Fits(exeName, sizeof g.exeName) || !Fits(iniFile, sizeof g.iniFile)) return Fail(services);
    str::AssignZ(g.iniFile, sizeof g.iniFile, iniFile);
    return true;
}

}  // namespace dove::app
