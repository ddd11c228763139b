// ACCEPT and the operations of a window procedure's event loop.
//
// A procedure opens its window (window_win32.h), then loops over ACCEPT();
// each pass handles one event. When the pass ends normally, the next ACCEPT()
// completes the event's default processing first (EVENT:CloseWindow closes
// the window); CYCLE() skips that. ACCEPT() returns false once the window has
// closed.
//
//   while (ACCEPT()) {
//     switch (EVENT()) {
//     case EVENT_CloseWindow:
//       if (!mayClose) { POST(EVENT_Accepted, kCancelButton); CYCLE(); continue; }
//       break;
//     case EVENT_Accepted:
//       if (FIELD() == kOkButton) Save();
//       break;
//     }
//   }
//
// ACCEPT on a thread without a current window is the fatal error 537.
#pragma once

#include <cstdint>
#include <string_view>

#include "windows/loop/events.h"

namespace dove::win {

bool ACCEPT();
// Ends the pass without the event's default processing (follow with continue).
void CYCLE();
// The number of the event being processed, 0 outside an event.
int EVENT();
// The field number of that event's control; 0 for a window event.
int FIELD();
// Queues an event for the current window of `thread` (0: the calling
// thread). Nothing happens when that thread has no current window.
void POST(int event, int field = 0, uint32_t thread = 0, int32_t value = 0);
// Gives the control the focus (a tab page comes to the front first).
void SELECT(int field = 0);
// Shows the use variables' values in the controls first..last (0, 0: all).
void DISPLAY(int first = 0, int last = 0);
// last 0: only first.
void ENABLE(int first, int last = 0);
void DISABLE(int first, int last = 0);
// Property assignment: field 0 is the window. Timer takes its value as text.
void SetProperty(int field, int property, int index, std::string_view value);
void SetProperty(int field, int property, std::string_view value);
void SetProperty(int field, int property, int32_t value);

}  // namespace dove::win
