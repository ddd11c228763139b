#include "app/discovery.h"

#include "app/program_globals.h"
#include "dde/ide_names.h"
#include "runtime/message_dialog.h"
#include "runtime/profile.h"
#include "runtime/strings.h"

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
    services.Message(kEntryNotFoundText, kEntryNotFoundCaption, SystemIconCode(kIconExclamation),
                     "", 0, 0);
    return false;
}

}  // namespace

std::string DefaultIniFile(std::string_view root) {
    std::string path = str::Clip(root);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    return path + ide::kDefaultIniFile;
}

bool DiscoverIde(AppServices& services) {
    ProgramGlobals& g = Globals();
    str::AssignZ(g.root, sizeof g.root, LookUp(ide::kOwnRootEntry, ide::kWinIniRootEntry));
    if (str::IsBlank(g.root)) return Fail(services);
    str::AssignZ(g.exeName, sizeof g.exeName,
                 LookUp(ide::kOwnExeNameEntry, ide::kWinIniExeNameEntry));
    if (str::IsBlank(g.exeName)) return Fail(services);
    std::string iniFile = GetIni(ide::kOwnIniSection, ide::kOwnIniFileEntry, "", ide::kOwnIniFile);
    if (str::IsBlank(iniFile)) iniFile = DefaultIniFile(g.root);
    str::AssignZ(g.iniFile, sizeof g.iniFile, iniFile);
    return true;
}

}  // namespace dove::app
