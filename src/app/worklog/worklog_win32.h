// Install$WorkLog: the Log/Version utility, the program's face without
// arguments. Opens the window P2$W over the version file and returns when
// the window has closed.
#pragma once

#include "app/start/app_services.h"

namespace dove::app::worklog {

void InstallWorkLog(AppServices& services);

}  // namespace dove::app::worklog
