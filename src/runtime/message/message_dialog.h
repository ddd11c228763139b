// The runtime's message dialog: MESSAGE and the numeric entry that STOP uses.
//
// The dialog is not the platform's message box. It measures the text, lays out
// an icon, the text and up to eight buttons itself, writes a dialog template
// in memory and runs it modally on the calling thread. The call returns which
// button was pressed:
//   - numeric buttons (a sum of the flag values below): the pressed button's
//     flag value (1, 2, 4 ... 128);
//   - a caption list ("&Yes|Maybe|Cancel"): the 1-based position of the
//     pressed button;
//   - 0 when the dialog could not be shown.
// The calling thread's error state (code and texts) is the same after the call
// as before it.
//
//   dove::Message("Template registered.|Restart the IDE?", "DOVidovur",
//                 dove::SystemIconCode(dove::kIconInformation),
//                 "6", /*default*/ 2);                       // Yes and No
//   if (dove::Message("Overwrite?", "Install", {}, "&Yes|&No|Cancel", 3) == 1)
//     ...
//
// Button table (index: flag value, control id, caption):
//   0: 1 IDOK "OK"      1: 2 IDYES "&Yes"     2: 4 IDNO "&No"
//   3: 8 IDABORT "&Abort"  4: 16 IDRETRY "&Retry"  5: 32 IDIGNORE "&Ignore"
//   6: 64 IDCANCEL "Cancel"  7: 128 IDHELP "&Help"
// A numeric value with none of these eight bits set shows the OK button alone
// (otherwise the dialog could never be closed).
//
// Not declared in a Win32 header so that callers in the portable core can name
// the entry points; the definitions of MESSAGE, Message and MessageInternal
// live in the Win32 shell (message_dialog_win32.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove {

// Button flag values, in table order.
enum : uint32_t {
  kButtonOk = 1,
  kButtonYes = 2,
  kButtonNo = 4,
  kButtonAbort = 8,
  kButtonRetry = 16,
  kButtonIgnore = 32,
  kButtonCancel = 64,
  kButtonHelp = 128,
};

// Style bits of MESSAGE.
enum : uint32_t {
  kMessageSystemModal = 1,  // DS_SYSMODAL dialog
  kMessageCopyable = 2,     // text in a read-only, selectable edit field
};

// The internal style word that MessageInternal takes (MESSAGE maps its style
// to it). Bits 0xF0 name a standard icon.
enum : uint32_t {
  kInternalIconHand = 0x10,
  kInternalIconQuestion = 0x20,
  kInternalIconExclamation = 0x30,
  kInternalIconAsterisk = 0x40,
  kInternalIconMask = 0xF0,
  kInternalSystemModal = 0x1000,
  kInternalCopyable = 0x8000,
};

// System icon numbers plus one, for SystemIconCode.
constexpr uint16_t kIconExclamation = 0x7F04;  // IDI_EXCLAMATION 32515
constexpr uint16_t kIconInformation = 0x7F05;  // IDI_ASTERISK 32516

// The stored icon value that names a system icon: the bytes 0xFF, 0x01 and
// numberPlusOne, low byte first. Any other icon string is a resource name or
// an icon file name.
std::string SystemIconCode(uint16_t numberPlusOne);

// Pops four strings from the calling thread's value stack (text on top, then
// caption, icon, buttons), clips their trailing blanks and shows the dialog.
// A "|" in the text is a line break. The omitted flags mean nothing to the
// built-in dialog; they are passed on to a MessageHook.
int32_t MESSAGE(int32_t defaultButton, uint32_t style, bool captionOmitted = false,
                bool iconOmitted = false, bool buttonsOmitted = false);

// Typed wrapper: pushes the four strings and calls MESSAGE.
int32_t Message(std::string_view text, std::string_view caption = {},
                std::string_view icon = {}, std::string_view buttons = {},
                int32_t defaultButton = 0, uint32_t style = 0);

// The entry STOP uses: zero-terminated text and caption (no "|" conversion,
// no hook), numeric buttons, the default button's flag value and the internal
// style word. STOP: MessageInternal(text, "Stop", 40, 8, kInternalIconHand).
int32_t MessageInternal(const char* text, const char* caption, uint32_t buttons,
                        uint32_t defaultMask, uint32_t internalStyle);

// The procedure a program may store in the MessageHook system property
// (system_props.h). It receives MESSAGE's arguments with the four strings
// still on the value stack, and its result is MESSAGE's result.
using MessageHookProc = int32_t (*)(int32_t defaultButton, uint32_t style,
                                    bool captionOmitted, bool iconOmitted,
                                    bool buttonsOmitted);

// UnlockThreadHook and LockThreadHook: called without arguments around every
// modal wait.
using ThreadHookProc = void (*)();

}  // namespace dove
