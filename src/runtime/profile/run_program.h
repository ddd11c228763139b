// Process launch: RUNPROGRAM and RUNRESULT.
//
// RUNPROGRAM takes the command line from the value stack (not clipped) and
// starts it as a new process with the caller's environment and directory.
// With wait it blocks the calling thread until the program ends, between the
// UnlockThreadHook and LockThreadHook calls, and pumps no messages meanwhile.
// Results, kept per thread until the next RUNPROGRAM there:
//   - start failed: RUNRESULT -4, error code = the operating system's number
//     (2 "File Not Found" for a missing program);
//   - waited: RUNRESULT = the exit code; a non-zero exit code also posts the
//     operating system's current error (300 + its number);
//   - not waited: RUNRESULT 0.
//
//   dove::RunProgram(exeName, /*wait*/ false);
//   if (dove::RUNRESULT() == -4) ... dove::err::Code() ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove {

constexpr int32_t kRunStartFailed = -4;

void RUNPROGRAM(bool wait);
int32_t RUNRESULT();

// Typed wrapper: pushes the command line and runs RUNPROGRAM.
void RunProgram(std::string_view commandLine, bool wait);

// The command line that starts the program at `path` and nothing else: a
// path with a blank is put in quotes, or the system would try the shorter
// names first ("C:\Program.exe" for "C:\Program Files\..."). A path that
// is quoted already, or has no blank, comes back as it is.
std::string ProgramAlone(std::string_view path);

namespace process {

// The platform's process calls. start answers false with the system's error
// number in *osError; waitExit blocks without limit and gives the exit code;
// close releases what start made.
struct Platform {
    bool (*start)(const std::string& commandLine, void** process, int* osError);
    uint32_t (*waitExit)(void* process);
    void (*close)(void* process);
};
// Native default: nothing can start (error 2). Windows installs CreateProcessA.
void SetPlatform(const Platform& platform);
Platform DefaultPlatform();
void InstallWin32Platform();   // defined only in the Windows shell library

}  // namespace process
}  // namespace dove
