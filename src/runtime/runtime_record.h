// The per-thread runtime record of the window layer.
//
// Every thread that shows windows or messages has one. It is made on the
// thread's first call of ThreadRecord() and lives until the thread ends (or
// ReleaseThreadRecord()). Handles are kept opaque so that the portable core
// can hold them; the Win32 shell casts them back.
//
//   dove::win::RuntimeRecord& rt = dove::win::ThreadRecord();
//   HWND owner = static_cast<HWND>(rt.currentWindow);
#pragma once

#include <cstdint>

namespace dove {
struct MessageRecord;  // the active message dialog's state (message_record_win32.h)
}

namespace dove::win {

class Window;  // the window object of the event loop (window.h)

struct RuntimeRecord {
  // The window whose ACCEPT runs on this thread (an HWND), or null.
  void* currentWindow = nullptr;
  // The message dialog that is up on this thread, or null. Its dialog
  // procedure finds its state here.
  MessageRecord* activeMessage = nullptr;
  // Keyboard layout (an HKL), updated on WM_INPUTLANGCHANGE.
  uintptr_t keyboardLayout = 0;
  // The window object whose ACCEPT runs (its platform window is
  // currentWindow), or null.
  Window* window = nullptr;
};

// The calling thread's record, made on first use.
RuntimeRecord& ThreadRecord();
// The calling thread's record, or null when it has none yet.
RuntimeRecord* FindThreadRecord();
// Drops the calling thread's record; the next ThreadRecord() makes a new one.
void ReleaseThreadRecord();

// The application frame window (an HWND), or null. There is none until the
// window layer opens one.
void* ApplicationFrame();
void SetApplicationFrame(void* frame);

}  // namespace dove::win
