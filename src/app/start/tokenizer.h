// The command run's own parameter splitter. It differs from ARGUMENT on
// purpose: only the blank separates, double quotes group, and commas or
// slashes are ordinary characters.
#pragma once

#include <string_view>
#include <vector>

#include "app/start/program_globals.h"

namespace dove::app {

// Splits text (positions are 1-based) into parameter positions.
std::vector<TokenEntry> Tokenise(std::string_view text);

// Fills TEXT, TOKENS and TOKENQ from the argument text of the command line.
void TokeniseCommandLine(std::string_view argumentText);

}  // namespace dove::app
