#include "windows/definitions/window_def_find.h"

#include <cstring>

#include "runtime/locale/char_tables.h"
#include "windows/definitions/window_def.h"
#include "windows/definitions/window_def_layout.h"

namespace dove::wdef {

std::string ResourceNameFor(std::string_view procedure) {
  size_t dollar = procedure.find('$');
  std::string_view tail = dollar == std::string_view::npos ? procedure : procedure.substr(dollar + 1);
  std::string name;
  for (char c : tail) name += char(chartab::UpperOf(uint8_t(c)));
  return name + "_RSC";
}

bool ProcedureMatches(const uint8_t* block, size_t size, std::string_view procedure,
                      size_t* bodyStart) {
  size_t end = 0;
  while (end < size && block[end] != 0) ++end;
  if (end == size) return false;
  std::string_view stored(reinterpret_cast<const char*>(block), end);
  if (!SameName(stored, procedure)) return false;
  *bodyStart = end + 1;
  return true;
}

std::vector<uint8_t> MakeBuffer(const uint8_t* body, size_t size) {
  std::vector<uint8_t> buffer(layout::kBodyBase + size, 0);
  if (size > 0) std::memcpy(buffer.data() + layout::kBodyBase, body, size);
  return buffer;
}

uint32_t FindWindowRecord(const uint8_t* buffer, size_t size, std::string_view label) {
  // The decoder checks each window as a whole; a damaged one, even before
  // the match, makes the block unusable.
  Definition def;
  if (!DecodeBuffer(buffer, size, &def)) return 0;
  const Window* w = def.FindWindow(label);
  return w ? w->recordOffset : 0;
}

}  // namespace dove::wdef
