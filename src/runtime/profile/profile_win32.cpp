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

bool WriteWinIni(const char* section, const char* entry, const char* value) {
    return WriteProfileStringA(section, entry, value) != 0;
}

bool WritePrivate(const char* section, const char* entry, const char* value, const char* file) {
    return WritePrivateProfileStringA(section, entry, value, file) != 0;
}

}  // namespace

void InstallWin32Platform() {
    SetPlatform(Platform{&ReadWinIni, &ReadPrivate, &WriteWinIni, &WritePrivate});
}

}  // namespace dove::profile
