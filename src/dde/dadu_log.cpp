#include "dde/dadu_log.h"

#include "runtime/profile/profile.h"
#include "runtime/strings/strings.h"

namespace dove::dde {

const char kDaduLogFile[] = ".\\DADU.LOG";

DaduLog::DaduLog() { str::AssignFixed(FILE, sizeof FILE, ""); }

void DaduLog::Write(std::string_view section, std::string_view entry, std::string_view value) {
    std::string_view file(FILE, sizeof FILE);
    if (str::IsBlank(file)) str::AssignFixed(FILE, sizeof FILE, kDaduLogFile);
    PutIni(section, entry, value, str::Clip(file));
}

}  // namespace dove::dde
