#include "app/start/app_services_win32.h"

#include <windows.h>

#include "app/worklog/version_command.h"
#include "app/worklog/worklog_win32.h"
#include "runtime/message/message_dialog.h"

namespace dove::app {

int32_t Win32AppServices::Message(std::string_view text, std::string_view caption,
                                  std::string_view icon, std::string_view buttons,
                                  int32_t defaultButton, uint32_t style) {
    return dove::Message(text, caption, icon, buttons, defaultButton, style);
}

std::string Win32AppServices::ShortCurrentDirectory() {
    char current[MAX_PATH] = {};
    DWORD n = GetCurrentDirectoryA(MAX_PATH, current);
    if (n == 0 || n >= MAX_PATH) return {};
    char shortForm[MAX_PATH] = {};
    n = GetShortPathNameA(current, shortForm, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string(current) : std::string(shortForm);
}

void Win32AppServices::RunWorkLog() { worklog::InstallWorkLog(*this); }

void Win32AppServices::RunVersion() { worklog::RunVersionCommand(*this); }

}  // namespace dove::app
