// Event records on their way to another thread.
//
// The private message that carries an event to another thread's window can
// be posted by any process, so it never carries a pointer: the record waits
// here under a ticket number, and the receiving thread adopts only a ticket
// that this table holds for its own window. Anything else is ignored.
//
//   uint32_t ticket = ParkEvent(std::move(record));
//   if (!PostMessageA(hwnd, kPostEventMessage, 0, ticket)) ClaimEvent(ticket, nullptr);
//   ...
//   // on the window's thread:
//   if (auto rec = ClaimEvent(lParam, window)) window->Append(std::move(rec));
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "windows/loop/events.h"

namespace dove::win {

// Keeps the record until it is claimed or its window goes; never 0.
uint32_t ParkEvent(std::unique_ptr<EventRecord> record);
// The parked record of that ticket when it belongs to `receiver` (any window
// when receiver is null); null for an unknown ticket or another window's.
std::unique_ptr<EventRecord> ClaimEvent(uintptr_t ticket, const Window* receiver);
// Destroys the records still on their way to a window that closes.
void DropEventsFor(const Window* window);
size_t ParkedEventCount();

}  // namespace dove::win
