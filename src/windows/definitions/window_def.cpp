#include "windows/definitions/window_def.h"

#include "runtime/locale/char_tables.h"
#include "windows/definitions/window_def_layout.h"

namespace dove::wdef {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!chartab::SameIgnoringCase(uint8_t(a[i]), uint8_t(b[i]))) return false;
  }
  return true;
}

bool Control::IsContainer() const { return layout::ChildField(uint8_t(kind)) != 0; }

int Window::UseCount() const {
  int n = 0;
  for (const Control& c : controls) n += c.useIndex >= 0;
  return n;
}

const Control* Window::FindControl(std::string_view name) const {
  for (const Control& c : controls) {
    if (!c.label.empty() && SameName(c.label, name)) return &c;
  }
  return nullptr;
}

int Window::IndexOfField(int32_t number) const {
  if (number == 0) return -1;
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].field == number) return int(i);
  }
  return -1;
}

const Window* Definition::FindWindow(std::string_view name) const {
  for (const Window& w : windows) {
    if (SameName(w.label, name)) return &w;
  }
  return nullptr;
}

}  // namespace dove::wdef
