// The text driver's option builder as a user meets it: builder_probe shows
// the validation messages, then the builder window on the driver string; OK
// prints the new string, Cancel nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/gui_harness.h"

namespace {

struct FindText {
  const char* text;
  HWND found;
};

BOOL CALLBACK MatchText(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindText*>(lp);
  char buf[128] = {};
  GetWindowTextA(hwnd, buf, sizeof buf);
  if (!f->found && lstrcmpA(buf, f->text) == 0) f->found = hwnd;
  return TRUE;
}

HWND ByText(HWND win, const char* text) {
  FindText f{text, nullptr};
  EnumChildWindows(win, &MatchText, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The edit control right of a prompt: the next window in z order.
HWND EntryAfter(HWND win, const char* prompt) {
  HWND p = ByText(win, prompt);
  return p ? GetWindow(p, GW_HWNDNEXT) : nullptr;
}

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND h) { PostMessageA(h, BM_CLICK, 0, 0); }

// Gives an edit the focus as a click would, then types a new text into it.
void ClickAndType(HWND edit, const char* text) {
  PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  Sleep(200);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
}

HWND OpenBuilder(gui::App* app, const std::string& driverString) {
  *app = gui::Start(gui::ProbeCommand("builder_probe", {driverString}));
  return app->WaitWindow(nullptr, 10000);
}

// Reads and answers the messages that come before the window, in order.
template <size_t N>
void AnswerMessages(gui::App* app, const char* const (&expected)[N]) {
  for (const char* text : expected) {
    HWND box = app->WaitWindow("#32770", 10000);
    ASSERT_TRUE(box) << app->Error();
    gui::Dialog d = gui::Read(box);
    ASSERT_EQ(d.staticTexts.size(), 1u) << d.Describe();
    EXPECT_EQ(d.staticTexts[0], text);
    ASSERT_TRUE(gui::Press(box, IDOK));
    for (int i = 0; i < 50 && IsWindow(box); ++i) Sleep(50);
  }
}

TEST(Builder, ShowsTheStringAndOkGivesItBack) {
  gui::App app;
  HWND win = OpenBuilder(&app, "/CLIP=OFF /TAB=4 /QUICKSCAN=ON");
  ASSERT_TRUE(win) << app.Error();
  char caption[64] = {};
  GetWindowTextA(win, caption, sizeof caption);
  EXPECT_STREQ(caption, "ASCII Driver String Builder");
  EXPECT_TRUE(Checked(ByText(win, "Ctrl-&Z is End of File Marker")));
  EXPECT_FALSE(Checked(ByText(win, "Clip &Strings")));
  EXPECT_TRUE(Checked(ByText(win, "O&n")));
  EXPECT_FALSE(Checked(ByText(win, "&Default")));
  char tab[16] = {};
  SendMessageA(EntryAfter(win, "&TAB Conversion:"), WM_GETTEXT, sizeof tab, reinterpret_cast<LPARAM>(tab));
  EXPECT_STREQ(tab, "4");
  gui::Screenshot(win, "builder");
  Click(ByText(win, "&OK"));
  EXPECT_EQ(app.WaitExit(5000), 0) << app.Error();
  EXPECT_EQ(app.Output(), "/QUICKSCAN=ON /CLIP=OFF /TAB=4\n");
}

TEST(Builder, ChangesMadeInTheWindowComeBack) {
  gui::App app;
  HWND win = OpenBuilder(&app, "");
  ASSERT_TRUE(win) << app.Error();
  Click(ByText(win, "Ctrl-&Z is End of File Marker"));
  Click(ByText(win, "O&ff"));
  ClickAndType(EntryAfter(win, "&Buffers:"), "8");
  Click(ByText(win, "&OK"));
  EXPECT_EQ(app.WaitExit(5000), 0) << app.Error();
  EXPECT_EQ(app.Output(), "/FILEBUFFERS=8 /QUICKSCAN=OFF /CTRLZISEOF=OFF\n");
}

TEST(Builder, CancelAndCloseGiveNothing) {
  for (bool viaClose : {false, true}) {
    gui::App app;
    HWND win = OpenBuilder(&app, "/TAB=2");
    ASSERT_TRUE(win) << app.Error();
    if (viaClose)
      gui::Close(win);
    else
      Click(ByText(win, "&Cancel"));
    EXPECT_EQ(app.WaitExit(5000), 0) << app.Error();
    EXPECT_EQ(app.Output(), "") << (viaClose ? "close box" : "Cancel");
  }
}

TEST(Builder, ValidationMessagesComeFirst) {
  gui::App app = gui::Start(gui::ProbeCommand("builder_probe", {"/FOO /CLIP=MAYBE /TAB"}));
  const char* expected[] = {
      "Poorly formed driver string.  /FOO is not a valid switch",
      "/CLIP has an incorrect value of MAYBE.  Value ignored,",
      "Poorly formed driver string.  /TAB has no value",
  };
  ASSERT_NO_FATAL_FAILURE(AnswerMessages(&app, expected));
  HWND win = app.WaitWindow(nullptr, 10000);
  ASSERT_TRUE(win) << app.Error();
  EXPECT_TRUE(Checked(ByText(win, "Clip &Strings")));  // the faulty value was ignored
  Click(ByText(win, "&OK"));
  EXPECT_EQ(app.WaitExit(5000), 0) << app.Error();
  EXPECT_EQ(app.Output(), "\n");  // everything at its default
}

// A value longer than its field is refused with a word, never cut (a cut
// delimiter is another delimiter, a cut buffer count another size); the
// longest delimiter the driver takes, 16 codes of 255, fits whole.
TEST(Builder, ValuesLongerThanTheirFieldsAreRefusedNeverCut) {
  std::string longest = "16";
  for (int i = 0; i < 16; ++i) longest += ",255";
  gui::App app = gui::Start(gui::ProbeCommand(
      "builder_probe", {"/FILEBUFFERS=123456789012 /TAB=-1234567890 /ENDOFRECORD=" + longest}));
  const char* expected[] = {
      "Poorly formed driver string.  /FILEBUFFERS=123456789012 does not fit its field of 10 "
      "characters.  Value ignored,",
      "Poorly formed driver string.  /TAB=-1234567890 does not fit its field of 10 characters.  "
      "Value ignored,",
  };
  ASSERT_NO_FATAL_FAILURE(AnswerMessages(&app, expected));
  HWND win = app.WaitWindow(nullptr, 10000);
  ASSERT_TRUE(win) << app.Error();
  char shown[128] = {};
  SendMessageA(EntryAfter(win, "&End of Record Marker:"), WM_GETTEXT, sizeof shown,
               reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(shown, longest);
  SendMessageA(EntryAfter(win, "&Buffers:"), WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, "");
  gui::Screenshot(win, "builder_longest_delimiter");
  Click(ByText(win, "&OK"));
  EXPECT_EQ(app.WaitExit(5000), 0) << app.Error();
  EXPECT_EQ(app.Output(), "/ENDOFRECORD=" + longest + "\n") << "what the window showed";
}

}  // namespace
