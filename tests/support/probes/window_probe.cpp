// window_probe: opens a stored window, runs ACCEPT and prints its events.
//
//   window_probe PROCEDURE LABEL [OPTION...]
//
// The window's use variables are made from the definition's descriptors, in
// their order, blank or 0 at start. One line per event on standard output,
// as it happens:
//   <event> <field> <equate> [<value as the control's picture shows it,
//                              without trailing blanks>]
// (the equate is "-" for a window event). "open <hwnd in hex>" comes first,
// once the window is up; "closed" last.
//
// Options (LABEL is a field equate such as ?OKBUTTON):
//   set=LABEL=VALUE      the use variable's value before the window opens
//   refuse-close=N       ends the pass of the first N close requests with CYCLE
//   chain=LABEL          on EVENT:Accepted of LABEL, POST EVENT:Accepted to
//                        ?CANCELBUTTON and then EVENT:CloseWindow
//   timer=N              assigns the Timer property N after each opening
//   stop-timer=K         assigns Timer 0 at the K-th timer event
//   close-at-first       posts EVENT:CloseWindow at the first event
//   close-now            posts EVENT:CloseWindow right after opening
//   disable=FIRST[:LAST] enable=FIRST[:LAST] select=LABEL
//                        (?VER:NOTE:?FILENAME: the range splits at ":?")
//   status=ZONE:TEXT     sets a status-bar zone
//   text=LABEL:TEXT      assigns a control's Text property (LABEL may hold a
//                        colon: the longest equate of the window wins)
//   thread-post=LABEL    a second thread POSTs EVENT:Accepted for LABEL and
//                        then EVENT:CloseWindow to this thread
//   shutdown             enters the shut-down state after opening and POSTs
//                        EVENT:Accepted to ?OKBUTTON and EVENT:CloseWindow
//   open-twice           opens the open window again and prints
//                        "error <ERRORCODE>"
//   reopen=N             opens the window again N times after it closed
//                        (each opening prints "open ..." and ends "closed")
//   refuse-create        a CBT hook refuses the creation of the window
// After the last "closed", "quit <code>" when a WM_QUIT waits in the queue.
// Exit code 0; 3 for a bad command line or a window not defined.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/errors/error_record.h"
#include "runtime/lifecycle.h"
#include "app/start/runtime_start_win32.h"
#include "runtime/pictures/picture.h"
#include "windows/loop/accept.h"
#include "windows/loop/runtime_window_win32.h"
#include "windows/controls/use_variable.h"
#include "windows/definitions/window_def_find_win32.h"

using namespace dove::win;

namespace {

struct Options {
  std::vector<std::pair<std::string, std::string>> sets;
  int refuseClose = 0;
  std::string chain;
  int timer = 0;
  bool timerSet = false;
  int stopTimerAt = 0;
  bool closeAtFirst = false;
  bool closeNow = false;
  std::vector<std::string> disable, enable;  // FIRST[:LAST]
  std::string select;
  std::vector<std::pair<int, std::string>> status;
  std::vector<std::string> texts;            // LABEL:TEXT
  std::string threadPost;
  bool shutdown = false;
  bool openTwice = false;
  int reopen = 0;
  bool refuseCreate = false;
};

std::pair<std::string, std::string> Split(const std::string& s, char sep) {
  size_t at = s.find(sep, 1);
  if (at == std::string::npos) return {s, ""};
  return {s.substr(0, at), s.substr(at + 1)};
}

bool Parse(int argc, char** argv, Options* o) {
  for (int i = 3; i < argc; ++i) {
    auto [key, value] = Split(argv[i], '=');
    if (key == "set") o->sets.push_back(Split(value, '='));
    else if (key == "refuse-close") o->refuseClose = std::atoi(value.c_str());
    else if (key == "chain") o->chain = value;
    else if (key == "timer") { o->timer = std::atoi(value.c_str()); o->timerSet = true; }
    else if (key == "stop-timer") o->stopTimerAt = std::atoi(value.c_str());
    else if (key == "close-at-first") o->closeAtFirst = true;
    else if (key == "close-now") o->closeNow = true;
    else if (key == "disable") o->disable.push_back(value);
    else if (key == "enable") o->enable.push_back(value);
    else if (key == "select") o->select = value;
    else if (key == "status") o->status.push_back({std::atoi(value.c_str()), Split(value, ':').second});
    else if (key == "text") o->texts.push_back(value);
    else if (key == "thread-post") o->threadPost = value;
    else if (key == "shutdown") o->shutdown = true;
    else if (key == "open-twice") o->openTwice = true;
    else if (key == "reopen") o->reopen = std::atoi(value.c_str());
    else if (key == "refuse-create") o->refuseCreate = true;
    else return false;
  }
  return true;
}

// The window's use variables, one buffer per descriptor.
struct Variables {
  std::vector<std::vector<char>> buffers;
  std::vector<void*> addresses;
};

Variables MakeVariables(const dove::wdef::Window& def) {
  Variables v;
  v.buffers.resize(static_cast<size_t>(def.UseCount()));
  for (const auto& c : def.controls) {
    if (c.useIndex < 0 || static_cast<size_t>(c.useIndex) >= v.buffers.size()) continue;
    size_t size = c.use.size ? c.use.size : 1;
    char fill = c.use.type == kUseFixedText ? ' ' : '\0';
    v.buffers[c.useIndex].assign(size + 1, fill);
    v.buffers[c.useIndex][size] = '\0';
  }
  for (auto& b : v.buffers) v.addresses.push_back(b.empty() ? nullptr : b.data());
  return v;
}

const dove::wdef::Window* g_def = nullptr;
Variables* g_vars = nullptr;

int FieldOf(const std::string& label) {
  const dove::wdef::Control* c = g_def->FindControl(label);
  return c ? c->field : 0;
}

const dove::wdef::Control* ControlOfField(int field) {
  for (const auto& c : g_def->controls)
    if (c.field == field) return &c;
  return nullptr;
}

UseVariable UseOf(const dove::wdef::Control& c) {
  if (c.useIndex < 0 || static_cast<size_t>(c.useIndex) >= g_vars->addresses.size()) return {};
  return UseVariable{g_vars->addresses[c.useIndex], c.use.type, c.use.size};
}

void PrintEvent() {
  int field = FIELD();
  const dove::wdef::Control* c = ControlOfField(field);
  std::string line = std::to_string(EVENT()) + " " + std::to_string(field) + " " +
                     (c && !c->label.empty() ? c->label : "-");
  if (c && field && c->use.present) {
    UseVariable use = UseOf(*c);
    std::string shown = c->picture.empty() ? ReadUseText(use) : dove::FORMAT(ReadUseText(use), c->picture);
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    line += " " + shown;
  }
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

struct ThreadPost {
  uint32_t thread;
  int field;
};

DWORD WINAPI PostFromThread(LPVOID p) {
  auto* tp = static_cast<ThreadPost*>(p);
  POST(EVENT_Accepted, tp->field, tp->thread);
  POST(EVENT_CloseWindow, 0, tp->thread);
  return 0;
}

// Equates may hold a colon themselves (?VER:NOTE): the second equate of a
// range starts at ":?".
std::pair<std::string, std::string> SplitRange(const std::string& range) {
  size_t at = range.find(":?");
  if (at == std::string::npos) return {range, ""};
  return {range.substr(0, at), range.substr(at + 1)};
}

// LABEL:TEXT, where LABEL is the longest equate of the window that fits.
std::pair<std::string, std::string> SplitAfterEquate(const std::string& s) {
  for (size_t at = s.rfind(':'); at != std::string::npos && at > 0; at = s.rfind(':', at - 1))
    if (g_def->FindControl(s.substr(0, at))) return {s.substr(0, at), s.substr(at + 1)};
  return Split(s, ':');
}

void Range(const std::string& range, bool enable) {
  auto r = SplitRange(range);
  int first = FieldOf(r.first), last = r.second.empty() ? 0 : FieldOf(r.second);
  if (enable) ENABLE(first, last);
  else DISABLE(first, last);
}

// Refuses the runtime's windows (class TovWin_...) as they are created;
// any other window, the runtime error box among them, is made as usual.
LRESULT CALLBACK RefuseCreation(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    const char* cls = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(cls) && std::strncmp(cls, "TovWin", 6) == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void PrintOpen(const RuntimeWindow& window) {
  std::printf("open %llx\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window.hwnd())));
  std::fflush(stdout);
}

void AfterOpen(const Options& o, ThreadPost* tp) {
  for (auto& r : o.disable) Range(r, false);
  for (auto& r : o.enable) Range(r, true);
  for (auto& s : o.status) SetProperty(0, PROP_StatusText, s.first, s.second);
  for (auto& t : o.texts) {
    auto [label, text] = SplitAfterEquate(t);
    SetProperty(FieldOf(label), PROP_Text, text);
  }
  if (o.timerSet) SetProperty(0, PROP_Timer, o.timer);
  if (!o.select.empty()) SELECT(FieldOf(o.select));
  if (o.closeNow) POST(EVENT_CloseWindow);
  if (o.shutdown) {
    dove::lifecycle::BeginShutdown();
    POST(EVENT_Accepted, FieldOf("?OKBUTTON"));
    POST(EVENT_CloseWindow);
  }
  if (!o.threadPost.empty()) {
    tp->thread = GetCurrentThreadId();
    tp->field = FieldOf(o.threadPost);
    HANDLE h = CreateThread(nullptr, 0, &PostFromThread, tp, 0, nullptr);
    if (h) CloseHandle(h);
  }
}

// One opening of the window: its events until it closes.
void RunLoop(const Options& o, int* closes, int* ticks) {
  bool first = true;
  while (ACCEPT()) {
    PrintEvent();
    if (first && o.closeAtFirst) POST(EVENT_CloseWindow);
    first = false;
    switch (EVENT()) {
      case EVENT_CloseWindow:
        if ((*closes)++ < o.refuseClose) {
          CYCLE();
          continue;
        }
        break;
      case EVENT_Timer:
        if (++*ticks == o.stopTimerAt) SetProperty(0, PROP_Timer, 0);
        break;
      case EVENT_Accepted:
        if (!o.chain.empty() && FIELD() == FieldOf(o.chain)) {
          POST(EVENT_Accepted, FieldOf("?CANCELBUTTON"));
          POST(EVENT_CloseWindow);
        }
        break;
      default:
        break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (argc < 3 || !Parse(argc, argv, &o)) {
    std::fprintf(stderr, "usage: window_probe PROCEDURE LABEL [OPTION...]\n");
    return 3;
  }
  if (!dove::StartWin32Runtime()) return 0;
  dove::wdef::FoundWindow found;
  if (!dove::wdef::FindWindowDefinition(argv[1], argv[2], &found)) {
    std::fprintf(stderr, "window_probe: %s in %s is not defined\n", argv[2], argv[1]);
    return 3;
  }
  g_def = &found.window;
  Variables vars = MakeVariables(found.window);
  g_vars = &vars;
  for (auto& s : o.sets)
    if (const auto* c = found.window.FindControl(s.first)) WriteUseText(UseOf(*c), s.second);

  RuntimeWindow window(argv[1], argv[2], vars.addresses);
  if (o.refuseCreate) SetWindowsHookExA(WH_CBT, &RefuseCreation, nullptr, GetCurrentThreadId());
  window.Open();
  PrintOpen(window);
  if (o.openTwice) {
    window.Open();
    std::printf("error %d\n", dove::err::Code());
    std::fflush(stdout);
  }
  ThreadPost tp{};
  AfterOpen(o, &tp);

  int closes = 0, ticks = 0;
  for (int round = 0; round <= o.reopen; ++round) {
    if (round > 0) {
      window.Open();
      PrintOpen(window);
      if (o.timerSet) SetProperty(0, PROP_Timer, o.timer);
    }
    RunLoop(o, &closes, &ticks);
    std::printf("closed\n");
    std::fflush(stdout);
  }
  MSG quit;
  if (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
    std::printf("quit %d\n", static_cast<int>(quit.wParam));
  std::fflush(stdout);
  dove::lifecycle::Shutdown();
  return 0;
}
