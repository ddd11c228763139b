// os_file_probe: a second process for the file access tests, so that sharing
// and locks are seen between real processes.
//
//   os_file_probe open MODE PATH     opens PATH with the open mode MODE
//                                    (decimal), closes it again
//   os_file_probe lock PATH MS       opens PATH deny-none, locks byte 0,
//                                    creates PATH.locked, holds the lock
//                                    MS milliseconds, unlocks
//   os_file_probe trylock PATH       opens PATH deny-none, tries to lock byte 0
//
// Exit code: the result of the last primitive (0 for success), 100 for bad
// arguments.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "files/os/os_file.h"

namespace os = dove::os;

namespace {

int OpenAndClose(const char* mode, const char* path) {
    os::Handle h;
    const int e = os::Open(path, uint32_t(std::strtoul(mode, nullptr, 10)), &h);
    if (e == 0) os::Close(h);
    return e;
}

int HoldLock(const char* path, const char* ms) {
    os::Handle h;
    if (int e = os::Open(path, os::kAccessReadWrite | os::kDenyNone, &h)) return e;
    os::File file(h);
    if (int e = os::Lock(h, 0, 1)) return e;
    os::Handle marker;
    if (os::Create(std::string(path) + ".locked", os::kCreateNormal, &marker) == 0) os::Close(marker);
    Sleep(DWORD(std::strtoul(ms, nullptr, 10)));
    return os::Unlock(h, 0, 1);
}

int TryLock(const char* path) {
    os::Handle h;
    if (int e = os::Open(path, os::kAccessReadWrite | os::kDenyNone, &h)) return e;
    os::File file(h);
    const int e = os::Lock(h, 0, 1);
    if (e == 0) os::Unlock(h, 0, 1);
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "open") == 0) return OpenAndClose(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "lock") == 0) return HoldLock(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "trylock") == 0) return TryLock(argv[2]);
    return 100;
}
