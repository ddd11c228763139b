#include "support/gui_harness.h"

#include <cstdio>
#include <sstream>
#include <utility>

#include "test_paths.h"

namespace gui {

namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kSendTimeoutMs = 2000;

std::string ClassOf(HWND h) {
  char buf[256] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

// WM_GETTEXT works across processes; a hung window gives "".
std::string TextOf(HWND h) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &len))
    return {};
  std::string s(len + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(h, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(&s[0]),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &got);
  s.resize(got);
  return s;
}

LRESULT SendQuiet(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(h, msg, wp, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

HWND FocusOfThread(HWND anyWindow) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  DWORD tid = GetWindowThreadProcessId(anyWindow, nullptr);
  return GetGUIThreadInfo(tid, &info) ? info.hwndFocus : nullptr;
}

struct FindState {
  DWORD pid;
  const char* className;
  HWND found;
  std::vector<HWND> all;
};

BOOL CALLBACK CollectWindow(HWND h, LPARAM lp) {
  auto* st = reinterpret_cast<FindState*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != st->pid || !IsWindowVisible(h)) return TRUE;
  st->all.push_back(h);
  if (!st->found && (!st->className || ClassOf(h) == st->className)) st->found = h;
  return TRUE;
}

bool IsPushButton(const Control& c) {
  if (c.className != "Button") return false;
  DWORD type = c.style & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

Control ReadControl(HWND h, HWND focus) {
  Control c;
  c.hwnd = h;
  c.className = ClassOf(h);
  c.id = GetDlgCtrlID(h);
  c.text = TextOf(h);
  c.style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
  c.exStyle = static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE));
  GetWindowRect(h, &c.rect);
  c.visible = IsWindowVisible(h) != FALSE;
  c.isDefault = c.className == "Button" && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  c.hasFocus = h == focus;
  return c;
}

bool WriteBmp(const std::string& path, int w, int h, const std::vector<BYTE>& bits) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh = {};
  BITMAPINFOHEADER ih = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride * h);
  ih.biSize = sizeof ih;
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
            std::fwrite(bits.data(), 1, bits.size(), f) == bits.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

std::string ToString(const RECT& r) {
  std::ostringstream s;
  s << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
  return s.str();
}

// --- Dialog ------------------------------------------------------------------

const Control* Dialog::Find(int id) const {
  for (const Control& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

std::vector<std::string> Dialog::ButtonTexts() const {
  std::vector<std::string> v;
  for (const Control& b : buttons) v.push_back(b.text);
  return v;
}

std::vector<int> Dialog::ButtonIds() const {
  std::vector<int> v;
  for (const Control& b : buttons) v.push_back(b.id);
  return v;
}

const Control* Dialog::DefaultButton() const {
  for (const Control& b : buttons)
    if (b.isDefault) return &b;
  return nullptr;
}

std::string Dialog::Describe() const {
  std::ostringstream s;
  s << "window " << className << " \"" << caption << "\" at " << ToString(rect)
    << ", focus id " << focusId << ", DM_GETDEFID " << defId << "\n";
  for (const Control& c : controls) {
    s << "  " << c.className << " id " << c.id << " \"" << c.text << "\" style 0x" << std::hex
      << c.style << std::dec << " at " << ToString(c.rect) << (c.isDefault ? " default" : "")
      << (c.hasFocus ? " focused" : "") << "\n";
  }
  return s.str();
}

Dialog Read(HWND hwnd) {
  Dialog d;
  if (!IsWindow(hwnd)) return d;
  d.hwnd = hwnd;
  d.className = ClassOf(hwnd);
  d.caption = TextOf(hwnd);
  d.style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  d.exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
  GetWindowRect(hwnd, &d.rect);
  GetClientRect(hwnd, &d.clientRect);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&d.clientRect), 2);
  d.owner = GetWindow(hwnd, GW_OWNER);
  d.focus = FocusOfThread(hwnd);
  if (d.className == "#32770") {
    LRESULT def = SendQuiet(hwnd, DM_GETDEFID);
    d.defId = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : 0;
  }
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    Control ctl = ReadControl(c, d.focus);
    if (ctl.hasFocus) d.focusId = ctl.id;
    bool isStatic = ctl.className == "Static";
    if (isStatic && (ctl.style & SS_TYPEMASK) == SS_ICON) {
      d.hasIconControl = true;
      d.iconControlId = ctl.id;
      d.iconRect = ctl.rect;
      d.iconHandle = reinterpret_cast<HICON>(SendQuiet(c, STM_GETICON));
    } else if (isStatic) {
      d.staticTexts.push_back(ctl.text);
    }
    if (ctl.className == "Edit") d.edits.push_back(ctl);
    if (IsPushButton(ctl)) d.buttons.push_back(ctl);
    d.controls.push_back(std::move(ctl));
  }
  return d;
}

std::string DescribeWindowsOf(DWORD pid) {
  FindState st{pid, nullptr, nullptr, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&st));
  if (st.all.empty()) return "no visible window";
  std::ostringstream s;
  for (HWND h : st.all) s << ClassOf(h) << " \"" << TextOf(h) << "\"; ";
  return s.str();
}

// --- App ---------------------------------------------------------------------

App::App(App&& other) noexcept { *this = std::move(other); }

App& App::operator=(App&& other) noexcept {
  if (this != &other) {
    Kill();
    std::swap(process_, other.process_);
    std::swap(thread_, other.thread_);
    std::swap(outRead_, other.outRead_);
    std::swap(pid_, other.pid_);
    std::swap(output_, other.output_);
    std::swap(error_, other.error_);
  }
  return *this;
}

App::~App() { Kill(); }

void App::Kill() {
  if (process_ && Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  for (HANDLE* h : {&process_, &thread_, &outRead_}) {
    if (*h) CloseHandle(*h);
    *h = nullptr;
  }
}

bool App::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void App::Drain(bool block) {
  if (!outRead_) return;
  for (;;) {
    DWORD avail = 0;
    if (!PeekNamedPipe(outRead_, nullptr, 0, nullptr, &avail, nullptr)) return;
    if (avail == 0 && !block) return;
    char buf[4096];
    DWORD got = 0;
    if (!ReadFile(outRead_, buf, sizeof buf, &got, nullptr) || got == 0) return;
    for (DWORD i = 0; i < got; ++i)
      if (buf[i] != '\r') output_.push_back(buf[i]);
  }
}

std::string App::Output() {
  Drain(!Running());
  return output_;
}

HWND App::WaitWindow(const char* className, DWORD timeoutMs) {
  if (!process_) {
    error_ = "no program was started";
    return nullptr;
  }
  DWORD start = GetTickCount();
  for (;;) {
    FindState st{pid_, className, nullptr, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&st));
    if (st.found) {
      // Let the dialog finish its start-up (focus, centring, painting).
      SendQuiet(st.found, WM_NULL);
      Sleep(150);
      return st.found;
    }
    Drain(false);
    std::ostringstream why;
    if (!Running()) {
      DWORD code = 0;
      GetExitCodeProcess(process_, &code);
      why << "expected a visible window" << (className ? " of class " : "")
          << (className ? className : "") << ", but the process ended with exit code " << code
          << "; its output: \"" << Output() << "\"";
      error_ = why.str();
      return nullptr;
    }
    if (GetTickCount() - start > timeoutMs) {
      why << "expected a visible window" << (className ? " of class " : "")
          << (className ? className : "") << " within " << timeoutMs << " ms, found "
          << DescribeWindowsOf(pid_);
      error_ = why.str();
      return nullptr;
    }
    Sleep(kPollMs);
  }
}

int App::WaitExit(DWORD timeoutMs) {
  if (!process_) {
    error_ = "no program was started";
    return -1;
  }
  DWORD start = GetTickCount();
  while (WaitForSingleObject(process_, kPollMs) == WAIT_TIMEOUT) {
    Drain(false);
    if (GetTickCount() - start > timeoutMs) {
      error_ = "expected the program to end within " + std::to_string(timeoutMs) +
               " ms, but it still runs; its windows: " + DescribeWindowsOf(pid_);
      return -1;
    }
  }
  Drain(true);
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

App Start(const std::string& commandLine, const std::string& cwd, bool captureStdout) {
  App app;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE outWrite = nullptr;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  if (captureStdout) {
    if (!CreatePipe(&app.outRead_, &outWrite, &sa, 0)) {
      app.error_ = "CreatePipe failed, error " + std::to_string(GetLastError());
      return app;
    }
    SetHandleInformation(app.outRead_, HANDLE_FLAG_INHERIT, 0);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = outWrite;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  std::string cmd = commandLine;
  PROCESS_INFORMATION pi = {};
  BOOL ok = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, captureStdout, 0, nullptr,
                           cwd.empty() ? nullptr : cwd.c_str(), &si, &pi);
  if (outWrite) CloseHandle(outWrite);
  if (!ok) {
    app.error_ = "expected to start \"" + commandLine + "\", but CreateProcessA failed with error " +
                 std::to_string(GetLastError());
    return app;
  }
  app.process_ = pi.hProcess;
  app.thread_ = pi.hThread;
  app.pid_ = pi.dwProcessId;
  return app;
}

// --- Command lines -----------------------------------------------------------

std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string q = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    q.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    q.push_back(c);
  }
  q.append(2 * backslashes, '\\');
  q.push_back('"');
  return q;
}

std::string ProbePath(const std::string& name) {
  return std::string(DOVE_TESTS_DIR) + "\\" + name + ".exe";
}

std::string ProbeCommand(const std::string& name, const std::vector<std::string>& args) {
  std::string cmd = Quote(ProbePath(name));
  for (const std::string& a : args) cmd += " " + Quote(a);
  return cmd;
}

std::string ExeCommand(const std::vector<std::string>& args) {
  std::string cmd = Quote(DOVE_EXE_PATH);
  for (const std::string& a : args) cmd += " " + Quote(a);
  return cmd;
}

// --- Input ---------------------------------------------------------------------

bool Press(HWND dlg, int id, std::string* error) {
  HWND button = GetDlgItem(dlg, id);
  if (!button) {
    if (error) *error = "expected a control with id " + std::to_string(id) + ", found:\n" +
                        Read(dlg).Describe();
    return false;
  }
  return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool Command(HWND dlg, int id) {
  return PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(dlg, id))) != FALSE;
}

bool Key(HWND dlg, UINT vk) {
  HWND target = FocusOfThread(dlg);
  if (!target) target = dlg;
  UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  LPARAM up = down | (static_cast<LPARAM>(3) << 30);
  return PostMessageA(target, WM_KEYDOWN, vk, down) && PostMessageA(target, WM_KEYUP, vk, up);
}

bool Close(HWND hwnd) { return PostMessageA(hwnd, WM_CLOSE, 0, 0) != FALSE; }

RECT WorkArea() {
  RECT r = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

// --- Pixels ------------------------------------------------------------------

// Copies the bitmap's pixels (top-down, 32-bit) and frees the bitmap, the
// memory DC and the screen DC.
static bool ReadPixels(HDC mdc, HBITMAP bmp, int w, int h, Pixels* out, HDC sdc) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  out->width = w;
  out->height = h;
  out->bgra.assign(static_cast<size_t>(w) * h, 0);
  bool ok = GetDIBits(mdc, bmp, 0, h, out->bgra.data(), &bi, DIB_RGB_COLORS) == h;
  DeleteObject(bmp);
  DeleteDC(mdc);
  ReleaseDC(nullptr, sdc);
  return ok;
}

bool Capture(const RECT& screen, Pixels* out) {
  int w = screen.right - screen.left;
  int h = screen.bottom - screen.top;
  if (w <= 0 || h <= 0) return false;
  HDC sdc = GetDC(nullptr);
  HDC mdc = CreateCompatibleDC(sdc);
  HBITMAP bmp = CreateCompatibleBitmap(sdc, w, h);
  HGDIOBJ old = SelectObject(mdc, bmp);
  BOOL ok = BitBlt(mdc, 0, 0, w, h, sdc, screen.left, screen.top, SRCCOPY);
  SelectObject(mdc, old);
  return ReadPixels(mdc, bmp, w, h, out, sdc) && ok;
}

bool RenderIcon(HICON icon, int w, int h, COLORREF background, Pixels* out) {
  HDC sdc = GetDC(nullptr);
  HDC mdc = CreateCompatibleDC(sdc);
  HBITMAP bmp = CreateCompatibleBitmap(sdc, w, h);
  HGDIOBJ old = SelectObject(mdc, bmp);
  RECT all = {0, 0, w, h};
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(mdc, &all, brush);
  DeleteObject(brush);
  BOOL ok = DrawIcon(mdc, 0, 0, icon);
  SelectObject(mdc, old);
  return ReadPixels(mdc, bmp, w, h, out, sdc) && ok;
}

int CountDifferent(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int n = 0;
  for (size_t i = 0; i < a.bgra.size(); ++i)
    if ((a.bgra[i] & 0xFFFFFF) != (b.bgra[i] & 0xFFFFFF)) ++n;
  return n;
}

int CountColour(const Pixels& p, COLORREF colour) {
  DWORD bgr = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  int n = 0;
  for (DWORD px : p.bgra)
    if ((px & 0xFFFFFF) == bgr) ++n;
  return n;
}

::testing::AssertionResult OpenDialog(Shown* shown, const std::string& commandLine,
                                      DWORD timeoutMs) {
  shown->app = Start(commandLine);
  if (!shown->app.Started()) return ::testing::AssertionFailure() << shown->app.Error();
  shown->dlg = shown->app.WaitWindow("#32770", timeoutMs);
  if (!shown->dlg) return ::testing::AssertionFailure() << shown->app.Error();
  shown->d = Read(shown->dlg);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ShowsIcon(const Dialog& d, HICON icon) {
  if (!d.hasIconControl) return ::testing::AssertionFailure() << "no icon control in\n" << d.Describe();
  int w = d.iconRect.right - d.iconRect.left, h = d.iconRect.bottom - d.iconRect.top;
  Pixels shown, drawn;
  if (!RenderIcon(icon, w, h, GetSysColor(COLOR_BTNFACE), &drawn))
    return ::testing::AssertionFailure() << "could not draw the expected icon";
  // A dialog that has just appeared may not have painted yet: look again for
  // up to a second before calling it a difference.
  int diff = -1;
  for (int tries = 0; tries < 20 && diff != 0; ++tries) {
    if (tries) Sleep(50);
    if (!Capture(d.iconRect, &shown))
      return ::testing::AssertionFailure() << "could not capture " << ToString(d.iconRect);
    diff = CountDifferent(shown, drawn);
  }
  if (diff == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << diff << " of " << w * h << " pixels differ";
}

bool Screenshot(HWND hwnd, const std::string& name, std::string* error) {
  RECT r = {};
  if (!GetWindowRect(hwnd, &r)) {
    if (error) *error = "no window to capture for " + name;
    return false;
  }
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendQuiet(hwnd, WM_NULL);
  Sleep(100);
  Pixels px;
  if (!Capture(r, &px)) {
    if (error) *error = "could not capture " + ToString(r) + " for " + name;
    return false;
  }
  int stride = (px.width * 3 + 3) & ~3;
  std::vector<BYTE> bits(static_cast<size_t>(stride) * px.height, 0);
  for (int y = 0; y < px.height; ++y) {
    BYTE* row = &bits[static_cast<size_t>(px.height - 1 - y) * stride];  // bottom-up
    for (int x = 0; x < px.width; ++x) {
      DWORD p = px.bgra[static_cast<size_t>(y) * px.width + x];
      row[3 * x] = static_cast<BYTE>(p);
      row[3 * x + 1] = static_cast<BYTE>(p >> 8);
      row[3 * x + 2] = static_cast<BYTE>(p >> 16);
    }
  }
  std::string path = std::string(DOVE_SCREENSHOT_DIR) + "\\" + name + ".bmp";
  if (!WriteBmp(path, px.width, px.height, bits)) {
    if (error) *error = "could not write " + path;
    return false;
  }
  return true;
}

// --- Input as the world gives it ---------------------------------------------

HWND FocusOf(HWND hwnd) { return FocusOfThread(hwnd); }

::testing::AssertionResult BringToFront(HWND top, HWND focus) {
  DWORD target = GetWindowThreadProcessId(top, nullptr);
  DWORD self = GetCurrentThreadId();
  // Attached, this thread may set the focus of the target's queue, which
  // SetFocus from another thread cannot otherwise.
  BOOL attached = AttachThreadInput(self, target, TRUE);
  SetForegroundWindow(top);
  SetActiveWindow(top);
  if (focus) SetFocus(focus);
  if (attached) AttachThreadInput(self, target, FALSE);
  for (int i = 0; i < 50; ++i) {
    if (GetForegroundWindow() == top && (!focus || FocusOfThread(top) == focus))
      return ::testing::AssertionSuccess();
    Sleep(20);
  }
  return ::testing::AssertionFailure()
         << "could not bring the window to the front: foreground " << GetForegroundWindow()
         << " instead of " << top << ", focus " << FocusOfThread(top) << " instead of " << focus;
}

// Typed input waits in the target thread's queue: a short pause and a few
// sent round trips give its thread the time to read it before the test looks.
static void Settle(HWND target) {
  if (!target) {
    Sleep(100);
    return;
  }
  DWORD_PTR ignored = 0;
  for (int i = 0; i < 3; ++i) {
    Sleep(30);
    SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  }
}

static INPUT KeyInput(WORD vk, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return in;
}

bool TypeKeys(const std::vector<WORD>& keys, HWND target) {
  for (WORD vk : keys) {
    INPUT in[2] = {KeyInput(vk, false), KeyInput(vk, true)};
    if (SendInput(2, in, sizeof(INPUT)) != 2) return false;
  }
  Settle(target);
  return true;
}

bool TypeText(const std::string& text, HWND target) {
  for (char ch : text) {
    SHORT scan = VkKeyScanA(ch);
    if (scan == -1) return false;
    WORD vk = LOBYTE(scan);
    std::vector<INPUT> in;
    if (HIBYTE(scan) & 1) in.push_back(KeyInput(VK_SHIFT, false));
    in.push_back(KeyInput(vk, false));
    in.push_back(KeyInput(vk, true));
    if (HIBYTE(scan) & 1) in.push_back(KeyInput(VK_SHIFT, true));
    if (SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) != in.size()) return false;
  }
  Settle(target);
  return true;
}

bool ClickMouse(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  INPUT in[3] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    i.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  if (SendInput(3, in, sizeof(INPUT)) != 3) return false;
  Settle(hwnd);
  return true;
}

bool SendFromOutside(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs, LRESULT* result) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, timeoutMs, &answer)) return false;
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

bool PostQuit(HWND hwnd, int exitCode) {
  DWORD tid = GetWindowThreadProcessId(hwnd, nullptr);
  return tid && PostThreadMessageA(tid, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

}  // namespace gui
