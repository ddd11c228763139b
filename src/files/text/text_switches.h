// The text driver's options: the switches of a driver string (applied at
// every OPEN) and the same options sent at run time with SEND.
//
// The command is read by textopt::ParseCommand (text_driver_options.h).
// An option without a value only answers. The reply is the setting in
// force before the command. Unknown options and values are ignored; nothing
// here fails.
//
//   TextOptions o;
//   std::string reply = ApplySwitch(o, "TAB=-3", 255);   // reply "8", o.tab -3
//   ApplyDriverString(o, "/FILEBUFFERS=8 /CLIP=OFF", 255);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove::files {

struct TextOptions {
    uint32_t bufferSize = 512;
    bool quickScan = false;
    std::string delimiter = std::string("\r\n", 2);
    bool ctrlZIsEof = true;
    bool clip = true;
    int32_t tab = 8;
};

// Sizes above this cannot be had: FILEBUFFERS asks for at most n x 512 with
// n up to 8,388,607, and the window is read whole at every reload.
constexpr uint32_t kBufferSizeCap = 64u * 1024 * 1024;

// Applies one option (the text after its "/", or a SEND command) and
// returns the reply. recordLength: FILEBUFFERS never gives less.
std::string ApplySwitch(TextOptions& options, std::string_view command, uint32_t recordLength);

// Passes the text after each "/" of a driver string to ApplySwitch().
void ApplyDriverString(TextOptions& options, std::string_view driverString,
                       uint32_t recordLength);

}  // namespace dove::files
