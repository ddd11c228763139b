// Channel operations against a scripted partner in a second process
// (dde_partner_probe), which records every DDE message it receives; each
// test compares that record with the sequence it expects.
// window_def.h before <windows.h>: the platform header defines a macro RGB.
#include "windows/definitions/window_def.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <dde.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "dde/dde_channel.h"
#include "dde/dde_event_win32.h"
#include "runtime/errors/error_record.h"
#include "support/gui_harness.h"
#include "windows/loop/runtime_window_win32.h"

namespace dove::dde {
namespace {

using Lines = std::vector<std::string>;

std::string Join(const Lines& lines) {
  std::string s;
  for (const auto& l : lines) s += "  " + l + "\n";
  return s;
}

// Busy blocks of the process heap, where global memory lives.
int HeapBlocks() {
  HANDLE heap = GetProcessHeap();
  if (!HeapLock(heap)) return -1;
  PROCESS_HEAP_ENTRY e = {};
  int busy = 0;
  while (HeapWalk(heap, &e))
    if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
  HeapUnlock(heap);
  return busy;
}

// References left on a global atom: deletes it until it is gone.
int AtomReferences(const std::string& name) {
  int n = 0;
  while (ATOM a = GlobalFindAtomA(name.c_str())) {
    GlobalDeleteAtom(a);
    if (++n > 100000) break;
  }
  return n;
}

// Runs the queue of this thread for a while, as a window's loop would.
void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  MSG m;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(5);
  }
}

BOOL CALLBACK CloseWindowsOf(HWND hwnd, LPARAM pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == static_cast<DWORD>(pid)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

// A started partner. Finish() ends it and gives the lines it recorded.
class Partner {
 public:
  ::testing::AssertionResult Start(const std::string& service, const Lines& options = {}) {
    Lines args{service};
    args.insert(args.end(), options.begin(), options.end());
    app_ = gui::Start(gui::ProbeCommand("dde_partner_probe", args));
    if (!app_.Started()) return ::testing::AssertionFailure() << app_.Error();
    DWORD end = GetTickCount() + 10000;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
      if (app_.Output().rfind("ready\n", 0) == 0) return ::testing::AssertionSuccess();
      if (!app_.Running()) break;
      Sleep(10);
    }
    return ::testing::AssertionFailure() << "the partner did not get ready: " << app_.Output();
  }

  Lines Finish() {
    if (app_.Running()) EnumWindows(&CloseWindowsOf, static_cast<LPARAM>(app_.Pid()));
    app_.WaitExit(10000);
    Lines lines;
    std::istringstream in(app_.Output());
    for (std::string l; std::getline(in, l);)
      if (l != "ready" && l != "end") lines.push_back(l);
    return lines;
  }

  bool Running() const { return app_.Running(); }

 private:
  gui::App app_;
};

class DdeChannel : public ::testing::Test {
 protected:
  void SetUp() override {
    StartDdeLayer();
    SetDDEmode(0);
    SetDDETimeOut(200);
    service_ = "DoveTest" + std::to_string(GetCurrentProcessId()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  void TearDown() override { EXPECT_EQ(OpenChannelCount(), 0u) << "a channel was left open"; }

  std::string service_;
};

TEST_F(DdeChannel, ConversationAsThePartnerSeesIt) {
  // Each row: what was opened and sent, and what the partner must record.
  struct Row {
    const char* topic;
    const char* expectedTopic;
  };
  for (const Row& row : {Row{"", "#0"}, Row{"Docs", "Docs"}}) {
    SCOPED_TRACE(std::string("topic '") + row.topic + "'");
    Partner p;
    ASSERT_TRUE(p.Start(service_));
    Channel ch = DDEopen(service_, row.topic);
    ASSERT_NE(ch, 0);
    DDEexecute(ch, "[One(1)]");
    EXPECT_EQ(err::Code(), 0) << err::Text();
    DDEexecute(ch, "[Two(\"a b\",2)]");
    EXPECT_EQ(err::Code(), 0) << err::Text();
    DDEclose(ch);
    EXPECT_EQ(Join(p.Finish()), Join({"w1 INITIATE app=" + service_ + " topic=" + row.expectedTopic,
                                      "w1 c1 EXECUTE [One(1)]", "w1 c1 EXECUTE [Two(\"a b\",2)]",
                                      "w1 c1 TERMINATE"}));
  }
}

TEST_F(DdeChannel, NobodyAnsweringGivesZeroAndNoError) {
  err::Post(33);
  EXPECT_EQ(DDEopen(service_, ""), 0);
  EXPECT_EQ(err::Code(), 33) << "DDEopen posts nothing";
  Partner p;
  ASSERT_TRUE(p.Start(service_, {"topic=Only"}));
  EXPECT_EQ(DDEopen(service_, "Other"), 0);
  EXPECT_EQ(Join(p.Finish()), Join({"w1 INITIATE app=" + service_ + " topic=Other"}));
}

TEST_F(DdeChannel, NamesAreCutAt79Characters) {
  std::string longName = service_ + std::string(100, 'x');
  std::string cut = longName.substr(0, 79);
  Partner p;
  ASSERT_TRUE(p.Start(cut));
  Channel ch = DDEopen(longName, "");
  EXPECT_NE(ch, 0);
  DDEclose(ch);
  Lines got = p.Finish();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got[0], "w1 INITIATE app=" + cut + " topic=#0");
}

TEST_F(DdeChannel, SecondAnswerIsSentAway) {
  Partner p;
  ASSERT_TRUE(p.Start(service_, {"windows=2"}));
  Channel ch = DDEopen(service_, "");
  ASSERT_NE(ch, 0);
  DDEexecute(ch, "[X]");
  int code = err::Code();
  DDEclose(ch);
  Lines got = p.Finish();
  EXPECT_EQ(code, 0) << Join(got);
  // Either server may come first in the broadcast; the other is sent away.
  auto of = [&](const char* w) {
    Lines mine;
    for (const auto& l : got)
      if (l.rfind(w, 0) == 0) mine.push_back(l.substr(3));
    return mine;
  };
  Lines one = of("w1 "), two = of("w2 ");
  Lines partner = {"INITIATE app=" + service_ + " topic=#0", "c1 EXECUTE [X]", "c1 TERMINATE"};
  Lines refused = {"INITIATE app=" + service_ + " topic=#0", "c1 TERMINATE"};
  EXPECT_TRUE((one == partner && two == refused) || (one == refused && two == partner)) << Join(got);
  EXPECT_EQ(AtomReferences(service_), 0) << "the refused server's atoms were kept";
}

TEST_F(DdeChannel, TimeOutWaitsAsSetAndZeroFailsAtOnce) {
  Partner p;
  ASSERT_TRUE(p.Start(service_, {"no-ack"}));
  Channel ch = DDEopen(service_, "");
  ASSERT_NE(ch, 0);
  struct Row {
    uint32_t hundredths;
    DWORD minMs, maxMs;
  };
  for (const Row& row : {Row{100, 950, 1600}, Row{0, 0, 60}}) {
    SCOPED_TRACE("DDETimeOut " + std::to_string(row.hundredths));
    SetDDETimeOut(row.hundredths);
    EXPECT_EQ(DDETimeOut(), row.hundredths);
    EXPECT_EQ(DDETimeOutMs(), row.hundredths * 10);
    DWORD start = GetTickCount();
    DDEexecute(ch, "[Wait]");
    DWORD took = GetTickCount() - start;
    EXPECT_EQ(err::Code(), 605) << err::Text();
    EXPECT_EQ(err::Text(), "DDE transaction timed out");
    EXPECT_GE(took, row.minMs);
    EXPECT_LE(took, row.maxMs);
  }
  DDEclose(ch);
  p.Finish();
}

TEST_F(DdeChannel, LateAcknowledgementAnswersNothingLater) {
  // The first acknowledgement comes after the time-out and says the
  // opposite of the later ones; no later execute may take it for its own,
  // whether or not the queue ran meanwhile. The block of the next execute
  // is likely to have the same handle as the freed one.
  struct Row {
    const char* first;
    const char* others;
    int laterCode;
  };
  // An answer that never comes must cost its own execute only.
  for (const Row& row : {Row{"first-ack=positive", "nack", 603}, Row{"first-ack=negative", "", 0},
                         Row{"first-ack=none", "", 0}}) {
    for (bool pumped : {false, true}) {
      SCOPED_TRACE(std::string(row.first) + (pumped ? ", queue ran" : ", queue did not run"));
      Partner p;
      Lines options{"first-ack-delay=600", row.first};
      if (*row.others) options.push_back(row.others);
      ASSERT_TRUE(p.Start(service_, options));
      Channel ch = DDEopen(service_, "");
      ASSERT_NE(ch, 0);
      SetDDETimeOut(20);
      DDEexecute(ch, "[Late]");
      EXPECT_EQ(err::Code(), 605);
      if (pumped) Pump(900); else Sleep(900);
      SetDDETimeOut(300);
      for (const char* command : {"[Next]", "[Last]"}) {
        DDEexecute(ch, command);
        EXPECT_EQ(err::Code(), row.laterCode) << command << " took another answer than its own";
      }
      DDEclose(ch);
      p.Finish();
    }
  }
}

TEST_F(DdeChannel, LongestTimeOutWaitsForTheAnswer) {
  // Ten times this many hundredths passes 32 bits; wrapped, it waited 4 ms.
  Partner p;
  ASSERT_TRUE(p.Start(service_, {"ack-delay=300"}));
  Channel ch = DDEopen(service_, "");
  ASSERT_NE(ch, 0);
  SetDDETimeOut(429496730);
  DDEexecute(ch, "[Slow]");
  EXPECT_EQ(err::Code(), 0) << err::Text();
  DDEclose(ch);
  p.Finish();
}

TEST_F(DdeChannel, RefusalGives603) {
  Partner p;
  ASSERT_TRUE(p.Start(service_, {"nack"}));
  Channel ch = DDEopen(service_, "");
  ASSERT_NE(ch, 0);
  DDEexecute(ch, "[First]");  // first-use allocations of the platform
  int before = HeapBlocks();
  for (int i = 0; i < 20; ++i) {
    DDEexecute(ch, "[No]");
    ASSERT_EQ(err::Code(), 603);
  }
  EXPECT_LT(HeapBlocks() - before, 10) << "refused command memory was kept";
  EXPECT_EQ(err::Text(), "DDEexecute - invalid command");
  DDEclose(ch);
  EXPECT_EQ(p.Finish().size(), 23u);
}

LRESULT CALLBACK SlowPaintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, wp, lp);
  PAINTSTRUCT ps;
  BeginPaint(hwnd, &ps);
  Sleep(1000);
  EndPaint(hwnd, &ps);
  return 0;
}

// A window of this thread that takes a second to paint, as a busy
// program's may. The wait paints it; whatever the partner does meanwhile
// is found only afterwards.
class SlowPainter {
 public:
  SlowPainter() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &SlowPaintProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DoveSlowPaint";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                            nullptr, wc.hInstance, nullptr);
    Pump(50);
  }
  ~SlowPainter() { DestroyWindow(hwnd_); }
  void Invalidate() { InvalidateRect(hwnd_, nullptr, FALSE); }

 private:
  HWND hwnd_ = nullptr;
};

TEST_F(DdeChannel, PartnerThatQuitGives602) {
  // A partner that ends unanswered refuses the execute; one that answers
  // and ends at once was answered, even when it is gone before the answer
  // is read. Afterwards the channel has no partner either way.
  struct Row {
    const char* how;
    int code;
  };
  SlowPainter painter;
  for (const Row& row : {Row{"quit-on-execute", 603}, Row{"quit-after-ack", 0}}) {
    SCOPED_TRACE(row.how);
    Partner p;
    ASSERT_TRUE(p.Start(service_, {row.how}));
    Channel ch = DDEopen(service_, "");
    ASSERT_NE(ch, 0);
    SetDDETimeOut(500);
    painter.Invalidate();
    DWORD start = GetTickCount();
    DDEexecute(ch, "[Crash]");
    EXPECT_EQ(err::Code(), row.code) << err::Text();
    EXPECT_LT(GetTickCount() - start, 4000u);
    p.Finish();
    DDEexecute(ch, "[After]");
    EXPECT_EQ(err::Code(), 602);
    EXPECT_EQ(err::Text(), "DDE channel is not open");
    int before = HeapBlocks();
    for (int i = 0; i < 20; ++i) DDEexecute(ch, "[After]");
    EXPECT_EQ(err::Code(), 602);
    EXPECT_LT(HeapBlocks() - before, 10) << "a command block was made for nobody";
    DDEclose(ch);
    EXPECT_EQ(err::Code(), 0);
  }
}

// A server on the client's own thread: the broadcast reaches it by a direct
// call, and its answer comes back the same way, not as a sent message.
std::string g_threadService;

LRESULT CALLBACK ThreadServerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_DDE_INITIATE) return msg == WM_DDE_TERMINATE ? 0 : DefWindowProcA(hwnd, msg, wp, lp);
  char name[256] = {};
  if (ATOM app = LOWORD(lp); app) GlobalGetAtomNameA(app, name, sizeof name);
  if (g_threadService != name) return 0;
  char topic[256] = {};
  GlobalGetAtomNameA(HIWORD(lp), topic, sizeof topic);
  SendMessageA(reinterpret_cast<HWND>(wp), WM_DDE_ACK, reinterpret_cast<WPARAM>(hwnd),
               MAKELPARAM(GlobalAddAtomA(name), GlobalAddAtomA(topic)));
  return 0;
}

TEST_F(DdeChannel, ServerOnTheSameThreadIsTakenAndItsAtomsReleased) {
  g_threadService = service_;
  std::string topic = "Here" + std::to_string(GetCurrentProcessId());
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &ThreadServerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DoveThreadServer";
  RegisterClassA(&wc);
  HWND server = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(server, nullptr);
  Channel ch = DDEopen(service_, topic);
  EXPECT_NE(ch, 0) << "the answer from this thread was refused";
  DDEclose(ch);
  Pump(100);
  DestroyWindow(server);
  EXPECT_EQ(AtomReferences(service_), 0) << "the server's application atom was kept";
  EXPECT_EQ(AtomReferences(topic), 0) << "the server's topic atom was kept";
}

TEST_F(DdeChannel, ChannelZeroAndClosedHandles) {
  err::Post(33);
  DDEexecute(0, "[Nothing]");
  EXPECT_EQ(err::Code(), 33) << "execute on channel 0 leaves the error alone";
  DDEclose(0);
  EXPECT_EQ(err::Code(), 0) << "close clears the error state";

  Partner p;
  ASSERT_TRUE(p.Start(service_));
  Channel ch = DDEopen(service_, "");
  ASSERT_NE(ch, 0);
  DDEclose(ch);
  DDEclose(ch);  // a second close of the same handle does nothing
  DDEexecute(ch, "[Stale]");
  EXPECT_EQ(err::Code(), 601) << "a closed handle names no channel";
  EXPECT_EQ(Join(p.Finish()), Join({"w1 INITIATE app=" + service_ + " topic=#0", "w1 c1 TERMINATE"}));
}

// A runtime window with no controls, current on this thread while open.
wdef::Window EmptyWindow() {
  wdef::Window w;
  w.label = "DDE$W";
  w.title = "DDE";
  w.position = {0, 0, 40, 20};
  return w;
}

std::string AtomName(ATOM a) {
  char name[256] = {};
  GlobalGetAtomNameA(a, name, sizeof name);
  return name;
}

// Takes the window's events; true when one of them is `number` for the
// channel and carries the conversation's names and partner.
bool HasDdeEvent(win::Window& w, int number, Channel ch, const std::string& app = "",
                 const std::string& topic = "") {
  bool found = false;
  while (auto rec = w.TakeNext()) {
    auto* dde = dynamic_cast<DdeEventRecord*>(rec.get());
    if (rec->Number() != number || !dde || dde->channel != ch) continue;
    found = true;
    EXPECT_EQ(AtomName(dde->application), app);
    EXPECT_EQ(AtomName(dde->topic), topic);
    EXPECT_NE(dde->partner, nullptr);
  }
  return found;
}

TEST_F(DdeChannel, PartnerTerminatesThenDDEclosedGoesWhereDDEmodeSays) {
  for (uint32_t mode : {0u, 1u}) {
    SCOPED_TRACE("DDEmode " + std::to_string(mode));
    SetDDEmode(mode);
    win::RuntimeWindow owner("Dde$Owner", "DDE$W", {});
    ASSERT_TRUE(owner.OpenFrom(EmptyWindow(), GetModuleHandleA(nullptr)));
    Partner p;
    ASSERT_TRUE(p.Start(service_, {"terminate-after-execute"}));
    Channel ch = DDEopen(service_, "Topic");
    ASSERT_NE(ch, 0);
    win::RuntimeWindow later("Dde$Later", "DDE$W", {});
    ASSERT_TRUE(later.OpenFrom(EmptyWindow(), GetModuleHandleA(nullptr)));
    DDEexecute(ch, "[Bye]");
    EXPECT_EQ(err::Code(), 0);
    Pump(300);
    win::Window& expected = mode ? static_cast<win::Window&>(later) : owner;
    win::Window& other = mode ? static_cast<win::Window&>(owner) : later;
    EXPECT_TRUE(HasDdeEvent(expected, win::EVENT_DDEclosed, ch, service_, "Topic"));
    EXPECT_FALSE(HasDdeEvent(other, win::EVENT_DDEclosed, ch));
    DDEexecute(ch, "[Gone]");
    EXPECT_EQ(err::Code(), 602);
    DDEclose(ch);  // the partner said goodbye already: nothing more goes out
    later.Close();
    owner.Close();
    EXPECT_EQ(Join(p.Finish()), Join({"w1 INITIATE app=" + service_ + " topic=Topic",
                                      "w1 c1 EXECUTE [Bye]", "w1 c1 TERMINATE"}));
  }
  SetDDEmode(0);
}

TEST_F(DdeChannel, GoodbyeThatComesSentIsHandledFromTheQueue) {
  for (const char* how : {"terminate-after-execute", "sent-terminate"}) {
    SCOPED_TRACE(how);
    Partner p;
    ASSERT_TRUE(p.Start(service_, {how}));
    Channel ch = DDEopen(service_, "");
    ASSERT_NE(ch, 0);
    DDEexecute(ch, "[Bye]");
    EXPECT_EQ(err::Code(), 0);
    Pump(300);
    DDEexecute(ch, "[Gone]");
    EXPECT_EQ(err::Code(), 602) << "the partner's goodbye was taken";
    DDEclose(ch);
    EXPECT_EQ(Join(p.Finish()), Join({"w1 INITIATE app=" + service_ + " topic=#0",
                                      "w1 c1 EXECUTE [Bye]", "w1 c1 TERMINATE"}));
  }
}

TEST_F(DdeChannel, DataIsRefusedAndItsMemoryFreed) {
  // The partner's data is refused when it asks for an answer; a stranger's
  // is ignored; data still queued at the close goes with the window. In
  // every case the item atom and the data blocks that are ours are released.
  constexpr int kCount = 40;
  struct Row {
    const char* sender;
    bool pumped;
    bool refusalsExpected;
  };
  for (const Row& row : {Row{"data-after-execute", true, true},
                         Row{"stranger-data-after-execute", true, false},
                         Row{"data-after-execute", false, false}}) {
    SCOPED_TRACE(std::string(row.sender) + (row.pumped ? "" : ", queued at the close"));
    Partner p;
    ASSERT_TRUE(p.Start(service_, {row.sender, "data-count=" + std::to_string(kCount)}));
    DDEclose(DDEopen(service_, ""));  // first-use allocations of the platform
    Pump(100);
    int before = HeapBlocks();
    Channel ch = DDEopen(service_, "");
    ASSERT_NE(ch, 0);
    DDEexecute(ch, "[Data]");
    EXPECT_EQ(err::Code(), 0);
    if (row.pumped) Pump(300); else Sleep(300);
    DDEclose(ch);
    Pump(100);
    EXPECT_LT(HeapBlocks() - before, kCount / 2) << "data blocks were kept";
    Lines expected{"w1 INITIATE app=" + service_ + " topic=#0", "w1 c1 TERMINATE",
                   "w1 INITIATE app=" + service_ + " topic=#0", "w1 c2 EXECUTE [Data]"};
    for (int i = 0; row.refusalsExpected && i < kCount; ++i) expected.push_back("w1 c2 ACK status=0000");
    expected.push_back("w1 c2 TERMINATE");
    EXPECT_EQ(Join(p.Finish()), Join(expected));
    EXPECT_EQ(AtomReferences(service_ + "Item"), 0) << "item atoms were kept";
  }
}

TEST_F(DdeChannel, ClosingAWindowClosesItsChannelsNewestFirst) {
  Partner p;
  ASSERT_TRUE(p.Start(service_));
  Channel free = DDEopen(service_, "Free");  // no window: lives on
  ASSERT_NE(free, 0);
  {
    win::RuntimeWindow w("Dde$Owner", "DDE$W", {});
    ASSERT_TRUE(w.OpenFrom(EmptyWindow(), GetModuleHandleA(nullptr)));
    ASSERT_NE(DDEopen(service_, "A"), 0);
    ASSERT_NE(DDEopen(service_, "B"), 0);
    EXPECT_EQ(OpenChannelCount(), 3u);
    w.Close();
  }
  EXPECT_EQ(OpenChannelCount(), 1u);
  DDEexecute(free, "[Still]");
  EXPECT_EQ(err::Code(), 0);
  DDEclose(free);
  EXPECT_EQ(Join(p.Finish()),
            Join({"w1 INITIATE app=" + service_ + " topic=Free", "w1 INITIATE app=" + service_ + " topic=A",
                  "w1 INITIATE app=" + service_ + " topic=B", "w1 c3 TERMINATE", "w1 c2 TERMINATE",
                  "w1 c1 EXECUTE [Still]", "w1 c1 TERMINATE"}));
}

TEST_F(DdeChannel, ThousandCyclesLeaveNoAtomOrMemoryBehind) {
  std::string topic = "LeakTopic" + std::to_string(GetCurrentProcessId());
  Partner p;
  ASSERT_TRUE(p.Start(service_));
  auto cycle = [&](int count) {
    for (int i = 0; i < count; ++i) {
      Channel ch = DDEopen(service_, topic);
      if (!ch) return false;
      DDEexecute(ch, "[Cycle(" + std::to_string(i) + ")]");
      if (err::Code() != 0) return false;
      DDEclose(ch);
    }
    return true;
  };
  ASSERT_TRUE(cycle(20));  // first-use allocations of the platform
  Pump(200);
  int before = HeapBlocks();
  ASSERT_TRUE(cycle(1000));
  Pump(500);  // the partner's goodbyes
  int after = HeapBlocks();
  EXPECT_LT(after - before, 20) << "heap blocks before " << before << ", after " << after;
  Lines got = p.Finish();
  EXPECT_EQ(got.size(), 1020u * 3);
  EXPECT_EQ(AtomReferences(service_), 0) << "references left on the service atom";
  EXPECT_EQ(AtomReferences(topic), 0) << "references left on the topic atom";
}

}  // namespace
}  // namespace dove::dde
