// The bare program of bench/version: what DOVE60 VERSION does to a version
// file in Win32 calls and nothing else. Opens the file for reading and
// writing while others may read, reads it line by line in 64 KB pieces,
// writes "!Version" over the label of the last line that begins with
// "Version", appends one line at the end, and closes it. Like DOVE60.exe it
// has user32 loaded, which under Wine costs about as much as the file work;
// with --no-user32 it does without, for comparison.
//   version_bare.exe FILE [--no-user32]
#include <windows.h>

#include <cstring>

namespace {

constexpr char kNewLine[] =
    "Version             EQUATE('1.60  0050')  ! 12/09/26 1200 -- bare\r\n";

// The offset of the last line that begins with "Version", or -1.
long long LastActiveLine(HANDLE h) {
    static char buf[65536];
    long long lineStart = 0, offset = 0, active = -1;
    DWORD got = 0;
    bool atStart = true;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            if (atStart && got - i >= 7 && std::memcmp(buf + i, "Version", 7) == 0) {
                active = lineStart;
            }
            atStart = buf[i] == '\n';
            if (atStart) lineStart = offset + i + 1;
        }
        offset += got;
    }
    return active;
}

bool WriteAt(HANDLE h, long long offset, DWORD method, const char* bytes, DWORD count) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    DWORD written = 0;
    return SetFilePointerEx(h, to, nullptr, method) &&
           WriteFile(h, bytes, count, &written, nullptr) && written == count;
}

// Loaded by name, so that --no-user32 really runs without it; a call that
// asks nothing of the display, so that it is initialised as DOVE60.exe has
// it, no more.
bool LoadUser32() {
    HMODULE user32 = LoadLibraryA("user32.dll");
    if (!user32) return false;
    using CharUpper = DWORD(WINAPI*)(LPSTR, DWORD);
    auto upper = reinterpret_cast<CharUpper>(GetProcAddress(user32, "CharUpperBuffA"));
    char word[] = "bare";
    return upper && upper(word, 4) == 4;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) return 2;
    if (argc == 2 && !LoadUser32()) return 5;
    HANDLE h = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 3;
    long long last = LastActiveLine(h);
    bool ok = last < 0 || WriteAt(h, last, FILE_BEGIN, "!Version", 8);
    ok = ok && WriteAt(h, 0, FILE_END, kNewLine, sizeof kNewLine - 1);
    CloseHandle(h);
    return ok ? 0 : 4;
}
