#include "app/worklog/worklog_settings.h"

#include <string>

#include <climits>

#include "app/worklog/worklog_file.h"
#include "app/worklog/worklog_record.h"
#include "runtime/pictures/decimal.h"
#include "runtime/profile/profile.h"
#include "runtime/strings/strings.h"

namespace dove::app::worklog {
namespace {

// The check boxes are 8-bit: a number read from the file is cut to a byte.
uint8_t FlagOf(std::string_view text) {
    double v = DecimalToDouble(str::ToNumber(text));
    return static_cast<uint8_t>(ClampedInteger(v, INT64_MIN, INT64_MAX) & 0xFF);
}

const char* OneOrZero(uint8_t flag) { return flag ? "1" : "0"; }

}  // namespace

Settings LookAtSettings(char* fileName) {
    Settings s;
    s.onOff = FlagOf(GetIni("Status", "On", "1", kSettingsFile));
    s.autoIncrement = FlagOf(GetIni("Status", "Auto Increment", "1", kSettingsFile));
    std::string name = GetIni("FileName", "Name", "", kSettingsFile);
    s.nameWasCut = str::Clip(name).size() >= kFileNameSize;
    str::AssignZ(fileName, kFileNameSize, name);
    s.nameWasBlank = str::IsBlank(fileName);
    if (s.nameWasBlank) str::AssignZ(fileName, kFileNameSize, kDefaultFileName);
    return s;
}

Settings ReadSettings(char* fileName) {
    Settings s = LookAtSettings(fileName);
    if (s.nameWasBlank) SaveFileName(fileName);
    return s;
}

void SaveFileName(std::string_view fileName) {
    PutIni("FileName", "Name", fileName, kSettingsFile);
}

void WriteSettingsOnOk(uint8_t onOff, uint8_t autoIncrement) {
    PutIni("Status", "On", OneOrZero(onOff), kStatusFile);
    PutIni("Status", "Auto Increment", OneOrZero(autoIncrement), kSettingsFile);
}

}  // namespace dove::app::worklog
