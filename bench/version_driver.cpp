// Times DOVE60 VERSION and the bare program of bench/version (with user32
// loaded, and without) from their start to their end, interleaved, each on
// a fresh copy of the version file (FOLDER\Version.kvi from
// FOLDER\Version.kvi.orig). Checks that each run appended a line ending in
// the build BUILD, or "bare". Prints one line per run:
//   <DOVE60 ms> <bare ms> <bare without user32 ms>
//   version_driver DOVE60.exe version_bare.exe FOLDER BUILD RUNS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "clock.h"

namespace {

void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

double TimeRun(const std::string& line, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = line;
    double start = NowMs();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi)) {
        Fail("cannot start " + line);
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    double took = NowMs() - start;
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (code != 0) Fail(line + " ended with " + std::to_string(code));
    return took;
}

std::string LastLine(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail("cannot read " + path);
    char tail[256] = {};
    SetFilePointer(h, -static_cast<LONG>(sizeof tail - 1), nullptr, FILE_END);
    DWORD got = 0;
    ReadFile(h, tail, sizeof tail - 1, &got, nullptr);
    CloseHandle(h);
    std::string text(tail, got);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text.substr(text.find_last_of('\n') + 1);
}

double TimeOne(const std::string& line, const std::string& folder, const std::string& mark) {
    std::string file = folder + "\\Version.kvi";
    if (!CopyFileA((file + ".orig").c_str(), file.c_str(), FALSE)) Fail("cannot copy " + file);
    double took = TimeRun(line, folder);
    std::string last = LastLine(file);
    if (last.find(mark) == std::string::npos) Fail("unexpected last line: " + last);
    return took;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) Fail("usage: version_driver DOVE60.exe version_bare.exe FOLDER BUILD RUNS");
    const std::string folder = argv[3];
    const std::string dove = std::string("\"") + argv[1] + "\" VERSION bench";
    const std::string bare = std::string("\"") + argv[2] + "\" \"" + folder + "\\Version.kvi\"";
    const std::string newBuild = std::string(argv[4]) + "')";
    auto oneRound = [&] {
        double d = TimeOne(dove, folder, newBuild);
        double b = TimeOne(bare, folder, "bare");
        return std::make_tuple(d, b, TimeOne(bare + " --no-user32", folder, "bare"));
    };
    oneRound();   // warm the caches once
    for (int i = std::atoi(argv[5]); i > 0; --i) {
        auto [d, b, p] = oneRound();
        std::printf("%.0f %.0f %.0f\n", d, b, p);
        std::fflush(stdout);
    }
    return 0;
}
