// The real profile functions under GETINI and PUTINI.
#include <windows.h>

#include "runtime/profile/profile.h"

namespace dove::profile {
namespace {

uint32_t ReadWinIni(const char* section, const char* entry, const char* def, char* buf,
                    uint32_t size) {
    return GetProfileStringA(section, entry, def, buf, size);
}

uint32_t ReadPrivate(const char* section, const char* entry, const char* def, char* buf,
                     uint32_t size, const char* file) {
    return GetPrivateProfileStringA(section, entry, def, buf, size, file);
}

void WriteWinIni(const char* section, const char* entry, const char* value) {
    WriteProfileStringA(section, entry, value);
}

void WritePrivate(const char* section, const char* entry, const char* value, const char* file) {
    WritePrivateProfileStringA(section, entry, value, file);
}

}  // namespace

void InstallWin32Platform() {
    SetPlatform(Platform{&ReadWinIni, &ReadPrivate, &WriteWinIni, &WritePrivate});
}

}  // namespace dove::profile
