// What the Log/Version procedure keeps while its window is open: the
// record of the version file, the window's use variables and the run's own
// state, and the field equates of its window P2$W.
#pragma once

#include <cstdint>
#include <string>

#include "app/worklog/worklog_file.h"
#include "app/worklog/worklog_record.h"

namespace dove::app::worklog {

// Field equates of P2$W, numbered in the order of its definition.
enum Field : int {
    kImage1 = 1, kString1, kSheet1, kTab1, kPathStr, kEntryGroup, kNext, kPrompt3, kVerNote,
    kPrompt1, kVerVer, kPrompt2, kVerBuild, kGroup2, kOnOff, kAutoIncrement, kFilePrompt,
    kFileName, kOkButton, kCancelButton, kTab2, kVersion, kBack,
};

// The utility's own version label, shown on the second page.
constexpr char kVersionLabel[] = "Version: 1.60  0001";
// Hundredths of a second: one timer event a second while updates are off.
constexpr int32_t kUpdatesOffTimer = 100;
// The window closes by itself at the third tick.
constexpr uint8_t kTicksBeforeClose = 2;

struct WorkLogState {
    VersionRecord record;
    uint8_t onOff = 0;
    uint8_t autoIncrement = 0;
    uint8_t initialOn = 0;
    uint8_t initialAuto = 0;
    char savedFileName[kFileNameSize] = {};
    std::string lastEntryPosition;   // blank: the file had no lines
    uint8_t mayClose = 0;
    uint8_t tickCount = 0;
};

// Program-wide, as the rest of the utility sees them.
char* FileNameBuffer();       // FILENAME
int32_t& BuildNumber();       // BuildNumber while the entry is prepared

}  // namespace dove::app::worklog
