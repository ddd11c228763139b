// Window procedures: platform messages become events of the window's queue.
#include "windows/definitions/window_def.h"
#include "windows/loop/window_procs_win32.h"

#include <float.h>

#include <memory>

#include "windows/controls/control_win32.h"
#include "windows/loop/event_handoff.h"
#include "runtime/runtime_record.h"
#include "windows/loop/runtime_window_win32.h"

#include <commctrl.h>

namespace dove::win {

namespace {

const char kStillActive[] = "Application still active.\n\nQuit the application before quitting Windows.";

void ResetFpu() {
  _clearfp();
#if defined(__i386__) || defined(_M_IX86)
  _controlfp(_PC_64, _MCW_PC);
#endif
}

std::string ProgramTitle() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  std::string title(name);
  size_t dot = title.rfind('.');
  if (dot != std::string::npos) title.resize(dot);
  return title;
}

// Windows is ending: this program refuses while a window is open.
void RefuseEndSession(HWND hwnd) {
  BringWindowToTop(hwnd);
  MessageBoxA(hwnd, kStillActive, ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
  ResetFpu();
}

void OnChildCommand(ControlObject& c, int code) {
  if (code != BN_CLICKED) return;
  switch (c.kind()) {
    case wdef::Kind::Button:
      c.window.QueueEvent(EVENT_Accepted, &c);
      break;
    case wdef::Kind::Check:
      WriteUseText(c.use, SendMessageA(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0");
      c.window.QueueEvent(EVENT_Accepted, &c);
      break;
    case wdef::Kind::Radio:
      if (SendMessageA(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) ChooseRadio(c);
      break;
    default:
      break;
  }
}

bool OnUpDown(const NMHDR& hdr, LRESULT* result) {
  if (hdr.code != UDN_DELTAPOS) return false;
  auto slot = static_cast<uint32_t>(GetWindowLongPtrA(hdr.hwndFrom, GWLP_USERDATA));
  auto* c = static_cast<ControlObject*>(SlotObject(slot));
  if (!c || c->upDown != hdr.hwndFrom) return false;
  const auto& ud = reinterpret_cast<const NMUPDOWN&>(hdr);
  StepSpin(*c, ud.iDelta > 0 ? 1 : -1);
  *result = TRUE;  // the arrows keep their own position
  return true;
}

// What every container (the window, a sheet, a tab page) does for the
// controls it holds: commands, notifications and colours.
bool ContainerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lp);
      ControlObject* c = ControlFromHwnd(child);
      if (!c) return false;
      *result = 0;
      // A command that names the control under another number is not the
      // control's own (the event loop answers Enter and Escape itself).
      if (LOWORD(wp) == static_cast<WORD>(GetDlgCtrlID(child))) OnChildCommand(*c, HIWORD(wp));
      return true;
    }
    case WM_NOTIFY:
      return OnUpDown(*reinterpret_cast<const NMHDR*>(lp), result);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      ControlObject* c = ControlFromHwnd(reinterpret_cast<HWND>(lp));
      HBRUSH brush = c ? ControlColours(*c, reinterpret_cast<HDC>(wp)) : nullptr;
      if (!brush) return false;
      *result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    default:
      return false;
  }
}

LRESULT TopWindowMessage(RuntimeWindow* w, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != 0 && msg == QueryPscreenMessage()) return reinterpret_cast<LRESULT>(static_cast<Window*>(w));
  switch (msg) {
    case WM_CLOSE:
      w->OnPlatformClose();
      return 0;
    case WM_TIMER:
      w->OnTimer(wp);
      return 0;
    case WM_QUERYENDSESSION:
      RefuseEndSession(hwnd);
      return FALSE;
    case WM_INPUTLANGCHANGE:
      SetProcessKeyboardLayout(reinterpret_cast<HKL>(lp));
      ThreadRecord().keyboardLayout = static_cast<uintptr_t>(lp);
      break;
    case kPostEventMessage:
      w->AdoptForeign(ClaimEvent(static_cast<uintptr_t>(lp), w));
      return 0;
    case WM_NEXTDLGCTL:
      w->MoveFocus(wp, lp != 0);
      return 0;
    case WM_SIZE:
      if (w->statusBar()) SendMessageA(w->statusBar(), WM_SIZE, 0, 0);
      break;
    case WM_DESTROY:
      w->OnDestroyed();
      break;
    default:
      break;
  }
  LRESULT result = 0;
  if (ContainerMessage(msg, wp, lp, &result)) return result;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT ContainerProc(ClassId id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (ContainerMessage(msg, wp, lp, &result)) return result;
  return CallBase(id, hwnd, msg, wp, lp);
}

void PaintText(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  ControlObject* c = ControlFromHwnd(hwnd);
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  RECT r;
  GetClientRect(hwnd, &r);
  HGDIOBJ old = SelectObject(dc, c && c->font ? c->font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  COLORREF colour = GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  if (c && c->def.font.present && c->def.font.colour != wdef::kDefaultColour && IsWindowEnabled(hwnd))
    colour = c->def.font.colour;
  if (c && c->def.colours.present && c->def.colours.text != wdef::kDefaultColour)
    colour = c->def.colours.text;
  SetTextColor(dc, colour);
  DrawTextA(dc, text, -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(hwnd, &ps);
}

LRESULT EraseFace(HWND hwnd, HDC dc) {
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  return 1;
}

void PaintIcon(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  ControlObject* c = ControlFromHwnd(hwnd);
  if (c && c->icon) {
    RECT r;
    GetClientRect(hwnd, &r);
    DrawIconEx(dc, 0, 0, c->icon.handle(), r.right, r.bottom, 0, nullptr, DI_NORMAL);
  }
  EndPaint(hwnd, &ps);
}

LRESULT EditingProc(ClassId id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ControlObject* c = ControlFromHwnd(hwnd);
  switch (msg) {
    case WM_SETFOCUS: {
      LRESULT r = CallBase(id, hwnd, msg, wp, lp);
      if (c && c->selectOnFocus) {
        c->selectOnFocus = false;
        SendMessageA(hwnd, EM_SETSEL, 0, -1);
        SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
      }
      return r;
    }
    case WM_KILLFOCUS: {
      LRESULT r = CallBase(id, hwnd, msg, wp, lp);
      if (c) {
        c->selectOnFocus = true;
        CompleteEdit(*c);
      }
      return r;
    }
    case WM_KEYDOWN:
      if (c && c->kind() == wdef::Kind::Spin && (wp == VK_UP || wp == VK_DOWN)) {
        StepSpin(*c, wp == VK_UP ? 1 : -1);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallBase(id, hwnd, msg, wp, lp);
}

}  // namespace

LRESULT CALLBACK RuntimeWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    // The creation parameter is the window object's slot number.
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowSlot(hwnd, ClassId::Window, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cs->lpCreateParams)));
  }
  RuntimeWindow* w = RuntimeWindow::FromHwnd(hwnd);
  if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
  return TopWindowMessage(w, hwnd, msg, wp, lp);
}

LRESULT CALLBACK ButtonClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return CallBase(ClassId::Button, hwnd, msg, wp, lp);
}

LRESULT CALLBACK CheckClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return CallBase(ClassId::Check, hwnd, msg, wp, lp);
}

LRESULT CALLBACK GroupClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return EraseFace(hwnd, reinterpret_cast<HDC>(wp));
  return CallBase(ClassId::Group, hwnd, msg, wp, lp);
}

LRESULT CALLBACK PromptClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return CallBase(ClassId::Prompt, hwnd, msg, wp, lp);
}

LRESULT CALLBACK RadioClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return CallBase(ClassId::Radio, hwnd, msg, wp, lp);
}

LRESULT CALLBACK OptionClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return EraseFace(hwnd, reinterpret_cast<HDC>(wp));
  return CallBase(ClassId::Option, hwnd, msg, wp, lp);
}

LRESULT CALLBACK StringClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      PaintText(hwnd);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK GraphicClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PaintIcon(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK EditClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return EditingProc(ClassId::Edit, hwnd, msg, wp, lp);
}

LRESULT CALLBACK SpinClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return EditingProc(ClassId::Spin, hwnd, msg, wp, lp);
}

LRESULT CALLBACK SheetClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return ContainerProc(ClassId::Sheet, hwnd, msg, wp, lp);
}

LRESULT CALLBACK TabClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return ContainerProc(ClassId::Tab, hwnd, msg, wp, lp);
}

}  // namespace dove::win
