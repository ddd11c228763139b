#include "app/worklog/version_output.h"

#include <windows.h>

namespace dove::app::worklog {
namespace {

bool Usable(HANDLE out) { return out != nullptr && out != INVALID_HANDLE_VALUE; }

bool WriteAll(HANDLE out, std::string_view text) {
    if (!Usable(out)) return false;
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0) {
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

// A program of the GUI subsystem gets standard handles only when its
// starter hands them over (a pipe of cmd's "for /f", a redirection); from
// a console prompt it has none and borrows the prompt's console instead.
Printed WriteToStandardOutput(std::string_view text) {
    HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
    if (WriteAll(given, text)) return Printed::kWritten;
    bool hadOutput = Usable(given);
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return hadOutput ? Printed::kFailed : Printed::kNowhere;
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    bool written = WriteAll(console, text);
    if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
    FreeConsole();
    return written ? Printed::kWritten : Printed::kFailed;
}

}  // namespace dove::app::worklog
