// The runtime error box on Windows: the system message box, a non-continuable
// exception for Yes, ExitProcess for the orderly end.
#include <windows.h>

#include <cstdio>

#include "runtime/errors/fault.h"

namespace dove::fault {
namespace {

// An application exception code (customer bit set); a process that dies of
// it reports this code as its exit code.
constexpr DWORD kStopException = 0xE0D0FA11;

bool AskWithMessageBox(const std::string& text) {
    UINT style = MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2 | MB_TASKMODAL | MB_SETFOREGROUND;
    return MessageBoxA(nullptr, text.c_str(), kCaption, style) == IDYES;
}

// Unhandled, the exception reaches the system's fault reporting or an
// attached debugger. Should some handler swallow it, the process still ends
// without running any shut-down.
void RaiseStop() {
    std::fflush(nullptr);
    RaiseException(kStopException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    TerminateProcess(GetCurrentProcess(), kStopException);
}

void ExitWithCode(int code) {
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace

void InstallWin32Platform() { SetPlatform(Platform{&AskWithMessageBox, &RaiseStop, &ExitWithCode}); }

}  // namespace dove::fault
