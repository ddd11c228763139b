// State of one message dialog while it is built and shown (one per call, on
// the caller's stack). The thread's runtime record links to it while the
// dialog is up; the dialog procedure and the icon control find it there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/message/icon_loader_win32.h"
#include "runtime/message/message_args.h"
#include "runtime/message/message_buttons.h"
#include "runtime/runtime_record.h"

namespace dove {

constexpr int kMessageIconId = 0x0A90;  // 2704
constexpr int kMessageTextId = 0xFFFF;

struct MessageRecord {
  win::RuntimeRecord* runtime = nullptr;
  HGLOBAL templ = nullptr;
  LoadedIcon icon;
  WNDPROC previousIconProc = nullptr;
  HFONT font = nullptr;
  bool ownsFont = false;
  bool reentry = false;
  msg::ButtonMap buttons;
  int focusId = 0;

  MessageRecord() = default;
  MessageRecord(const MessageRecord&) = delete;
  MessageRecord& operator=(const MessageRecord&) = delete;
  ~MessageRecord();
};

// What to show, after the arguments have been prepared.
struct MessageContent {
  const char* text = "";      // display text (CR LF line breaks)
  const char* caption = "";
  msg::IconRequest icon;
  std::vector<msg::ButtonSpec> buttons;
  uint32_t internalStyle = 0;
};

// Writes the dialog template for `content` into rec.templ (and sets the
// record's icon, font, button map and focus id).
void BuildMessageTemplate(MessageRecord& rec, const MessageContent& content);

// The dialog procedure and the icon control's painting procedure.
INT_PTR CALLBACK MessageDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK MessageIconProc(HWND ctl, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace dove
