// StandInIde.exe: plays the Tovaro IDE for the tests and the demo.
//
//   StandInIde.exe --install ROOTDIR [--enterprise]
//       records itself in WIN.INI as the IDE does (root with a trailing
//       backslash, exename = this program's full path) and creates
//       ROOTDIR\Bin\T60ee.ini when it is missing; exits 0.
//   StandInIde.exe --uninstall [--enterprise]
//       removes that WIN.INI section; exits 0.
//   StandInIde.exe --quit
//       asks a running stand-in to close; exits 0.
//   StandInIde.exe [--nack] [--ack-delay=N] [--serve-after=N] [--crash-on-execute]
//       (or any other command line) appends "pid=N<TAB>cwd=DIR<TAB>cmdline=LINE"
//       to StandInIde.log beside the program, then shows its window and
//       serves the IDE's DDE service (dde_service.h) until WM_CLOSE; the
//       window lists what it received and its ini file's entries
//       (received_view.h). When
//       another one already runs it only logs and exits. The options may also
//       come from the environment variable TOVARO_STANDIN_OPTIONS.
//
// Exit code 2 means bad arguments or a failed install; 3 a crash on purpose.
#include <windows.h>
#include <commctrl.h>
#include <dde.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dde/ide_names.h"
#include "dde_service.h"
#include "received_view.h"

namespace {

const char kWindowClass[] = "TovaroStandInIde";
const char kWindowTitle[] = "Tovaro stand-in IDE";
const char kRunningMutex[] = "TovaroStandInIde.Running";
const char kLogName[] = "StandInIde.log";

std::string ModulePath() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Appends with FILE_APPEND_DATA, so lines of instances started at the same
// moment never overwrite each other.
void AppendLog(const std::string& line) {
    std::string path = FolderOf(ModulePath()) + kLogName;
    HANDLE f = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(f);
}

void LogStart() {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    AppendLog("pid=" + std::to_string(GetCurrentProcessId()) + "\tcwd=" + cwd +
              "\tcmdline=" + GetCommandLineA() + "\r\n");
}

bool MakeFolders(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

bool CreateIniFileIfMissing(const std::string& root) {
    std::string ini = root + dove::ide::kDefaultIniFile;
    if (!MakeFolders(FolderOf(ini).substr(0, FolderOf(ini).size() - 1))) return false;
    HANDLE f = CreateFileA(ini.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    return f != INVALID_HANDLE_VALUE || GetLastError() == ERROR_FILE_EXISTS;
}

std::string FullPath(const std::string& path) {
    char buf[MAX_PATH] = {};
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buf, nullptr);
    return n == 0 || n >= MAX_PATH ? path : std::string(buf, n);
}

const char* Section(bool enterprise) {
    return enterprise ? dove::ide::kWinIniEnterpriseSection : dove::ide::kWinIniSection;
}

int Install(std::string root, bool enterprise) {
    root = FullPath(root);
    if (root.empty()) return 2;
    if (root.back() != '\\') root += '\\';
    if (!CreateIniFileIfMissing(root)) return 2;
    const char* section = Section(enterprise);
    WriteProfileStringA(section, dove::ide::kWinIniRootEntry, root.c_str());
    WriteProfileStringA(section, dove::ide::kWinIniExeNameEntry, ModulePath().c_str());
    return 0;
}

int Uninstall(bool enterprise) {
    WriteProfileStringA(Section(enterprise), nullptr, nullptr);
    return 0;
}

int Quit() {
    HWND running = FindWindowA(kWindowClass, nullptr);
    if (running) PostMessageA(running, WM_CLOSE, 0, 0);
    return 0;
}

// The IDE's main window. The DDE service of the IDE answers here too.
LRESULT CALLBACK StandInWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DDE_INITIATE:
        return standin::OnInitiate(wp, lp);
    case WM_TIMER:
        if (wp == standin::kServiceTimer) standin::OnServiceTimer(hwnd);
        return 0;
    case WM_SIZE:
        standin::ResizeReceivedView(hwnd);
        return 0;
    case WM_SHOWWINDOW:
        if (wp) standin::RefreshIniEntries();
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_KEYDOWN:
        if (standin::IsRefreshKey(wp)) standin::RefreshIniEntries();
        return 0;
    case WM_NOTIFY: {
        // The list has the focus, so F5 reaches us as its key notification.
        const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(lp);
        if (key->hdr.code == LVN_KEYDOWN && standin::IsRefreshKey(key->wVKey))
            standin::RefreshIniEntries();
        return 0;
    }
    case WM_SETFOCUS:
        SetFocus(FindWindowExA(hwnd, nullptr, WC_LISTVIEWA, nullptr));
        return 0;
    case WM_CLOSE:
        standin::EndConversations();
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

int RunWindow(HINSTANCE instance, const standin::ServiceOptions& options) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &StandInWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassA(&wc)) return 2;
    HWND hwnd = CreateWindowA(kWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 300, nullptr, nullptr, instance, nullptr);
    if (!hwnd || !standin::CreateReceivedView(hwnd)) return 2;
    standin::SetExecuteListener(&standin::AddReceivedExecute);
    if (!standin::StartService(instance, hwnd, options)) return 2;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}

// The IDE uses no standard handles. Whoever started it may have handed it
// theirs (a pipe that a test or a build tool reads to its end): keeping them
// open for the whole life of the window would keep that reader waiting.
void ReleaseStandardHandles() {
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE h = GetStdHandle(which);
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
        SetStdHandle(which, nullptr);
    }
}

int RunPlain(HINSTANCE instance, const standin::ServiceOptions& options) {
    ReleaseStandardHandles();
    // The running mark comes before the log line, so that whoever reads the
    // line can rely on the mark.
    HANDLE running = CreateMutexA(nullptr, FALSE, kRunningMutex);
    bool another = !running || GetLastError() == ERROR_ALREADY_EXISTS;
    LogStart();
    if (another) {
        if (running) CloseHandle(running);
        return 0;
    }
    int code = RunWindow(instance, options);
    CloseHandle(running);
    return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::vector<std::string> args(__argv + 1, __argv + __argc);
    bool enterprise = args.size() >= 2 && args.back() == "--enterprise";
    if (!args.empty() && args[0] == "--install")
        return args.size() >= 2 && args[1] != "--enterprise" ? Install(args[1], enterprise) : 2;
    if (!args.empty() && args[0] == "--uninstall") return Uninstall(enterprise);
    if (!args.empty() && args[0] == "--quit") return Quit();
    standin::ServiceOptions options;
    std::vector<std::string> optionWords = standin::EnvironmentOptions();
    optionWords.insert(optionWords.end(), args.begin(), args.end());
    if (!standin::ParseServiceOptions(optionWords, &options)) return 2;
    return RunPlain(instance, options);
}
