#include "windows/loop/event_handoff.h"

#include <map>
#include <mutex>
#include <vector>

namespace dove::win {

namespace {

std::mutex g_lock;
uint32_t g_lastTicket = 0;

std::map<uint32_t, std::unique_ptr<EventRecord>>& Parked() {
  static std::map<uint32_t, std::unique_ptr<EventRecord>> parked;
  return parked;
}

// Caller holds the lock. Tickets wrap around, skipping 0 and those in use.
uint32_t NextTicket() {
  do {
    ++g_lastTicket;
  } while (g_lastTicket == 0 || Parked().count(g_lastTicket));
  return g_lastTicket;
}

}  // namespace

uint32_t ParkEvent(std::unique_ptr<EventRecord> record) {
  std::lock_guard<std::mutex> hold(g_lock);
  uint32_t ticket = NextTicket();
  Parked()[ticket] = std::move(record);
  return ticket;
}

std::unique_ptr<EventRecord> ClaimEvent(uintptr_t ticket, const Window* receiver) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (ticket == 0 || ticket > UINT32_MAX) return nullptr;
  auto it = Parked().find(static_cast<uint32_t>(ticket));
  if (it == Parked().end()) return nullptr;
  if (receiver && it->second && it->second->window != receiver) return nullptr;
  std::unique_ptr<EventRecord> record = std::move(it->second);
  Parked().erase(it);
  return record;
}

void DropEventsFor(const Window* window) {
  // Destroyed outside the lock: a record of another layer cleans up after
  // itself and may post on its way.
  std::vector<std::unique_ptr<EventRecord>> dropped;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    for (auto it = Parked().begin(); it != Parked().end();) {
      if (it->second && it->second->window == window) {
        dropped.push_back(std::move(it->second));
        it = Parked().erase(it);
      } else {
        ++it;
      }
    }
  }
}

size_t ParkedEventCount() {
  std::lock_guard<std::mutex> hold(g_lock);
  return Parked().size();
}

}  // namespace dove::win
