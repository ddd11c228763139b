// The runtime's window object: its event queue and what ACCEPT asks of it.
//
// The portable part keeps the queue, the event being processed and the loop
// state; the platform part (window_win32.h) owns the platform window and its
// controls and implements the operations below. A window belongs to the
// thread that opened it; events from other threads reach it through
// HandOver() and are appended on its own thread.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "windows/loop/events.h"

namespace dove::win {

// The portable part of a control object.
class Control {
 public:
  virtual ~Control() = default;
  int type = 0;                 // record type of the definition (9 button, 8 entry, ...)
  int field = 0;                // field number, 0 for an unlabelled control
  bool receivesEvents = false;  // field events are queued only for marked controls
  std::string label;            // "?OKBUTTON"
};

class Window {
 public:
  // Records still on their way to the window from other threads go with it.
  virtual ~Window();

  // Appends an event of this window's own thread and wakes its loop. The
  // rules of queueing (shut-down, a window that no longer accepts, unmarked
  // controls) are applied by Post(); use QueueEvent() for the runtime's own.
  void Append(std::unique_ptr<EventRecord> record);
  // Makes and appends an event of the runtime's own (a click, a tick), with
  // the same rules as POST. False when the rules dropped it.
  bool QueueEvent(int number, Control* control, int32_t value = 0);
  // Applies the rules and makes the record; null when the event is dropped.
  std::unique_ptr<EventRecord> MakeEvent(int number, Control* control, int32_t value);
  // The record of a POST from another thread. It reads nothing of the
  // window (whose thread may be closing or reopening it meanwhile): it names
  // its control by field number only and carries no mouse or key data. The
  // window's own thread applies the rules when it adopts the record.
  std::unique_ptr<EventRecord> MakeForeignEvent(int number, int field, int32_t value);
  // On the window's thread: a record handed over from another thread gets
  // its control and passes the rules of POST, then is appended.
  void AdoptForeign(std::unique_ptr<EventRecord> record);

  bool HasEvents() const { return !queue_.empty(); }
  size_t QueuedCount() const { return queue_.size(); }
  std::unique_ptr<EventRecord> TakeNext();
  EventRecord* Current() const { return current_.get(); }
  void SetCurrent(std::unique_ptr<EventRecord> record) { current_ = std::move(record); }
  std::unique_ptr<EventRecord> ReleaseCurrent() { return std::move(current_); }

  // The loop state of ACCEPT.
  bool looping = false;
  bool cycled = false;
  // Set once the window has closed (or is closing): nothing more is queued.
  bool Closed() const { return closed_; }
  void MarkClosed() { closed_ = true; queue_.clear(); }
  // A window object that closed may be opened again: it starts with an
  // empty queue and a fresh loop.
  void ResetForOpen();

  // ---- the platform part ----
  // Waits for platform messages until an event is queued (true) or the
  // window has closed (false).
  virtual bool WaitForEvent() = 0;
  // Default processing of EVENT:CloseWindow: the window closes.
  virtual void Close() = 0;
  virtual Control* FieldControl(int field) const = 0;
  // SELECT, DISPLAY, ENABLE/DISABLE and property assignment.
  virtual void Select(int field) = 0;
  virtual void Display(int first, int last) = 0;
  virtual void SetEnabled(int first, int last, bool enabled) = 0;
  virtual void SetProperty(int field, int property, int index, std::string_view value) = 0;
  // The control with the focus, null when none.
  virtual Control* FocusControl() const { return nullptr; }
  // Mouse position and keyboard state for a new record.
  virtual void CaptureInput(EventRecord&) const {}
  // The thread that owns the window.
  virtual uint32_t ThreadNumber() const = 0;
  // Gives a record made on another thread to the window's thread. False when
  // it could not be handed over (the record is then destroyed by the caller).
  virtual bool HandOver(std::unique_ptr<EventRecord>& record) = 0;
  // Wakes the loop after an append on its own thread.
  virtual void Wake() {}
  // ACCEPT has returned false for the last time in this opening.
  virtual void OnLoopEnded() {}

 private:
  std::deque<std::unique_ptr<EventRecord>> queue_;
  std::unique_ptr<EventRecord> current_;
  bool closed_ = false;
};

// The calling thread's current window (the one whose ACCEPT runs), or null.
Window* CurrentWindow();
// Makes w the calling thread's current window and returns the previous one,
// which the caller restores when w closes. Registers w for POST from other
// threads under its thread number.
Window* SetCurrentWindow(Window* w);
// The current window of another thread; the registry lock is held while fn
// runs, so the window cannot go away meanwhile. False when the thread has none.
bool WithThreadWindow(uint32_t thread, void (*fn)(Window*, void*), void* context);

// Runs when a window closes, before its platform window is destroyed; the
// DDE layer installs it to close the channels the window owns.
void SetWindowClosingHook(void (*hook)(Window*));
void RunWindowClosingHook(Window* w);
// The registered message "TW_QUERY_PSCREEN" (0 until the runtime start
// registers it): a runtime window answers it with its Window object.
void SetQueryPscreenMessage(unsigned message);
unsigned QueryPscreenMessage();

// Thread numbers: the platform's thread id under Windows.
uint32_t CurrentThreadNumber();
void SetThreadNumberSource(uint32_t (*source)());

}  // namespace dove::win
