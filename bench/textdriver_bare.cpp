// The bare programs of bench/textdriver: the Win32 calls that reading a text
// file line by line takes, and nothing else. Prints "<milliseconds> <lines>".
//
//   textdriver_bare.exe FILE big     64 KB ReadFile calls, lines counted
//   textdriver_bare.exe FILE seek    per line: SetFilePointer, 1 KB ReadFile
//   textdriver_bare.exe FILE size    per line: GetFileSize, SetFilePointer,
//                                    512-byte ReadFile
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

long CountInBigReads(HANDLE h) {
    static char buf[65536];
    DWORD got = 0;
    long lines = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) lines += buf[i] == '\n';
    }
    return lines;
}

// One read per line at the line's position; the line ends at its LF.
long CountPerLine(HANDLE h, DWORD window, bool sizeFirst) {
    static char buf[1024];
    DWORD pos = 0;
    long lines = 0;
    for (;;) {
        if (sizeFirst && pos >= GetFileSize(h, nullptr)) break;
        SetFilePointer(h, LONG(pos), nullptr, FILE_BEGIN);
        DWORD got = 0;
        if (!ReadFile(h, buf, window, &got, nullptr) || got == 0) break;
        const void* lf = std::memchr(buf, '\n', got);
        if (!lf) break;
        pos += DWORD(static_cast<const char*>(lf) - buf) + 1;
        ++lines;
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    HANDLE h = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 3;
    LARGE_INTEGER t0, t1, hz;
    QueryPerformanceFrequency(&hz);
    QueryPerformanceCounter(&t0);
    long lines = 0;
    if (std::strcmp(argv[2], "big") == 0) lines = CountInBigReads(h);
    else if (std::strcmp(argv[2], "seek") == 0) lines = CountPerLine(h, 1024, false);
    else lines = CountPerLine(h, 512, true);
    QueryPerformanceCounter(&t1);
    CloseHandle(h);
    std::printf("%.2f %ld\n", double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(hz.QuadPart),
                lines);
    return 0;
}
