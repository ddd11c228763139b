// Where VERSION /SHOW prints: what a script that started the program reads.
#pragma once

#include <string_view>

namespace dove::app::worklog {

// Writes the text to the standard output that the program was given (a
// pipe, a file), or, when it has none, to the console of the process that
// started it. False when neither takes it (started from a desktop icon).
bool WriteToStandardOutput(std::string_view text);

}  // namespace dove::app::worklog
