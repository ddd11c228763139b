// The message dialog's procedure and the painting of its icon.
#include <windows.h>

#include "runtime/message/message_layout.h"
#include "runtime/message/message_record_win32.h"
#include "runtime/runtime_record.h"

namespace dove {

namespace {

MessageRecord* ActiveRecord() {
  win::RuntimeRecord* rt = win::FindThreadRecord();
  return rt ? rt->activeMessage : nullptr;
}

// Only Move stays: the close box and Alt+F4 are thereby disabled, so a
// dialog ends through its buttons alone.
void TrimSystemMenu(HWND dlg) {
  HMENU menu = GetSystemMenu(dlg, FALSE);
  if (!menu) return;
  const UINT commands[] = {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, SC_CLOSE, SC_SIZE, SC_TASKLIST};
  for (UINT cmd : commands) DeleteMenu(menu, cmd, MF_BYCOMMAND);
}

void SetChildFonts(HWND dlg, HFONT font) {
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void SubclassIcon(HWND dlg, MessageRecord& rec) {
  HWND ctl = GetDlgItem(dlg, kMessageIconId);
  if (!ctl) return;
  rec.previousIconProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      ctl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageIconProc)));
}

msg::Box ToBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void Centre(HWND dlg) {
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  msg::Box frameBox, ownerBox;
  const msg::Box* frame = nullptr;
  const msg::Box* owner = nullptr;
  HWND appFrame = static_cast<HWND>(win::ApplicationFrame());
  RECT r;
  if (appFrame && IsWindow(appFrame) && IsWindowVisible(appFrame) && GetWindowRect(appFrame, &r)) {
    frameBox = ToBox(r);
    frame = &frameBox;
  }
  HWND ownerWnd = GetWindow(dlg, GW_OWNER);
  if (ownerWnd && GetWindowRect(ownerWnd, &r)) {
    ownerBox = ToBox(r);
    owner = &ownerBox;
  }
  RECT self = {};
  GetWindowRect(dlg, &self);
  msg::Point at = msg::CentreDialog(ToBox(work), frame, owner, self.right - self.left,
                                    self.bottom - self.top);
  SetWindowPos(dlg, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR InitDialog(HWND dlg, MessageRecord& rec) {
  if (GetWindowLongA(dlg, GWL_STYLE) & WS_SYSMENU) TrimSystemMenu(dlg);
  SetChildFonts(dlg, rec.font);
  if (rec.icon) SubclassIcon(dlg, rec);
  Centre(dlg);
  HWND focus = rec.focusId ? GetDlgItem(dlg, rec.focusId) : nullptr;
  if (focus) {
    // A synthetic key event counts as user input, which lets the dialog take
    // the foreground from another program; the focus itself moves once the
    // dialog runs its modal loop.
    keybd_event(0, 0, 0, 0);
    PostMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), 1);
  } else {
    SendMessageA(dlg, WM_SETFOCUS, 0, 0);
  }
  return TRUE;
}

// The 16-bit WM_CTLCOLOR, which the headers no longer name.
constexpr UINT kCtlColor16 = 0x0019;

bool IsControlColor(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }

// Messages whose result is the dialog procedure's return value itself; every
// other result travels through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
  return msg == WM_INITDIALOG || msg == kCtlColor16 || msg == WM_VKEYTOITEM ||
         msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON || msg == WM_COMPAREITEM ||
         IsControlColor(msg);
}

INT_PTR Deliver(HWND dlg, UINT msg, LRESULT result) {
  if (ReturnsDirectly(msg)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrA(dlg, DWLP_MSGRESULT, result);
  return TRUE;
}

LRESULT Command(HWND dlg, WPARAM wp) {
  int id = static_cast<short>(LOWORD(wp));
  if (id != -1 && GetDlgItem(dlg, id)) EndDialog(dlg, id);
  return 0;
}

// Everything else goes to the platform's default dialog processing, which
// calls this procedure once more first: the flag makes that nested call
// answer "not handled" at once.
LRESULT Default(HWND dlg, UINT msg, WPARAM wp, LPARAM lp, MessageRecord& rec) {
  rec.reentry = true;
  LRESULT result = DefDlgProcA(dlg, msg, wp, lp);
  // A message that the default processing handled without asking this
  // procedure must not leave the flag behind for an unrelated message.
  rec.reentry = false;
  return result;
}

}  // namespace

INT_PTR CALLBACK MessageDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  MessageRecord* rec = ActiveRecord();
  if (!rec) return 0;
  if (rec->reentry) {
    rec->reentry = false;
    return FALSE;
  }
  switch (msg) {
    case WM_INITDIALOG:
      return InitDialog(dlg, *rec);
    case WM_COMMAND:
      return Deliver(dlg, msg, Command(dlg, wp));
    case WM_INPUTLANGCHANGE:
      if (rec->runtime) rec->runtime->keyboardLayout = static_cast<uintptr_t>(lp);
      break;
    default:
      if (IsControlColor(msg)) {
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
  }
  return Deliver(dlg, msg, Default(dlg, msg, wp, lp, *rec));
}

LRESULT CALLBACK MessageIconProc(HWND ctl, UINT msg, WPARAM wp, LPARAM lp) {
  MessageRecord* rec = ActiveRecord();
  if (!rec || !rec->previousIconProc) return DefWindowProcA(ctl, msg, wp, lp);
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(ctl, &ps);
    DrawIcon(dc, 0, 0, rec->icon.handle());
    EndPaint(ctl, &ps);
    return 0;
  }
  return CallWindowProcA(rec->previousIconProc, ctl, msg, wp, lp);
}

}  // namespace dove
