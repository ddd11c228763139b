#include "runtime/runtime_record.h"

#include <atomic>
#include <memory>

namespace dove::win {

namespace {

thread_local std::unique_ptr<RuntimeRecord> t_record;
std::atomic<void*> g_frame{nullptr};

}  // namespace

RuntimeRecord& ThreadRecord() {
  if (!t_record) t_record = std::make_unique<RuntimeRecord>();
  return *t_record;
}

RuntimeRecord* FindThreadRecord() { return t_record.get(); }

void ReleaseThreadRecord() { t_record.reset(); }

void* ApplicationFrame() { return g_frame.load(); }
void SetApplicationFrame(void* frame) { g_frame.store(frame); }

}  // namespace dove::win
