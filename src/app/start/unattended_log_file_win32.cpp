#include "app/start/unattended_log_file_win32.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/start/unattended_log.h"

namespace dove::app::unattended {

std::string Environment(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) return {};
    std::string value(size, '\0');
    DWORD n = GetEnvironmentVariableA(name, value.data(), size);
    value.resize(n < size ? n : 0);
    return value;
}

namespace {

// How long a line waits for another installer that is writing its own.
constexpr DWORD kLockWaitMs = 2000;

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

std::string InFolder(std::string folder) {
    if (!EndsWithSeparator(folder)) folder += '\\';
    return folder + kDefaultLogName;
}

std::string TemporaryLog() {
    char temp[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof temp, temp);
    return InFolder(n != 0 && n < sizeof temp ? std::string(temp, n) : std::string("."));
}

// The file a script named, as people write it in a batch file: in quotes,
// or a folder (set DOVE60_LOG=%~dp0) meaning the log in that folder.
std::string NamedLog() {
    std::string named = Environment(kLogVariable);
    if (named.size() >= 2 && named.front() == '"' && named.back() == '"')
        named = named.substr(1, named.size() - 2);
    if (named.empty()) return {};
    DWORD attributes = GetFileAttributesA(named.c_str());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return folder || EndsWithSeparator(named) ? InFolder(named) : named;
}

HANDLE OpenLog(const std::string& name) {
    if (name.empty()) return INVALID_HANDLE_VALUE;
    return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The named log, else the one in the temporary folder: a line is kept
// somewhere rather than lost to a mistyped name.
HANDLE OpenSomeLog() {
    HANDLE file = OpenLog(NamedLog());
    return file != INVALID_HANDLE_VALUE ? file : OpenLog(TemporaryLog());
}

std::string Stamp() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u %lu", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond,
                  static_cast<unsigned long>(GetCurrentProcessId()));
    return text;
}

// Another installer may be writing its line: wait for it a little, but
// never for ever, since a log must not stop the command. Only a disk file
// is locked (NUL, a pipe or a device take the line as it comes).
bool LockEnd(HANDLE file, OVERLAPPED* at) {
    DWORD waited = 0;
    while (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, at)) {
        if (GetLastError() != ERROR_LOCK_VIOLATION || waited >= kLockWaitMs) return false;
        Sleep(5);
        waited += 5;
    }
    return true;
}

// A log that someone edited may end without a line break: the line must
// not be glued to the text before it.
bool EndsInTheMiddleOfALine(HANDLE file) {
    LARGE_INTEGER size = {}, last = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart == 0) return false;
    last.QuadPart = size.QuadPart - 1;
    char byte = '\n';
    DWORD read = 0;
    if (!SetFilePointerEx(file, last, nullptr, FILE_BEGIN) ||
        !ReadFile(file, &byte, 1, &read, nullptr) || read != 1)
        return false;
    return byte != '\n';
}

}  // namespace

// Opened, written and closed for each line, so that lines of runs at the
// same time stay whole and a log moved away between two lines is made anew.
void AppendToLogFile(std::string_view text) {
    std::string line = Stamp() + " " + std::string(text) + "\r\n";
    HANDLE file = OpenSomeLog();
    if (file == INVALID_HANDLE_VALUE) return;
    // Every writer locks the same byte, far beyond any real log's end.
    OVERLAPPED lockAt = {};
    lockAt.Offset = 0xFFFFFFFEu;
    lockAt.OffsetHigh = 0x7FFFFFFFu;
    bool disk = GetFileType(file) == FILE_TYPE_DISK;
    bool locked = disk && LockEnd(file, &lockAt);
    if (locked && EndsInTheMiddleOfALine(file)) line = "\r\n" + line;
    LARGE_INTEGER end = {};
    DWORD written = 0;
    if (!disk || SetFilePointerEx(file, end, nullptr, FILE_END))
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    if (locked) UnlockFileEx(file, 0, 1, 0, &lockAt);
    CloseHandle(file);
}

}  // namespace dove::app::unattended
