// The runtime's window classes and a window built from a definition made in
// the test: class names and extra bytes, sizes from the content, pages, the
// reach of a disabled group.
#include <gtest/gtest.h>

// window_def.h before <windows.h>: the platform header defines a macro RGB.
#include "windows/definitions/window_def.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "windows/loop/accept.h"
#include "windows/loop/runtime_window_win32.h"
#include "windows/loop/window_classes_win32.h"

namespace dove::win {
namespace {

std::string Hex(HMODULE m) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m)));
  return buf;
}

TEST(WindowClasses, AreNamedPerModuleWithFourExtraBytes) {
  struct Case {
    ClassId id;
    const char* name;
    const char* base;  // null: a class of our own
  };
  for (const Case& c : {Case{ClassId::Button, "TovButton", "button"}, Case{ClassId::Group, "TovGroup", "Button"},
                        Case{ClassId::Prompt, "TovPrompt", "Static"}, Case{ClassId::Edit, "TovEdit", "Edit"},
                        Case{ClassId::String, "TovString", nullptr}, Case{ClassId::Sheet, "TovSheet", nullptr}}) {
    const RuntimeClass& rc = EnsureClass(c.id);
    EXPECT_EQ(rc.name, std::string(c.name) + "_" + Hex(rc.module));
    EXPECT_EQ(&EnsureClass(c.id), &rc) << "registered once";
    WNDCLASSEXA ours = {sizeof ours}, base = {sizeof base};
    ASSERT_TRUE(GetClassInfoExA(rc.module, rc.name.c_str(), &ours)) << rc.name;
    int baseExtra = 0;
    if (c.base) {
      ASSERT_TRUE(GetClassInfoExA(nullptr, c.base, &base));
      baseExtra = base.cbWndExtra;
      EXPECT_EQ(rc.baseProc, base.lpfnWndProc) << rc.name;
    }
    EXPECT_EQ(ours.cbWndExtra, baseExtra + 4) << rc.name;
  }
  EXPECT_TRUE(EnsureClass(ClassId::Prompt).registered);
  WNDCLASSEXA prompt = {sizeof prompt};
  GetClassInfoExA(EnsureClass(ClassId::Prompt).module, EnsureClass(ClassId::Prompt).name.c_str(), &prompt);
  EXPECT_EQ(prompt.style & (CS_HREDRAW | CS_VREDRAW), UINT(CS_HREDRAW | CS_VREDRAW));
}

wdef::Control Make(wdef::Kind kind, int field, const char* label, int parent, wdef::Position pos,
                   const char* text = "") {
  wdef::Control c;
  c.kind = kind;
  c.field = field;
  c.label = label;
  c.parent = parent;
  c.position = pos;
  c.text = text;
  return c;
}

// A small window: a sheet of two pages; on the first a group with a
// prompt of default size and an entry; a button on the second. Below it a
// second sheet of two empty pages and the program's emblem.
wdef::Window SmallWindow() {
  wdef::Window w;
  w.label = "TEST$W";
  w.title = "Test";
  w.attributes = 0x10;
  w.frame = 0x1000;
  w.position = {wdef::kDefault, wdef::kDefault, 160, 160};
  const int32_t d = wdef::kDefault;
  w.controls.push_back(Make(wdef::Kind::Sheet, 1, "?SHEET", -1, {4, 4, 152, 92}));
  w.controls.push_back(Make(wdef::Kind::Tab, 2, "?TAB1", 0, {0, 0, 152, 92}));
  w.controls.push_back(Make(wdef::Kind::Group, 3, "?GROUP", 1, {4, 4, 140, 40}, "&Group"));
  w.controls.push_back(Make(wdef::Kind::Prompt, 4, "?PROMPT", 2, {6, 12, d, d}, "A rather long prompt:"));
  w.controls.push_back(Make(wdef::Kind::Entry, 5, "?ENTRY", 2, {90, 12, 40, 12}));
  w.controls.push_back(Make(wdef::Kind::Tab, 6, "?TAB2", 0, {0, 0, 152, 92}));
  w.controls.push_back(Make(wdef::Kind::Button, 7, "?BUTTON", 5, {10, 10, 50, 14}, "&Press"));
  w.controls.push_back(Make(wdef::Kind::Sheet, 8, "?SHEET2", -1, {4, 100, 100, 56}));
  w.controls.push_back(Make(wdef::Kind::Tab, 9, "?TAB3", 7, {0, 0, 100, 56}));
  w.controls.push_back(Make(wdef::Kind::Tab, 10, "?TAB4", 7, {0, 0, 100, 56}));
  w.controls.push_back(Make(wdef::Kind::Image, 11, "?IMAGE", -1, {110, 100, 20, 20}));
  w.controls.back().image = "ZERU.Ico";
  return w;
}

class SmallWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(w_.OpenFrom(SmallWindow(), GetModuleHandleA(nullptr))); }
  void TearDown() override { w_.Close(); }
  HWND Hwnd(int field) { return static_cast<ControlObject*>(w_.FieldControl(field))->hwnd; }
  RuntimeWindow w_{"Test$Small", "TEST$W", {}};
};

TEST_F(SmallWindowTest, DefaultSizeFitsTheText) {
  HWND prompt = Hwnd(4);
  RECT r;
  GetClientRect(prompt, &r);
  HDC dc = GetDC(prompt);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(prompt, WM_GETFONT, 0, 0)));
  SIZE text = {};
  GetTextExtentPoint32A(dc, "A rather long prompt:", 21, &text);
  SelectObject(dc, old);
  ReleaseDC(prompt, dc);
  EXPECT_GE(r.right, text.cx);
  EXPECT_GE(r.bottom, text.cy);
  // Children of a group sit inside it: x and y count from the group.
  RECT group, entry;
  GetWindowRect(Hwnd(3), &group);
  GetWindowRect(Hwnd(5), &entry);
  EXPECT_GT(entry.left, group.left);
  EXPECT_LT(entry.right, group.right);
}

TEST_F(SmallWindowTest, SelectBringsAPageToTheFront) {
  EXPECT_TRUE(IsWindowVisible(Hwnd(9))) << "every sheet opens on its first page";
  EXPECT_FALSE(IsWindowVisible(Hwnd(10)));
  EXPECT_TRUE(IsWindowVisible(Hwnd(5)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(7)));
  SELECT(6);
  EXPECT_TRUE(IsWindowVisible(Hwnd(7)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(5)));
  EXPECT_EQ(GetFocus(), Hwnd(7));
}

TEST_F(SmallWindowTest, DisablingAGroupReachesItsControls) {
  DISABLE(3);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(4)));
  EXPECT_FALSE(IsWindowEnabled(Hwnd(5)));
  EXPECT_TRUE(IsWindowEnabled(Hwnd(7)));
  ENABLE(3);
  EXPECT_TRUE(IsWindowEnabled(Hwnd(5)));
}

TEST_F(SmallWindowTest, WindowStylesFollowTheFrameBits) {
  DWORD style = static_cast<DWORD>(GetWindowLongA(w_.hwnd(), GWL_STYLE));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CAPTION) << "a title gives a caption";
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_TRUE(style & WS_CLIPSIBLINGS);
  EXPECT_FALSE(style & DS_MODALFRAME);
  DWORD sheet = static_cast<DWORD>(GetWindowLongA(Hwnd(1), GWL_STYLE));
  EXPECT_EQ(sheet & 0x10005200u, 0x10005200u);
  EXPECT_TRUE(GetClassLongPtrA(w_.hwnd(), GCLP_HICON)) << "the task bar shows the emblem";
}

TEST(RuntimeWindowFrame, DialogFrameOnlyWithoutMinimizeOrMaximizeBox) {
  struct Case {
    uint32_t frame;
    bool modalFrame;
  };
  for (const Case& c : {Case{0x40, true}, Case{0x1040, true}, Case{0x840, false}, Case{0x1000, false},
                        Case{0x20, false}}) {
    wdef::Window def;
    def.label = "FRAME$W";
    def.attributes = 0x10;
    def.frame = c.frame;
    def.position = {wdef::kDefault, wdef::kDefault, 60, 40};
    RuntimeWindow w("Test$Frame", "FRAME$W", {});
    ASSERT_TRUE(w.OpenFrom(def, GetModuleHandleA(nullptr)));
    DWORD style = static_cast<DWORD>(GetWindowLongA(w.hwnd(), GWL_STYLE));
    EXPECT_EQ((style & DS_MODALFRAME) != 0, c.modalFrame) << std::hex << "frame 0x" << c.frame;
    w.Close();
  }
}

// Named images come from the module that held the definition.
TEST(RuntimeWindowImages, LoadFromTheDefinitionsModule) {
  for (HMODULE module : {GetModuleHandleA(nullptr), GetModuleHandleA("kernel32.dll")}) {
    RuntimeWindow w("Test$Small", "TEST$W", {});
    ASSERT_TRUE(w.OpenFrom(SmallWindow(), module));
    auto* image = static_cast<ControlObject*>(w.FieldControl(11));
    ASSERT_TRUE(image);
    EXPECT_EQ(static_cast<bool>(image->icon), module == GetModuleHandleA(nullptr));
    w.Close();
  }
}

}  // namespace
}  // namespace dove::win
