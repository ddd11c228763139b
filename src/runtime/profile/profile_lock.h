// A lock around a read-then-write of one ini file, across processes.
//
// The profile functions lock a file only inside one process: two programs
// that read a file and then write it can both decide on the same change, and
// one of the two writes is lost. Holding this lock around the whole read and
// write makes such updates one at a time on the machine. The lock is a named
// mutex whose name comes from the file's full path, upper-cased, so every
// spelling of one file meets the same lock. Waiting has no limit; a lock left
// behind by a process that died counts as taken over, so one crash never
// blocks the next.
//
//   {
//       dove::ProfileFileLock hold(iniFile);
//       ... GetIni ... PutIni ...
//   }
#pragma once

#include <string>
#include <string_view>

namespace dove {

class ProfileFileLock {
public:
    explicit ProfileFileLock(std::string_view file);
    ~ProfileFileLock();
    ProfileFileLock(const ProfileFileLock&) = delete;
    ProfileFileLock& operator=(const ProfileFileLock&) = delete;

private:
    void* held_ = nullptr;
};

// The lock's name for a full path: a fixed prefix and the path upper-cased,
// with each backslash (which a lock name cannot hold) as a slash, which a
// full path no longer contains. Names are cut to the platform's 259.
std::string ProfileLockName(std::string_view fullPath);

namespace profile {

struct LockPlatform {
    void* (*hold)(const char* file);   // null when no lock could be made
    void (*release)(void* held);
};
// Native default: no other process to meet, nothing held.
void SetLockPlatform(const LockPlatform& platform);
void InstallWin32LockPlatform();   // defined only in the Windows shell library

}  // namespace profile
}  // namespace dove
