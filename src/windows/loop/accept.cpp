#include "windows/loop/accept.h"

#include <memory>
#include <string>

#include "runtime/errors/fault.h"
#include "runtime/system_props.h"
#include "windows/loop/window.h"

namespace dove::win {

namespace {

constexpr int kAcceptNeedsWindow = 537;

void CompleteDefault(Window& w, const EventRecord& rec) {
  if (rec.Number() == EVENT_CloseWindow) w.Close();
}

// The event of the last pass: its default processing runs unless the pass
// ended with CYCLE; then the record is destroyed.
void FinishPass(Window& w) {
  std::unique_ptr<EventRecord> rec = w.ReleaseCurrent();
  bool cycled = w.cycled;
  w.cycled = false;
  if (rec && !cycled) CompleteDefault(w, *rec);
}

struct ForeignPost {
  int event;
  int field;
  int32_t value;
};

void PostToForeignWindow(Window* w, void* context) {
  auto* p = static_cast<ForeignPost*>(context);
  std::unique_ptr<EventRecord> rec = w->MakeForeignEvent(p->event, p->field, p->value);
  if (rec && !w->HandOver(rec)) rec.reset();
}

// Only the wait runs unlocked: the loop body (and a MESSAGE inside it, which
// frames its own wait) runs with the lock held, as the program expects.
bool WaitUnlocked(Window& w) {
  CallUnlockThreadHook();
  bool ready = w.WaitForEvent();
  CallLockThreadHook();
  return ready;
}

}  // namespace

bool ACCEPT() {
  Window* w = CurrentWindow();
  if (!w) FatalError(kAcceptNeedsWindow, nullptr);
  if (w->looping) FinishPass(*w);
  w->looping = true;
  if (!w->Closed() && WaitUnlocked(*w)) {
    w->SetCurrent(w->TakeNext());
    return true;
  }
  w->looping = false;
  w->OnLoopEnded();
  return false;
}

void CYCLE() {
  if (Window* w = CurrentWindow()) w->cycled = w->Current() != nullptr;
}

int EVENT() {
  Window* w = CurrentWindow();
  return w && w->Current() ? w->Current()->Number() : 0;
}

int FIELD() {
  Window* w = CurrentWindow();
  return w && w->Current() ? w->Current()->field : 0;
}

void POST(int event, int field, uint32_t thread, int32_t value) {
  if (thread == 0 || thread == CurrentThreadNumber()) {
    Window* w = CurrentWindow();
    if (!w) return;
    w->QueueEvent(event, field ? w->FieldControl(field) : nullptr, value);
    return;
  }
  ForeignPost p{event, field, value};
  WithThreadWindow(thread, &PostToForeignWindow, &p);
}

void SELECT(int field) {
  if (Window* w = CurrentWindow()) w->Select(field);
}

void DISPLAY(int first, int last) {
  if (Window* w = CurrentWindow()) w->Display(first, last);
}

void ENABLE(int first, int last) {
  if (Window* w = CurrentWindow()) w->SetEnabled(first, last ? last : first, true);
}

void DISABLE(int first, int last) {
  if (Window* w = CurrentWindow()) w->SetEnabled(first, last ? last : first, false);
}

void SetProperty(int field, int property, int index, std::string_view value) {
  if (Window* w = CurrentWindow()) w->SetProperty(field, property, index, value);
}

void SetProperty(int field, int property, std::string_view value) {
  SetProperty(field, property, 0, value);
}

void SetProperty(int field, int property, int32_t value) {
  SetProperty(field, property, 0, std::to_string(value));
}

}  // namespace dove::win
