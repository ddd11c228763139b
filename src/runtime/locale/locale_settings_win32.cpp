#include "runtime/locale/locale_settings_win32.h"

#include <windows.h>

#include <string>

#include "runtime/locale/locale_settings.h"

namespace dove::locale {
namespace {

constexpr DWORD kMaxPath = 32768;

void ReadIntl(const char* entry, std::string* value) {
    char buffer[256];
    GetProfileStringA("intl", entry, value->c_str(), buffer, sizeof buffer);
    *value = buffer;
}

// The program's own file name; empty when it cannot be had.
std::string ProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (got == 0) return std::string();
        if (got < path.size()) return path.substr(0, got);
        if (path.size() >= kMaxPath) return std::string();
        path.resize(path.size() * 2);
    }
}

void ReadIntlSection(IntlValues* intl) {
    ReadIntl("iTime", &intl->iTime);
    ReadIntl("iTLzero", &intl->iTLzero);
    ReadIntl("sTime", &intl->sTime);
    ReadIntl("s1159", &intl->s1159);
    ReadIntl("s2359", &intl->s2359);
    ReadIntl("sShortDate", &intl->sShortDate);
    ReadIntl("sLongDate", &intl->sLongDate);
}

}  // namespace

// The environment file now, because the case tables shape every command
// word; WIN.INI's intl section when a picture first asks for it.
void LoadWin32Settings() {
    std::string environment;
    const std::string program = ProgramPath();
    if (!program.empty()) ReadEnvironmentFile(EnvironmentFileName(program), &environment);
    LoadDeferringIntl(&ReadIntlSection, environment);
}

}  // namespace dove::locale
