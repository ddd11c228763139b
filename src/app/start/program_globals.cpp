#include "app/start/program_globals.h"

#include <cstring>

namespace dove::app {

ProgramGlobals& Globals() {
    static ProgramGlobals globals;
    return globals;
}

std::string GetToken(uint8_t n) {
    const ProgramGlobals& g = Globals();
    if (n == 0 || n > g.tokens || !g.tokenQ || n > g.tokenQ->size()) return {};
    const TokenEntry& e = (*g.tokenQ)[n - 1];
    size_t textLen = std::strlen(g.text);
    if (e.left < 1 || e.right < e.left || static_cast<size_t>(e.right) > textLen) return {};
    return std::string(g.text + e.left - 1, static_cast<size_t>(e.right - e.left + 1));
}

}  // namespace dove::app
