#include "runtime/profile/run_program.h"

#include <mutex>

#include "runtime/errors/error_record.h"
#include "runtime/system_props.h"
#include "runtime/strings/value_stack.h"

namespace dove {
namespace process {
namespace {

constexpr int kFileNotFound = 2;

bool StartNothing(const std::string&, void**, int* osError) {
    *osError = kFileNotFound;
    return false;
}
uint32_t ExitNothing(void*) { return 0; }
void CloseNothing(void*) {}

std::mutex g_lock;
Platform g_platform = DefaultPlatform();

Platform Current() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_platform;
}

}  // namespace

Platform DefaultPlatform() { return {&StartNothing, &ExitNothing, &CloseNothing}; }

void SetPlatform(const Platform& platform) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_platform = platform;
}

}  // namespace process

namespace {

thread_local int32_t t_runResult = 0;

int32_t WaitForExit(const process::Platform& p, void* started) {
    CallUnlockThreadHook();
    uint32_t code = p.waitExit(started);
    CallLockThreadHook();
    // The program's failure is reported as whatever the system last said;
    // with nothing said, that is 300 + 0.
    if (code != 0) err::Post(0);
    return static_cast<int32_t>(code);
}

}  // namespace

void RUNPROGRAM(bool wait) {
    err::Clear();
    std::string commandLine = vstack::PopString();
    process::Platform p = process::Current();
    void* started = nullptr;
    int osError = 0;
    if (!p.start(commandLine, &started, &osError)) {
        t_runResult = kRunStartFailed;
        err::Post(osError);
        return;
    }
    t_runResult = wait ? WaitForExit(p, started) : 0;
    p.close(started);
}

int32_t RUNRESULT() { return t_runResult; }

std::string ProgramAlone(std::string_view path) {
    while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
    if (path.empty() || path.front() == '"' || path.find_first_of(" \t") == std::string_view::npos)
        return std::string(path);
    return "\"" + std::string(path) + "\"";
}

void RunProgram(std::string_view commandLine, bool wait) {
    vstack::PushCopy(commandLine.data(), commandLine.size());
    RUNPROGRAM(wait);
}

}  // namespace dove
