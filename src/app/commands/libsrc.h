// LIBSRC Path [Run]: switches the folder from which the IDE takes its ABC
// library sources, and starts the IDE when a third parameter is given.
//
// The path is written upper-cased into the IDE's ini file; the stop box then
// shows what was written, and Abort there ends the program before anything
// is started.
#pragma once

#include <string>
#include <string_view>

#include "app/start/app_services.h"

namespace dove::app {

extern const char kLibSrcMissingText[];
extern const char kLibSrcCaption[];

void RunLibSrc(AppServices& services);

// The stop box's text: the path as typed and the ini file written.
std::string LibSrcStopText(std::string_view typedPath, std::string_view iniFile);

}  // namespace dove::app
