// The connection log ".\DADU.LOG": an ini-format file in the current folder
// in which the connector notes each stage of reaching the IDE.
//
//   dove::dde::DaduLog log;
//   log.Write("Connect", "App", "TovaroWin");     // [Connect] App=TovaroWin
//
// Entries go through PUTINI, so each argument is clipped of trailing blanks
// and writing an entry again replaces its value. The log is never emptied:
// entries of earlier runs stay until they are written again.
#pragma once

#include <string_view>

namespace dove::dde {

extern const char kDaduLogFile[];  // ".\DADU.LOG"

class DaduLog {
public:
    DaduLog();
    void Write(std::string_view section, std::string_view entry, std::string_view value);

    char FILE[155];  // blank-padded; blank means kDaduLogFile
};

}  // namespace dove::dde
