// The program's globals: one instance for the process, shared by the command
// procedures. Text buffers hold at most size-1 characters and a zero.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/profile/profile.h"

namespace dove::app {

// One command-line parameter: 1-based positions of its first and last
// character in TEXT.
struct TokenEntry {
    int16_t left;
    int16_t right;
};

struct ProgramGlobals {
    char programPath[255] = {};
    char commandLine[255] = {};
    char text[255] = {};
    char cmd[20] = {};
    int32_t tokens = 0;
    // The IDE's AutoPick value, put back whole after REG: a value cut to a
    // short field would be written back as another setting.
    char savAutoPic[1024] = {};
    char root[255] = {};
    char exeName[255] = {};
    // Room for the longest file name the profile functions take: a root
    // folder near its own limit plus "Bin\T60ee.ini" must never be cut into
    // the name of another file.
    char iniFile[kIniFileLimit + 1] = {};
    std::unique_ptr<std::deque<TokenEntry>> tokenQ;
};

ProgramGlobals& Globals();

// Parameter n of the command run (1 is the command word); empty when n is
// past TOKENS or the queue does not hold entry n.
std::string GetToken(uint8_t n);

}  // namespace dove::app
