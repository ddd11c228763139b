// The window-definition decoder over damaged blocks. Beyond crashes and
// reads outside the input it checks what any accepted block must give:
// parents come before their children, use variables are numbered in order,
// and a window found by label decodes alone to the same control count.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "windows/definitions/window_def.h"
#include "windows/definitions/window_def_find.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckWindow(const dove::wdef::Window& w) {
  int uses = 0;
  for (size_t i = 0; i < w.controls.size(); ++i) {
    const dove::wdef::Control& c = w.controls[i];
    Check(c.parent < int(i));
    if (c.parent >= 0) Check(w.controls[c.parent].IsContainer());
    Check(c.useIndex == (c.use.present ? uses++ : -1));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dove::wdef::Definition def;
  if (!dove::wdef::DecodeBlock(data, size, &def)) {
    Check(def.windows.empty());
    return 0;
  }
  size_t body = 0;
  Check(dove::wdef::ProcedureMatches(data, size, def.procedure, &body));
  std::vector<uint8_t> buffer = dove::wdef::MakeBuffer(data + body, size - body);
  for (const dove::wdef::Window& w : def.windows) {
    CheckWindow(w);
    uint32_t at = dove::wdef::FindWindowRecord(buffer.data(), buffer.size(), w.label);
    Check(at != 0);
    dove::wdef::Window alone;
    Check(dove::wdef::DecodeWindowAt(buffer.data(), buffer.size(), at, &alone));
    // The first window with this label (labels may repeat in a damaged block).
    Check(alone.controls.size() == def.FindWindow(w.label)->controls.size());
  }
  return 0;
}
