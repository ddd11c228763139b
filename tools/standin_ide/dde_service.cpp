#include "dde_service.h"

#include <dde.h>

#include <cstdlib>
#include <deque>
#include <map>

#include "dde/ide_names.h"

namespace standin {
namespace {

const char kConversationClass[] = "TovaroStandInDde";
const char kDdeLogName[] = "StandInIde.dde.log";
const char kOptionsVariable[] = "TOVARO_STANDIN_OPTIONS";
constexpr UINT_PTR kAckTimer = 2;
constexpr WORD kAckPositive = 0x8000;  // fAck

// An execute waiting for its answer, due ackDelayMs after it arrived.
struct DueAnswer {
    HGLOBAL memory = nullptr;
    DWORD due = 0;  // tick count
};

// One client's conversation: the executes whose answer is still due, in
// the order they arrived (so also in the order they fall due).
struct Conversation {
    HWND client = nullptr;
    std::deque<DueAnswer> unanswered;
};

ServiceOptions gOptions;
bool gServing = false;
std::map<HWND, Conversation> gConversations;
ExecuteListener gListener = nullptr;

std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n < MAX_PATH ? n : 0);
    size_t slash = p.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

void AppendDdeLog(const std::string& what) {
    std::string line = std::to_string(GetTickCount()) + "\t" + what + "\r\n";
    HANDLE f = CreateFileA(DdeLogPath().c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(f);
}

bool ReadNumber(const std::string& text, DWORD* out) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    *out = static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
    return true;
}

bool ParseOne(const std::string& arg, ServiceOptions* o) {
    const std::string delay = "--ack-delay=", after = "--serve-after=";
    if (arg == "--nack") return o->negativeAck = true;
    if (arg == "--crash-on-execute") return o->crashOnExecute = true;
    if (arg.compare(0, delay.size(), delay) == 0)
        return ReadNumber(arg.substr(delay.size()), &o->ackDelayMs);
    if (arg.compare(0, after.size(), after) == 0)
        return ReadNumber(arg.substr(after.size()), &o->serveAfterMs);
    return false;
}

std::string AtomName(ATOM atom) {
    char name[256] = {};
    UINT n = atom ? GlobalGetAtomNameA(atom, name, sizeof name) : 0;
    return std::string(name, n);
}

std::string ExecuteText(HGLOBAL memory) {
    const char* text = static_cast<const char*>(GlobalLock(memory));
    if (!text) return "<unreadable>";
    std::string copy(text, strnlen(text, GlobalSize(memory)));
    GlobalUnlock(memory);
    return copy;
}

// The execute memory stays the client's: the acknowledgement hands it back.
void PostAck(HWND conversation, HWND client, HGLOBAL memory) {
    WORD status = gOptions.negativeAck ? 0 : kAckPositive;
    LPARAM lp = PackDDElParam(WM_DDE_ACK, status, reinterpret_cast<UINT_PTR>(memory));
    if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(conversation), lp))
        FreeDDElParam(WM_DDE_ACK, lp);
}

// One timer per conversation, set for the oldest unanswered execute.
void ArmAckTimer(HWND hwnd, const Conversation& conversation) {
    if (conversation.unanswered.empty()) return;
    LONG left = static_cast<LONG>(conversation.unanswered.front().due - GetTickCount());
    SetTimer(hwnd, kAckTimer, left > 0 ? static_cast<UINT>(left) : USER_TIMER_MINIMUM, nullptr);
}

void AnswerDueExecutes(HWND hwnd) {
    KillTimer(hwnd, kAckTimer);
    auto it = gConversations.find(hwnd);
    if (it == gConversations.end()) return;
    std::deque<DueAnswer>& due = it->second.unanswered;
    while (!due.empty() && static_cast<LONG>(due.front().due - GetTickCount()) <= 0) {
        PostAck(hwnd, it->second.client, due.front().memory);
        due.pop_front();
    }
    ArmAckTimer(hwnd, it->second);
}

// What the execute gets, in words for the window.
std::string AnswerText() {
    std::string answer = gOptions.negativeAck ? "refused" : "acknowledged";
    if (gOptions.ackDelayMs) answer += " after " + std::to_string(gOptions.ackDelayMs) + " ms";
    return answer;
}

void OnExecute(HWND hwnd, HWND client, HGLOBAL memory) {
    std::string text = ExecuteText(memory);
    AppendDdeLog("execute\t" + text);
    if (gOptions.crashOnExecute) TerminateProcess(GetCurrentProcess(), 3);
    auto it = gConversations.find(hwnd);
    bool ours = it != gConversations.end() && it->second.client == client;
    if (gListener) gListener(text, ours ? AnswerText() : "none (no conversation)");
    if (!ours) return;
    if (gOptions.ackDelayMs == 0) {
        PostAck(hwnd, client, memory);
        return;
    }
    it->second.unanswered.push_back({memory, GetTickCount() + gOptions.ackDelayMs});
    if (it->second.unanswered.size() == 1) ArmAckTimer(hwnd, it->second);
}

void OnTerminate(HWND hwnd, HWND from) {
    AppendDdeLog("terminate");
    auto it = gConversations.find(hwnd);
    if (it == gConversations.end() || it->second.client != from) return;
    if (IsWindow(from)) PostMessageA(from, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hwnd), 0);
    gConversations.erase(it);
    DestroyWindow(hwnd);
}

LRESULT CALLBACK ConversationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND from = reinterpret_cast<HWND>(wp);
    switch (msg) {
    case WM_DDE_EXECUTE:
        OnExecute(hwnd, from, reinterpret_cast<HGLOBAL>(lp));
        return 0;
    case WM_DDE_TERMINATE:
        OnTerminate(hwnd, from);
        return 0;
    case WM_TIMER:
        if (wp == kAckTimer) AnswerDueExecutes(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

bool NamesOurService(ATOM application) {
    return application == 0 || lstrcmpiA(AtomName(application).c_str(), dove::ide::kDdeService) == 0;
}

}  // namespace

bool ParseServiceOptions(const std::vector<std::string>& args, ServiceOptions* options) {
    for (const std::string& arg : args)
        if (arg.compare(0, 2, "--") == 0 && !ParseOne(arg, options)) return false;
    return true;
}

std::vector<std::string> EnvironmentOptions() {
    char buf[1024] = {};
    DWORD n = GetEnvironmentVariableA(kOptionsVariable, buf, sizeof buf);
    std::vector<std::string> words;
    std::string text(buf, n < sizeof buf ? n : 0), word;
    for (char c : text + " ") {
        if (c != ' ') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

void SetExecuteListener(ExecuteListener listener) { gListener = listener; }

std::string DdeLogPath() { return ModuleFolder() + kDdeLogName; }

bool StartService(HINSTANCE instance, HWND mainWindow, const ServiceOptions& options) {
    gOptions = options;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ConversationProc;
    wc.hInstance = instance;
    wc.lpszClassName = kConversationClass;
    if (!RegisterClassA(&wc)) return false;
    if (options.serveAfterMs == 0) {
        OnServiceTimer(mainWindow);
        return true;
    }
    return SetTimer(mainWindow, kServiceTimer, options.serveAfterMs, nullptr) != 0;
}

void OnServiceTimer(HWND mainWindow) {
    KillTimer(mainWindow, kServiceTimer);
    if (gServing) return;
    gServing = true;
    AppendDdeLog("serving");
}

// The answer is sent while the client's broadcast still waits, with atoms of
// our own that the client keeps for the conversation.
LRESULT OnInitiate(WPARAM client, LPARAM atoms) {
    ATOM application = LOWORD(atoms), topic = HIWORD(atoms);
    HWND clientWindow = reinterpret_cast<HWND>(client);
    if (!gServing || !NamesOurService(application) || !IsWindow(clientWindow)) return 0;
    HWND conversation = CreateWindowA(kConversationClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!conversation) return 0;
    gConversations[conversation].client = clientWindow;
    std::string topicName = topic ? AtomName(topic) : "System";
    ATOM ourApp = GlobalAddAtomA(dove::ide::kDdeService);
    ATOM ourTopic = GlobalAddAtomA(topicName.c_str());
    SendMessageA(clientWindow, WM_DDE_ACK, reinterpret_cast<WPARAM>(conversation),
                 MAKELPARAM(ourApp, ourTopic));
    return 0;
}

void EndConversations() {
    for (auto& [hwnd, conversation] : gConversations) {
        if (IsWindow(conversation.client))
            PostMessageA(conversation.client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hwnd), 0);
        DestroyWindow(hwnd);
    }
    gConversations.clear();
}

}  // namespace standin
