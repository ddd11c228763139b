// argument_probe ANYTHING...
// Reads selectors from standard input, one a line, and prints ARGUMENT of
// each between square brackets, over this process's real command line. At
// the end of input it prints TOKENS=n and each parameter of the command
// run's tokeniser between square brackets, one a line.
#include <cstdio>
#include <iostream>
#include <string>

#include "app/start/argument.h"
#include "app/start/command_line_win32.h"
#include "app/start/program_globals.h"
#include "app/start/tokenizer.h"
#include "app/start/runtime_start_win32.h"

int main() {
    dove::StartWin32Runtime();
    dove::app::InstallWin32CommandLine();
    std::string line;
    while (std::getline(std::cin, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        std::printf("[%s]\n", dove::app::Argument(line).c_str());
    }
    dove::app::TokeniseCommandLine(dove::app::Argument());
    const dove::app::ProgramGlobals& g = dove::app::Globals();
    std::printf("TOKENS=%d\n", static_cast<int>(g.tokens));
    for (int n = 1; n <= g.tokens; ++n)
        std::printf("[%s]\n", dove::app::GetToken(static_cast<uint8_t>(n)).c_str());
    return 0;
}
