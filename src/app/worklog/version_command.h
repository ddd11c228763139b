// VERSION: the Log/Version utility without its window, for build scripts.
//
//   DOVE60 VERSION [Note]    adds the entry that OK adds when nothing in the
//                            window is changed, with the note given
//   DOVE60 VERSION /SHOW     prints the active entry's version and build,
//                            "1.60 0042" and CR LF, and changes nothing
//
// Both work on the current folder's settings and version file, need no IDE,
// and report every failure with a message and NoteFailure(kFileFailed).
#pragma once

#include "app/start/app_services.h"

namespace dove::app::worklog {

// Takes its parameter from GetToken(2).
void RunVersionCommand(AppServices& services);

}  // namespace dove::app::worklog
