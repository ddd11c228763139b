#include "windows/controls/control_win32.h"

#include "runtime/pictures/picture.h"
#include "windows/loop/runtime_window_win32.h"

namespace dove::win {

namespace {

constexpr int32_t kRejectedByPicture = 1;  // rejection code of a text the picture refuses

bool IsDefault(uint32_t colour) { return colour == wdef::kDefaultColour; }

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(hwnd, &s[0], n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

// An option's value: numbers take the 1-based position of the chosen radio,
// texts its caption without the mnemonic marker.
std::string RadioValue(const ControlObject& radio, int position) {
  if (radio.parent && (radio.parent->use.type == kUseFixedText || radio.parent->use.type == kUseZText)) {
    std::string t;
    for (char ch : radio.def.text)
      if (ch != '&') t += ch;
    return t;
  }
  return std::to_string(position);
}

int RadioPosition(const ControlObject& radio) {
  int n = 0;
  for (size_t i = 0; i < radio.window.ControlCount(); ++i) {
    ControlObject* o = radio.window.ControlAt(static_cast<int>(i));
    if (o->parent == radio.parent && o->kind() == wdef::Kind::Radio) ++n;
    if (o == &radio) return n;
  }
  return 0;
}

void ShowOptionValue(ControlObject& option) {
  std::string value = ReadUseText(option.use);
  while (!value.empty() && value.back() == ' ') value.pop_back();
  for (size_t i = 0; i < option.window.ControlCount(); ++i) {
    ControlObject* o = option.window.ControlAt(static_cast<int>(i));
    if (o->parent != &option || o->kind() != wdef::Kind::Radio || !o->hwnd) continue;
    bool chosen = RadioValue(*o, RadioPosition(*o)) == value;
    SendMessageA(o->hwnd, BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

}  // namespace

ControlObject::ControlObject(RuntimeWindow& w, const wdef::Control& d, int i)
    : window(w), def(d), index(i) {
  type = static_cast<int>(d.kind);
  field = d.field;
  label = d.label;
  receivesEvents = d.field != 0;
  slot = AddSlot(this);
}

ControlObject::~ControlObject() {
  RemoveSlot(slot);
  if (ownsFont && font) DeleteObject(font);
  if (background) DeleteObject(background);
}

bool ControlObject::IsContainer() const {
  switch (kind()) {
    case wdef::Kind::Group:
    case wdef::Kind::Option:
    case wdef::Kind::Sheet:
    case wdef::Kind::Tab:
      return true;
    default:
      return false;
  }
}

HWND ControlObject::PlatformParent() const {
  for (const ControlObject* p = parent; p; p = p->parent)
    if ((p->kind() == wdef::Kind::Sheet || p->kind() == wdef::Kind::Tab) && p->hwnd) return p->hwnd;
  return window.hwnd();
}

POINT ControlObject::ParentOrigin() const {
  for (const ControlObject* p = parent; p; p = p->parent)
    if ((p->kind() == wdef::Kind::Sheet || p->kind() == wdef::Kind::Tab) && p->hwnd)
      return {p->rect.left, p->rect.top};
  return {0, 0};
}

ControlObject* ControlFromHwnd(HWND hwnd) {
  ClassId id = ClassOf(hwnd);
  if (id == ClassId::Count || id == ClassId::Window) return nullptr;
  return static_cast<ControlObject*>(SlotObject(WindowSlot(hwnd, id)));
}

void ShowUseValue(ControlObject& c) {
  if (!c.hwnd) return;
  switch (c.kind()) {
    case wdef::Kind::Entry:
    case wdef::Kind::Spin:
      if (!c.use) return;
      SetWindowTextA(c.hwnd, ShowThroughPicture(c.use, c.picture).c_str());
      SendMessageA(c.hwnd, EM_SETMODIFY, FALSE, 0);
      break;
    case wdef::Kind::Check:
      if (!c.use) return;
      SendMessageA(c.hwnd, BM_SETCHECK,
                   ReadUseText(c.use) != "0" ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case wdef::Kind::Option:
      if (c.use) ShowOptionValue(c);
      break;
    default:
      break;
  }
}

void SetControlText(ControlObject& c, const std::string& text) {
  c.text = text;
  if (!c.hwnd) return;
  SetWindowTextA(c.hwnd, text.c_str());
  InvalidateRect(c.hwnd, nullptr, TRUE);
}

bool CompleteEdit(ControlObject& c) {
  if (!c.hwnd || !c.IsEditing()) return true;
  if (!SendMessageA(c.hwnd, EM_GETMODIFY, 0, 0)) return true;
  std::string typed = WindowText(c.hwnd);
  if (!StoreThroughPicture(c.use, c.picture, typed)) {
    c.window.QueueEvent(EVENT_Rejected, &c, kRejectedByPicture);
    return false;
  }
  SendMessageA(c.hwnd, EM_SETMODIFY, FALSE, 0);
  c.window.QueueEvent(EVENT_Accepted, &c);
  if (c.use) ShowUseValue(c);
  return true;
}

void StepSpin(ControlObject& c, int steps) {
  if (!CompleteEdit(c)) return;
  if (!StepThroughPicture(c.use, c.picture, steps)) return;
  ShowUseValue(c);
  c.window.QueueEvent(EVENT_NewSelection, &c);
}

void ChooseRadio(ControlObject& radio) {
  ControlObject* option = radio.parent;
  if (!option || option->kind() != wdef::Kind::Option) return;
  WriteUseText(option->use, RadioValue(radio, RadioPosition(radio)));
  option->window.QueueEvent(EVENT_Accepted, option);
}

HBRUSH ControlColours(ControlObject& c, HDC dc) {
  const wdef::Colours& col = c.def.colours;
  uint32_t text = col.present ? col.text : wdef::kDefaultColour;
  if (IsDefault(text) && c.def.font.present) text = c.def.font.colour;
  bool custom = false;
  if (!IsDefault(text) && IsWindowEnabled(c.hwnd)) {
    SetTextColor(dc, static_cast<COLORREF>(text));
    custom = true;
  }
  if (col.present && !IsDefault(col.background) && IsWindowEnabled(c.hwnd)) {
    if (!c.background) c.background = CreateSolidBrush(static_cast<COLORREF>(col.background));
    SetBkColor(dc, static_cast<COLORREF>(col.background));
    return c.background;
  }
  if (!custom) return nullptr;
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace dove::win
