#include "windows/loop/window_classes_win32.h"

#include <cstdio>
#include <mutex>

#include "runtime/errors/fault.h"
#include "windows/loop/window_procs_win32.h"

namespace dove::win {

namespace {

constexpr int kClassFailure = 2;  // internal error 502
constexpr char kProgramIcon[] = "ZERU.Ico";

struct ClassSpec {
  const char* name;
  const char* base;  // null: a class of our own
  UINT style;        // added to the base class's style
  WNDPROC proc;
};

const ClassSpec& Spec(ClassId id) {
  static const ClassSpec specs[] = {
      {"TovWin", nullptr, CS_DBLCLKS, &RuntimeWindowProc},
      {"TovButton", "button", 0, &ButtonClassProc},
      {"TovCheck", "button", 0, &CheckClassProc},
      {"TovGroup", "Button", 0, &GroupClassProc},
      {"TovPrompt", "Static", CS_HREDRAW | CS_VREDRAW, &PromptClassProc},
      {"TovString", nullptr, CS_HREDRAW | CS_VREDRAW, &StringClassProc},
      {"TovEdit", "Edit", CS_DBLCLKS, &EditClassProc},
      {"TovSpin", "Edit", CS_DBLCLKS, &SpinClassProc},
      {"TovGraphic", nullptr, 0, &GraphicClassProc},
      {"TovSheet", nullptr, CS_HREDRAW | CS_VREDRAW, &SheetClassProc},
      {"TovTab", nullptr, 0, &TabClassProc},
      {"TovOption", "Button", 0, &OptionClassProc},
      {"TovRadio", "button", 0, &RadioClassProc},
  };
  return specs[static_cast<int>(id)];
}

std::mutex g_lock;
RuntimeClass g_classes[static_cast<int>(ClassId::Count)];

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

std::string RegisteredName(const char* name, HMODULE module) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s_%llx", name,
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(module)));
  return buf;
}

// The task bar and the window menu show the program's emblem; the system
// takes the small size from the same resource. Shared: never destroyed.
void SetProgramIcon(WNDCLASSEXA& wc) {
  wc.hIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), kProgramIcon, IMAGE_ICON, 0, 0,
                                           LR_SHARED | LR_DEFAULTSIZE));
}

void Register(ClassId id, RuntimeClass& c) {
  const ClassSpec& spec = Spec(id);
  c.module = ThisModule();
  c.name = RegisteredName(spec.name, c.module);
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  if (spec.base) {
    if (!GetClassInfoExA(nullptr, spec.base, &wc)) FatalError(500 + kClassFailure, "WSLCLASS");
    c.baseProc = wc.lpfnWndProc;
    c.baseExtra = wc.cbWndExtra;
    wc.cbSize = sizeof wc;
  } else {
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  }
  if (id == ClassId::Window) SetProgramIcon(wc);
  wc.style |= spec.style;
  wc.style &= ~CS_GLOBALCLASS;
  wc.lpfnWndProc = spec.proc;
  wc.cbWndExtra = c.baseExtra + 4;
  wc.hInstance = c.module;
  wc.lpszClassName = c.name.c_str();
  wc.lpszMenuName = nullptr;
  c.atom = RegisterClassExA(&wc);
  if (!c.atom) FatalError(500 + kClassFailure, "WSLCLASS");
  c.registered = true;
}

}  // namespace

const RuntimeClass& EnsureClass(ClassId id) {
  std::lock_guard<std::mutex> hold(g_lock);
  RuntimeClass& c = g_classes[static_cast<int>(id)];
  if (!c.registered) Register(id, c);
  return c;
}

const RuntimeClass& ClassRecord(ClassId id) { return g_classes[static_cast<int>(id)]; }

uint32_t WindowSlot(HWND hwnd, ClassId id) {
  return static_cast<uint32_t>(GetWindowLongA(hwnd, ClassRecord(id).baseExtra));
}

void SetWindowSlot(HWND hwnd, ClassId id, uint32_t slot) {
  SetWindowLongA(hwnd, ClassRecord(id).baseExtra, static_cast<LONG>(slot));
}

ClassId ClassOf(HWND hwnd) {
  ATOM atom = hwnd ? static_cast<ATOM>(GetClassLongPtrA(hwnd, GCW_ATOM)) : 0;
  if (!atom) return ClassId::Count;
  for (int i = 0; i < static_cast<int>(ClassId::Count); ++i)
    if (g_classes[i].atom == atom) return static_cast<ClassId>(i);
  return ClassId::Count;
}

LRESULT CallBase(ClassId id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC base = ClassRecord(id).baseProc;
  return base ? CallWindowProcA(base, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace dove::win
