// Where VERSION /SHOW prints: what a script that started the program reads.
#pragma once

#include <string_view>

namespace dove::app::worklog {

enum class Printed {
    kWritten,
    kNowhere,   // no standard output and no console (started from a desktop icon)
    kFailed,    // there was one, and it did not take the text (a full disk)
};

// Writes the text to the standard output that the program was given (a
// pipe, a file), or, when it has none, to the console of the process that
// started it.
Printed WriteToStandardOutput(std::string_view text);

}  // namespace dove::app::worklog
