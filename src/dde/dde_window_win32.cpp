#include "dde/dde_window_win32.h"

#include <dde.h>

#include <mutex>

#include "dde/dde_event_win32.h"

namespace dove::dde {

namespace {

std::once_flag g_classOnce;
bool g_classRegistered = false;

// How long one window may take to answer the initiate request.
constexpr UINT kInitiateLimitMs = 1000;

bool IsDdeMessage(UINT m) { return m >= WM_DDE_FIRST && m <= WM_DDE_LAST; }

LRESULT CALLBACK DdeWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!IsDdeMessage(msg)) return DefWindowProcA(hwnd, msg, wp, lp);
  // Only the initiate exchange is answered inside a send; anything else
  // that comes sent is queued again and handled in order.
  if (InSendMessage() && msg != WM_DDE_ACK && msg != WM_DDE_INITIATE) {
    PostMessageA(hwnd, msg, wp, lp);
    return 0;
  }
  auto* owner = reinterpret_cast<DdeWindow*>(GetWindowLongPtrA(hwnd, 0));
  if (owner) owner->onMessage(msg, wp, lp);
  return 0;
}

void RegisterClassOnce() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &DdeWindowProc;
  wc.cbWndExtra = sizeof(void*);  // the owning object
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kDdeWindowClass;
  g_classRegistered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

struct DataFlags {
  bool ackRequested = false;  // fAckReq
  bool released = false;      // fRelease: the sender gave the block up
};

DataFlags ReadDataFlags(HGLOBAL block) {
  DataFlags f;
  if (auto* head = static_cast<const DDEDATA*>(block ? GlobalLock(block) : nullptr)) {
    f.ackRequested = head->fAckReq;
    f.released = head->fRelease;
    GlobalUnlock(block);
  }
  return f;
}

// Data that gets no answer at all: the item atom is not passed back, so its
// reference is ours to delete. The block is ours only when the sender gave
// it up; it takes it back only after a negative answer, which never comes.
void DiscardData(LPARAM lParam) {
  UINT_PTR data = 0, item = 0;
  UnpackDDElParam(WM_DDE_DATA, lParam, &data, &item);
  FreeDDElParam(WM_DDE_DATA, lParam);
  if (item) GlobalDeleteAtom(static_cast<ATOM>(item));
  auto block = reinterpret_cast<HGLOBAL>(data);
  if (ReadDataFlags(block).released) GlobalFree(block);
}

// Messages left for a window that goes away would be lost with it; what
// they carry that is ours is freed here.
void DrainQueuedMessages(HWND hwnd) {
  MSG m;
  while (PeekMessageA(&m, hwnd, WM_DDE_TERMINATE, WM_DDE_TERMINATE, PM_REMOVE)) {
  }
  while (PeekMessageA(&m, hwnd, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE))
    FreeDDElParam(WM_DDE_ACK, m.lParam);
  while (PeekMessageA(&m, hwnd, WM_DDE_DATA, WM_DDE_DATA, PM_REMOVE)) DiscardData(m.lParam);
}

}  // namespace

bool RegisterDdeWindowClass() {
  std::call_once(g_classOnce, &RegisterClassOnce);
  return g_classRegistered;
}

// ---- DdeWindow ----

DdeWindow::~DdeWindow() {
  if (!hwnd_) return;
  if (IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, 0, 0);
    DrainQueuedMessages(hwnd_);
    DestroyWindow(hwnd_);
  }
  hwnd_ = nullptr;
}

bool DdeWindow::CreateHiddenWindow(HWND parent) {
  if (!RegisterDdeWindowClass()) return false;
  DWORD style = parent ? WS_CHILD : WS_POPUP;
  hwnd_ = CreateWindowExA(0, kDdeWindowClass, nullptr, style, 0, 0, 0, 0, parent, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return false;
  SetWindowLongPtrA(hwnd_, 0, reinterpret_cast<LONG_PTR>(this));
  return true;
}

// ---- DdePeer ----

DdePeer::~DdePeer() {
  if (partner && owner_ && owner_->hwnd())
    PostMessageA(partner, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(owner_->hwnd()), 0);
  if (application) GlobalDeleteAtom(application);
  if (topic) GlobalDeleteAtom(topic);
  partner = nullptr;
  application = topic = 0;
}

// ---- DdeClientChannel ----

DdeClientChannel::DdeClientChannel(HWND parent) { CreateHiddenWindow(parent); }

bool DdeClientChannel::connect(const char* application, const char* topic) {
  ATOM app = application[0] ? GlobalAddAtomA(application) : 0;
  ATOM top = topic[0] ? GlobalAddAtomA(topic) : 0;
  connecting_ = true;
  // The request goes to every top-level window of the desktop, and a plain
  // send would wait for ever on one whose thread has stopped reading its
  // messages. Such a window is skipped, and any other gets a limited time to
  // answer, so that a caller's own deadline (REG's 30 seconds) holds
  // whatever else runs; a server that missed its turn answers the next try.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(hwnd_),
                      MAKELPARAM(app, top), SMTO_ABORTIFHUNG, kInitiateLimitMs, &ignored);
  connecting_ = false;
  if (app) GlobalDeleteAtom(app);
  if (top) GlobalDeleteAtom(top);
  return peer_.partner != nullptr;
}

// An answer to the initiate: the first one wins, every later one is sent
// away. Its parameter is never packed.
void DdeClientChannel::AnswerInitiate(HWND server, LPARAM lParam) {
  ATOM app = LOWORD(lParam);
  ATOM top = HIWORD(lParam);
  if (connecting_ && !peer_.partner) {
    peer_.partner = server;
    peer_.application = app;
    peer_.topic = top;
    return;
  }
  if (app) GlobalDeleteAtom(app);
  if (top) GlobalDeleteAtom(top);
  PostMessageA(server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hwnd_), 0);
}

void DdeClientChannel::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND from = reinterpret_cast<HWND>(wParam);
  if (from != peer_.partner || !peer_.partner) {
    // While the request is out, an answer is one whether it was sent from
    // another thread or called directly by a server on this very thread
    // (InSendMessage is false then); refusing it would leak its atoms.
    if (message == WM_DDE_ACK && (connecting_ || InSendMessage())) {
      AnswerInitiate(from, lParam);
    } else if (message == WM_DDE_DATA) {
      DiscardData(lParam);
    } else {
      FreeDDElParam(message, lParam);  // ignored, but its packed parameter is ours
    }
    return;
  }
  UINT_PTR low = 0, high = 0;
  UnpackDDElParam(message, lParam, &low, &high);
  FreeDDElParam(message, lParam);
  switch (message) {
    case WM_DDE_TERMINATE:
      OnPartnerTerminate();
      break;
    case WM_DDE_DATA:
      OnPartnerData(low, static_cast<ATOM>(high));
      break;
    case WM_DDE_ACK:
      // Acknowledgements are taken from the queue by the wait; one that
      // reaches the window came after its execute had timed out.
      owed.Settle(reinterpret_cast<HGLOBAL>(high));
      break;
    default:
      break;
  }
}

void DdeClientChannel::OnPartnerTerminate() {
  HWND partner = peer_.partner;
  PostMessageA(partner, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hwnd_), 0);
  links_.clear();
  peer_.partner = nullptr;
  RaiseChannelEvent(*this, EVENT_DDEclosedNumber, partner);
}

// No advise link exists, so data is refused: a negative acknowledgement when
// the partner asks for one. The block is freed when it was refused that way
// or the partner gave it up; otherwise it stays the partner's.
void DdeClientChannel::OnPartnerData(UINT_PTR data, ATOM item) {
  auto block = reinterpret_cast<HGLOBAL>(data);
  DataFlags flags = ReadDataFlags(block);
  if (flags.ackRequested) {
    LPARAM packed = PackDDElParam(WM_DDE_ACK, 0, item);
    if (!PostMessageA(peer_.partner, WM_DDE_ACK, reinterpret_cast<WPARAM>(hwnd_), packed)) {
      FreeDDElParam(WM_DDE_ACK, packed);
      if (item) GlobalDeleteAtom(item);
    }
  } else if (item) {
    GlobalDeleteAtom(item);
  }
  if (block && (flags.ackRequested || flags.released)) GlobalFree(block);
}

}  // namespace dove::dde
