#include "windows/loop/runtime_window_win32.h"


#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/errors/error_record.h"
#include "runtime/errors/fault.h"
#include "windows/loop/event_handoff.h"
#include "runtime/runtime_record.h"
#include "windows/loop/window_classes_win32.h"
#include "windows/definitions/window_def_find_win32.h"
#include "windows/definitions/window_def_units_win32.h"

#include <commctrl.h>

namespace dove::win {

namespace {

constexpr UINT_PTR kWindowTimerId = 1;
constexpr int kUnableToOpenWindow = 529;
constexpr int kWindowAlreadyOpen = 535;

// The Timer property's text as hundredths of a second. A negative or zero
// interval stops the timer: read as an unsigned number, "-1" would start
// one of about 49 days, and other negative values, multiplied out to
// milliseconds, one of a few milliseconds.
uint32_t TimerHundredths(const std::string& text) {
  long long value = std::strtoll(text.c_str(), nullptr, 10);  // saturates
  if (value <= 0) return 0;
  return value > static_cast<long long>(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(value);
}

// Milliseconds for the platform timer: held at the longest interval it
// takes, never wrapped round to a short one.
UINT TimerMilliseconds(uint32_t hundredths) {
  uint64_t ms = static_cast<uint64_t>(hundredths) * 10;
  return static_cast<UINT>(std::min<uint64_t>(ms, USER_TIMER_MAXIMUM));
}

std::mutex g_slotLock;
std::vector<void*>& Slots() {
  static std::vector<void*> slots(1, nullptr);  // slot 0 means none
  return slots;
}

DWORD FrameStyle(const wdef::Window& def) {
  DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (def.frame & wdef::kFrameMask) {
    case wdef::kFrameBorder: style |= WS_BORDER; break;
    case wdef::kFrameResizable: style |= WS_THICKFRAME | WS_CAPTION; break;
    case wdef::kFrameDouble: style |= WS_BORDER; break;
    default: break;
  }
  if (def.frame & wdef::kFrameSystemMenuMax) style |= WS_SYSMENU | WS_MAXIMIZEBOX;
  if (def.frame & wdef::kFrameSystemMenu) style |= WS_SYSMENU;
  if (def.frame & wdef::kFrameMinimized) style |= WS_MINIMIZE;
  if (!def.title.empty()) style |= WS_CAPTION;
  // The dialog frame suits only a window that is not to be minimized or
  // maximized (the runtime's windows are top-level and carry no menu).
  if ((def.frame & wdef::kFrameMask) == wdef::kFrameDouble &&
      !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
    style |= DS_MODALFRAME;
  return style;
}

RECT WorkArea() {
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

int StatusBarHeight(HWND status) {
  if (!status) return 0;
  RECT r;
  GetWindowRect(status, &r);
  return r.bottom - r.top;
}

thread_local uint32_t t_lastKey = 0;
thread_local uint8_t t_lastChar = 0;

void NoteKey(const MSG& m) {
  if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) t_lastKey = static_cast<uint32_t>(m.wParam);
  if (m.message == WM_CHAR) t_lastChar = static_cast<uint8_t>(m.wParam);
}

// Right edges of the zones in pixels; a zone of width -1 takes what the
// others leave, and the last zone reaches the window's edge.
std::vector<int> StatusEdges(const std::vector<int32_t>& zones, int total, wdef::Unit unit,
                             const wdef::UnitScale& scale) {
  std::vector<int> widths;
  int fixed = 0;
  for (int32_t z : zones) {
    widths.push_back(z < 0 ? -1 : wdef::ToPixelsX(z, unit, scale));
    if (z >= 0) fixed += widths.back();
  }
  std::vector<int> edges;
  int right = 0;
  for (int w : widths) {
    right += w < 0 ? std::max(total - fixed, 0) : w;
    edges.push_back(right);
  }
  if (!edges.empty()) edges.back() = -1;
  return edges;
}

uint32_t Win32ThreadNumber() { return GetCurrentThreadId(); }

std::once_flag g_layerStarted;
std::atomic<HKL> g_keyboardLayout{nullptr};

// The common controls library is loaded only when the first window opens:
// linked statically it is loaded, and registers its classes, at the start of
// every command run, which doubled the start-up of the installer commands.
void InitCommonControlsOnDemand() {
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  HMODULE library = LoadLibraryA("comctl32.dll");
  if (!library) return;
  auto init = reinterpret_cast<InitFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  if (init) init(&icc);
}

void StartLayerOnce() {
  SetThreadNumberSource(&Win32ThreadNumber);
  // Normally set at start-up; a program that opens windows without the
  // runtime's start takes it here.
  HKL none = nullptr;
  g_keyboardLayout.compare_exchange_strong(none, GetKeyboardLayout(0));
  InitCommonControlsOnDemand();
}

}  // namespace

uint32_t AddSlot(void* object) {
  std::lock_guard<std::mutex> hold(g_slotLock);
  std::vector<void*>& s = Slots();
  for (size_t i = 1; i < s.size(); ++i)
    if (!s[i]) {
      s[i] = object;
      return static_cast<uint32_t>(i);
    }
  s.push_back(object);
  return static_cast<uint32_t>(s.size() - 1);
}

void* SlotObject(uint32_t slot) {
  std::lock_guard<std::mutex> hold(g_slotLock);
  return slot < Slots().size() ? Slots()[slot] : nullptr;
}

void RemoveSlot(uint32_t slot) {
  std::lock_guard<std::mutex> hold(g_slotLock);
  if (slot > 0 && slot < Slots().size()) Slots()[slot] = nullptr;
}

void StartWindowLayer() { std::call_once(g_layerStarted, &StartLayerOnce); }
HKL ProcessKeyboardLayout() { return g_keyboardLayout.load(); }
void SetProcessKeyboardLayout(HKL layout) { g_keyboardLayout.store(layout); }

RuntimeWindow::RuntimeWindow(std::string procedure, std::string label, std::vector<void*> uses)
    : procedure_(std::move(procedure)), label_(std::move(label)), uses_(std::move(uses)) {
  slot_ = AddSlot(this);
}

RuntimeWindow::~RuntimeWindow() {
  Destroy();
  RemoveSlot(slot_);
}

RuntimeWindow* RuntimeWindow::FromHwnd(HWND hwnd) {
  if (ClassOf(hwnd) != ClassId::Window) return nullptr;
  return static_cast<RuntimeWindow*>(SlotObject(WindowSlot(hwnd, ClassId::Window)));
}

ControlObject* RuntimeWindow::ControlAt(int index) const {
  return index >= 0 && static_cast<size_t>(index) < controls_.size() ? controls_[index].get() : nullptr;
}

void RuntimeWindow::Open() {
  if (IsOpen()) {
    err::Post(kWindowAlreadyOpen);
    return;
  }
  wdef::FoundWindow found = wdef::PrepareWindowDefinition(procedure_.c_str(), label_.c_str());
  // A procedure goes on after opening its window (the Log/Version utility
  // changes its file before the loop starts): a window that could not be
  // made must end it here, before anything is touched.
  if (!OpenFrom(found.window, found.module) && !IsOpen())
    FatalError(kUnableToOpenWindow, label_.c_str());
}

bool RuntimeWindow::OpenFrom(const wdef::Window& def, HMODULE module) {
  if (IsOpen()) {
    err::Post(kWindowAlreadyOpen);
    return false;
  }
  StartWindowLayer();
  Destroy();  // what an earlier opening left: its font
  ResetForOpen();
  wakePending_ = false;
  quitPending_ = false;
  def_ = def;
  module_ = module;
  thread_ = GetCurrentThreadId();
  if (def_.font.present) {
    font_ = wdef::CreateDefinitionFont(def_.font, wdef::Font{});
    ownsFont_ = font_ != nullptr;
  }
  if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  scale_ = wdef::MeasureUnitScale(font_);
  if (!CreatePlatformWindow()) {
    Destroy();
    return false;
  }
  CreateStatusBar();
  CreateControls();
  Display(0, 0);
  // A stored interval is signed like the property's: negative means none.
  SetTimerInterval(static_cast<int32_t>(def_.timer) > 0 ? def_.timer : 0);
  handoverTarget_.store(hwnd_);
  previous_ = SetCurrentWindow(this);
  current_ = true;
  ThreadRecord().currentWindow = hwnd_;
  ShowWindow(hwnd_, (def_.frame & wdef::kFrameMinimized) ? SW_SHOWMINNOACTIVE : SW_SHOW);
  Select(0);
  UpdateWindow(hwnd_);
  return true;
}

bool RuntimeWindow::CreatePlatformWindow() {
  const RuntimeClass& cls = EnsureClass(ClassId::Window);
  DWORD style = FrameStyle(def_);
  wdef::PixelRect p = wdef::ToPixels(def_.position, def_.unit(), scale_);
  RECT r = {0, 0, p.width, p.height};
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_CONTROLPARENT);
  int w = r.right - r.left, h = r.bottom - r.top;
  RECT work = WorkArea();
  int x = def_.position.x == wdef::kDefault ? work.left + (work.right - work.left - w) / 2 : p.x;
  int y = def_.position.y == wdef::kDefault ? work.top + (work.bottom - work.top - h) / 2 : p.y;
  hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, cls.name.c_str(), def_.title.c_str(),
                          style, x, y, w, h, nullptr, nullptr, cls.module,
                          reinterpret_cast<void*>(static_cast<uintptr_t>(slot_)));
  return hwnd_ != nullptr;
}

// The status bar is added below the definition's client area, so that no
// control is covered by it.
void RuntimeWindow::CreateStatusBar() {
  if (def_.status.zones.empty()) return;
  status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                            nullptr, ClassRecord(ClassId::Window).module, nullptr);
  if (!status_) return;
  SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  RECT wr;
  GetWindowRect(hwnd_, &wr);
  int extra = StatusBarHeight(status_);
  SetWindowPos(hwnd_, nullptr, wr.left, wr.top - extra / 2, wr.right - wr.left,
               wr.bottom - wr.top + extra, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(status_, WM_SIZE, 0, 0);
  RECT client;
  GetClientRect(hwnd_, &client);
  std::vector<int> edges = StatusEdges(def_.status.zones, client.right, def_.unit(), scale_);
  SendMessageA(status_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void RuntimeWindow::BindUseVariables() {
  for (auto& c : controls_) {
    if (!c->def.use.present) continue;
    int n = c->def.useIndex;
    if (n < 0 || static_cast<size_t>(n) >= uses_.size() || !uses_[n]) continue;
    c->use = UseVariable{uses_[n], c->def.use.type, c->def.use.size};
  }
}

void RuntimeWindow::CreateControls() {
  for (size_t i = 0; i < def_.controls.size(); ++i)
    controls_.push_back(std::make_unique<ControlObject>(*this, def_.controls[i], static_cast<int>(i)));
  for (auto& c : controls_) {
    int p = c->def.parent;
    if (p >= 0 && static_cast<size_t>(p) < controls_.size() && p != c->index) c->parent = controls_[p].get();
  }
  BindUseVariables();
  std::vector<const ControlObject*> sheetsShown;
  for (auto& c : controls_) {
    CreateControlWindow(*c);
    if (c->kind() != wdef::Kind::Tab || !c->hwnd) continue;
    // Each sheet opens on its first page.
    if (std::find(sheetsShown.begin(), sheetsShown.end(), c->parent) != sheetsShown.end()) continue;
    sheetsShown.push_back(c->parent);
    ShowWindow(c->hwnd, SW_SHOW);
  }
}

bool RuntimeWindow::WaitForEvent() {
  while (!HasEvents()) {
    if (Closed() || !hwnd_) return false;
    MSG m;
    // Peek and Get handle messages sent from other threads while they wait;
    // an event raised by one of those must end the wait (see Wake()).
    waiting_ = true;
    bool got = PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) != FALSE;
    if (!got && !HasEvents()) {
      if (GetMessageA(&m, nullptr, 0, 0) == -1) {
        waiting_ = false;
        return false;
      }
      got = true;  // 0 is WM_QUIT, taken below
    }
    waiting_ = false;
    if (!got) continue;  // an event arrived during the peek
    if (m.message == WM_QUIT) {
      OnQuit(static_cast<int>(m.wParam));
      continue;
    }
    if (m.hwnd == nullptr && m.message == WM_NULL) {
      wakePending_ = false;
      continue;
    }
    if (m.hwnd == nullptr && m.message == kPostEventMessage) {
      AdoptForeign(ClaimEvent(static_cast<uintptr_t>(m.lParam), this));
      continue;
    }
    NoteKey(m);
    if (OnDialogKey(m)) continue;
    bool query = m.message > kQueryBase && m.message <= kQueryLast;
    if (!query && IsDialogMessageA(hwnd_, &m)) continue;
    if (!query) TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return true;
}

// Enter and Escape are answered here rather than by the dialog navigation,
// which reports them as the commands 1 and 2: numbers that are also field
// numbers of controls. Enter presses the push button it is typed on; Escape
// means nothing in a window without a cancel action of its own.
bool RuntimeWindow::OnDialogKey(const MSG& m) {
  if (OnArrowKey(m)) return true;
  if (m.message != WM_KEYDOWN || (m.wParam != VK_RETURN && m.wParam != VK_ESCAPE)) return false;
  if (m.hwnd != hwnd_ && !IsChild(hwnd_, m.hwnd)) return false;
  LRESULT wants = SendMessageA(m.hwnd, WM_GETDLGCODE, m.wParam, reinterpret_cast<LPARAM>(&m));
  if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  ControlObject* c = ControlFromHwnd(m.hwnd);
  if (m.wParam == VK_RETURN && c && &c->window == this && c->kind() == wdef::Kind::Button &&
      IsWindowEnabled(m.hwnd))
    QueueEvent(EVENT_Accepted, c);
  return true;
}

// An arrow key moves within the control's group (see the grouping where
// controls are created), past what cannot take the focus: prompts, strings,
// group boxes, a spin box's arrows. A radio button reached this way is
// chosen, as in a dialog.
bool RuntimeWindow::OnArrowKey(const MSG& m) {
  if (m.message != WM_KEYDOWN) return false;
  bool previous = m.wParam == VK_LEFT || m.wParam == VK_UP;
  if (!previous && m.wParam != VK_RIGHT && m.wParam != VK_DOWN) return false;
  if (!IsChild(hwnd_, m.hwnd)) return false;
  LRESULT wants = SendMessageA(m.hwnd, WM_GETDLGCODE, m.wParam, reinterpret_cast<LPARAM>(&m));
  if (wants & (DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  HWND next = m.hwnd;
  for (int step = 0; step < 256; ++step) {
    next = GetNextDlgGroupItem(hwnd_, next, previous);
    if (!next || next == m.hwnd) return true;
    if (!CanTakeFocus(next)) continue;
    SetFocus(next);
    ControlObject* c = ControlFromHwnd(next);
    if (c->kind() == wdef::Kind::Radio && SendMessageA(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
      SendMessageA(next, BM_CLICK, 0, 0);
    return true;
  }
  return true;
}

bool RuntimeWindow::CanTakeFocus(HWND h) const {
  ControlObject* c = ControlFromHwnd(h);
  if (!c || &c->window != this || !IsWindowVisible(h) || !IsWindowEnabled(h)) return false;
  switch (c->kind()) {
    case wdef::Kind::Button:
    case wdef::Kind::Check:
    case wdef::Kind::Radio:
    case wdef::Kind::Entry:
    case wdef::Kind::Spin:
      return true;
    default:
      return false;
  }
}

void RuntimeWindow::MoveFocus(WPARAM target, bool isHandle) {
  HWND h = isHandle ? reinterpret_cast<HWND>(target) : GetNextDlgTabItem(hwnd_, GetFocus(), target != 0);
  if (h && CanTakeFocus(h)) SetFocus(h);
}

// A WM_QUIT ends the program's loops, but this window's procedure decides
// how it closes (the Log/Version utility restores its file on a close it did
// not confirm): it becomes a close request, and is handed on to the loops
// outside once this one has ended.
void RuntimeWindow::OnQuit(int exitCode) {
  quitPending_ = true;
  quitCode_ = exitCode;
  OnPlatformClose();
}

void RuntimeWindow::OnLoopEnded() {
  if (!quitPending_) return;
  quitPending_ = false;
  PostQuitMessage(quitCode_);
}

// An event appended while the thread waits in Peek or Get (a close sent by
// another program is handled there) would otherwise wait for the next
// posted message: one empty message ends the wait.
void RuntimeWindow::Wake() {
  if (!waiting_ || wakePending_) return;
  wakePending_ = PostThreadMessageA(thread_, WM_NULL, 0, 0) != FALSE;
}

void RuntimeWindow::Close() {
  MarkClosed();
  Destroy();
}

void RuntimeWindow::Destroy() {
  if (current_) {
    SetCurrentWindow(previous_);
    RuntimeWindow* prev = static_cast<RuntimeWindow*>(previous_);
    ThreadRecord().currentWindow = prev ? prev->hwnd() : nullptr;
    current_ = false;
  }
  handoverTarget_.store(nullptr);
  // No longer found by POST from other threads: what is on its way is void.
  DropEventsFor(this);
  if (hwnd_) {
    RunWindowClosingHook(this);
    KillTimer(hwnd_, kWindowTimerId);
    HWND h = hwnd_;
    DestroyWindow(h);
    hwnd_ = nullptr;
  }
  controls_.clear();
  if (ownsFont_ && font_) DeleteObject(font_);
  font_ = nullptr;
  ownsFont_ = false;
}

void RuntimeWindow::OnDestroyed() { hwnd_ = nullptr; }

Control* RuntimeWindow::FieldControl(int field) const {
  if (field == 0) return nullptr;
  for (const auto& c : controls_)
    if (c->field == field) return c.get();
  return nullptr;
}

void RuntimeWindow::ShowPage(ControlObject& tab) {
  for (auto& c : controls_)
    if (c->kind() == wdef::Kind::Tab && c->parent == tab.parent && c.get() != &tab && c->hwnd)
      ShowWindow(c->hwnd, SW_HIDE);
  if (tab.hwnd) ShowWindow(tab.hwnd, SW_SHOW);
}

void RuntimeWindow::Select(int field) {
  if (!hwnd_) return;
  ControlObject* c = static_cast<ControlObject*>(FieldControl(field));
  HWND target = nullptr;
  if (c) {
    for (ControlObject* p = c; p; p = p->parent)
      if (p->kind() == wdef::Kind::Tab) ShowPage(*p);
    target = c->kind() == wdef::Kind::Tab ? GetNextDlgTabItem(c->hwnd, nullptr, FALSE) : c->hwnd;
    if (c->IsEditing()) c->selectOnFocus = true;
  } else {
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  }
  if (target) SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

bool RuntimeWindow::InRange(const ControlObject& c, int first, int last) const {
  if (first == 0 && last == 0) return true;
  if (last < first) last = first;
  return c.field != 0 && c.field >= first && c.field <= last;
}

void RuntimeWindow::Display(int first, int last) {
  for (auto& c : controls_)
    if (InRange(*c, first, last)) ShowUseValue(*c);
}

void RuntimeWindow::EnableTree(ControlObject& c, bool enabled) {
  if (c.hwnd) EnableWindow(c.hwnd, enabled);
  if (c.upDown) EnableWindow(c.upDown, enabled);
  if (!c.IsContainer()) return;
  for (auto& o : controls_)
    for (ControlObject* p = o->parent; p; p = p->parent)
      if (p == &c) {
        if (o->hwnd) EnableWindow(o->hwnd, enabled);
        if (o->upDown) EnableWindow(o->upDown, enabled);
        break;
      }
}

void RuntimeWindow::SetEnabled(int first, int last, bool enabled) {
  for (auto& c : controls_)
    if (c->field != 0 && c->field >= first && c->field <= last) EnableTree(*c, enabled);
}

void RuntimeWindow::SetProperty(int field, int property, int index, std::string_view value) {
  std::string text(value);
  switch (property) {
    case PROP_Timer:
      SetTimerInterval(TimerHundredths(text));
      break;
    case PROP_StatusText:
      // A zone the bar does not have is ignored: its number would otherwise
      // land on another zone or in the drawing-type bits of the message.
      if (status_ && index >= 1 && static_cast<size_t>(index) <= def_.status.zones.size())
        SendMessageA(status_, SB_SETTEXTA, static_cast<WPARAM>(index - 1),
                     reinterpret_cast<LPARAM>(text.c_str()));
      break;
    case PROP_Text:
      if (field == 0) {
        if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
      } else if (auto* c = static_cast<ControlObject*>(FieldControl(field))) {
        SetControlText(*c, text);
      }
      break;
    default:
      break;
  }
}

void RuntimeWindow::SetTimerInterval(uint32_t hundredths) {
  timer_ = hundredths;
  if (!hwnd_) return;
  KillTimer(hwnd_, kWindowTimerId);
  if (hundredths) SetTimer(hwnd_, kWindowTimerId, TimerMilliseconds(hundredths), nullptr);
}

void RuntimeWindow::OnTimer(UINT_PTR id) {
  if (id == kWindowTimerId) QueueEvent(EVENT_Timer, nullptr);
}

Control* RuntimeWindow::FocusControl() const {
  ControlObject* c = ControlFromHwnd(GetFocus());
  return c && &c->window == this ? c : nullptr;
}

void RuntimeWindow::OnPlatformClose() {
  if (auto* focus = static_cast<ControlObject*>(FocusControl())) CompleteEdit(*focus);
  QueueEvent(EVENT_CloseWindow, nullptr);
}

void RuntimeWindow::CaptureInput(EventRecord& rec) const {
  POINT pt = {0, 0};
  GetCursorPos(&pt);
  if (hwnd_) ScreenToClient(hwnd_, &pt);
  if (def_.unit() == wdef::Unit::DialogUnits) {
    rec.mouseX = MulDiv(pt.x, 4, scale_.bx);
    rec.mouseY = MulDiv(pt.y, 8, scale_.by);
  } else {
    rec.mouseX = pt.x;
    rec.mouseY = pt.y;
  }
  rec.keyCode = t_lastKey;
  rec.keyChar = t_lastChar;
  rec.keyState = static_cast<uint8_t>(((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) |
                                      ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
                                      ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

bool RuntimeWindow::HandOver(std::unique_ptr<EventRecord>& record) {
  uint32_t ticket = ParkEvent(std::move(record));
  LPARAM lp = static_cast<LPARAM>(ticket);
  HWND target = handoverTarget_.load();
  BOOL posted = (target && IsWindow(target)) ? PostMessageA(target, kPostEventMessage, 0, lp)
                                             : PostThreadMessageA(thread_, kPostEventMessage, 0, lp);
  if (posted) return true;
  record = ClaimEvent(ticket, nullptr);  // back to the caller, who destroys it
  return false;
}

}  // namespace dove::win
