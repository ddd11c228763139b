// The Log/Version utility's settings: ".\DOVE60.ini" in the current folder
// (not the one in the Windows folder that the IDE discovery reads) and
// ".\ZERU.ini", which only receives the Enable Updates box on OK.
//
//   Settings s = ReadSettings(fileName);   // writes the default name back when blank
//   ...
//   WriteSettingsOnOk(onOff, autoIncrement);
#pragma once

#include <cstdint>
#include <string_view>

namespace dove::app::worklog {

constexpr char kSettingsFile[] = ".\\DOVE60.ini";
constexpr char kStatusFile[] = ".\\ZERU.ini";
constexpr char kDefaultFileName[] = "Version.kvi";

struct Settings {
    uint8_t onOff = 1;
    uint8_t autoIncrement = 1;
    bool nameWasBlank = false;   // the default name stands in for it
    bool nameWasCut = false;     // longer than the 119 characters FILENAME holds
};

// Reads the settings; the file name goes into fileName (a buffer of
// kFileNameSize bytes), "Version.kvi" when blank, which is then saved.
Settings ReadSettings(char* fileName);
// The same, for a look that changes nothing: the default name is not saved.
Settings LookAtSettings(char* fileName);
// The file name the user changed to.
void SaveFileName(std::string_view fileName);
// What OK writes: the Enable Updates box to ".\ZERU.ini", Auto Increment to
// ".\DOVE60.ini".
void WriteSettingsOnOk(uint8_t onOff, uint8_t autoIncrement);

}  // namespace dove::app::worklog
