// USERMENU AppRef MenuDisplay CommandLine [Parm]: adds a program to the IDE's
// user menu.
//
// The menu entry "MenuDisplay|AppRef" goes into the first blank numbered slot
// of the ini file's "User Menus" section, and "User Applications" maps AppRef
// to the command line and its parameters. An entry that is already in a slot
// before the first blank one (letter case aside, and as the file gives it
// back) leaves the file as it is.
// In MenuDisplay "+" stands for a blank and "-" for the "/" between menu
// levels; in Parm "+" stands for a blank. An AppRef that could not be read
// back as the same entry name is refused with the "Incorrect Command Line"
// message, like a missing parameter.
#pragma once

#include <string>
#include <string_view>

#include "app/start/app_services.h"

namespace dove::app {

extern const char kIncorrectCommandLineCaption[];

void RunUserMenu(AppServices& services);

// "+" to blank and "-" to "/" in a menu text; "+" to blank in parameters.
std::string MenuDisplayText(std::string_view typed);
std::string ParmText(std::string_view typed);

// The "Incorrect Command Line" message, with the values as they were read.
std::string IncorrectCommandLineText(std::string_view appRef, std::string_view menuDisplay,
                                     std::string_view commandLine, std::string_view parm);

}  // namespace dove::app
