// The server side's answer to an execute or poke event that a window is
// processing: DDEacknowledge, and the refusal of a record destroyed unanswered.
// window_def.h before <windows.h>: the platform header defines a macro RGB.
#include "windows/definitions/window_def.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <dde.h>

#include <memory>
#include <string>
#include <vector>

#include "dde/dde_channel.h"
#include "dde/dde_event_win32.h"
#include "windows/loop/runtime_window_win32.h"

namespace dove::dde {
namespace {

struct Ack {
  unsigned status;
  UINT_PTR high;
  std::string itemName;
};
std::vector<Ack> g_acks;

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_DDE_ACK) return DefWindowProcA(hwnd, msg, wp, lp);
  UINT_PTR status = 0, high = 0;
  UnpackDDElParam(WM_DDE_ACK, lp, &status, &high);
  FreeDDElParam(WM_DDE_ACK, lp);
  char name[64] = {};
  if (high && high < 0x10000) GlobalGetAtomNameA(static_cast<ATOM>(high), name, sizeof name);
  g_acks.push_back({static_cast<unsigned>(status), high, name});
  return 0;
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

class DdeAcknowledge : public ::testing::Test {
 protected:
  void SetUp() override {
    StartDdeLayer();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DoveAckRecorder";
    RegisterClassA(&wc);
    partner_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               wc.hInstance, nullptr);
    wdef::Window def;
    def.label = "ACK$W";
    def.title = "Ack";
    def.position = {0, 0, 40, 20};
    ASSERT_TRUE(window_.OpenFrom(def, GetModuleHandleA(nullptr)));
    g_acks.clear();
  }
  void TearDown() override {
    window_.Close();
    DestroyWindow(partner_);
  }

  std::unique_ptr<DdeEventRecord> Record(int number) {
    auto rec = std::make_unique<DdeEventRecord>();
    rec->code = win::kEventCodeBase + static_cast<uint32_t>(number);
    rec->window = &window_;
    rec->partner = partner_;
    rec->hidden = partner_;
    return rec;
  }

  HWND partner_ = nullptr;
  win::RuntimeWindow window_{"Ack$Test", "ACK$W", {}};
};

// The server window of the execute test: each execute it receives becomes
// the event that the runtime window is processing, answered with g_flag.
win::RuntimeWindow* g_window = nullptr;
int g_flag = 0;

LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_DDE_EXECUTE) return DefWindowProcA(hwnd, msg, wp, lp);
  auto rec = std::make_unique<DdeEventRecord>();
  rec->code = win::kEventCodeBase + win::EVENT_DDEexecute;
  rec->window = g_window;
  rec->partner = reinterpret_cast<HWND>(wp);
  rec->hidden = hwnd;
  rec->memory = reinterpret_cast<HGLOBAL>(lp);
  g_window->SetCurrent(std::move(rec));
  DDEacknowledge(g_flag);
  DDEacknowledge(!g_flag);  // answered already
  g_window->ReleaseCurrent();
  return 0;
}

TEST_F(DdeAcknowledge, ExecuteIsAnsweredOnceWithItsMemory) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &ServerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DoveAckServer";
  RegisterClassA(&wc);
  HWND server = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
  g_window = &window_;
  for (int flag : {1, 0}) {
    SCOPED_TRACE("flag " + std::to_string(flag));
    g_acks.clear();
    g_flag = flag;
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE, 8);
    lstrcpyA(static_cast<char*>(GlobalLock(block)), "[Do]");
    GlobalUnlock(block);
    ASSERT_TRUE(PostMessageA(server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(partner_),
                             reinterpret_cast<LPARAM>(block)));
    Pump();
    Pump();
    ASSERT_EQ(g_acks.size(), 1u);
    EXPECT_EQ(g_acks[0].status, flag ? 0x8000u : 0u);
    EXPECT_EQ(g_acks[0].high, reinterpret_cast<UINT_PTR>(block)) << "the command comes back";
    GlobalFree(block);  // the client's, once the answer is in
  }
  DestroyWindow(server);
}

TEST_F(DdeAcknowledge, UnansweredPokeIsRefusedWithItsItem) {
  auto rec = Record(win::EVENT_DDEpoke);
  rec->item = GlobalAddAtomA("DoveAckItem");
  window_.SetCurrent(std::move(rec));
  window_.ReleaseCurrent();  // destroyed without an answer
  Pump();
  ASSERT_EQ(g_acks.size(), 1u);
  EXPECT_EQ(g_acks[0].status, 0u);
  EXPECT_EQ(g_acks[0].itemName, "DoveAckItem");
  GlobalDeleteAtom(static_cast<ATOM>(g_acks[0].high));
  EXPECT_EQ(GlobalFindAtomA("DoveAckItem"), 0) << "the record's copy of the item is gone";
}

TEST_F(DdeAcknowledge, NothingWithoutAnExecuteOrPokeBeingProcessed) {
  DDEacknowledge(1);  // no event at all
  window_.SetCurrent(Record(win::EVENT_DDEclosed));
  DDEacknowledge(1);
  window_.ReleaseCurrent();
  auto plain = std::make_unique<win::EventRecord>();
  plain->code = win::kEventCodeBase + win::EVENT_DDEexecute;  // not a DDE record
  window_.SetCurrent(std::move(plain));
  DDEacknowledge(1);
  window_.ReleaseCurrent();
  Pump();
  EXPECT_TRUE(g_acks.empty());
}

}  // namespace
}  // namespace dove::dde
