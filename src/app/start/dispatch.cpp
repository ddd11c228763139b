#include "app/start/dispatch.h"

#include "app/commands/include_command.h"
#include "app/commands/libsrc.h"
#include "app/commands/usermenu.h"
#include "app/commands/reg_command.h"
#include "app/start/outcome.h"
#include "runtime/message/message_dialog.h"
#include "runtime/strings/strings.h"

namespace dove::app {

const char kUtilityCaption[] = "DOVidovur";
const char kVersionWord[] = "VERSION";

const char kHelpText[] =
    "Command Line Parameters are:||"
    "     REG TemplateToRegister|"
    "     USERMENU AppRef Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] |"
    "        + becomes a space and- becomes a \"/\" |"
    "     INCLUDE File FileToInclude|"
    "     LIBSRC Path [Run] (Any third parameter will run TW)";

const char kAboutText[] =
    "The DOVidovur is a \"Command Line\" Tovaro 5 Utility.  From the command line you can:||"
    "    Register a template using DDE|"
    "    Add Menu Items to the Tovaro Environment|"
    "    Add includes files to a template|"
    "    Change the source directory for ABC compliant INClude files.||"
    "Great for use with Wise InstallBuilder Execute Program script. This is what we now uses for "
    "all our installation programs! Also run it from the Window's Run dialog or a DOS prompt,  "
    "or create project specific ABC library directories and use it to start Tovaro using a "
    "selected directory.  ";

std::string CommandLineTooLongText(size_t length) {
    return "The command line holds " + std::to_string(length) +
           " characters; DOVidovur takes 254 at most, and a parameter cut there would be "
           "written as a value that was never given.  Nothing was done.";
}

namespace {

using Command = void (*)(AppServices&);

void RunVersion(AppServices& services) { services.RunVersion(); }

struct DispatchRow {
    const char* word;
    Command run;
};

// Any other word takes the about box.
const DispatchRow kDispatch[] = {
    {"REG", &dde::RunReg},
    {"USERMENU", &RunUserMenu},
    {"LIBSRC", &RunLibSrc},
    {"CMD", &ShowHelpBox},
    {"INCLUDE", &IncludeCommand},
    {kVersionWord, &RunVersion},
};

void ShowUtilityBox(AppServices& services, const char* text) {
    services.Message(text, kUtilityCaption, SystemIconCode(kIconInformation), "1", 0, 0);
}

}  // namespace

void ShowHelpBox(AppServices& services) { ShowUtilityBox(services, kHelpText); }

void ShowAboutBox(AppServices& services) { ShowUtilityBox(services, kAboutText); }

void Dispatch(AppServices& services, std::string_view cmd) {
    for (const DispatchRow& row : kDispatch) {
        if (str::Equal(cmd, row.word)) {
            row.run(services);
            return;
        }
    }
    NoteFailure(Outcome::kUsage, "unknown command word");
    ShowAboutBox(services);
}

}  // namespace dove::app
