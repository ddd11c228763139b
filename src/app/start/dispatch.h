// Dispatch of a command run on the command word, and the two boxes that the
// utility shows about itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/start/app_services.h"

namespace dove::app {

extern const char kHelpText[];
extern const char kAboutText[];
extern const char kUtilityCaption[];
extern const char kVersionWord[];   // "VERSION": the one command that needs no IDE

void Dispatch(AppServices& services, std::string_view cmd);
void ShowHelpBox(AppServices& services);
void ShowAboutBox(AppServices& services);

// The message for a command line longer than the utility takes.
std::string CommandLineTooLongText(size_t length);

}  // namespace dove::app
