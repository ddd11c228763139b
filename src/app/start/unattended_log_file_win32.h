// The log file of unattended runs on Windows: which file, and how a line is
// added to it so that runs at the same time never mix their bytes.
#pragma once

#include <string>
#include <string_view>

namespace dove::app::unattended {

// An environment variable's value, however long; empty when it is not set.
std::string Environment(const char* name);

// Appends "<local time> <pid> <text>" and CR LF to the log: DOVE60_LOG (in
// quotes or not; a folder means DOVE60.log in it), else DOVE60.log in the
// temporary folder. A line that cannot be written anywhere is dropped.
void AppendToLogFile(std::string_view text);

}  // namespace dove::app::unattended
