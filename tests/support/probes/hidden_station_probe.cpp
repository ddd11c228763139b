// hidden_station_probe: runs a command line on a desktop of a window
// station of its own, which is not visible (as a service's is), and tells
// how the program ended.
//
//   hidden_station_probe TIMEOUT_MS COMMAND_LINE
//
// Prints "station visible=0" (the flags the new station reports), then
// "exit N" when the program ended within TIMEOUT_MS, or "waited" when it
// did not (it is then ended, as a box nobody can see would keep it for
// ever). Exit 3: bad usage or the station could not be made.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Fail(const char* what) {
    std::printf("%s failed: %lu\n", what, GetLastError());
    return 3;
}

bool Visible(HWINSTA station) {
    USEROBJECTFLAGS flags = {};
    DWORD needed = 0;
    GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, &needed);
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 3;
    DWORD timeoutMs = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    std::string stationName = "DoveQuiet" + std::to_string(GetCurrentProcessId());
    HWINSTA station = CreateWindowStationA(stationName.c_str(), 0, WINSTA_ALL_ACCESS, nullptr);
    if (!station) return Fail("CreateWindowStation");
    // A desktop is made in the process's own window station.
    HWINSTA own = GetProcessWindowStation();
    if (!SetProcessWindowStation(station)) return Fail("SetProcessWindowStation");
    HDESK desktop = CreateDesktopA("Quiet", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    SetProcessWindowStation(own);
    if (!desktop) return Fail("CreateDesktop");
    std::printf("station visible=%d\n", Visible(station) ? 1 : 0);

    std::string desktopName = stationName + "\\Quiet";
    std::string commandLine = argv[2];
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.lpDesktop = &desktopName[0];
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return Fail("CreateProcess");
    CloseHandle(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        std::printf("exit %lu\n", code);
    } else {
        TerminateProcess(pi.hProcess, 99);
        std::printf("waited\n");
    }
    std::fflush(stdout);
    CloseHandle(pi.hProcess);
    CloseDesktop(desktop);
    CloseWindowStation(station);
    return 0;
}
