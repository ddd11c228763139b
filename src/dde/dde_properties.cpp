#include <atomic>
#include <cstdint>

#include "dde/dde_channel.h"
#include "runtime/system_props.h"

namespace dove::dde {

namespace {

// Until a program sets DDETimeOut, a transaction waits one second.
constexpr uint32_t kDefaultTimeOutMs = 1000;
std::atomic<bool> g_timeOutSet{false};

}  // namespace

// From 429,496,730 hundredths on, ten times the value no longer fits the
// 32 bits the property keeps; wrapped, a wait of days would become a few
// milliseconds. The longest wait that can be kept is the nearest honest one.
void SetDDETimeOut(uint32_t hundredths) {
  uint64_t ms = static_cast<uint64_t>(hundredths) * 10u;
  SetSystemProp(kDDETimeOutProperty, static_cast<uintptr_t>(ms > UINT32_MAX ? UINT32_MAX : ms));
  g_timeOutSet.store(true);
}

uint32_t DDETimeOutMs() {
  if (!g_timeOutSet.load()) return kDefaultTimeOutMs;
  return static_cast<uint32_t>(SystemProp(kDDETimeOutProperty));
}

uint32_t DDETimeOut() { return DDETimeOutMs() / 10u; }

void SetDDEmode(uint32_t flags) { SetSystemProp(kDDEmodeProperty, flags); }
uint32_t DDEmode() { return static_cast<uint32_t>(SystemProp(kDDEmodeProperty)); }

}  // namespace dove::dde
