// The log of unattended runs: one line for each box that was not shown, one
// for each thing the run wants a script's author to know, and a last one
// with the exit code.
//
//   2026-12-09T18:45:03 4711 REG "Register Error" "Template file does not exist." [OK] -> OK
//   2026-12-09T18:45:03 4711 REG exit 4: template not found: C:\T\my.tpl
//
// The writer puts the local time and the process id in front of each line
// and appends it whole, so two installers at once interleave lines, never
// bytes. A log that cannot be written costs the line and nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dove::app::unattended {

extern const char kLogVariable[];      // "DOVE60_LOG": the log's file name
extern const char kDefaultLogName[];   // "DOVE60.log" in the user's temporary folder

// Appends "<local time> <pid> <text>" and a line end. The Windows shell
// installs the file writer; the native default drops the line.
using LogWriter = void (*)(std::string_view text);
void SetLogWriter(LogWriter writer);   // nullptr: drop lines

// The text on one line: "|" and every line break become " | ", other
// control characters a blank.
std::string OneLine(std::string_view text);

// Lines about the current command (the command word as dispatched, or
// "(none)" without one).
void LogBox(std::string_view caption, std::string_view text,
            const std::vector<std::string>& buttons, std::string_view answer);
void LogNote(std::string_view text);
void LogExit(int code, std::string_view reason);

}  // namespace dove::app::unattended
