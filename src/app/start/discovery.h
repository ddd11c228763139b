// Finds the Tovaro IDE before a command runs: its root folder, executable and
// ini file, into ROOT, EXENAME and INIFILE.
//
// Each value comes from the utility's own ini file first, then from the
// IDE's Enterprise WIN.INI section, then from its plain one; the ini file
// defaults to the root folder's "Bin\T60ee.ini". When the root folder or the
// executable is nowhere to be found, the "Entry Not Found" message is shown
// and false returned: no command may run. The same happens when the
// executable or the ini file has a name too long to be held whole. Nothing is
// written.
#pragma once

#include <string>
#include <string_view>

#include "app/start/app_services.h"

namespace dove::app {

extern const char kEntryNotFoundText[];
extern const char kEntryNotFoundCaption[];

bool DiscoverIde(AppServices& services);

// The default ini file below a root folder. The IDE writes its root with a
// trailing backslash; a root typed by hand often lacks it, and gluing the
// file name straight on would name a file beside the root folder that the
// IDE never reads, so the separator is added when missing.
std::string DefaultIniFile(std::string_view root);

}  // namespace dove::app
