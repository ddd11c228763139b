// GUI test harness: drive a program's windows from a second process.
//
// A test starts the program under test, waits for its dialog, reads what the
// user would see, presses a button or a key, and checks the exit code or what
// the program printed:
//
//   gui::App app = gui::Start(gui::ProbeCommand("message_probe",
//                                  {"Hello|world", "Title", "", "6", "0", "0"}));
//   HWND dlg = app.WaitWindow("#32770", 5000);
//   ASSERT_TRUE(dlg) << app.Error();
//   gui::Dialog d = gui::Read(dlg);
//   EXPECT_EQ(d.caption, "Title");
//   EXPECT_EQ(d.ButtonTexts(), (std::vector<std::string>{"&Yes", "&No"}));
//   gui::Screenshot(dlg, "message_yes_no");
//   ASSERT_TRUE(gui::Press(dlg, 7));
//   EXPECT_EQ(app.WaitExit(5000), 0) << app.Error();
//   EXPECT_EQ(app.Output(), "4\n");
//
// Every call that can fail leaves a sentence in App::Error() (or returns one)
// that says what was expected and what was found instead, so assertions can
// stream it. Without a window manager Wine activates no window by itself, so
// Key() posts keys to the target window; the input section at the end types
// real keys after BringToFront() (tests that use it take the foreground and
// so must not run beside other GUI tests).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// One child window of a dialog, as read from outside.
struct Control {
  HWND hwnd = nullptr;
  std::string className;  // "Button", "Static", "Edit" (as the system reports it)
  int id = 0;             // control id (GetDlgCtrlID), 0xFFFF for the message text
  std::string text;       // WM_GETTEXT
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect = {};          // screen coordinates
  bool visible = false;
  bool isDefault = false;  // push button with BS_DEFPUSHBUTTON
  bool hasFocus = false;   // the dialog thread's focus window (GetGUIThreadInfo)
};

// A top-level window and its children.
struct Dialog {
  HWND hwnd = nullptr;
  std::string className;
  std::string caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect = {};        // window rectangle, screen coordinates
  RECT clientRect = {};  // client area, screen coordinates
  HWND owner = nullptr;
  std::vector<Control> controls;  // every child, in z order (= template order)
  std::vector<Control> buttons;   // the push buttons, in z order
  std::vector<std::string> staticTexts;  // texts of static controls that are not icons
  std::vector<Control> edits;     // edit controls
  int defId = 0;                  // DM_GETDEFID, 0 when the dialog has none
  HWND focus = nullptr;           // focus window of the dialog's thread
  int focusId = 0;                // its control id, 0 when none or not a child
  // Icon: the static control with SS_ICON, if any. iconHandle is what
  // STM_GETICON answers; a control that paints its icon itself answers 0,
  // and then only iconRect tells that an icon is there.
  bool hasIconControl = false;
  int iconControlId = 0;
  HICON iconHandle = nullptr;
  RECT iconRect = {};  // screen coordinates

  const Control* Find(int id) const;   // nullptr when absent
  std::vector<std::string> ButtonTexts() const;
  std::vector<int> ButtonIds() const;
  const Control* DefaultButton() const;  // nullptr when no button is default
  std::string Describe() const;          // multi-line summary for failure messages
};

// A started program. Move-only; the destructor ends a program that is still
// running (TerminateProcess) so that a failed test leaves nothing behind.
class App {
 public:
  App() = default;
  App(App&& other) noexcept;
  App& operator=(App&& other) noexcept;
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  ~App();

  bool Started() const { return process_ != nullptr; }
  DWORD Pid() const { return pid_; }
  HANDLE Process() const { return process_; }

  // First visible top-level window of this process (of the given class when
  // className is not null), polled until timeoutMs; nullptr on time-out or when
  // the process ends first (Error() says which, and lists the windows seen).
  HWND WaitWindow(const char* className = "#32770", DWORD timeoutMs = 5000);

  // Waits until the process ends and returns its exit code; on time-out
  // returns -1 and leaves the process running (the destructor ends it).
  int WaitExit(DWORD timeoutMs = 5000);
  bool Running() const;
  void Kill();

  // Everything the program wrote to its standard output so far (read from the
  // pipe; after WaitExit, all of it). CR LF pairs are given as LF.
  std::string Output();

  const std::string& Error() const { return error_; }

 private:
  friend App Start(const std::string&, const std::string&, bool);
  void Drain(bool block);

  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  HANDLE outRead_ = nullptr;
  DWORD pid_ = 0;
  std::string output_;
  std::string error_;
};

// Starts commandLine (program and arguments, already quoted) in the directory
// cwd (empty: the test's own). With captureStdout the program's standard
// output goes to a pipe that App::Output() reads. On failure the returned App
// is not Started() and its Error() says why.
App Start(const std::string& commandLine, const std::string& cwd = {},
          bool captureStdout = true);

// Quotes one argument the way the C runtime splits it again (empty gives "").
std::string Quote(const std::string& arg);
// Path of a test probe: DOVE_TESTS_DIR\<name>.exe.
std::string ProbePath(const std::string& name);
// A probe's command line with each argument quoted.
std::string ProbeCommand(const std::string& name, const std::vector<std::string>& args);
// The program under test, DOVE_EXE_PATH, with each argument quoted.
std::string ExeCommand(const std::vector<std::string>& args);

// A started program and the dialog it shows.
struct Shown {
  App app;
  HWND dlg = nullptr;
  Dialog d;
};
// Starts commandLine, waits for its first dialog (#32770) and reads it.
::testing::AssertionResult OpenDialog(Shown* shown, const std::string& commandLine,
                                      DWORD timeoutMs = 10000);

// Reads a window and its children.
Dialog Read(HWND hwnd);
// Visible top-level windows of a process, for failure messages.
std::string DescribeWindowsOf(DWORD pid);

// Presses the button with control id `id`: posts BM_CLICK to it. Returns
// false (with *error filled when given) when the window has no such child.
bool Press(HWND dlg, int id, std::string* error = nullptr);
// Posts WM_COMMAND(id, BN_CLICKED) to the dialog itself, as a button would.
bool Command(HWND dlg, int id);
// Posts a key press and release (WM_KEYDOWN/WM_KEYUP with virtual key vk) to
// the dialog's focus control, or to the dialog when nothing has the focus.
// The dialog's modal loop translates Escape, Enter and Tab as for a typed key.
bool Key(HWND dlg, UINT vk);
inline bool Escape(HWND dlg) { return Key(dlg, VK_ESCAPE); }
inline bool Enter(HWND dlg) { return Key(dlg, VK_RETURN); }
// Posts WM_CLOSE.
bool Close(HWND hwnd);

// Work area of the primary monitor (SPI_GETWORKAREA).
RECT WorkArea();

// Screen pixels, top-down rows, 0x00RRGGBB values.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<DWORD> bgra;
};
// Copies a screen rectangle (GetDC(NULL) and BitBlt).
bool Capture(const RECT& screen, Pixels* out);
// Draws an icon with DrawIcon at (0, 0) on a w x h area filled with background.
bool RenderIcon(HICON icon, int w, int h, COLORREF background, Pixels* out);
// Pixels that differ in colour; -1 when the sizes differ.
int CountDifferent(const Pixels& a, const Pixels& b);
// Pixels of exactly this colour.
int CountColour(const Pixels& p, COLORREF colour);

// Success when the dialog's icon area shows `icon` as the message dialog
// draws it (DrawIcon over the button face), compared pixel by pixel.
::testing::AssertionResult ShowsIcon(const Dialog& d, HICON icon);

// Saves the window's screen rectangle as DOVE_SCREENSHOT_DIR\<name>.bmp
// (24-bit). Returns false and fills *error when given on failure.
bool Screenshot(HWND hwnd, const std::string& name, std::string* error = nullptr);

// "(l,t)-(r,b)"
std::string ToString(const RECT& r);

// --- Input as the world gives it ---------------------------------------------
// Real keystrokes and clicks (SendInput) reach the foreground window's focus,
// as typing does. Without a window manager Wine activates no window by
// itself, so BringToFront() makes the window of the program under test the
// foreground window from this process (SetForegroundWindow; the input of
// this thread is attached to the target's for the call) and checks that it
// took: the foreground window and the focus of the target's thread.
//
//   ASSERT_TRUE(gui::BringToFront(win, okButton));
//   gui::TypeKeys({VK_DOWN});
//   EXPECT_EQ(gui::FocusOf(win), expected);

// The focus window of hwnd's thread (GetGUIThreadInfo), null when none.
HWND FocusOf(HWND hwnd);
// Makes `top` the foreground window and, when given, `focus` (a child of it)
// its focus. Fails with a sentence in *error when the system refuses.
::testing::AssertionResult BringToFront(HWND top, HWND focus = nullptr);
// Types each virtual key (down, then up) with SendInput, then waits until
// the target has read its input (a sent message round trip to `target`).
bool TypeKeys(const std::vector<WORD>& keys, HWND target = nullptr);
// Types text as characters (VkKeyScan; Shift where the layout needs it).
bool TypeText(const std::string& text, HWND target = nullptr);
// Moves the mouse to the middle of a window and clicks it with the left
// button (SendInput, absolute coordinates).
bool ClickMouse(HWND hwnd);
// Sends a message from this process as another program would, waiting for
// the answer at most timeoutMs (SendMessageTimeout, SMTO_ABORTIFHUNG).
// False when it timed out or the window is gone.
bool SendFromOutside(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs = 5000,
                     LRESULT* result = nullptr);
// Posts WM_QUIT to the thread that owns hwnd (PostThreadMessage).
bool PostQuit(HWND hwnd, int exitCode = 0);

}  // namespace gui
