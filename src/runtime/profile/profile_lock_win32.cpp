// ProfileFileLock over a named mutex.
#include <windows.h>

#include <string>

#include "runtime/profile/profile_lock.h"

namespace dove::profile {
namespace {

// The file as the profile functions find it: a bare name lives in the
// Windows directory, anything with a directory part is resolved as a path.
std::string FullProfilePath(const char* file) {
    std::string name(file);
    char buf[MAX_PATH * 2] = {};
    if (name.find_first_of("\\/:") == std::string::npos) {
        UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return name;
        return std::string(buf) + "\\" + name;
    }
    DWORD n = GetFullPathNameA(file, sizeof buf, buf, nullptr);
    return n == 0 || n >= sizeof buf ? name : std::string(buf, n);
}

void* Hold(const char* file) {
    std::string lockName = ProfileLockName(FullProfilePath(file));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, lockName.c_str());
    if (!mutex) return nullptr;
    DWORD waited = WaitForSingleObject(mutex, INFINITE);
    // WAIT_ABANDONED: the last holder died while holding it; the lock is
    // ours all the same.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return nullptr;
    }
    return mutex;
}

void Release(void* held) {
    HANDLE mutex = static_cast<HANDLE>(held);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

}  // namespace

void InstallWin32LockPlatform() { SetLockPlatform(LockPlatform{&Hold, &Release}); }

}  // namespace dove::profile
