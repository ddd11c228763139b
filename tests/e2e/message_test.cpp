// MESSAGE as a user meets it: message_probe shows one dialog, the test reads
// it from outside, presses a button or a key and checks what MESSAGE
// returned.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/message/icon_loader_win32.h"
#include "support/gui_harness.h"

namespace {

using Probe = gui::Shown;

// Starts message_probe and reads its dialog; fails the test when none shows.
::testing::AssertionResult Open(Probe* p, const std::vector<std::string>& args) {
  return gui::OpenDialog(p, gui::ProbeCommand("message_probe", args));
}

// Waits for the probe to end and returns what MESSAGE returned ("" when it
// did not end or printed nothing).
std::string Result(Probe* p) {
  int code = p->app.WaitExit(5000);
  EXPECT_EQ(code, 0) << p->app.Error();
  std::string out = p->app.Output();
  size_t nl = out.find('\n');
  return nl == std::string::npos ? out : out.substr(0, nl);
}

bool StillOpenAfter(Probe* p, DWORD ms) {
  Sleep(ms);
  return p->app.Running() && IsWindow(p->dlg);
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// --- Button sets -------------------------------------------------------------

struct ButtonCase {
  const char* buttons;
  const char* def;
  std::vector<std::string> texts;
  std::vector<int> ids;
  int defId;    // DM_GETDEFID: the button written as default, 0 for none
  int focusId;  // the button that has the focus when the dialog opens
  int press;
  const char* result;
};

const ButtonCase kButtonCases[] = {
    {"", "0", {"OK"}, {1}, 1, 1, 1, "1"},
    {"0", "0", {"OK"}, {1}, 1, 1, 1, "1"},
    {"3", "0", {"OK", "&Yes"}, {1, 6}, 1, 1, 6, "2"},
    {"3", "2", {"OK", "&Yes"}, {1, 6}, 6, 6, 1, "1"},
    {"6", "0", {"&Yes", "&No"}, {6, 7}, 0, 6, 7, "4"},
    {"40", "8", {"&Abort", "&Ignore"}, {3, 5}, 3, 3, 5, "32"},
    {"255", "64",
     {"OK", "&Yes", "&No", "&Abort", "&Retry", "&Ignore", "Cancel", "&Help"},
     {1, 6, 7, 3, 4, 5, 2, 9}, 2, 2, 9, "128"},
    {"256", "0", {"OK"}, {1}, 1, 1, 1, "1"},  // no flag bit: OK alone, never stuck
    {"4294967297", "128",  // beyond 2147483647: capped there, all eight flag bits
     {"OK", "&Yes", "&No", "&Abort", "&Retry", "&Ignore", "Cancel", "&Help"},
     {1, 6, 7, 3, 4, 5, 2, 9}, 9, 9, 7, "4"},
    {"&Yes|Maybe|Cancel", "2", {"&Yes", "Maybe", "Cancel"}, {6, 256, 2}, 256, 256, 256, "2"},
    {"&Yes|Maybe|cancel", "3", {"&Yes", "Maybe", "cancel"}, {6, 256, 257}, 257, 257, 6, "1"},
    {"|A||B|", "0", {"A", "B"}, {256, 257}, 256, 256, 257, "2"},
    {"1|2|3|4|5|6|7|8|9|10", "8",
     {"1", "2", "3", "4", "5", "6", "7", "8"},
     {256, 257, 258, 259, 260, 261, 262, 263}, 263, 263, 260, "5"},
};

void PrintTo(const ButtonCase& c, std::ostream* os) {
  *os << "buttons \"" << c.buttons << "\" default " << c.def;
}

// Test names from the row: letters and digits of the buttons argument.
std::string CaseName(const ::testing::TestParamInfo<ButtonCase>& info) {
  std::string name = "Row" + std::to_string(info.index) + "_";
  for (const char* p = info.param.buttons; *p; ++p)
    if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
  return name;
}

class MessageButtonsTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(MessageButtonsTest, SetOrderDefaultFocusAndResult) {
  const ButtonCase& c = GetParam();
  SCOPED_TRACE(std::string("buttons \"") + c.buttons + "\" default " + c.def);
  Probe p;
  ASSERT_TRUE(Open(&p, {"Choose one", "Buttons", "", c.buttons, c.def, "0"}));
  EXPECT_EQ(p.d.ButtonTexts(), c.texts) << p.d.Describe();
  EXPECT_EQ(p.d.ButtonIds(), c.ids) << p.d.Describe();
  if (c.defId) {
    EXPECT_EQ(p.d.defId, c.defId) << p.d.Describe();
  } else {  // the platform may answer IDOK, but no button has that id
    EXPECT_EQ(p.d.Find(p.d.defId), nullptr) << p.d.Describe();
  }
  EXPECT_EQ(p.d.focusId, c.focusId) << p.d.Describe();
  // One row, equal sizes, left to right, under the text and inside the dialog.
  for (size_t i = 0; i < p.d.buttons.size(); ++i) {
    const RECT& r = p.d.buttons[i].rect;
    EXPECT_TRUE(Inside(r, p.d.clientRect)) << "button " << i << "\n" << p.d.Describe();
    EXPECT_EQ(r.top, p.d.buttons[0].rect.top);
    EXPECT_EQ(Width(r), Width(p.d.buttons[0].rect));
    if (i > 0) {
      EXPECT_GT(r.left, p.d.buttons[i - 1].rect.right);
    }
  }
  ASSERT_TRUE(gui::Press(p.dlg, c.press));
  EXPECT_EQ(Result(&p), c.result);
}

INSTANTIATE_TEST_SUITE_P(Sets, MessageButtonsTest, ::testing::ValuesIn(kButtonCases), CaseName);

TEST(MessageTest, ButtonsCentredUnderTheText) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"A text that is a good deal wider than the two buttons below it",
                        "Centre", "", "6", "0", "0"}));
  ASSERT_EQ(p.d.buttons.size(), 2u);
  int left = p.d.buttons[0].rect.left - p.d.clientRect.left;
  int right = p.d.clientRect.right - p.d.buttons[1].rect.right;
  EXPECT_LE(std::abs(left - right), 2) << p.d.Describe();
  ASSERT_EQ(p.d.staticTexts.size(), 1u);
  EXPECT_LT(p.d.controls.back().rect.top, p.d.clientRect.bottom);
  const gui::Control* text = p.d.Find(0xFFFF);
  ASSERT_NE(text, nullptr) << p.d.Describe();
  EXPECT_LE(text->rect.bottom, p.d.buttons[0].rect.top);
  gui::Screenshot(p.dlg, "message_yes_no");
  gui::Press(p.dlg, 6);
  EXPECT_EQ(Result(&p), "2");
}

// --- Keys and closing ----------------------------------------------------------

TEST(MessageTest, EscapeEndsOnlyThroughACancelButton) {
  {
    Probe p;
    ASSERT_TRUE(Open(&p, {"Escape?", "Keys", "", "&Yes|Maybe|Cancel", "2", "0"}));
    ASSERT_TRUE(gui::Escape(p.dlg));
    EXPECT_EQ(Result(&p), "3");
  }
  for (const char* buttons : {"6", "&Yes|Maybe|cancel"}) {
    SCOPED_TRACE(buttons);
    Probe p;
    ASSERT_TRUE(Open(&p, {"Escape?", "Keys", "", buttons, "0", "0"}));
    ASSERT_TRUE(gui::Escape(p.dlg));
    EXPECT_TRUE(StillOpenAfter(&p, 500)) << "Escape closed a dialog without a Cancel button";
    ASSERT_TRUE(gui::Press(p.dlg, 6));
    EXPECT_EQ(Result(&p), buttons[0] == '6' ? "2" : "1");
  }
}

TEST(MessageTest, EnterPressesTheFocusedButton) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"Enter?", "Keys", "", "6", "4", "0"}));
  ASSERT_EQ(p.d.focusId, 7) << p.d.Describe();
  ASSERT_TRUE(gui::Enter(p.dlg));
  EXPECT_EQ(Result(&p), "4");
}

TEST(MessageTest, CloseRequestIsRefused) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"No way out but the buttons", "Close", "", "6", "0", "0"}));
  PostMessageA(p.dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  gui::Close(p.dlg);
  EXPECT_TRUE(StillOpenAfter(&p, 500));
  gui::Press(p.dlg, 7);
  EXPECT_EQ(Result(&p), "4");
}

// --- Text ----------------------------------------------------------------------

TEST(MessageTest, BarBreaksTheLineAndAmpersandStays) {
  // One dialog at a time: both would open at the same place, and a
  // screenshot shows what is on top.
  Probe one;
  ASSERT_TRUE(Open(&one, {"Tom & Jerry", "Text", "", "", "0", "0"}));
  const gui::Control* t1 = one.d.Find(0xFFFF);
  ASSERT_TRUE(t1) << one.d.Describe();
  EXPECT_EQ(t1->className, "Static");
  EXPECT_EQ(t1->text, "Tom & Jerry");
  EXPECT_TRUE(t1->style & SS_NOPREFIX) << one.d.Describe();
  // One line without the bar (the text is far narrower than the wrap width).
  int oneLine = Height(t1->rect);
  EXPECT_LT(oneLine, 2 * 12) << one.d.Describe();
  gui::Screenshot(one.dlg, "message_ampersand");
  gui::Press(one.dlg, 1);
  EXPECT_EQ(Result(&one), "1");

  Probe two;
  ASSERT_TRUE(Open(&two, {"Tom &|Jerry", "Text", "", "", "0", "0"}));
  const gui::Control* t2 = two.d.Find(0xFFFF);
  ASSERT_TRUE(t2) << two.d.Describe();
  EXPECT_EQ(t2->text, "Tom &\r\nJerry");
  EXPECT_GE(Height(t2->rect), 2 * oneLine - 2) << two.d.Describe();
  gui::Screenshot(two.dlg, "message_two_lines");
  gui::Press(two.dlg, 1);
  EXPECT_EQ(Result(&two), "1");
}

TEST(MessageTest, TrailingBlanksAreClipped) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"Text   ", "Caption  ", "", "&Yes|Later  ", "0", "0"}));
  EXPECT_EQ(p.d.caption, "Caption");
  EXPECT_EQ(p.d.Find(0xFFFF) ? p.d.Find(0xFFFF)->text : "?", "Text");
  EXPECT_EQ(p.d.ButtonTexts(), (std::vector<std::string>{"&Yes", "Later"}));
  gui::Press(p.dlg, 6);
  EXPECT_EQ(Result(&p), "1");
}

std::string ManyLines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += (i > 1 ? "|" : "") + std::string("Line ") + std::to_string(i);
  return text;
}

TEST(MessageTest, CopyableTextTallerThanHalfTheWorkAreaScrolls) {
  Probe p;
  ASSERT_TRUE(Open(&p, {ManyLines(120), "Copyable", "", "", "0", "2"}));
  ASSERT_EQ(p.d.edits.size(), 1u) << p.d.Describe();
  const gui::Control& edit = p.d.edits[0];
  EXPECT_EQ(edit.id, 0xFFFF);
  EXPECT_TRUE(edit.style & ES_READONLY);
  EXPECT_TRUE(edit.style & ES_MULTILINE);
  EXPECT_TRUE(edit.style & WS_VSCROLL) << p.d.Describe();
  EXPECT_FALSE(edit.style & WS_TABSTOP);
  RECT work = gui::WorkArea();
  // Dialog units round the half height up by less than one text line.
  EXPECT_LE(Height(edit.rect), Height(work) / 2 + 16) << p.d.Describe();
  EXPECT_GE(Height(edit.rect), Height(work) / 2 - 2) << p.d.Describe();
  EXPECT_TRUE(Inside(p.d.rect, work)) << gui::ToString(work) << "\n" << p.d.Describe();
  gui::Screenshot(p.dlg, "message_copyable_scroll");
  gui::Press(p.dlg, 1);
  EXPECT_EQ(Result(&p), "1");
}

TEST(MessageTest, ShortCopyableTextHasNoScrollBar) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"Copy me|and me", "Copyable", "", "", "0", "2"}));
  ASSERT_EQ(p.d.edits.size(), 1u) << p.d.Describe();
  EXPECT_EQ(p.d.edits[0].text, "Copy me\r\nand me");
  EXPECT_FALSE(p.d.edits[0].style & WS_VSCROLL);
  EXPECT_TRUE(p.d.staticTexts.empty());
  gui::Press(p.dlg, 1);
  EXPECT_EQ(Result(&p), "1");
}

TEST(MessageTest, StaticTallTextIsNotCut) {
  Probe p;
  ASSERT_TRUE(Open(&p, {ManyLines(30), "Tall", "", "", "0", "0"}));
  const gui::Control* t = p.d.Find(0xFFFF);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->className, "Static");
  EXPECT_LE(t->rect.bottom, p.d.buttons.at(0).rect.top) << p.d.Describe();
  gui::Press(p.dlg, 1);
  EXPECT_EQ(Result(&p), "1");
}

// --- Placement -----------------------------------------------------------------

TEST(MessageTest, DialogInsideTheWorkArea) {
  std::string wide(1500, 'x');
  for (size_t i = 7; i < wide.size(); i += 8) wide[i] = ' ';
  struct Row { std::string text; const char* buttons; const char* style; } rows[] = {
      {"Short", "", "0"},
      {wide, "255", "0"},
      {ManyLines(60), "", "0"},
      {ManyLines(300), "", "2"},
      {std::string(300, 'w'), "1|2|3|4|5|6|7|8", "0"},  // one long word
      {ManyLines(200), "", "0"},  // more lines than the screen holds
  };
  RECT work = gui::WorkArea();
  for (const Row& r : rows) {
    SCOPED_TRACE("text of " + std::to_string(r.text.size()) + " characters, buttons \"" +
                 r.buttons + "\"");
    Probe p;
    ASSERT_TRUE(Open(&p, {r.text, "Placement", "", r.buttons, "0", r.style}));
    EXPECT_GE(p.d.rect.left, 0);
    EXPECT_GE(p.d.rect.top, 0);
    EXPECT_LE(p.d.rect.right, work.right) << gui::ToString(work) << "\n" << p.d.Describe();
    EXPECT_LE(p.d.rect.bottom, work.bottom) << gui::ToString(work) << "\n" << p.d.Describe();
    for (const gui::Control& b : p.d.buttons)
      EXPECT_TRUE(Inside(b.rect, p.d.clientRect)) << p.d.Describe();
    gui::Press(p.dlg, p.d.buttons.empty() ? 1 : p.d.buttons[0].id);
    EXPECT_EQ(Result(&p), "1");
  }
}

TEST(MessageTest, ShortTextIsCentredInTheWorkArea) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"Centred", "Placement", "", "", "0", "0"}));
  RECT work = gui::WorkArea();
  int cx = (p.d.rect.left + p.d.rect.right) / 2, cy = (p.d.rect.top + p.d.rect.bottom) / 2;
  EXPECT_LE(std::abs(cx - (work.left + work.right) / 2), 1) << p.d.Describe();
  EXPECT_LE(std::abs(cy - (work.top + work.bottom) / 2), 1) << p.d.Describe();
  // The measured width decides, not the wrap width: a short text keeps the
  // dialog narrow.
  EXPECT_LT(Width(p.d.rect), Width(work) / 3) << p.d.Describe();
  gui::Press(p.dlg, 1);
  EXPECT_EQ(Result(&p), "1");
}

// --- Caption, style, icons ------------------------------------------------------

TEST(MessageTest, CaptionAndSystemModal) {
  Probe p, q;
  ASSERT_TRUE(Open(&p, {"Plain", "", "", "", "0", "0"}));
  EXPECT_EQ(p.d.caption, "");
  EXPECT_TRUE(p.d.style & WS_CAPTION);
  EXPECT_FALSE((p.d.style & DS_SYSMODAL) || (p.d.exStyle & WS_EX_TOPMOST));
  ASSERT_TRUE(Open(&q, {"Modal", "System modal", "", "", "0", "1"}));
  EXPECT_EQ(q.d.caption, "System modal");
  EXPECT_TRUE((q.d.style & DS_SYSMODAL) || (q.d.exStyle & WS_EX_TOPMOST)) << q.d.Describe();
  gui::Press(p.dlg, 1);
  gui::Press(q.dlg, 1);
  EXPECT_EQ(Result(&p), "1");
  EXPECT_EQ(Result(&q), "1");
}

TEST(MessageTest, SystemIcons) {
  struct Row { const char* icon; LPCSTR id; const char* shot; } rows[] = {
      {"information", IDI_ASTERISK, "message_information"},
      {"exclamation", IDI_EXCLAMATION, "message_exclamation"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.icon);
    Probe p;
    ASSERT_TRUE(Open(&p, {"With an icon|on the left", "Icon", r.icon, "6", "2", "0"}));
    ASSERT_TRUE(p.d.hasIconControl) << p.d.Describe();
    EXPECT_EQ(p.d.iconControlId, 2704);
    // At least the icon's size: dialog units round up.
    EXPECT_GE(Width(p.d.iconRect), GetSystemMetrics(SM_CXICON)) << p.d.Describe();
    EXPECT_LE(Width(p.d.iconRect), GetSystemMetrics(SM_CXICON) + 3) << p.d.Describe();
    const gui::Control* text = p.d.Find(0xFFFF);
    ASSERT_NE(text, nullptr);
    EXPECT_GT(text->rect.left, p.d.iconRect.right) << p.d.Describe();
    EXPECT_TRUE(gui::ShowsIcon(p.d, LoadIconA(nullptr, r.id)));
    gui::Screenshot(p.dlg, r.shot);
    gui::Press(p.dlg, 6);
    EXPECT_EQ(Result(&p), "2");
  }
  Probe none;
  ASSERT_TRUE(Open(&none, {"No icon", "Icon", "", "", "0", "0"}));
  EXPECT_FALSE(none.d.hasIconControl) << none.d.Describe();
  gui::Press(none.dlg, 1);
  EXPECT_EQ(Result(&none), "1");
}

// The program's own icons: the emblem by name, the page-button arrows by
// their stored values, drawn as the loader gives them.
TEST(MessageTest, ProgramIcons) {
  struct Row { const char* icon; std::string value; const char* shot; } rows[] = {
      {"ZERU.Ico", "ZERU.Ico", "message_emblem_icon"},
      {"next", std::string("\xFF\x02\x07\x7F", 4), "message_next_icon"},
      {"back", std::string("\xFF\x02\x83\x7F", 4), "message_back_icon"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.icon);
    Probe p;
    ASSERT_TRUE(Open(&p, {"One of the program's|own icons", "Icon", r.icon, "", "0", "0"}));
    ASSERT_TRUE(p.d.hasIconControl) << p.d.Describe();
    dove::LoadedIcon expected = dove::LoadNamedIcon(r.value);
    ASSERT_TRUE(expected);
    EXPECT_TRUE(gui::ShowsIcon(p.d, expected.handle()));
    gui::Screenshot(p.dlg, r.shot);
    gui::Press(p.dlg, 1);
    EXPECT_EQ(Result(&p), "1");
  }
}

// A 32 x 32 icon file of one colour, written where the probe can read it.
std::string WriteIconFile(COLORREF colour) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "message_test_icon.ico";
  const int n = 32;
  BITMAPINFOHEADER ih = {};
  ih.biSize = sizeof ih;
  ih.biWidth = n;
  ih.biHeight = 2 * n;  // image and mask
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  DWORD pixel = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  std::vector<DWORD> image(n * n, pixel);
  std::vector<BYTE> mask(n * 4, 0);  // all opaque
  DWORD bytes = sizeof ih + image.size() * 4 + mask.size();
  WORD dirHeader[3] = {0, 1, 1};
  BYTE entry[16] = {n, n, 0, 0, 1, 0, 32, 0};
  std::memcpy(entry + 8, &bytes, 4);
  DWORD offset = 6 + 16;
  std::memcpy(entry + 12, &offset, 4);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return {};
  std::fwrite(dirHeader, sizeof dirHeader, 1, f);
  std::fwrite(entry, sizeof entry, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::fwrite(image.data(), 4, image.size(), f);
  std::fwrite(mask.data(), 1, mask.size(), f);
  std::fclose(f);
  return path;
}

TEST(MessageTest, NamedIconFromAFile) {
  const COLORREF red = RGB(200, 0, 0);
  std::string path = WriteIconFile(red);
  ASSERT_FALSE(path.empty());
  Probe p;
  ASSERT_TRUE(Open(&p, {"An icon from a file", "Icon", path, "", "0", "0"}));
  ASSERT_TRUE(p.d.hasIconControl) << p.d.Describe();
  gui::Pixels shown;
  ASSERT_TRUE(gui::Capture(p.d.iconRect, &shown));
  EXPECT_EQ(gui::CountColour(shown, red), 32 * 32);
  gui::Screenshot(p.dlg, "message_file_icon");
  gui::Press(p.dlg, 1);
  EXPECT_EQ(Result(&p), "1");
  DeleteFileA(path.c_str());

  Probe missing;
  ASSERT_TRUE(Open(&missing, {"No such icon", "Icon", "NO_SUCH_ICON", "", "0", "0"}));
  EXPECT_FALSE(missing.d.hasIconControl) << missing.d.Describe();
  gui::Press(missing.dlg, 1);
  EXPECT_EQ(Result(&missing), "1");
}

// --- Error state ---------------------------------------------------------------

TEST(MessageTest, ErrorStateUnchangedAfterwards) {
  Probe p;
  ASSERT_TRUE(Open(&p, {"Errors stay", "Errors", "exclamation", "", "0", "0", "32"}));
  gui::Press(p.dlg, 1);
  ASSERT_EQ(p.app.WaitExit(5000), 0) << p.app.Error();
  std::string out = p.app.Output();
  ASSERT_EQ(out.rfind("1\nerror 32 ", 0), 0u) << out;
  EXPECT_GT(out.size(), std::string("1\nerror 32 \n").size()) << "the error text was lost: " << out;
}

}  // namespace
