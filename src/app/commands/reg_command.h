// REG TemplateToRegister: registers a template file with the running IDE
// over its DDE service, starting the IDE once when it does not answer.
//
// The IDE's AutoPick setting is turned off for the conversation and put back
// afterwards (written as "on" when it was missing). A missing parameter or a
// file that does not exist shows a message and changes nothing; whatever
// happens in the conversation is only logged (DADU.LOG), never shown.
#pragma once

#include "app/start/app_services.h"

namespace dove::dde {

extern const char kRegMissingText[];
extern const char kRegMissingCaption[];
extern const char kRegNoFileText[];
extern const char kRegNoFileCaption[];

void RunReg(app::AppServices& services);

}  // namespace dove::dde
