#include "app/commands/reg_command.h"

#include <string>

#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "dde/dde_connector.h"
#include "dde/ide_names.h"
#include "files/os/os_file.h"
#include "runtime/message/message_dialog.h"
#include "runtime/profile/profile.h"
#include "runtime/strings/strings.h"

namespace dove::dde {

const char kRegMissingText[] = "Command line must include a template name as the second parameter.";
const char kRegMissingCaption[] = "KV Install Error";
const char kRegNoFileText[] = "Template file does not exist.";
const char kRegNoFileCaption[] = "Register Error";

namespace {

void Warn(app::AppServices& services, const char* text, const char* caption) {
    services.Message(text, caption, SystemIconCode(kIconExclamation), "", 0, 0);
}

// Nothing is shown when the IDE cannot be reached or refuses; the failure is
// noted for a script that runs REG unattended.
void Register(std::string_view templateName, std::string_view exeName) {
    DdeConnector& connector = IdeConnector();
    connector.InitForIde(exeName);
    if (!connector.Connect())
        app::NoteFailure(app::Outcome::kRegUndelivered,
                         "the IDE could not be started or did not answer");
    int32_t code = connector.RegisterTemplate(templateName, 0);
    if (code != 0)
        app::NoteFailure(app::Outcome::kRegUndelivered,
                         "the IDE did not take the command (error " + std::to_string(code) + ")");
    connector.Close();
}

}  // namespace

void RunReg(app::AppServices& services) {
    app::ProgramGlobals& g = app::Globals();
    char name[255];
    str::AssignZ(name, sizeof name, app::GetToken(2));
    if (str::IsBlank(name)) {
        app::NoteFailure(app::Outcome::kUsage, "the template name is missing");
        return Warn(services, kRegMissingText, kRegMissingCaption);
    }
    if (!os::Exists(name)) {
        app::NoteFailure(app::Outcome::kFileFailed, std::string("template not found: ") + name);
        return Warn(services, kRegNoFileText, kRegNoFileCaption);
    }

    str::AssignZ(g.savAutoPic, sizeof g.savAutoPic,
                 GetIni(ide::kEnvironmentSection, ide::kAutoPickEntry, "on", g.iniFile));
    PutIni(ide::kEnvironmentSection, ide::kAutoPickEntry, "off", g.iniFile);
    Register(name, g.exeName);
    PutIni(ide::kEnvironmentSection, ide::kAutoPickEntry, g.savAutoPic, g.iniFile);
}

}  // namespace dove::dde
