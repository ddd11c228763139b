// The utility's main procedure: the Log/Version window without arguments,
// otherwise one installer command chosen by the first argument.
#pragma once

#include "app/start/app_services.h"

namespace dove::app {

void MainProcedure(AppServices& services);

}  // namespace dove::app
