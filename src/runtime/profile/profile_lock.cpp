#include "runtime/profile/profile_lock.h"

#include <atomic>

#include "runtime/strings/strings.h"

namespace dove {
namespace {

constexpr char kLockPrefix[] = "DOVE60.IniFile:";
constexpr size_t kNameLimit = 259;

void* HoldNothing(const char*) { return nullptr; }
void ReleaseNothing(void*) {}

std::atomic<void* (*)(const char*)> g_hold{&HoldNothing};
std::atomic<void (*)(void*)> g_release{&ReleaseNothing};

}  // namespace

std::string ProfileLockName(std::string_view fullPath) {
    std::string path = str::Upper(fullPath);
    for (char& c : path)
        if (c == '\\') c = '/';
    std::string name = kLockPrefix;
    size_t room = kNameLimit - name.size();
    // The end of a long path tells files apart better than its start.
    if (path.size() > room) path.erase(0, path.size() - room);
    return name + path;
}

ProfileFileLock::ProfileFileLock(std::string_view file) {
    std::string name(file);
    held_ = g_hold.load()(name.c_str());
}

ProfileFileLock::~ProfileFileLock() {
    if (held_) g_release.load()(held_);
}

namespace profile {

void SetLockPlatform(const LockPlatform& platform) {
    g_hold = platform.hold ? platform.hold : &HoldNothing;
    g_release = platform.release ? platform.release : &ReleaseNothing;
}

}  // namespace profile
}  // namespace dove
