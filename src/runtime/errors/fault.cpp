// The runtime error box and the fatal-error hook.
#include "runtime/errors/fault.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "runtime/errors/error_record.h"
#include "runtime/lifecycle.h"

namespace dove {
namespace fault {

const char kCaption[] = "Runtime error";
const char kQuestion[] = "\nDo you want to GPF?";

namespace {

bool AskOnStderr(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", kCaption, text.c_str());
    std::fflush(stderr);
    return false;
}

void Abort() { std::abort(); }

void Exit(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

std::atomic<Hook> g_hook{nullptr};
std::mutex g_platformLock;
Platform g_platform = DefaultPlatform();

// The thread that is inside FatalError, so that a second fatal error while
// the first one shuts down does not show a second box.
std::atomic<bool> g_inFatal{false};
thread_local bool t_inFatal = false;

[[noreturn]] void EndProcess(int code) {
    CurrentPlatform().exitProcess(code);
    std::_Exit(code);
}

[[noreturn]] void StopAbnormally() {
    CurrentPlatform().stopAbnormally();
    std::abort();
}

// A fatal error on another thread while one is being handled waits for that
// one to end the process; a nested one on the same thread (a finaliser that
// fails) finishes the shut-down without a second box.
void EnterOrYield() {
    if (t_inFatal) {
        lifecycle::Shutdown();
        EndProcess(kExitCode);
    }
    if (g_inFatal.exchange(true)) {
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    t_inFatal = true;
}

}  // namespace

Platform DefaultPlatform() { return Platform{&AskOnStderr, &Abort, &Exit}; }

void SetPlatform(const Platform& platform) {
    std::lock_guard<std::mutex> hold(g_platformLock);
    g_platform = platform;
}

Platform CurrentPlatform() {
    std::lock_guard<std::mutex> hold(g_platformLock);
    return g_platform;
}

void SetHook(Hook hook) { g_hook = hook; }

Hook CurrentHook() { return g_hook; }

std::string BuildText(int code, const char* textOrNull) {
    bool hasDetail = textOrNull && *textOrNull;
    std::string text;
    if (code != 0) {
        err::Post(code);
        text = err::Text();
        if (hasDetail) text += " : ";
    }
    if (hasDetail) text += textOrNull;
    if (text.size() > kTextLimit) text.resize(kTextLimit);
    return text;
}

}  // namespace fault

void FatalError(int code, const char* textOrNull) {
    fault::EnterOrYield();
    std::string text = fault::BuildText(code, textOrNull);
    bool wasActive = lifecycle::Active();
    if (fault::Hook hook = fault::CurrentHook()) {
        if (wasActive) hook(code, text.c_str());
    } else if (fault::CurrentPlatform().askStop(text + fault::kQuestion)) {
        fault::StopAbnormally();
    }
    lifecycle::Shutdown();
    fault::EndProcess(fault::kExitCode);
}

void InternalFault(int number, const char* detail) { FatalError(500 + number, detail); }

}  // namespace dove
