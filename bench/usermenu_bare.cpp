// The bare program of bench/usermenu: the platform calls that one command
// run of `USERMENU Bench Tools-Bench bench.exe` makes, and nothing else.
// Like the utility it is a Windows program that can show a message box, so
// it loads the same system libraries at start.
//
//   usermenu_bare.exe            (finds the ini file as the utility does)
//
// The calls: the discovery reads (the own ini file's section, then the
// WIN.INI sections for root and executable, then the own ini file's ini file
// entry), the slot reads of "User Menus" up to the first blank one, its
// write, and the write of the application entry.
#include <windows.h>

#include <cstdio>
#include <string>

#include "dde/ide_names.h"

namespace {

std::string Read(const char* section, const char* entry, const char* file) {
    char value[1024] = "";
    if (file)
        GetPrivateProfileStringA(section, entry, value, value, sizeof value, file);
    else
        GetProfileStringA(section, entry, value, value, sizeof value);
    return value;
}

using namespace dove::ide;

std::string Discover(const char* own, const char* winIni) {
    std::string v = Read(kOwnIniSection, own, kOwnIniFile);
    if (v.empty()) v = Read(kWinIniEnterpriseSection, winIni, nullptr);
    if (v.empty()) v = Read(kWinIniSection, winIni, nullptr);
    return v;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string root = Discover(kOwnRootEntry, kWinIniRootEntry);
    std::string exe = Discover(kOwnExeNameEntry, kWinIniExeNameEntry);
    std::string ini = Read(kOwnIniSection, kOwnIniFileEntry, kOwnIniFile);
    if (root.empty() || exe.empty()) {
        MessageBoxA(nullptr, "Required information was not found.", "Entry Not Found", MB_OK);
        return 0;
    }
    if (ini.empty()) ini = root + kDefaultIniFile;
    char slot[8];
    for (int n = 1; n <= kUserMenuSlots; ++n) {
        std::snprintf(slot, sizeof slot, "%d", n);
        std::string value = Read(kUserMenusSection, slot, ini.c_str());
        if (lstrcmpiA(value.c_str(), "Tools/Bench|Bench") == 0) return 0;
        if (value.empty()) {
            WritePrivateProfileStringA(kUserMenusSection, slot, "Tools/Bench|Bench", ini.c_str());
            break;
        }
    }
    WritePrivateProfileStringA(kUserApplicationsSection, "Bench", "bench.exe", ini.c_str());
    return 0;
}
