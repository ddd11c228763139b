// Fatal runtime errors: the runtime error box.
//
// FatalError(n, t) posts n, builds "<text of n> : <t>" (at most 1000
// characters) and asks the user, under the caption "Runtime error", whether to
// stop abnormally ("\nDo you want to GPF?", Yes/No, No the default). Yes ends
// the process at once, without shut-down, so that the system's fault
// reporting or an attached debugger takes over; No shuts the runtime down and
// ends the process with exit code 2. Neither returns.
//
// A process-wide fatal-error hook replaces the box: it is called with n and
// the text (without the question) while the runtime is active; the runtime is
// then shut down and the process ends with code 2 all the same.
//
//   if (depth == kMaxDepth) dove::InternalFault(1, "value stack overflow");
#pragma once

#include <string>

namespace dove {

[[noreturn]] void FatalError(int code, const char* textOrNull);

// FatalError(500 + number, detail); number 1..15.
[[noreturn]] void InternalFault(int number, const char* detail);

namespace fault {

constexpr size_t kTextLimit = 1000;
constexpr int kExitCode = 2;
extern const char kCaption[];      // "Runtime error"
extern const char kQuestion[];     // "\nDo you want to GPF?"

// Steps 1-2 of the box: posts a non-zero code and returns the text the hook
// receives, cut at kTextLimit characters.
std::string BuildText(int code, const char* textOrNull);

using Hook = void (*)(int code, const char* text);
void SetHook(Hook hook);   // nullptr removes it
Hook CurrentHook();

// The platform under the box. Native defaults: the text goes to stderr and
// the answer is No; Yes aborts; the exit is std::_Exit. Windows installs
// MessageBoxA, a non-continuable exception and ExitProcess.
struct Platform {
    bool (*askStop)(const std::string& textWithQuestion);   // true for Yes
    void (*stopAbnormally)();          // must not return
    void (*exitProcess)(int code);     // must not return
};
void SetPlatform(const Platform& platform);
Platform CurrentPlatform();
Platform DefaultPlatform();

// The Windows platform (defined only in the Windows shell library).
void InstallWin32Platform();

}  // namespace fault
}  // namespace dove
