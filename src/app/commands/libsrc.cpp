#include "app/commands/libsrc.h"

#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "dde/ide_names.h"
#include "runtime/message/message_dialog.h"
#include "runtime/profile/profile.h"
#include "runtime/profile/run_program.h"
#include "runtime/profile/stop.h"
#include "runtime/strings/strings.h"

namespace dove::app {

const char kLibSrcMissingText[] = "File parameter missing from command line";
const char kLibSrcCaption[] = "Set ABC Library Directory";

std::string LibSrcStopText(std::string_view typedPath, std::string_view iniFile) {
    std::string text = "PUTINI PATH: ";
    text.append(typedPath).append(" File: ").append(iniFile);
    return text;
}

void RunLibSrc(AppServices& services) {
    ProgramGlobals& g = Globals();
    str::AssignZ(g.commandLine, sizeof g.commandLine, GetToken(2));
    if (str::IsBlank(g.commandLine)) {
        NoteFailure(Outcome::kUsage, "the path parameter is missing");
        services.Message(kLibSrcMissingText, kLibSrcCaption, SystemIconCode(kIconExclamation), "",
                         0, 0);
        return;
    }
    if (!PutIni(ide::kPathsSection, ide::kLibsrcEntry, str::Upper(g.commandLine), g.iniFile))
        NoteFailure(Outcome::kFileFailed,
                    std::string("the IDE's ini file was not written: ") + g.iniFile);
    Stop(LibSrcStopText(g.commandLine, g.iniFile), false);
    if (!str::IsBlank(g.exeName) && !str::IsBlank(GetToken(3))) RunProgram(ProgramAlone(g.exeName), false);
}

}  // namespace dove::app
