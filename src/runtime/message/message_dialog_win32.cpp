// MESSAGE and the numeric entry of STOP: argument preparation and the modal
// run of the dialog that message_builder_win32.cpp writes.
#include "runtime/message/message_dialog.h"

#include <windows.h>

#include <float.h>

#include "runtime/errors/error_record.h"
#include "runtime/message/message_args.h"
#include "runtime/message/message_buttons.h"
#include "runtime/message/message_record_win32.h"
#include "runtime/system_props.h"
#include "runtime/strings/value_stack.h"
#include "runtime/runtime_record.h"

namespace dove {

namespace {

// Showing a message never changes what the error functions report afterwards.
class ErrorStateKept {
 public:
  ErrorStateKept() { err::SaveState(); }
  ~ErrorStateKept() { err::RestoreState(); }
  ErrorStateKept(const ErrorStateKept&) = delete;
  ErrorStateKept& operator=(const ErrorStateKept&) = delete;
};

// Links the record to the thread for the dialog's lifetime. A message shown
// from inside another one's modal loop gets its own link and gives the outer
// one back afterwards.
class ActiveLink {
 public:
  explicit ActiveLink(MessageRecord& rec) : rt_(win::ThreadRecord()) {
    previous_ = rt_.activeMessage;
    rec.runtime = &rt_;
    rt_.activeMessage = &rec;
  }
  ~ActiveLink() { rt_.activeMessage = previous_; }
  ActiveLink(const ActiveLink&) = delete;
  ActiveLink& operator=(const ActiveLink&) = delete;

 private:
  win::RuntimeRecord& rt_;
  MessageRecord* previous_ = nullptr;
};

HWND ChooseOwner(const win::RuntimeRecord& rt) {
  if (HWND current = static_cast<HWND>(rt.currentWindow)) return current;
  if (HWND frame = static_cast<HWND>(win::ApplicationFrame())) return frame;
  if (HWND active = GetActiveWindow()) return active;
  return GetDesktopWindow();
}

// The dialog may run code that leaves the FPU with pending exceptions or a
// changed precision; precision control exists only on x86.
void ResetFpu() {
  _clearfp();
#if defined(__i386__) || defined(_M_IX86)
  _controlfp(_PC_64, _MCW_PC);
#endif
}

INT_PTR RunDialog(MessageRecord& rec) {
  HWND owner = ChooseOwner(*rec.runtime);
  HWND focus = GetFocus();
  CallUnlockThreadHook();
  auto* tmpl = static_cast<LPCDLGTEMPLATEA>(GlobalLock(rec.templ));
  INT_PTR id = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), tmpl, owner,
                                       &MessageDialogProc, reinterpret_cast<LPARAM>(&rec));
  CallLockThreadHook();
  ResetFpu();
  GlobalUnlock(rec.templ);
  if (focus && IsWindow(focus)) SetFocus(focus);
  return id;
}

int32_t Show(const MessageContent& content) {
  MessageRecord rec;
  ActiveLink link(rec);
  BuildMessageTemplate(rec, content);
  INT_PTR id = RunDialog(rec);
  return rec.buttons.Lookup(id);
}

}  // namespace

int32_t MESSAGE(int32_t defaultButton, uint32_t style, bool captionOmitted,
                bool iconOmitted, bool buttonsOmitted) {
  if (uintptr_t hook = SystemProp(kMessageHook))
    return reinterpret_cast<MessageHookProc>(hook)(defaultButton, style, captionOmitted,
                                                  iconOmitted, buttonsOmitted);
  ErrorStateKept kept;
  std::string text = msg::PopClipped();
  std::string caption = msg::PopClipped();
  std::string icon = msg::PopClipped();
  std::string buttons = msg::PopClipped();
  std::string display = msg::DisplayText(text);
  MessageContent content;
  content.text = display.c_str();
  content.caption = caption.c_str();
  content.icon = msg::ParseIcon(icon);
  content.buttons = msg::ButtonsFor(buttons, defaultButton);
  content.internalStyle = msg::InternalStyle(style);
  return Show(content);
}

int32_t Message(std::string_view text, std::string_view caption, std::string_view icon,
                std::string_view buttons, int32_t defaultButton, uint32_t style) {
  vstack::PushCopy(buttons.data(), buttons.size());
  vstack::PushCopy(icon.data(), icon.size());
  vstack::PushCopy(caption.data(), caption.size());
  vstack::PushCopy(text.data(), text.size());
  return MESSAGE(defaultButton, style);
}

int32_t MessageInternal(const char* text, const char* caption, uint32_t buttons,
                        uint32_t defaultMask, uint32_t internalStyle) {
  ErrorStateKept kept;
  MessageContent content;
  content.text = text ? text : "";
  content.caption = caption ? caption : "";
  content.buttons = msg::NumericButtons(buttons, defaultMask);
  content.internalStyle = internalStyle;
  return Show(content);
}

}  // namespace dove
