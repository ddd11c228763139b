#include "windows/definitions/module_windows_win32.h"

#include <memory>
#include <mutex>

#include "runtime/lifecycle.h"
#include "windows/loop/runtime_window_win32.h"

namespace dove::win {

namespace {

std::mutex g_lock;

std::vector<std::unique_ptr<RuntimeWindow>>& Declared() {
  static std::vector<std::unique_ptr<RuntimeWindow>> windows;
  return windows;
}

void DestroyModuleWindows() {
  std::vector<std::unique_ptr<RuntimeWindow>> gone;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    gone.swap(Declared());
  }
  while (!gone.empty()) gone.pop_back();  // newest first
}

}  // namespace

RuntimeWindow* DeclareModuleWindow(const std::string& procedure, const std::string& label,
                                   std::vector<void*> useAddresses) {
  auto w = std::make_unique<RuntimeWindow>(procedure, label, std::move(useAddresses));
  RuntimeWindow* result = w.get();
  bool first = false;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    first = Declared().empty();
    Declared().push_back(std::move(w));
  }
  if (first) lifecycle::AddFinaliser(&DestroyModuleWindows);
  return result;
}

RuntimeWindow* ModuleWindow(const std::string& label) {
  std::lock_guard<std::mutex> hold(g_lock);
  for (auto& w : Declared())
    if (lstrcmpiA(w->label().c_str(), label.c_str()) == 0) return w.get();
  return nullptr;
}

}  // namespace dove::win
