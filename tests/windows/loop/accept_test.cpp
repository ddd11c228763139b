// The event loop's rules over a window whose platform part is scripted.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/errors/fault.h"
#include "runtime/lifecycle.h"
#include "runtime/system_props.h"
#include "windows/loop/accept.h"
#include "windows/loop/event_handoff.h"
#include "windows/loop/window.h"

namespace dove::win {
namespace {

constexpr int kOk = 3, kCancel = 4, kPrompt = 5;

// A window whose "platform" is a script of events that arrive while ACCEPT
// waits; each script step runs once per wait.
class ScriptedWindow : public Window {
 public:
  ScriptedWindow() {
    ok.field = kOk;
    ok.receivesEvents = true;
    cancel.field = kCancel;
    cancel.receivesEvents = true;
    prompt.field = kPrompt;  // a prompt raises nothing
  }
  std::vector<std::function<void(ScriptedWindow&)>> script;
  size_t step = 0;
  int closes = 0;
  std::vector<std::unique_ptr<EventRecord>> handedOver;
  Control ok, cancel, prompt;

  bool WaitForEvent() override {
    while (!HasEvents()) {
      if (Closed() || step >= script.size()) return false;
      script[step++](*this);
    }
    return true;
  }
  void Close() override {
    ++closes;
    MarkClosed();
  }
  Control* FieldControl(int field) const override {
    auto* self = const_cast<ScriptedWindow*>(this);
    if (field == kOk) return &self->ok;
    if (field == kCancel) return &self->cancel;
    if (field == kPrompt) return &self->prompt;
    return nullptr;
  }
  void Select(int) override {}
  void Display(int, int) override {}
  void SetEnabled(int, int, bool) override {}
  void SetProperty(int, int, int, std::string_view) override {}
  uint32_t ThreadNumber() const override { return owner; }
  bool HandOver(std::unique_ptr<EventRecord>& rec) override {
    handedOver.push_back(std::move(rec));
    return true;
  }
  uint32_t owner = CurrentThreadNumber();
};

struct Seen {
  int event;
  int field;
  bool operator==(const Seen& o) const { return event == o.event && field == o.field; }
};

std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << "{" << s.event << "," << s.field << "}";
}

class AcceptTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetCurrentWindow(&w_); }
  void TearDown() override {
    SetCurrentWindow(previous_);
    lifecycle::Start();
  }
  // Runs the loop; body returns true to end its pass with CYCLE.
  std::vector<Seen> Run(const std::function<bool()>& body = [] { return false; }) {
    std::vector<Seen> seen;
    while (ACCEPT()) {
      seen.push_back({EVENT(), FIELD()});
      if (body()) {
        CYCLE();
        continue;
      }
    }
    return seen;
  }
  ScriptedWindow w_;
  Window* previous_ = nullptr;
};

TEST_F(AcceptTest, EventsComeInOrderAndCloseEndsTheLoop) {
  w_.script.push_back([](ScriptedWindow& w) {
    w.QueueEvent(EVENT_Accepted, &w.ok);
    w.QueueEvent(EVENT_Timer, nullptr);
    w.QueueEvent(EVENT_CloseWindow, nullptr);
    w.QueueEvent(EVENT_Accepted, &w.cancel);  // after the close: never seen
  });
  EXPECT_EQ(Run(), (std::vector<Seen>{{1, kOk}, {523, 0}, {513, 0}}));
  EXPECT_EQ(w_.closes, 1);
  EXPECT_EQ(EVENT(), 0);
  EXPECT_EQ(FIELD(), 0);
}

TEST_F(AcceptTest, CycleOnCloseKeepsTheWindowOpen) {
  w_.script.push_back([](ScriptedWindow& w) { w.QueueEvent(EVENT_CloseWindow, nullptr); });
  w_.script.push_back([](ScriptedWindow& w) { w.QueueEvent(EVENT_Accepted, &w.ok); });
  w_.script.push_back([](ScriptedWindow& w) { w.QueueEvent(EVENT_CloseWindow, nullptr); });
  int closes = 0;
  auto seen = Run([&] { return EVENT() == EVENT_CloseWindow && closes++ == 0; });
  EXPECT_EQ(seen, (std::vector<Seen>{{513, 0}, {1, kOk}, {513, 0}}));
  EXPECT_EQ(w_.closes, 1);
}

TEST_F(AcceptTest, CloseFromTheBodyComesAfterWhatWasQueuedBefore) {
  w_.script.push_back([](ScriptedWindow& w) {
    w.QueueEvent(EVENT_Accepted, &w.ok);
    w.QueueEvent(EVENT_Timer, nullptr);
  });
  auto seen = Run([] {
    if (FIELD() == kOk) {
      POST(EVENT_Accepted, kCancel);
      POST(EVENT_CloseWindow);
    }
    return false;
  });
  EXPECT_EQ(seen, (std::vector<Seen>{{1, kOk}, {523, 0}, {1, kCancel}, {513, 0}}));
}

TEST_F(AcceptTest, FieldEventsOnlyForMarkedControls) {
  w_.script.push_back([](ScriptedWindow&) {
    POST(EVENT_Accepted, kPrompt);  // not marked
    POST(EVENT_Accepted, 99);       // no such control
    POST(EVENT_Accepted, kOk);
    POST(EVENT_CloseWindow, kOk);   // a window event names no control
  });
  EXPECT_EQ(Run(), (std::vector<Seen>{{1, kOk}, {513, 0}}));
}

TEST_F(AcceptTest, DuringShutDownOnlyCloseEventsAreQueued) {
  w_.script.push_back([](ScriptedWindow&) {
    lifecycle::BeginShutdown();
    POST(EVENT_Accepted, kOk);
    POST(EVENT_Timer);
    POST(EVENT_CloseDown);
    POST(EVENT_CloseWindow);
  });
  EXPECT_EQ(Run(), (std::vector<Seen>{{514, 0}, {513, 0}}));
}

TEST_F(AcceptTest, PostFromAnotherThreadIsHandedOver) {
  uint32_t me = CurrentThreadNumber();
  std::thread other([me] {
    POST(EVENT_Accepted, kOk, me, 7);
    POST(EVENT_Accepted, kOk, me + 1000);  // a thread without a window: nothing
  });
  other.join();
  ASSERT_EQ(w_.handedOver.size(), 1u);
  EXPECT_EQ(w_.handedOver[0]->code, kEventCodeBase + EVENT_Accepted);
  EXPECT_EQ(w_.handedOver[0]->field, kOk);
  EXPECT_EQ(w_.handedOver[0]->value, 7);
  EXPECT_EQ(w_.handedOver[0]->window, &w_);
}

// What crosses threads is a ticket: a number nobody parked, or a ticket for
// another window, is never taken for a record.
TEST(EventHandoff, OnlyParkedTicketsOfTheReceiverAreAdopted) {
  ScriptedWindow a, b;
  auto record = [](Window* w) {
    auto rec = std::make_unique<EventRecord>();
    rec->window = w;
    return rec;
  };
  size_t before = ParkedEventCount();
  uint32_t forA = ParkEvent(record(&a));
  uint32_t alsoForA = ParkEvent(record(&a));
  uint32_t forB = ParkEvent(record(&b));
  EXPECT_NE(forA, 0u);
  EXPECT_NE(forA, alsoForA);
  EXPECT_EQ(ClaimEvent(0, &a), nullptr);
  EXPECT_EQ(ClaimEvent(0x12345678, &a), nullptr);
  EXPECT_EQ(ClaimEvent(~uintptr_t(0), &a), nullptr);
  EXPECT_EQ(ClaimEvent(forB, &a), nullptr) << "another window's record";
  std::unique_ptr<EventRecord> got = ClaimEvent(forA, &a);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got->window, &a);
  EXPECT_EQ(ClaimEvent(forA, &a), nullptr) << "adopted once";
  DropEventsFor(&a);  // what was still on its way to a closing window
  EXPECT_EQ(ClaimEvent(alsoForA, &a), nullptr);
  EXPECT_EQ(ParkedEventCount(), before + 1);
  EXPECT_NE(ClaimEvent(forB, nullptr), nullptr);
  ParkEvent(record(&b));  // left for the window's end: b's destructor frees it
}

int g_unlocks = 0, g_locks = 0;
void CountUnlock() { ++g_unlocks; }
void CountLock() { ++g_locks; }

TEST_F(AcceptTest, ThreadHooksFrameEachWait) {
  SetSystemProp(kUnlockThreadHook, reinterpret_cast<uintptr_t>(&CountUnlock));
  SetSystemProp(kLockThreadHook, reinterpret_cast<uintptr_t>(&CountLock));
  g_unlocks = g_locks = 0;
  auto unlockedWhileWaiting = [](ScriptedWindow&) { EXPECT_EQ(g_unlocks, g_locks + 1); };
  w_.script.push_back([&](ScriptedWindow& w) {
    unlockedWhileWaiting(w);
    w.QueueEvent(EVENT_Accepted, &w.ok);
  });
  w_.script.push_back([&](ScriptedWindow& w) {
    unlockedWhileWaiting(w);
    w.QueueEvent(EVENT_CloseWindow, nullptr);
  });
  int passes = 0;
  Run([&] {
    ++passes;
    EXPECT_EQ(g_unlocks, g_locks) << "the loop body runs locked";
    return false;
  });
  SetSystemProp(kUnlockThreadHook, 0);
  SetSystemProp(kLockThreadHook, 0);
  EXPECT_EQ(passes, 2);
  EXPECT_EQ(g_unlocks, 2);  // one wait per event; none once the window has closed
  EXPECT_EQ(g_locks, 2);
}

TEST(AcceptWithoutWindow, IsFatal537) {
  Window* previous = SetCurrentWindow(nullptr);
  EXPECT_EQ(EVENT(), 0);
  POST(EVENT_Accepted, 1);  // nothing to post to: no effect
  EXPECT_EXIT(ACCEPT(), ::testing::ExitedWithCode(fault::kExitCode), "ACCEPT loop requires a window");
  SetCurrentWindow(previous);
}

TEST(EventNames, NameTheTableEntries) {
  EXPECT_EQ(EventName(EVENT_Accepted), "EVENT:Accepted");
  EXPECT_EQ(EventName(0x20B), "EVENT:Timer");
  EXPECT_EQ(EventName(0x207), "");
  EXPECT_TRUE(IsFieldEvent(EVENT_Rejected));
  EXPECT_FALSE(IsFieldEvent(EVENT_CloseWindow));
}

}  // namespace
}  // namespace dove::win
