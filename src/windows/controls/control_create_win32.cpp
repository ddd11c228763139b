// Creating a control's platform window from its definition record.

#include <algorithm>

#include "windows/controls/control_win32.h"
#include "windows/loop/runtime_window_win32.h"
#include "windows/definitions/window_def_units.h"
#include "windows/definitions/window_def_units_win32.h"

#include <commctrl.h>

namespace dove::win {

namespace {

constexpr uint32_t kCheckTextLeft = 0x10;  // attribute bit 4 of a check box
// A sheet's own style bits (in the tab control's terms: several rows, focus
// on a click, tips). Our sheet draws no tabs; the bits are kept so that
// whoever reads the style finds a sheet's.
constexpr DWORD kSheetStyle = 0x5200;

ClassId ClassFor(wdef::Kind kind) {
  switch (kind) {
    case wdef::Kind::String: return ClassId::String;
    case wdef::Kind::Image: return ClassId::Graphic;
    case wdef::Kind::Entry: return ClassId::Edit;
    case wdef::Kind::Button: return ClassId::Button;
    case wdef::Kind::Prompt: return ClassId::Prompt;
    case wdef::Kind::Option: return ClassId::Option;
    case wdef::Kind::Check: return ClassId::Check;
    case wdef::Kind::Group: return ClassId::Group;
    case wdef::Kind::Radio: return ClassId::Radio;
    case wdef::Kind::Spin: return ClassId::Spin;
    case wdef::Kind::Sheet: return ClassId::Sheet;
    case wdef::Kind::Tab: return ClassId::Tab;
    default: return ClassId::Count;
  }
}

bool IsFirstRadio(const ControlObject& c) {
  if (!c.parent) return true;
  for (size_t i = 0; i < c.window.ControlCount(); ++i) {
    ControlObject* o = c.window.ControlAt(static_cast<int>(i));
    if (o->parent == c.parent && o->kind() == wdef::Kind::Radio) return o == &c;
  }
  return true;
}

// The group box or option a control lies in, null for none.
const ControlObject* EnclosingGroup(const ControlObject& c) {
  for (const ControlObject* p = c.parent; p; p = p->parent)
    if (p->kind() == wdef::Kind::Group || p->kind() == wdef::Kind::Option) return p;
  return nullptr;
}

// Groups as a dialog has them, for the arrow keys: a group starts with the
// first control inside a group box or option and with the first control
// after it, so the arrows move among the controls of one box (the radio
// buttons of one option) and never out of it. A group box starts one of its
// own; it lies below its siblings. Sheets and pages hold their controls in
// windows of their own, which group them already.
bool StartsGroup(const ControlObject& c) {
  if (c.kind() == wdef::Kind::Sheet || c.kind() == wdef::Kind::Tab) return false;
  if (c.IsContainer()) return true;
  HWND parent = c.PlatformParent();
  for (int i = c.index - 1; i >= 0; --i) {
    const ControlObject* o = c.window.ControlAt(i);
    if (!o || o->IsContainer() || !o->hwnd || o->PlatformParent() != parent) continue;
    return EnclosingGroup(*o) != EnclosingGroup(c);
  }
  return true;
}

DWORD StyleFor(const ControlObject& c, DWORD* exStyle) {
  DWORD child = WS_CHILD | WS_VISIBLE | (StartsGroup(c) ? WS_GROUP : 0);
  *exStyle = 0;
  switch (c.kind()) {
    case wdef::Kind::Button:
      return child | WS_TABSTOP | BS_NOTIFY | BS_PUSHBUTTON | (c.icon ? BS_ICON : 0);
    case wdef::Kind::Check:
      return child | WS_TABSTOP | BS_NOTIFY | BS_AUTOCHECKBOX |
             ((c.def.attributes & kCheckTextLeft) ? BS_LEFTTEXT : 0);
    case wdef::Kind::Radio:
      return child | BS_NOTIFY | BS_AUTORADIOBUTTON | (IsFirstRadio(c) ? WS_GROUP | WS_TABSTOP : 0);
    case wdef::Kind::Group:
    case wdef::Kind::Option:
      // Clipped by the controls inside it, which lie above it (see below).
      return child | WS_CLIPSIBLINGS | BS_GROUPBOX;
    case wdef::Kind::Prompt:
      return child | SS_LEFT;
    case wdef::Kind::Entry:
    case wdef::Kind::Spin:
      *exStyle = WS_EX_CLIENTEDGE;
      return child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    case wdef::Kind::Sheet:
      *exStyle = WS_EX_CONTROLPARENT;
      return child | WS_CLIPCHILDREN | kSheetStyle;
    case wdef::Kind::Tab:
      *exStyle = WS_EX_CONTROLPARENT;
      return WS_CHILD | WS_CLIPCHILDREN;
    default:
      return child;
  }
}

// What the control shows before any value: its text, the icon button's
// fallback when no icon resolves.
std::string InitialText(const ControlObject& c) {
  if (c.kind() == wdef::Kind::Button && !c.icon && !c.def.icon.empty()) {
    const std::string& code = c.def.icon;
    // Stored page-button values: 0xFF 0x02 and a number; 0x7F07 forward.
    bool back = code.size() >= 4 && static_cast<unsigned char>(code[2]) == 0x83;
    return back ? "<<" : ">>";
  }
  return c.def.text;
}

SIZE MeasureText(HFONT font, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, 0, 0};
  DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// Natural size from the content, for width or height 0x80000000.
SIZE NaturalSize(const ControlObject& c) {
  SIZE text = MeasureText(c.font, c.text);
  const wdef::UnitScale& u = c.window.scale();
  int box = GetSystemMetrics(SM_CXMENUCHECK);
  switch (c.kind()) {
    case wdef::Kind::Check:
    case wdef::Kind::Radio:
      return {text.cx + box + u.bx, std::max<LONG>(text.cy, box) + 2};
    case wdef::Kind::Button:
      if (c.icon) return {c.icon.width() + 8, c.icon.height() + 8};
      return {text.cx + 4 * u.bx, text.cy + u.by / 2 + 4};
    case wdef::Kind::Image:
      if (c.icon) return {c.icon.width(), c.icon.height()};
      return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    case wdef::Kind::Entry:
    case wdef::Kind::Spin:
      return {text.cx + u.bx, u.by + 6};
    default:
      return {text.cx + 1, text.cy};
  }
}

void PlaceRect(ControlObject& c) {
  wdef::PixelRect r = wdef::ToPixels(c.def.position, c.window.definition().unit(), c.window.scale());
  POINT origin = {0, 0};
  if (c.parent) origin = {c.parent->rect.left, c.parent->rect.top};
  if (c.kind() == wdef::Kind::Tab && c.parent) {
    // A page covers its sheet; its own position is that of the sheet's area.
    c.rect = c.parent->rect;
    return;
  }
  c.defaultWidth = c.def.DefaultWidth();
  c.defaultHeight = c.def.DefaultHeight();
  SIZE natural = (c.defaultWidth || c.defaultHeight) ? NaturalSize(c) : SIZE{0, 0};
  int w = c.defaultWidth ? natural.cx : r.width;
  int h = c.defaultHeight ? natural.cy : r.height;
  c.rect = {origin.x + r.x, origin.y + r.y, origin.x + r.x + w, origin.y + r.y + h};
}

void ChooseFont(ControlObject& c) {
  c.font = c.window.font();
  if (!c.def.font.present) return;
  if (HFONT f = wdef::CreateDefinitionFont(c.def.font, c.window.definition().font)) {
    c.font = f;
    c.ownsFont = true;
  }
}

void LoadIcon(ControlObject& c) {
  const std::string& name = c.kind() == wdef::Kind::Image ? c.def.image : c.def.icon;
  if (name.empty()) return;
  // Named icons are resources of the module that held the definition.
  // Page buttons are small: their arrows come at the small icon size.
  HMODULE from = c.window.module();
  if (c.kind() == wdef::Kind::Image)
    c.icon = LoadNamedIcon(std::string_view(name), 0, from);
  else if (c.kind() == wdef::Kind::Button)
    c.icon = LoadNamedIcon(std::string_view(name), GetSystemMetrics(SM_CXSMICON), from);
}

bool MakePlatformWindow(ControlObject& c) {
  const RuntimeClass& cls = EnsureClass(c.cls);
  DWORD ex = 0;
  DWORD style = StyleFor(c, &ex);
  POINT o = c.ParentOrigin();
  c.hwnd = CreateWindowExA(ex, cls.name.c_str(), c.text.c_str(), style, c.rect.left - o.x,
                           c.rect.top - o.y, c.rect.right - c.rect.left, c.rect.bottom - c.rect.top,
                           c.PlatformParent(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.field)),
                           cls.module, nullptr);
  if (!c.hwnd) return false;
  SetWindowSlot(c.hwnd, c.cls, c.slot);
  SendMessageA(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
  if (c.kind() == wdef::Kind::Button && c.icon)
    SendMessageA(c.hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(c.icon.handle()));
  return true;
}

// The arrows of a spin box sit at the edit's right edge, inside its
// rectangle, so that the definition's width is the whole control.
void AttachUpDown(ControlObject& c) {
  int arrows = GetSystemMetrics(SM_CXVSCROLL);
  RECT r;
  GetWindowRect(c.hwnd, &r);
  MapWindowPoints(nullptr, c.PlatformParent(), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(c.hwnd, nullptr, 0, 0, r.right - r.left - arrows, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  c.upDown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS,
                             r.right - arrows, r.top, arrows, r.bottom - r.top, c.PlatformParent(),
                             nullptr, ClassRecord(c.cls).module, nullptr);
  if (!c.upDown) return;
  SendMessageA(c.upDown, UDM_SETRANGE32, 0, 100);
  SendMessageA(c.upDown, UDM_SETPOS32, 0, 50);
  SetWindowLongPtrA(c.upDown, GWLP_USERDATA, static_cast<LONG_PTR>(c.slot));
}

}  // namespace

bool CreateControlWindow(ControlObject& c) {
  c.cls = ClassFor(c.kind());
  if (c.cls == ClassId::Count) return false;
  ChooseFont(c);
  LoadIcon(c);
  c.text = InitialText(c);
  c.picture = c.def.picture;
  PlaceRect(c);
  if (!MakePlatformWindow(c)) return false;
  if (c.kind() == wdef::Kind::Spin) AttachUpDown(c);
  // A group box paints its inside (a page clips its children, so nobody
  // else would); below its siblings, it never covers the controls it holds.
  if (c.kind() == wdef::Kind::Group || c.kind() == wdef::Kind::Option)
    SetWindowPos(c.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (c.kind() == wdef::Kind::Entry || c.kind() == wdef::Kind::Spin) {
    if (c.use.type == kUseFixedText || c.use.type == kUseZText) {
      int limit = static_cast<int>(c.use.size) - (c.use.type == kUseZText ? 1 : 0);
      if (limit > 0) SendMessageA(c.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    }
  }
  return true;
}

}  // namespace dove::win
