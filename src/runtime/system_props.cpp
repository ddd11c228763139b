#include "runtime/system_props.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "runtime/message/message_dialog.h"

namespace dove {

namespace {

struct Prop {
  int id;
  uintptr_t value;
};

std::mutex& Lock() {
  static std::mutex m;
  return m;
}

// Few properties are ever set; a linear table keeps them in one place.
std::vector<Prop>& Props() {
  static std::vector<Prop> props;
  return props;
}

std::atomic<uint32_t> g_options{0};

void CallThreadHook(int id) {
  if (uintptr_t p = SystemProp(id)) reinterpret_cast<ThreadHookProc>(p)();
}

}  // namespace

void SetSystemProp(int id, uintptr_t value) {
  std::lock_guard<std::mutex> guard(Lock());
  for (Prop& p : Props()) {
    if (p.id == id) {
      p.value = value;
      return;
    }
  }
  Props().push_back({id, value});
}

uintptr_t SystemProp(int id) {
  std::lock_guard<std::mutex> guard(Lock());
  for (const Prop& p : Props())
    if (p.id == id) return p.value;
  return 0;
}

void SetRuntimeOptions(uint32_t flags) { g_options.store(flags); }
uint32_t RuntimeOptions() { return g_options.load(); }

void CallUnlockThreadHook() { CallThreadHook(kUnlockThreadHook); }
void CallLockThreadHook() { CallThreadHook(kLockThreadHook); }

}  // namespace dove
