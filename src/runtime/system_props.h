// Process-wide system properties: small values keyed by a number.
//
// The runtime keeps its replaceable procedures here; a program stores a
// procedure's address under the property's number, and 0 means "not set".
//
//   dove::SetSystemProp(dove::kMessageHook,
//                       reinterpret_cast<uintptr_t>(&MyMessage));
//   ...
//   if (auto hook = dove::SystemProp(dove::kMessageHook)) ...
//
// Reads and writes are safe from any thread. A property that was never set
// reads 0.
#pragma once

#include <cstdint>

namespace dove {

enum : int {
  kMessageHook = 0x7A35,       // MessageHookProc (message_dialog.h): replaces MESSAGE
  kStopHook = 0x7A36,          // replaces STOP's dialog
  kUnlockThreadHook = 0x7A3E,  // ThreadHookProc: called before every modal wait
  kLockThreadHook = 0x7A3F,    // ThreadHookProc: called after every modal wait
};

void SetSystemProp(int id, uintptr_t value);
uintptr_t SystemProp(int id);

// The runtime's global option flags (0 until a program sets them).
enum : uint32_t {
  kOptionHelvFont = 2,  // the message dialog uses an 8-point "Helv" font
};
void SetRuntimeOptions(uint32_t flags);
uint32_t RuntimeOptions();

// Calls the UnlockThreadHook / LockThreadHook procedure when one is set.
void CallUnlockThreadHook();
void CallLockThreadHook();

}  // namespace dove
