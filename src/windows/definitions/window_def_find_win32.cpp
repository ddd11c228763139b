#include "windows/definitions/window_def_find_win32.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/errors/fault.h"
#include "runtime/runtime_record.h"
#include "windows/definitions/window_def_find.h"

namespace dove::wdef {
namespace {

// The unnamed process-wide mutex that guards the definition buffer and the
// module list. Made on first use, which start-up reaches before any second
// thread exists.
HANDLE DefinitionMutex() {
  static HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
  return mutex;
}

class MutexLock {
 public:
  MutexLock() : mutex_(DefinitionMutex()) {
    if (mutex_) WaitForSingleObject(mutex_, INFINITE);
  }
  ~MutexLock() {
    if (mutex_) ReleaseMutex(mutex_);
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  HANDLE mutex_;
};

std::vector<HMODULE> g_modules;       // further program modules, in order
std::vector<uint8_t> g_buffer;        // the current definition buffer
HMODULE g_bufferModule = nullptr;

// Looks in one module; on success the module's body is the current buffer
// and the result is the window record's offset in it.
uint32_t SearchModule(HMODULE module, const std::string& resource, const char* procedure,
                      const char* label) {
  HRSRC found = FindResourceA(module, resource.c_str(), "DABDUMP");
  if (!found) return 0;
  HGLOBAL loaded = LoadResource(module, found);
  DWORD size = SizeofResource(module, found);
  const uint8_t* block = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  size_t body = 0;
  if (!block || !ProcedureMatches(block, size, procedure, &body)) return 0;
  g_buffer = MakeBuffer(block + body, size - body);
  g_bufferModule = module;
  uint32_t at = FindWindowRecord(g_buffer.data(), g_buffer.size(), label);
  if (at == 0) {
    g_buffer.clear();
    g_bufferModule = nullptr;
  }
  return at;
}

// Main module first, then the list without it. Caller holds the mutex.
uint32_t Search(const char* procedure, const char* label) {
  std::string resource = ResourceNameFor(procedure);
  HMODULE main = GetModuleHandleA(nullptr);
  uint32_t at = SearchModule(main, resource, procedure, label);
  for (size_t i = 0; at == 0 && i < g_modules.size(); ++i) {
    if (g_modules[i] != main) at = SearchModule(g_modules[i], resource, procedure, label);
  }
  return at;
}

}  // namespace

uint32_t FindWindowRecordOffset(const char* procedure, const char* label) {
  MutexLock lock;
  return Search(procedure, label);
}

bool FindWindowDefinition(const char* procedure, const char* label, FoundWindow* out) {
  *out = FoundWindow{};
  MutexLock lock;
  uint32_t at = Search(procedure, label);
  if (at == 0 || !DecodeWindowAt(g_buffer.data(), g_buffer.size(), at, &out->window)) return false;
  out->module = g_bufferModule;
  return true;
}

FoundWindow PrepareWindowDefinition(const char* procedure, const char* label) {
  if (win::FindThreadRecord() == nullptr) FatalError(504, "WSLDIAL");
  FoundWindow found;
  if (!FindWindowDefinition(procedure, label, &found)) FatalError(502, "WSLDIAL");
  return found;
}

void AddProgramModule(HMODULE module) {
  MutexLock lock;
  if (!module || module == GetModuleHandleA(nullptr)) return;
  if (std::find(g_modules.begin(), g_modules.end(), module) == g_modules.end())
    g_modules.push_back(module);
}

void RemoveProgramModule(HMODULE module) {
  MutexLock lock;
  g_modules.erase(std::remove(g_modules.begin(), g_modules.end(), module), g_modules.end());
}

}  // namespace dove::wdef
