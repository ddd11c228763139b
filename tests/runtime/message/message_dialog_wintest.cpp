// MESSAGE inside the calling process: hooks, the error state, the owner, the
// keyboard layout, STOP's entry and the template bytes. A helper thread
// plays the user while the test thread waits in the modal dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/errors/error_record.h"
#include "runtime/message/message_dialog.h"
#include "runtime/message/message_layout.h"
#include "runtime/message/message_template_win32.h"
#include "runtime/system_props.h"
#include "runtime/strings/value_stack.h"
#include "support/gui_harness.h"
#include "runtime/runtime_record.h"

namespace {

struct FindOwn {
  HWND found;
};

BOOL CALLBACK FindOwnDialog(HWND h, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  char cls[32] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && IsWindowVisible(h) && std::strcmp(cls, "#32770") == 0) {
    reinterpret_cast<FindOwn*>(lp)->found = h;
    return FALSE;
  }
  return TRUE;
}

// Waits (on its own thread) for this process's dialog, lets `act` look at it
// and press something, and gives up after five seconds by pressing every
// standard id so the test thread is never stuck.
class User {
 public:
  explicit User(std::function<void(HWND)> act) : thread_([this, act] { Run(act); }) {}
  ~User() { thread_.join(); }
  bool SawDialog() const { return saw_; }

 private:
  void Run(const std::function<void(HWND)>& act) {
    for (int i = 0; i < 250; ++i) {
      FindOwn f{nullptr};
      EnumWindows(&FindOwnDialog, reinterpret_cast<LPARAM>(&f));
      if (f.found) {
        Sleep(150);
        saw_ = true;
        act(f.found);
        return;
      }
      Sleep(20);
    }
  }
  std::atomic<bool> saw_{false};
  std::thread thread_;
};

// --- MessageHook ----------------------------------------------------------------

struct HookCall {
  int32_t def;
  uint32_t style;
  bool omitted[3];
  std::vector<std::string> strings;
};
HookCall g_call;

int32_t ReplacingHook(int32_t def, uint32_t style, bool c, bool i, bool b) {
  g_call = {def, style, {c, i, b}, {}};
  for (int k = 0; k < 4; ++k) g_call.strings.push_back(dove::vstack::PopString());
  return 77;
}

TEST(MessageDialogTest, MessageHookReplacesTheDialog) {
  dove::SetSystemProp(dove::kMessageHook, reinterpret_cast<uintptr_t>(&ReplacingHook));
  int depth = dove::vstack::Depth();
  EXPECT_EQ(dove::Message("text  ", "caption", "icon", "6", 4, 2), 77);
  dove::SetSystemProp(dove::kMessageHook, 0);
  EXPECT_EQ(g_call.def, 4);
  EXPECT_EQ(g_call.style, 2u);
  // The hook gets the strings as they were pushed, not yet clipped.
  EXPECT_EQ(g_call.strings, (std::vector<std::string>{"text  ", "caption", "icon", "6"}));
  EXPECT_EQ(dove::vstack::Depth(), depth);

  dove::SetSystemProp(dove::kMessageHook, reinterpret_cast<uintptr_t>(&ReplacingHook));
  for (const char* s : {"b", "i", "c", "t"}) dove::vstack::PushText(s);
  EXPECT_EQ(dove::MESSAGE(1, 0, true, false, true), 77);
  dove::SetSystemProp(dove::kMessageHook, 0);
  EXPECT_TRUE(g_call.omitted[0]);
  EXPECT_FALSE(g_call.omitted[1]);
  EXPECT_TRUE(g_call.omitted[2]);
}

// --- Thread hooks and the error state --------------------------------------------

std::vector<std::string> g_events;
void Unlocked() { g_events.push_back("unlock"); }
void Locked() { g_events.push_back("lock"); }

TEST(MessageDialogTest, ThreadHooksFrameTheModalWaitAndErrorsStay) {
  dove::SetSystemProp(dove::kUnlockThreadHook, reinterpret_cast<uintptr_t>(&Unlocked));
  dove::SetSystemProp(dove::kLockThreadHook, reinterpret_cast<uintptr_t>(&Locked));
  g_events.clear();
  dove::err::Post(32);
  dove::err::AppendText(" : kept");
  std::string text = dove::err::Text();
  int32_t result;
  {
    User user([](HWND dlg) {
      g_events.push_back("dialog");
      gui::Press(dlg, IDOK);
    });
    result = dove::Message("Hooks", "Hooks");
  }
  dove::SetSystemProp(dove::kUnlockThreadHook, 0);
  dove::SetSystemProp(dove::kLockThreadHook, 0);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(g_events, (std::vector<std::string>{"unlock", "dialog", "lock"}));
  EXPECT_EQ(dove::err::Code(), 32);
  EXPECT_EQ(dove::err::Text(), text);
  EXPECT_EQ(dove::win::ThreadRecord().activeMessage, nullptr);
  dove::err::Clear();
}

// --- STOP's entry ------------------------------------------------------------------

TEST(MessageDialogTest, StopEntryShowsHandAbortAndIgnore) {
  gui::Dialog seen;
  int32_t result;
  {
    User user([&seen](HWND dlg) {
      seen = gui::Read(dlg);
      gui::Screenshot(dlg, "message_stop_box");
      gui::Press(dlg, IDIGNORE);
    });
    result = dove::MessageInternal("PUTINI PATH: c:\\x|y File: a.ini", "Stop", 40, 8,
                                   dove::kInternalIconHand);
  }
  EXPECT_EQ(result, 32);
  EXPECT_EQ(seen.caption, "Stop");
  EXPECT_EQ(seen.ButtonTexts(), (std::vector<std::string>{"&Abort", "&Ignore"})) << seen.Describe();
  EXPECT_EQ(seen.defId, IDABORT) << seen.Describe();
  EXPECT_EQ(seen.focusId, IDABORT) << seen.Describe();
  EXPECT_TRUE(seen.hasIconControl) << seen.Describe();
  ASSERT_NE(seen.Find(0xFFFF), nullptr);
  EXPECT_EQ(seen.Find(0xFFFF)->text, "PUTINI PATH: c:\\x|y File: a.ini");  // no bar conversion
}

// --- Owner, centring, keyboard layout, focus ------------------------------------------

TEST(MessageDialogTest, CurrentWindowOwnsTheDialogAndGetsTheFocusBack) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(owner);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, owner,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  SetFocus(edit);
  HWND focusBefore = GetFocus();
  dove::win::RuntimeRecord& rt = dove::win::ThreadRecord();
  rt.currentWindow = owner;
  gui::Dialog seen;
  HWND seenOwner = nullptr;
  const LPARAM layout = 0x04070407;
  {
    User user([&](HWND dlg) {
      seen = gui::Read(dlg);
      seenOwner = GetWindow(dlg, GW_OWNER);
      SendMessageA(dlg, WM_INPUTLANGCHANGE, 0, layout);
      gui::Press(dlg, IDOK);
    });
    EXPECT_EQ(dove::Message("Owned"), 1);
  }
  rt.currentWindow = nullptr;
  EXPECT_EQ(seenOwner, owner);
  // Centred on the owner (which lies inside the work area).
  int cx = (seen.rect.left + seen.rect.right) / 2, cy = (seen.rect.top + seen.rect.bottom) / 2;
  EXPECT_LE(std::abs(cx - 300), 1) << seen.Describe();
  EXPECT_LE(std::abs(cy - 250), 1) << seen.Describe();
  EXPECT_EQ(rt.keyboardLayout, static_cast<uintptr_t>(layout));
  EXPECT_EQ(GetFocus(), focusBefore);
  DestroyWindow(owner);
}

TEST(MessageDialogTest, NestedMessageGivesTheOuterLinkBack) {
  dove::win::RuntimeRecord& rt = dove::win::ThreadRecord();
  dove::MessageRecord* outer = reinterpret_cast<dove::MessageRecord*>(&rt);  // any marker
  rt.activeMessage = outer;
  {
    User user([](HWND dlg) { gui::Press(dlg, IDOK); });
    EXPECT_EQ(dove::Message("Inner"), 1);
  }
  EXPECT_EQ(rt.activeMessage, outer);
  rt.activeMessage = nullptr;
}

// --- Template bytes ----------------------------------------------------------------

TEST(MessageTemplateTest, ItemsAlignedAndSizedAsCounted) {
  dove::msg::TemplateWriter t;
  t.Header(WS_POPUP | DS_SETFONT, "Caf\xE9", 8, "Tahoma");  // 24 + 10 + 14 = 48
  EXPECT_EQ(t.Size(), 48u);
  t.Item(dove::msg::kClassStatic, WS_CHILD | SS_ICON, {5, 6, 22, 22}, 2704, "");  // 26 -> 28
  EXPECT_EQ(t.Size(), 76u);
  t.Item(dove::msg::kClassButton, WS_CHILD, {10, 20, 50, 14}, 1, "OK");  // 30 -> 32
  EXPECT_EQ(t.Size(), 108u);
  t.Finish(120, 60);
  HGLOBAL h = t.Release();
  ASSERT_TRUE(h);
  auto* base = static_cast<const BYTE*>(GlobalLock(h));
  auto* dlg = reinterpret_cast<const DLGTEMPLATE*>(base);
  EXPECT_EQ(dlg->style, static_cast<DWORD>(WS_POPUP | DS_SETFONT));
  EXPECT_EQ(dlg->cdit, 2);
  EXPECT_EQ(dlg->cx, 120);
  EXPECT_EQ(dlg->cy, 60);
  auto* w = reinterpret_cast<const WORD*>(base + 18);
  EXPECT_EQ(w[0], 0);        // no menu
  EXPECT_EQ(w[1], 0);        // default class
  EXPECT_EQ(w[2], L'C');
  EXPECT_EQ(w[5], 0x00E9);   // from the ANSI code page
  EXPECT_EQ(w[6], 0);
  EXPECT_EQ(w[7], 8);        // point size
  EXPECT_EQ(w[8], L'T');
  auto* icon = reinterpret_cast<const DLGITEMTEMPLATE*>(base + 48);
  EXPECT_EQ(icon->id, 2704);
  EXPECT_EQ(icon->x, 5);
  EXPECT_EQ(icon->cx, 22);
  auto* iw = reinterpret_cast<const WORD*>(base + 48 + 18);
  EXPECT_EQ(iw[0], 0xFFFF);
  EXPECT_EQ(iw[1], 0x0082);
  EXPECT_EQ(iw[2], 0);  // empty title
  EXPECT_EQ(iw[3], 0);  // no creation data
  auto* button = reinterpret_cast<const DLGITEMTEMPLATE*>(base + 76);
  EXPECT_EQ(button->id, 1);
  auto* bw = reinterpret_cast<const WORD*>(base + 76 + 18);
  EXPECT_EQ(bw[1], 0x0080);
  EXPECT_EQ(bw[2], L'O');
  EXPECT_EQ(bw[3], L'K');
  EXPECT_EQ(bw[4], 0);
  GlobalUnlock(h);
  GlobalFree(h);
}

}  // namespace

// The layout's rounding is the platform's: the wrap width is MulDiv's two
// thirds of the work area.
TEST(MessageDialogTest, LayoutRoundsAsMulDiv) {
  const int values[] = {0, 1, 2, 3, 4, 5, 399, 400, 401, 402, 1279, 1280, -1, -2, -5, -401,
                        0x7FFFFFFF, -0x7FFFFFFF, 46341, 65536};
  const int divisors[] = {1, 2, 3, 7, -2, -3, 0};
  for (int a : values) {
    for (int c : divisors) {
      for (int b : {1, 2, -3, 72}) {
        EXPECT_EQ(dove::msg::MulDivRounded(a, b, c), MulDiv(a, b, c)) << a << " * " << b << " / " << c;
      }
    }
  }
}
