#include <atomic>

#include "dde/dde_channel.h"
#include "runtime/system_props.h"

namespace dove::dde {

namespace {

// Until a program sets DDETimeOut, a transaction waits one second.
constexpr uint32_t kDefaultTimeOutMs = 1000;
std::atomic<bool> g_timeOutSet{false};

}  // namespace

void SetDDETimeOut(uint32_t hundredths) {
  SetSystemProp(kDDETimeOutProperty, static_cast<uintptr_t>(hundredths) * 10u);
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
