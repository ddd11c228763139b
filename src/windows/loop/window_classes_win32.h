// The runtime's window classes, registered once per process when first
// needed.
//
// Each class is registered under its name, "_" and the module handle in
// hexadecimal ("TovButton_400000"), so that every module of the program has
// its own. A superclass takes the base class's procedure, style and extra
// bytes (GetClassInfoExA) and adds 4 extra bytes of its own, where the
// control's slot number lives (control_win32.h); a class of the runtime's own
// has those 4 bytes only.
//
//   const RuntimeClass& c = win::EnsureClass(win::ClassId::Button);
//   CreateWindowExA(0, c.name.c_str(), ...);
//
// A superclass whose base class the platform does not know is the fatal
// error 502 "WSLCLASS".
#pragma once

#include <windows.h>

#include <string>

namespace dove::win {

enum class ClassId {
  Window,   // TovWin: the runtime's top-level window
  Button,   // TovButton: "button"
  Check,    // TovCheck: "button"
  Group,    // TovGroup: "Button"
  Prompt,   // TovPrompt: "Static"
  String,   // TovString: own class
  Edit,     // TovEdit: the platform's edit does the editing
  Spin,     // TovSpin: the platform's edit, with an up-down beside it
  Graphic,  // TovGraphic: own class
  Sheet,    // TovSheet: own class
  Tab,      // TovTab: own class
  Option,   // TovOption: own class, a container of radio buttons
  Radio,    // TovRadio: "button"
  Count,
};

struct RuntimeClass {
  std::string name;            // as registered
  HMODULE module = nullptr;
  WNDPROC baseProc = nullptr;  // null for a class of our own
  int baseExtra = 0;           // the base class's extra bytes; our slot lies there
  ATOM atom = 0;
  bool registered = false;
};

// Registers the class on first use (thread-safe) and returns its record.
const RuntimeClass& EnsureClass(ClassId id);
// The record without registering; baseProc is what a class procedure passes
// unhandled messages to (DefWindowProcA for own classes).
const RuntimeClass& ClassRecord(ClassId id);

// The slot number kept in a runtime window's extra bytes (0: none).
uint32_t WindowSlot(HWND hwnd, ClassId id);
void SetWindowSlot(HWND hwnd, ClassId id, uint32_t slot);
// The class of a window of ours, found by its class atom; Count when
// the window is not one of the runtime's.
ClassId ClassOf(HWND hwnd);

// Passes a message on to the class's base procedure (DefWindowProcA for our
// own classes).
LRESULT CallBase(ClassId id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace dove::win
