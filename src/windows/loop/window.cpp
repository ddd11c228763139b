#include "windows/loop/window.h"

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "runtime/lifecycle.h"
#include "windows/loop/event_handoff.h"
#include "runtime/runtime_record.h"

namespace dove::win {

namespace {

std::mutex g_registryLock;

std::map<uint32_t, Window*>& Registry() {
  static std::map<uint32_t, Window*> windows;
  return windows;
}

uint32_t PortableThreadNumber() {
  static std::atomic<uint32_t> next{1};
  thread_local uint32_t number = next++;
  return number;
}

std::atomic<uint32_t (*)()> g_threadSource{&PortableThreadNumber};

bool IsCloseEvent(int number) { return number == EVENT_CloseWindow || number == EVENT_CloseDown; }

}  // namespace

static std::atomic<void (*)(Window*)> g_closingHook{nullptr};
static std::atomic<unsigned> g_queryPscreen{0};

void SetWindowClosingHook(void (*hook)(Window*)) { g_closingHook.store(hook); }
void RunWindowClosingHook(Window* w) {
  if (auto hook = g_closingHook.load()) hook(w);
}
void SetQueryPscreenMessage(unsigned message) { g_queryPscreen.store(message); }
unsigned QueryPscreenMessage() { return g_queryPscreen.load(); }

uint32_t CurrentThreadNumber() { return g_threadSource.load()(); }
void SetThreadNumberSource(uint32_t (*source)()) { g_threadSource.store(source); }

Window::~Window() { DropEventsFor(this); }

std::unique_ptr<EventRecord> Window::MakeEvent(int number, Control* control, int32_t value) {
  if (lifecycle::ShuttingDown() && !IsCloseEvent(number)) return nullptr;
  if (closed_) return nullptr;
  if (IsFieldEvent(number) && !(control && control->receivesEvents)) return nullptr;
  auto rec = std::make_unique<EventRecord>();
  rec->code = kEventCodeBase + static_cast<uint32_t>(number);
  rec->window = this;
  rec->control = IsFieldEvent(number) ? control : nullptr;
  rec->field = rec->control ? rec->control->field : 0;
  rec->value = value;
  rec->focusControl = FocusControl();
  // Key state comes from the event being processed when there is one, so
  // that events posted from the loop body carry the key that started them.
  if (current_) {
    rec->keyCode = current_->keyCode;
    rec->keyChar = current_->keyChar;
    rec->keyState = current_->keyState;
    rec->mouseX = current_->mouseX;
    rec->mouseY = current_->mouseY;
  } else {
    CaptureInput(*rec);
  }
  return rec;
}

std::unique_ptr<EventRecord> Window::MakeForeignEvent(int number, int field, int32_t value) {
  if (lifecycle::ShuttingDown() && !IsCloseEvent(number)) return nullptr;
  auto rec = std::make_unique<EventRecord>();
  rec->code = kEventCodeBase + static_cast<uint32_t>(number);
  rec->window = this;
  rec->field = IsFieldEvent(number) ? field : 0;
  rec->value = value;
  return rec;
}

void Window::AdoptForeign(std::unique_ptr<EventRecord> record) {
  if (!record || closed_) return;
  int number = record->Number();
  if (lifecycle::ShuttingDown() && !IsCloseEvent(number)) return;
  if (IsFieldEvent(number)) {
    // A record of another layer (DDE) names its control itself.
    if (!record->control) record->control = FieldControl(record->field);
    if (!(record->control && record->control->receivesEvents)) return;
  }
  Append(std::move(record));
}

void Window::ResetForOpen() {
  queue_.clear();
  current_.reset();
  closed_ = false;
  looping = false;
  cycled = false;
}

void Window::Append(std::unique_ptr<EventRecord> record) {
  if (!record || closed_) return;
  queue_.push_back(std::move(record));
  Wake();
}

bool Window::QueueEvent(int number, Control* control, int32_t value) {
  std::unique_ptr<EventRecord> rec = MakeEvent(number, control, value);
  if (!rec) return false;
  Append(std::move(rec));
  return true;
}

std::unique_ptr<EventRecord> Window::TakeNext() {
  if (queue_.empty()) return nullptr;
  std::unique_ptr<EventRecord> rec = std::move(queue_.front());
  queue_.pop_front();
  return rec;
}

Window* CurrentWindow() {
  RuntimeRecord* rt = FindThreadRecord();
  return rt ? rt->window : nullptr;
}

Window* SetCurrentWindow(Window* w) {
  RuntimeRecord& rt = ThreadRecord();
  Window* previous = rt.window;
  rt.window = w;
  std::lock_guard<std::mutex> hold(g_registryLock);
  if (w)
    Registry()[CurrentThreadNumber()] = w;
  else
    Registry().erase(CurrentThreadNumber());
  return previous;
}

bool WithThreadWindow(uint32_t thread, void (*fn)(Window*, void*), void* context) {
  std::lock_guard<std::mutex> hold(g_registryLock);
  auto it = Registry().find(thread);
  if (it == Registry().end() || !it->second) return false;
  fn(it->second, context);
  return true;
}

}  // namespace dove::win
