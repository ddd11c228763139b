// A procedure's window: declared with its use variables, opened from its
// stored definition, driven by ACCEPT (accept.h).
//
//   win::RuntimeWindow w("Install$WorkLog", "P2$W",
//                        {ver.note, ver.ver, ver.build, &onOff, &autoInc, fileName});
//   w.Open();                      // fatal 502 "WSLDIAL" when not defined
//   while (win::ACCEPT()) { ... }  // returns when the window has closed
//
// Opening makes the window the thread's current window; closing gives the
// thread back the window that was current before. Destroying the object
// destroys its platform window if it is still there.
#pragma once

// window_def.h before <windows.h>: the platform header defines a macro RGB.
#include "windows/definitions/window_def.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "windows/controls/control_win32.h"
#include "windows/loop/window.h"
#include "windows/definitions/window_def.h"
#include "windows/definitions/window_def_units.h"

namespace dove::win {

class RuntimeWindow : public Window {
 public:
  RuntimeWindow(std::string procedure, std::string label, std::vector<void*> useAddresses);
  ~RuntimeWindow() override;
  RuntimeWindow(const RuntimeWindow&) = delete;
  RuntimeWindow& operator=(const RuntimeWindow&) = delete;

  // Finds the definition, creates the window and its controls, shows them
  // with their use variables' values and makes the window current. A window
  // that closed may be opened again; Open of an open window posts 535 and
  // changes nothing. When the platform refuses to create the window, the
  // fatal error 529 ends the program before the procedure goes on.
  void Open();
  // The same from a definition at hand (tests, the builder's own copy).
  // False (with 535 posted) for an open window, or when the platform window
  // could not be made (nothing posted: Open() decides what that means).
  bool OpenFrom(const wdef::Window& def, HMODULE module);
  bool IsOpen() const { return hwnd_ != nullptr; }

  HWND hwnd() const { return hwnd_; }
  const std::string& procedure() const { return procedure_; }
  const std::string& label() const { return label_; }
  const wdef::Window& definition() const { return def_; }
  HMODULE module() const { return module_; }
  HFONT font() const { return font_; }
  const wdef::UnitScale& scale() const { return scale_; }
  HWND statusBar() const { return status_; }
  ControlObject* ControlAt(int index) const;
  size_t ControlCount() const { return controls_.size(); }

  // Window overrides.
  bool WaitForEvent() override;
  void Close() override;
  Control* FieldControl(int field) const override;
  void Select(int field) override;
  void Display(int first, int last) override;
  void SetEnabled(int first, int last, bool enabled) override;
  void SetProperty(int field, int property, int index, std::string_view value) override;
  Control* FocusControl() const override;
  void CaptureInput(EventRecord& rec) const override;
  uint32_t ThreadNumber() const override { return thread_; }
  bool HandOver(std::unique_ptr<EventRecord>& record) override;
  void Wake() override;
  void OnLoopEnded() override;

  // From the window procedure.
  void OnPlatformClose();
  void OnTimer(UINT_PTR id);
  void OnDestroyed();
  // WM_NEXTDLGCTL: the focus goes only to a control that can take it.
  void MoveFocus(WPARAM target, bool isHandle);
  void SetTimerInterval(uint32_t hundredths);
  void ShowPage(ControlObject& tab);

  // The RuntimeWindow of a TovWin window, or null.
  static RuntimeWindow* FromHwnd(HWND hwnd);

 private:
  bool CreatePlatformWindow();
  void CreateStatusBar();
  void CreateControls();
  void BindUseVariables();
  bool OnDialogKey(const MSG& m);
  bool OnArrowKey(const MSG& m);
  void OnQuit(int exitCode);
  bool CanTakeFocus(HWND h) const;
  bool InRange(const ControlObject& c, int first, int last) const;
  void EnableTree(ControlObject& c, bool enabled);
  void Destroy();

  std::string procedure_;
  std::string label_;
  std::vector<void*> uses_;
  wdef::Window def_;
  HMODULE module_ = nullptr;
  HWND hwnd_ = nullptr;
  HWND status_ = nullptr;
  HFONT font_ = nullptr;
  bool ownsFont_ = false;
  wdef::UnitScale scale_;
  std::vector<std::unique_ptr<ControlObject>> controls_;
  Window* previous_ = nullptr;
  bool current_ = false;
  uint32_t thread_ = 0;
  uint32_t timer_ = 0;
  uint32_t slot_ = 0;
  // What POST from other threads posts to; set while the window is
  // registered, so it is never read half-way through an open or a close.
  std::atomic<HWND> handoverTarget_{nullptr};
  bool wakePending_ = false;
  bool waiting_ = false;  // inside Peek or Get
  // A WM_QUIT taken from the queue: handed on once the loop has ended.
  bool quitPending_ = false;
  int quitCode_ = 0;
};

// Slots: 32-bit numbers that name runtime objects in window extra bytes.
uint32_t AddSlot(void* object);
void* SlotObject(uint32_t slot);
void RemoveSlot(uint32_t slot);

// Process-wide set-up of the window layer when the first window opens:
// thread numbers, the common controls. Safe to call more than once.
void StartWindowLayer();
// The process-wide keyboard layout (an HKL): set at start-up, updated on
// WM_INPUTLANGCHANGE.
HKL ProcessKeyboardLayout();
void SetProcessKeyboardLayout(HKL layout);

}  // namespace dove::win
