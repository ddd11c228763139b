// The utility's window P2$W as a user meets it: window_probe opens it from
// the stored definition and prints every event; the test clicks, types,
// closes and reads the window from outside.
#include <gtest/gtest.h>

#include "support/row_name.h"
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

// Field equates of P2$W, numbered in definition order.
enum Field {
  kSheet = 3, kTab1 = 4, kPathStr = 5, kEntryGroup = 6, kNext = 7, kNote = 9, kVer = 11,
  kBuild = 13, kGroup2 = 14, kOnOff = 15, kAutoIncrement = 16, kFileName = 18, kOk = 19,
  kCancel = 20, kTab2 = 21, kVersion = 22, kBack = 23,
};

struct Probe {
  gui::App app;
  HWND win = nullptr;
};

// Starts window_probe on P2$W and waits for its window and its "open" line.
::testing::AssertionResult Open(Probe* p, const std::vector<std::string>& options = {}) {
  std::vector<std::string> args = {"Install$WorkLog", "P2$W"};
  args.insert(args.end(), options.begin(), options.end());
  p->app = gui::Start(gui::ProbeCommand("window_probe", args));
  if (!p->app.Started()) return ::testing::AssertionFailure() << p->app.Error();
  p->win = p->app.WaitWindow(nullptr, 10000);
  if (!p->win) return ::testing::AssertionFailure() << p->app.Error();
  return ::testing::AssertionSuccess();
}

// Starts window_probe on P2$W for a run that ends by itself.
void RunToEnd(Probe* p, const std::vector<std::string>& options) {
  std::vector<std::string> args = {"Install$WorkLog", "P2$W"};
  args.insert(args.end(), options.begin(), options.end());
  p->app = gui::Start(gui::ProbeCommand("window_probe", args));
  ASSERT_TRUE(p->app.Started()) << p->app.Error();
  EXPECT_EQ(p->app.WaitExit(5000), 0) << p->app.Error();
}

struct FindId {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindId*>(lp);
  if (GetDlgCtrlID(hwnd) == f->id && !f->found) f->found = hwnd;
  return TRUE;
}

// The control of a field, wherever it sits (window, sheet, page).
HWND Control(const Probe& p, int field) {
  FindId f{field, nullptr};
  EnumChildWindows(p.win, &MatchId, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// Output lines after "open ...", waiting until `count` are there.
std::vector<std::string> Lines(Probe* p, size_t count, DWORD timeoutMs = 5000) {
  DWORD start = GetTickCount();
  std::vector<std::string> lines;
  for (;;) {
    lines.clear();
    std::string out = p->app.Output();
    size_t at = 0;
    while (at < out.size()) {
      size_t nl = out.find('\n', at);
      if (nl == std::string::npos) break;
      std::string line = out.substr(at, nl - at);
      if (line.rfind("open ", 0) != 0) lines.push_back(line);
      at = nl + 1;
    }
    if (lines.size() >= count || GetTickCount() - start > timeoutMs || !p->app.Running()) return lines;
    Sleep(50);
  }
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// Ends the probe with a close request and checks that it ended cleanly.
void CloseAndWait(Probe* p) {
  gui::Close(p->win);
  EXPECT_EQ(p->app.WaitExit(5000), 0) << p->app.Error();
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

// Types into an edit control from outside: the new text, marked as changed.
void Type(HWND edit, const char* text) {
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
}

TEST(Window, ButtonCloseAndTimerGiveTheirEventNumbers) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"stop-timer=1"}));  // the definition's timer of 1 ticks at once
  auto lines = Lines(&p, 1);
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0], "523 0 -");
  Click(Control(p, kOk));
  lines = Lines(&p, 2);
  ASSERT_EQ(lines.size(), 2u) << Joined(lines);
  EXPECT_EQ(lines[1], "1 19 ?OKBUTTON");
  CloseAndWait(&p);
  lines = Lines(&p, 4);
  EXPECT_EQ(Joined(lines), "523 0 -\n1 19 ?OKBUTTON\n513 0 -\nclosed\n");
}

TEST(Window, TimerOf100TicksOnceASecondAndZeroStopsIt) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"timer=100", "stop-timer=3"}));
  DWORD start = GetTickCount();
  auto lines = Lines(&p, 3, 6000);
  DWORD took = GetTickCount() - start;
  ASSERT_EQ(lines.size(), 3u) << Joined(lines);
  EXPECT_GE(took, 2000u);
  EXPECT_LE(took, 4500u);
  Sleep(1500);  // stopped: nothing more
  EXPECT_EQ(Lines(&p, 4, 100).size(), 3u);
  CloseAndWait(&p);
}

TEST(Window, CycleOnACloseKeepsTheWindowOpen) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"refuse-close=1", "timer=0"}));
  gui::Close(p.win);
  auto lines = Lines(&p, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "513 0 -");
  Sleep(300);
  EXPECT_TRUE(IsWindow(p.win) && p.app.Running());
  Click(Control(p, kCancel));  // the next event is processed normally
  EXPECT_EQ(Lines(&p, 2).back(), "1 20 ?CANCELBUTTON");
  CloseAndWait(&p);
}

TEST(Window, CloseFromTheLoopBodyComesAfterEarlierEvents) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"chain=?OKBUTTON", "timer=0"}));
  Click(Control(p, kOk));
  EXPECT_EQ(p.app.WaitExit(5000), 0) << p.app.Error();
  EXPECT_EQ(Joined(Lines(&p, 4)), "1 19 ?OKBUTTON\n1 20 ?CANCELBUTTON\n513 0 -\nclosed\n");
}

TEST(Window, PostFromAnotherThreadArrives) {
  Probe p;
  RunToEnd(&p, {"thread-post=?NEXT", "timer=0"});
  EXPECT_EQ(Joined(Lines(&p, 3)), "1 7 ?NEXT\n513 0 -\nclosed\n");
}

// The message that carries events between threads, posted by a stranger:
// its number names no record of ours, so nothing happens.
TEST(Window, AForeignEventMessageIsIgnored) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"timer=0"}));
  const unsigned kPostEventMessage = 0xB01B;
  PostMessageA(p.win, kPostEventMessage, 0, 0x12345678);
  PostMessageA(p.win, kPostEventMessage, 0x12345678, 1);
  PostThreadMessageA(GetWindowThreadProcessId(p.win, nullptr), kPostEventMessage, 0, 0x5EED);
  Click(Control(p, kOk));
  auto lines = Lines(&p, 1);
  EXPECT_EQ(Joined(lines), "1 19 ?OKBUTTON\n");
  EXPECT_TRUE(p.app.Running());
  CloseAndWait(&p);
}

// Enter presses the push button it is typed on; Escape is no command for
// the control that happens to have field number 2 (the builder's ?CLIP).
TEST(Window, EnterPressesTheButtonAndEscapeRaisesNothing) {
  Probe p;
  p.app = gui::Start(gui::ProbeCommand("window_probe", {"ascmeta$ascmeon", "P3$BUILDERWINDOW",
                                                        "select=?OKBUTTON"}));
  ASSERT_TRUE(p.app.Started()) << p.app.Error();
  p.win = p.app.WaitWindow(nullptr, 10000);
  ASSERT_TRUE(p.win) << p.app.Error();
  const int kBuilderClip = 2, kBuilderOk = 13;
  HWND ok = Control(p, kBuilderOk);
  ASSERT_TRUE(ok);
  for (HWND target : {ok, Control(p, kBuilderClip)}) {
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  }
  PostMessageA(Control(p, 1), WM_KEYDOWN, VK_RETURN, 1);  // a check box: no button to press
  PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(ok, WM_KEYUP, VK_RETURN, 0xC0000001);
  auto lines = Lines(&p, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "1 13 ?OKBUTTON");
  Sleep(300);
  EXPECT_EQ(Lines(&p, 2, 100).size(), 1u) << Joined(Lines(&p, 2, 100));
  CloseAndWait(&p);
}

TEST(Window, DuringShutDownOnlyTheCloseArrives) {
  Probe p;
  RunToEnd(&p, {"shutdown", "timer=0"});
  EXPECT_EQ(Joined(Lines(&p, 2)), "513 0 -\nclosed\n");
}

TEST(Window, DisablingTheEntryGroupDisablesEverythingInIt) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"disable=?ENTRYGROUP", "disable=?AUTOINCREMENT:?FILENAME", "timer=0"}));
  Sleep(200);
  for (int f : {kEntryGroup, kNext, kNote, kVer, kBuild, kAutoIncrement, kFileName})
    EXPECT_FALSE(IsWindowEnabled(Control(p, f))) << "field " << f;
  for (int f : {kOnOff, kOk, kCancel, kGroup2})
    EXPECT_TRUE(IsWindowEnabled(Control(p, f))) << "field " << f;
  CloseAndWait(&p);

  // A range between equates that hold colons themselves.
  Probe q;
  ASSERT_TRUE(Open(&q, {"disable=?ENTRYGROUP", "enable=?VER:VER:?VER:BUILD", "timer=0"}));
  Sleep(200);
  EXPECT_FALSE(IsWindowEnabled(Control(q, kNote)));
  EXPECT_TRUE(IsWindowEnabled(Control(q, kVer)));
  EXPECT_TRUE(IsWindowEnabled(Control(q, kBuild)));
  CloseAndWait(&q);
}

// What the utility fills in at open, for screenshots a person would see.
const std::vector<std::string> kAsOpened = {
    "set=?VER:VER=1.6", "set=?VER:BUILD=2", "set=?FILENAME=Version.kvi", "set=?ONOFF=1",
    "set=?AUTOINCREMENT=1", "text=?PATHSTR:C:\\PROJECTS\\MYAPP", "text=?VERSION:Version: 1.60  0001",
    "status=1:1.60  0002", "status=2:Version.kvi", "status=3:Auto", "timer=0"};

std::vector<std::string> AsOpened(std::vector<std::string> more) {
  more.insert(more.begin(), kAsOpened.begin(), kAsOpened.end());
  return more;
}

TEST(Window, SelectingTheSecondPageShowsIt) {
  Probe p;
  ASSERT_TRUE(Open(&p, AsOpened({})));
  EXPECT_TRUE(IsWindowVisible(Control(p, kNote)));
  EXPECT_FALSE(IsWindowVisible(Control(p, kVersion)));
  gui::Screenshot(p.win, "window_p2w_page1");
  CloseAndWait(&p);

  Probe q;
  ASSERT_TRUE(Open(&q, AsOpened({"select=?TAB2"})));
  Sleep(200);
  EXPECT_TRUE(IsWindowVisible(Control(q, kVersion)));
  EXPECT_FALSE(IsWindowVisible(Control(q, kNote)));
  gui::Screenshot(q.win, "window_p2w_page2");
  Click(Control(q, kBack));
  EXPECT_EQ(Lines(&q, 1).back(), "1 23 ?BACK");
  CloseAndWait(&q);
}

TEST(Window, PageButtonsAndTabPagesShowNoTabTexts) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"timer=0"}));
  char text[64] = {};
  GetWindowTextA(Control(p, kTab1), text, sizeof text);
  EXPECT_STREQ(text, "");
  Click(Control(p, kNext));
  EXPECT_EQ(Lines(&p, 1).back(), "1 7 ?NEXT");
  CloseAndWait(&p);
}

struct ValueCase {
  int field;
  const char* select;
  const char* typed;
  const char* line;   // the event line for the field
  const char* shown;  // what the control shows afterwards
};

class EntryValues : public ::testing::TestWithParam<ValueCase> {};

// The focus leaves the edited control when the OK button is clicked: the
// entry completes first, then the button raises its event.
TEST_P(EntryValues, PassThroughThePictureWhenTheFocusLeaves) {
  const ValueCase& c = GetParam();
  Probe p;
  ASSERT_TRUE(Open(&p, {std::string("select=") + c.select, "set=?VER:VER=1.6", "set=?VER:BUILD=41",
                        "timer=0"}));
  Sleep(200);
  HWND edit = Control(p, c.field);
  Type(edit, c.typed);
  Click(Control(p, kOk));
  auto lines = Lines(&p, 2);
  ASSERT_EQ(lines.size(), 2u) << Joined(lines);
  EXPECT_EQ(lines[0], c.line);
  EXPECT_EQ(lines[1], "1 19 ?OKBUTTON");
  char shown[256] = {};
  SendMessageA(edit, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));  // across processes
  EXPECT_STREQ(shown, c.shown);
  CloseAndWait(&p);
}

INSTANTIATE_TEST_SUITE_P(
    UtilityPictures, EntryValues,
    ::testing::Values(
        ValueCase{kNote, "?VER:NOTE", "Fixed the build", "1 9 ?VER:NOTE Fixed the build",
                  "Fixed the build"},
        ValueCase{kVer, "?VER:VER", "2.5", "1 11 ?VER:VER  2.50", " 2.50"},
        ValueCase{kBuild, "?VER:BUILD", "42", "1 13 ?VER:BUILD 0042", "0042"},
        ValueCase{kVer, "?VER:VER", "abc", "26 11 ?VER:VER  1.60", "abc"}),
    [](const ::testing::TestParamInfo<ValueCase>& info) {
      return test::RowName(info.index, {info.param.select, info.param.typed});
    });

TEST(Window, ClosingCompletesTheEditFirst) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"select=?VER:NOTE", "timer=0"}));
  Sleep(200);
  Type(Control(p, kNote), "Typed before closing");
  gui::Close(p.win);
  EXPECT_EQ(p.app.WaitExit(5000), 0) << p.app.Error();
  EXPECT_EQ(Joined(Lines(&p, 3)), "1 9 ?VER:NOTE Typed before closing\n513 0 -\nclosed\n");
}

TEST(Window, SpinArrowsStepTheValue) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"set=?VER:BUILD=41", "timer=0"}));
  HWND build = Control(p, kBuild);
  PostMessageA(build, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(Lines(&p, 1).back(), "2 13 ?VER:BUILD 0042");
  HWND arrows = GetWindow(build, GW_HWNDNEXT);  // made right after the edit
  RECT r;
  GetClientRect(arrows, &r);
  PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom - 2));  // down
  PostMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom - 2));
  EXPECT_EQ(Lines(&p, 2).back(), "2 13 ?VER:BUILD 0041");
  CloseAndWait(&p);
}

TEST(Window, CheckBoxStoresOneByte) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"set=?ONOFF=0", "timer=0"}));
  Click(Control(p, kOnOff));
  EXPECT_EQ(Lines(&p, 1).back(), "1 15 ?ONOFF 1");
  Click(Control(p, kOnOff));
  EXPECT_EQ(Lines(&p, 2).back(), "1 15 ?ONOFF 0");
  CloseAndWait(&p);
}

HWND StatusBar(const Probe& p) { return FindWindowExA(p.win, nullptr, STATUSCLASSNAMEA, nullptr); }

TEST(Window, StatusBarHasThreeZones) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"status=1:1.60  0001", "status=2:Version.kvi", "status=3:Auto", "timer=0"}));
  Sleep(200);
  HWND sb = StatusBar(p);
  ASSERT_TRUE(sb);
  EXPECT_EQ(SendMessageA(sb, SB_GETPARTS, 0, 0), 3);
  EXPECT_EQ(LOWORD(SendMessageA(sb, SB_GETTEXTLENGTHA, 0, 0)), 10);
  EXPECT_EQ(LOWORD(SendMessageA(sb, SB_GETTEXTLENGTHA, 1, 0)), 11);
  EXPECT_EQ(LOWORD(SendMessageA(sb, SB_GETTEXTLENGTHA, 2, 0)), 4);
  RECT sr, wr;
  GetWindowRect(sb, &sr);
  GetWindowRect(Control(p, kSheet), &wr);
  EXPECT_GE(sr.top, wr.bottom) << "the status bar covers the sheet";
  gui::Screenshot(p.win, "window_p2w_status");
  CloseAndWait(&p);
}

TEST(Window, UpdatesOffLooksDisabled) {
  Probe p;
  ASSERT_TRUE(Open(&p, AsOpened({"set=?VER:NOTE=Update is turned off", "set=?ONOFF=0",
                                  "disable=?ENTRYGROUP", "disable=?AUTOINCREMENT:?FILENAME",
                                  "disable=?OKBUTTON:?CANCELBUTTON"})));
  Sleep(300);
  gui::Screenshot(p.win, "window_p2w_updates_off");
  CloseAndWait(&p);
}

struct EndSession {
  HWND win;
  LRESULT answer = -1;
  BOOL sent = FALSE;
};

DWORD WINAPI SendEndSession(LPVOID p) {
  auto* e = static_cast<EndSession*>(p);
  DWORD_PTR answer = 1;
  e->sent = SendMessageTimeoutA(e->win, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 15000, &answer) != 0;
  e->answer = static_cast<LRESULT>(answer);
  return 0;
}

TEST(Window, EndingWindowsIsRefusedWithABox) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"timer=0"}));
  EndSession e{p.win};
  HANDLE sender = CreateThread(nullptr, 0, &SendEndSession, &e, 0, nullptr);
  HWND box = p.app.WaitWindow("#32770", 5000);
  ASSERT_TRUE(box) << p.app.Error();
  gui::Dialog d = gui::Read(box);
  bool found = false;
  for (const auto& t : d.staticTexts)
    found |= t == "Application still active.\n\nQuit the application before quitting Windows.";
  EXPECT_TRUE(found) << d.Describe();
  EXPECT_EQ(d.caption, "window_probe");
  gui::Press(box, IDOK);
  WaitForSingleObject(sender, 10000);
  CloseHandle(sender);
  EXPECT_TRUE(e.sent);
  EXPECT_EQ(e.answer, FALSE);
  EXPECT_TRUE(p.app.Running());
  CloseAndWait(&p);
}

// ---- What other programs and the user do to an open window ----

// A close sent by another program (as a task manager sends it) is handled
// while the loop waits in the platform; the loop must act on it then, not
// at some later posted message (there is none here: the timer is off).
TEST(Window, ACloseSentFromAnotherProgramEndsTheWaitAtOnce) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"timer=0"}));
  Sleep(300);  // the loop is waiting
  ASSERT_TRUE(gui::SendFromOutside(p.win, WM_CLOSE, 0, 0));
  EXPECT_EQ(Joined(Lines(&p, 2, 3000)), "513 0 -\nclosed\n");
  EXPECT_EQ(p.app.WaitExit(3000), 0) << p.app.Error();
}

// WM_QUIT asks the program to end, but the window's procedure decides how
// its window closes: the quit is a close request that it may refuse, and
// it is handed on to the program once the loop has ended.
TEST(Window, QuitIsACloseRequestAndIsHandedOnAfterTheLoop) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"refuse-close=1", "timer=0"}));
  ASSERT_TRUE(gui::PostQuit(p.win, 7));
  EXPECT_EQ(Joined(Lines(&p, 1)), "513 0 -\n");
  Sleep(300);
  EXPECT_TRUE(IsWindow(p.win) && p.app.Running()) << "the procedure refused the close";
  gui::Close(p.win);
  EXPECT_EQ(p.app.WaitExit(5000), 0) << p.app.Error();
  EXPECT_EQ(Joined(Lines(&p, 4)), "513 0 -\n513 0 -\nclosed\nquit 7\n");
}

// A version-file line as the Log/Version utility writes it.
std::string VersionLine(const char* label, const char* build) {
  std::string line = label;
  line.resize(20, ' ');
  return line + "EQUATE('1.60  " + build + "')  ! 12/08/26 9:15 -- by hand";
}

// DOVE60.exe without arguments, told to quit while its Log/Version window
// is open: its close guard runs the Cancel, so the version file keeps
// exactly one active entry, the last one.
TEST(Window, QuitLeavesTheVersionFileWithItsOneActiveEntry) {
  ide_test::TempDir dir("window_quit");
  const std::string path = dir.path + "\\Version.kvi";
  ASSERT_TRUE(ide_test::WriteFile(path, VersionLine("!Version", "0040") + "\r\n" +
                                            VersionLine("Version", "0041") + "\r\n"));
  gui::App app = gui::Start(gui::ExeCommand({}), dir.path);
  ASSERT_TRUE(app.Started()) << app.Error();
  HWND win = app.WaitWindow(nullptr, 10000);
  ASSERT_TRUE(win) << app.Error();
  Sleep(300);  // the entry is prepared: the last line is commented out now
  ASSERT_TRUE(gui::PostQuit(win));
  EXPECT_EQ(app.WaitExit(10000), 0) << app.Error();
  std::string file = ide_test::ReadFile(path);
  std::vector<std::string> active;
  for (size_t at = 0; at < file.size();) {
    size_t end = file.find("\r\n", at);
    std::string line = file.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (line.rfind("Version ", 0) == 0) active.push_back(line);
    at = end == std::string::npos ? file.size() : end + 2;
  }
  ASSERT_EQ(active.size(), 1u) << file;
  EXPECT_EQ(active[0], VersionLine("Version", "0041")) << file;
}

struct WindowCount {
  DWORD pid;
  int n;
};

BOOL CALLBACK CountVisible(HWND h, LPARAM lp) {
  auto* c = reinterpret_cast<WindowCount*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  if (owner == c->pid && IsWindowVisible(h)) ++c->n;
  return TRUE;
}

int VisibleWindowsOf(DWORD pid) {
  WindowCount count{pid, 0};
  EnumWindows(&CountVisible, reinterpret_cast<LPARAM>(&count));
  return count.n;
}

// One window object, opened, closed and opened again; opening it while it
// is open is refused with 535 and makes no second window.
TEST(Window, AClosedWindowOpensAgainAndAnOpenOneRefuses) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"open-twice", "reopen=1", "timer=0"}));
  EXPECT_EQ(Joined(Lines(&p, 1)), "error 535\n");
  EXPECT_EQ(VisibleWindowsOf(p.app.Pid()), 1);
  gui::Close(p.win);
  EXPECT_EQ(Joined(Lines(&p, 3)), "error 535\n513 0 -\nclosed\n");
  HWND again = nullptr;
  for (int i = 0; i < 100 && (!again || again == p.win); ++i, Sleep(50))
    again = p.app.WaitWindow(nullptr, 100);
  ASSERT_TRUE(again && again != p.win) << p.app.Error();
  Sleep(300);
  ASSERT_TRUE(p.app.Running()) << "the second loop ended at once";
  p.win = again;
  Click(Control(p, kOk));
  EXPECT_EQ(Lines(&p, 4).back(), "1 19 ?OKBUTTON");
  CloseAndWait(&p);
  EXPECT_EQ(Joined(Lines(&p, 6)), "error 535\n513 0 -\nclosed\n1 19 ?OKBUTTON\n513 0 -\nclosed\n");
}

// Timer values that must give no ticks: zero and negative ones stop the
// timer (read as unsigned, -429496729 once ticked every 6 ms), and one just
// past what milliseconds can hold is held at the longest, not wrapped to 4 ms.
TEST(Window, TimerValuesThatStopOrHoldGiveNoTicks) {
  for (const char* value : {"-1", "-429496729", "429496730", "0"}) {
    Probe p;
    ASSERT_TRUE(Open(&p, {std::string("timer=") + value}));
    Sleep(800);
    EXPECT_EQ(Joined(Lines(&p, 1, 100)), "") << "Timer " << value;
    CloseAndWait(&p);
  }
}

// Zones the bar does not have are ignored: none lands in zone 1 or in the
// drawing type of the zone (257 would be zone 1 drawn without borders).
TEST(Window, StatusTextOfAZoneTheBarDoesNotHaveIsIgnored) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"status=1:one", "status=0:zero", "status=-1:minus", "status=4:four",
                        "status=257:far", "timer=0"}));
  Sleep(200);
  HWND sb = FindWindowExA(p.win, nullptr, STATUSCLASSNAMEA, nullptr);
  ASSERT_TRUE(sb);
  EXPECT_EQ(SendMessageA(sb, SB_GETTEXTLENGTHA, 0, 0), 3) << "zone 1: \"one\", drawn as set";
  EXPECT_EQ(SendMessageA(sb, SB_GETTEXTLENGTHA, 1, 0), 0);
  EXPECT_EQ(SendMessageA(sb, SB_GETTEXTLENGTHA, 2, 0), 0);
  CloseAndWait(&p);
}

// When the platform refuses the window, the procedure must not go on (the
// Log/Version utility would change its file): the runtime error box says
// why, and the program ends with code 2.
TEST(Window, AWindowThePlatformRefusesEndsTheProgramWith529) {
  gui::App app = gui::Start(gui::ProbeCommand("window_probe", {"Install$WorkLog", "P2$W", "refuse-create"}));
  HWND box = app.WaitWindow("#32770", 10000);
  ASSERT_TRUE(box) << app.Error();
  gui::Dialog d = gui::Read(box);
  EXPECT_EQ(d.caption, "Runtime error");
  ASSERT_FALSE(d.staticTexts.empty()) << d.Describe();
  EXPECT_EQ(d.staticTexts[0].rfind("Unable to open WINDOW : P2$W", 0), 0u) << d.Describe();
  gui::Screenshot(box, "window_refused_529");
  ASSERT_TRUE(gui::Press(box, IDNO));
  EXPECT_EQ(app.WaitExit(5000), 2) << app.Error();
  EXPECT_EQ(app.Output(), "") << "the procedure went on after the failed open";
}

// Arrow keys, typed as a person types them, move the focus within a group
// as a dialog does: past prompts, which take no typing, and round inside a
// radio option, never out of it.
struct ArrowCase {
  const char* procedure;
  const char* label;
  int from;
  WORD key;
  int to;
  const char* why;
};

class ArrowKeys : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowKeys, MoveOnlyToControlsThatTakeTheFocus) {
  const ArrowCase& c = GetParam();
  Probe p;
  p.app = gui::Start(gui::ProbeCommand("window_probe", {c.procedure, c.label, "timer=0"}));
  ASSERT_TRUE(p.app.Started()) << p.app.Error();
  p.win = p.app.WaitWindow(nullptr, 10000);
  ASSERT_TRUE(p.win) << p.app.Error();
  ASSERT_TRUE(gui::BringToFront(p.win, Control(p, c.from)));
  ASSERT_TRUE(gui::TypeKeys({c.key}, p.win));
  HWND focus = gui::FocusOf(p.win);
  EXPECT_EQ(GetDlgCtrlID(focus), c.to) << c.why;
  gui::Screenshot(p.win, std::string("window_arrow_") + std::to_string(c.from) + "_" + std::to_string(c.to));
  CloseAndWait(&p);
}

INSTANTIATE_TEST_SUITE_P(
    Window, ArrowKeys,
    ::testing::Values(
        ArrowCase{"Install$WorkLog", "P2$W", kAutoIncrement, VK_DOWN, kFileName, "past the prompt ?FILEPROMT"},
        ArrowCase{"Install$WorkLog", "P2$W", kOnOff, VK_UP, kFileName, "round within ?GROUP2"},
        ArrowCase{"ascmeta$ascmeon", "P3$BUILDERWINDOW", 2, VK_DOWN, 4, "past the prompt ?PROMPT1"},
        ArrowCase{"ascmeta$ascmeon", "P3$BUILDERWINDOW", 12, VK_RIGHT, 10, "round within the option"}),
    [](const ::testing::TestParamInfo<ArrowCase>& info) {
      return test::RowName(info.index, {info.param.label, info.param.why});
    });

}  // namespace
