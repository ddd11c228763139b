// The message dialog's layout arithmetic, button rules and argument
// preparation, without a display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/message/message_args.h"
#include "runtime/message/message_buttons.h"
#include "runtime/message/message_dialog.h"
#include "runtime/message/message_layout.h"
#include "runtime/system_props.h"

namespace dove::msg {
namespace {

TEST(MessageLayoutTest, ConversionsRoundUpAndKeepZero) {
  struct Row { int du, bx, px; } rows[] = {
      {5, 6, 8}, {50, 6, 75}, {200, 6, 300}, {5, 7, 9}, {0, 7, 0}, {1, 1, 1}, {4, 4, 4}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "du=" << r.du << " bx=" << r.bx);
    EXPECT_EQ(PxX(r.du, r.bx), r.px);
  }
  EXPECT_EQ(PxY(14, 13), 23);   // 182 / 8 = 22.75
  EXPECT_EQ(PxY(45, 16), 90);
  EXPECT_EQ(DuX(75, 6), 50);
  EXPECT_EQ(DuX(76, 6), 51);
  EXPECT_EQ(DuY(23, 13), 15);   // 184 / 13 = 14.15
  EXPECT_EQ(DuY(0, 13), 0);
}

TEST(MessageLayoutTest, BaseUnitFromLetterWidth) {
  // Tahoma 8 pt measures the 52 letters at about 279 pixels: (10 + 1) / 2.
  EXPECT_EQ(BaseUnitX(279), 5);
  EXPECT_EQ(BaseUnitX(312), 6);  // 12 + 1 = 13, halved
  EXPECT_EQ(BaseUnitX(0), 1);    // never 0: it divides later
  EXPECT_EQ(std::string(kBaseUnitLetters).size(), 52u);
}

TEST(MessageLayoutTest, MeasuresFromBaseUnits) {
  Measures ms = ComputeMeasures({6, 13});
  EXPECT_EQ(ms.margin, 8);
  EXPECT_EQ(ms.buttonW, 75);
  EXPECT_EQ(ms.buttonH, 23);
  EXPECT_EQ(ms.buttonGap, 8);
  EXPECT_EQ(ms.belowButtons, 9);   // 65 / 8 = 8.1
  EXPECT_EQ(ms.minWrap, 300);
  EXPECT_EQ(ms.minHeight, 74);     // 585 / 8 = 73.1
}

TEST(MessageLayoutTest, WrapWidth) {
  struct Row { int workW, minW, wrap; } rows[] = {
      {1024, 300, 512},  // half the work area
      {500, 300, 300},   // minW when half is below it
      {400, 300, 267},   // but not above two thirds, rounded as MulDiv rounds
      {401, 300, 267},   // 267.33
      {402, 300, 268},
      {450, 300, 300},   // two thirds is exactly 300
      {0, 300, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "workW=" << r.workW << " minW=" << r.minW);
    EXPECT_EQ(WrapWidth(r.workW, r.minW), r.wrap);
  }
}

TEST(MessageLayoutTest, MulDivRoundsHalvesAwayFromZero) {
  struct Row { int a, b, c, expect; } rows[] = {
      {5, 1, 2, 3},    {-5, 1, 2, -3},  {5, -1, 2, -3}, {-3, 1, -2, 2},  {4, 1, 3, 1},
      {400, 2, 3, 267}, {7, 1, 0, -1},  {0x7FFFFFFF, 2, 1, -1}, {0x7FFFFFFF, 2, 2, 0x7FFFFFFF},
      {-0x7FFFFFFF - 1, 1, 1, -1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.a << " * " << r.b << " / " << r.c);
    EXPECT_EQ(MulDivRounded(r.a, r.b, r.c), r.expect);
  }
}

LayoutInput Input(int right, int bottom, int buttons) {
  LayoutInput in;
  in.units = {6, 13};
  in.measures = ComputeMeasures(in.units);
  in.textRight = right;
  in.textBottom = bottom;
  in.halfWorkH = 300;
  in.scrollBarW = 17;
  in.buttonCount = buttons;
  return in;
}

TEST(MessageLayoutTest, ShortTextOneButton) {
  Layout lay = ComputeLayout(Input(40, 13, 1));
  // tw = 50; W = 50 + 16; H = max(13 + 16, 74) = 74.
  EXPECT_EQ(lay.text.x, 8);
  EXPECT_EQ(lay.text.cx, 50);
  EXPECT_EQ(lay.text.cy, 13);
  EXPECT_EQ(lay.text.y, (74 - 13) / 2);
  // The button (75) does not fit in W - x = 58: W = 8 + 75 + 16.
  EXPECT_EQ(lay.W, 99);
  ASSERT_EQ(lay.buttons.size(), 1u);
  EXPECT_EQ(lay.buttons[0].x, (99 - 75) / 2);
  EXPECT_EQ(lay.buttons[0].y, 74);
  EXPECT_EQ(lay.buttons[0].cx, 75);
  EXPECT_EQ(lay.buttons[0].cy, 23);
  EXPECT_EQ(lay.H, 74 + 9 + 23);
  EXPECT_EQ(lay.cxDu, DuX(99, 6));
  EXPECT_EQ(lay.cyDu, DuY(106, 13));
  EXPECT_FALSE(lay.scroll);
}

TEST(MessageLayoutTest, ButtonsCentredSideBySide) {
  Layout lay = ComputeLayout(Input(400, 26, 3));
  // W = 410 + 16 = 426; three buttons 3 * 75 + 2 * 8 = 241 fit.
  EXPECT_EQ(lay.W, 426);
  ASSERT_EQ(lay.buttons.size(), 3u);
  EXPECT_EQ(lay.buttons[0].x, (426 - 241) / 2);
  EXPECT_EQ(lay.buttons[1].x, lay.buttons[0].x + 83);
  EXPECT_EQ(lay.buttons[2].x, lay.buttons[1].x + 83);
  EXPECT_LE(lay.buttons[2].Right(), lay.W);
}

TEST(MessageLayoutTest, EightButtonsWidenTheDialog) {
  Layout lay = ComputeLayout(Input(40, 13, 8));
  int total = 8 * 75 + 7 * 8;
  EXPECT_EQ(lay.W, 8 + total + 16);
  EXPECT_EQ(lay.buttons.front().x, (lay.W - total) / 2);
  EXPECT_EQ(lay.buttons.back().Right(), lay.buttons.front().x + total);
}

TEST(MessageLayoutTest, IconShiftsTheText) {
  LayoutInput in = Input(200, 13, 1);
  in.hasIcon = true;
  in.iconW = 32;
  in.iconH = 32;
  Layout lay = ComputeLayout(in);
  EXPECT_EQ(lay.icon.x, 8);
  EXPECT_EQ(lay.icon.y, (74 - 32) / 2);
  EXPECT_EQ(lay.icon.cx, 32);
  EXPECT_EQ(lay.text.x, 8 + 8 + 32);
  EXPECT_EQ(lay.W, 210 + 16 + 48);
  EXPECT_LE(lay.text.Right(), lay.W);
}

TEST(MessageLayoutTest, TallTextGrowsTheDialog) {
  Layout lay = ComputeLayout(Input(300, 130, 1));
  EXPECT_EQ(lay.text.y, 8);
  EXPECT_EQ(lay.buttons[0].y, 146);
}

TEST(MessageLayoutTest, CopyableTallTextScrolls) {
  LayoutInput in = Input(300, 900, 1);
  in.copyable = true;
  Layout lay = ComputeLayout(in);
  EXPECT_TRUE(lay.scroll);
  EXPECT_EQ(lay.text.cy, 300);
  EXPECT_EQ(lay.text.cx, 310 + 17);
  // A static text is never cut.
  in.copyable = false;
  lay = ComputeLayout(in);
  EXPECT_FALSE(lay.scroll);
  EXPECT_EQ(lay.text.cy, 900);
}

TEST(MessageLayoutTest, TextThatCannotFitIsCutToTheScreen) {
  LayoutInput in = Input(2400, 13, 2);  // one long word
  in.hasIcon = true;
  in.iconW = 32;
  in.iconH = 32;
  in.maxClientW = 1260;
  in.maxClientH = 980;
  Layout lay = ComputeLayout(in);
  EXPECT_TRUE(lay.cut);
  EXPECT_EQ(lay.W, 1260);
  EXPECT_EQ(lay.text.Right(), 1260 - 2 * 8);
  EXPECT_LE(lay.buttons.back().Right(), lay.W);

  in = Input(300, 5000, 1);  // more lines than the screen holds
  in.maxClientW = 1260;
  in.maxClientH = 980;
  lay = ComputeLayout(in);
  EXPECT_TRUE(lay.cut);
  EXPECT_EQ(lay.H, 980);
  EXPECT_EQ(lay.buttons[0].Bottom() + 9, 980);

  in.textBottom = 500;  // fits: nothing is cut
  lay = ComputeLayout(in);
  EXPECT_FALSE(lay.cut);
  EXPECT_EQ(lay.text.cy, 500);
}

TEST(MessageLayoutTest, ToDialogUnitsRoundsEachValueUp) {
  Rect du = ToDialogUnits({8, 74, 75, 23}, {6, 13});
  EXPECT_EQ(du.x, 6);
  EXPECT_EQ(du.y, 46);
  EXPECT_EQ(du.cx, 50);
  EXPECT_EQ(du.cy, 15);
}

TEST(MessageLayoutTest, CentreOnWorkArea) {
  Box work{0, 0, 1024, 738};
  Point p = CentreDialog(work, nullptr, nullptr, 200, 100);
  EXPECT_EQ(p.x, 412);
  EXPECT_EQ(p.y, 319);
}

TEST(MessageLayoutTest, CentreOnOwnerInsideWorkArea) {
  Box work{0, 0, 1024, 738};
  Box owner{600, 100, 1400, 500};  // sticks out on the right
  Point p = CentreDialog(work, nullptr, &owner, 200, 100);
  EXPECT_EQ(p.x, (600 + 1024) / 2 - 100);
  EXPECT_EQ(p.y, 250);
  Box far{2000, 2000, 2100, 2100};  // no intersection: the work area decides
  p = CentreDialog(work, nullptr, &far, 200, 100);
  EXPECT_EQ(p.x, 412);
}

TEST(MessageLayoutTest, CentreOnVisibleFrameWins) {
  Box work{0, 0, 1024, 738};
  Box frame{0, 0, 300, 200};
  Box owner{600, 100, 1000, 500};
  Point p = CentreDialog(work, &frame, &owner, 100, 50);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 75);
}

TEST(MessageLayoutTest, KeptInsideTheWorkArea) {
  Box work{0, 0, 1024, 738};
  struct Row { Box frame; int w, h, x, y; } rows[] = {
      {{900, 600, 1100, 800}, 300, 200, 724, 538},  // past right and bottom
      {{-200, -200, 100, 100}, 300, 200, 0, 0},     // negative: starts at 0
      {{0, 0, 1024, 738}, 1100, 800, 0, 0},         // larger than the work area
      {{800, 0, 1024, 100}, 1100, 90, 0, 5},        // pushed left past 0: stays at 0
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "frame (" << r.frame.left << "," << r.frame.top
                                    << ") size " << r.w << "x" << r.h);
    Point p = CentreDialog(work, &r.frame, nullptr, r.w, r.h);
    EXPECT_EQ(p.x, r.x);
    EXPECT_EQ(p.y, r.y);
  }
}

// --- Buttons ---------------------------------------------------------------

const std::string* NoTranslation(int) { return nullptr; }

const std::string* GermanYes(int row) {
  static const std::string ja = "&Ja";
  return row == 1 ? &ja : nullptr;
}

std::string Describe(const std::vector<ButtonSpec>& set) {
  std::string s;
  for (const ButtonSpec& b : set) {
    if (!s.empty()) s += " ";
    s += b.caption + "/" + std::to_string(b.id) + "/" + std::to_string(b.result);
    if (b.isDefault) s += "*";
  }
  return s;
}

TEST(MessageButtonsTest, Classify) {
  struct Row { const char* in; bool numeric; uint32_t value; } rows[] = {
      {"", true, 0},        {"0", true, 0},        {"3", true, 3},
      {"40", true, 40},     {"12abc", true, 12},   {"1|2", false, 0},
      {"&Yes|&No", false, 0}, {" 3", false, 0},    {"Maybe", false, 0},
      // Beyond the largest signed 32-bit value the number stays there.
      {"2147483647", true, 2147483647u}, {"2147483648", true, 2147483647u},
      {"4294967297", true, 2147483647u}, {"99999999999999999999x", true, 2147483647u},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "buttons \"" << r.in << "\"");
    ButtonsArg a = ClassifyButtons(r.in);
    EXPECT_EQ(a.numeric, r.numeric);
    if (r.numeric) EXPECT_EQ(a.value, r.value);
    else EXPECT_EQ(a.list, r.in);
  }
}

TEST(MessageButtonsTest, NumericSets) {
  struct Row { uint32_t value, mask; const char* expect; } rows[] = {
      {0, 0, "OK/1/1*"},
      {1, 0, "OK/1/1*"},
      {3, 0, "OK/1/1* &Yes/6/2"},
      {3, 2, "OK/1/1 &Yes/6/2*"},
      {6, 0, "&Yes/6/2 &No/7/4"},           // row 0 absent: no default
      {6, 4, "&Yes/6/2 &No/7/4*"},
      {6, 5, "&Yes/6/2 &No/7/4"},           // lowest bit of the mask (OK) decides
      {40, 8, "&Abort/3/8* &Ignore/5/32"},  // STOP's box
      {40, 16, "&Abort/3/8 &Ignore/5/32"},  // no common bit: row 0
      {255, 128,
       "OK/1/1 &Yes/6/2 &No/7/4 &Abort/3/8 &Retry/4/16 &Ignore/5/32 Cancel/2/64 &Help/9/128*"},
      {0x100, 0, "OK/1/1*"},                // only higher bits: OK alone
      {0x141, 64, "OK/1/1 Cancel/2/64*"},   // higher bits ignored
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "value " << r.value << " mask " << r.mask);
    EXPECT_EQ(Describe(NumericButtons(r.value, r.mask, &NoTranslation)), r.expect);
  }
}

TEST(MessageButtonsTest, CaptionLists) {
  struct Row { const char* list; int32_t def; const char* expect; } rows[] = {
      {"&Yes|Maybe|Cancel", 2, "&Yes/6/1 Maybe/256/2* Cancel/2/3"},
      {"&Yes|Maybe|cancel", 2, "&Yes/6/1 Maybe/256/2* cancel/257/3"},
      {"|A||B|", 0, "A/256/1* B/257/2"},
      {"A|B", 2, "A/256/1 B/257/2*"},
      {"A|B", 3, "A/256/1* B/257/2"},
      {"A|B", -1, "A/256/1* B/257/2"},
      {"OK|Cancel|&Help", 1, "OK/1/1* Cancel/2/2 &Help/9/3"},
      {"ok", 1, "ok/256/1*"},
      {"||", 0, "OK/1/1*"},  // no pieces: numeric 0
      {"1|2|3|4|5|6|7|8|9|10", 9, "1/256/1* 2/257/2 3/258/3 4/259/4 5/260/5 6/261/6 7/262/7 8/263/8"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "list \"" << r.list << "\" default " << r.def);
    EXPECT_EQ(Describe(CaptionButtons(r.list, r.def, &NoTranslation)), r.expect);
  }
}

TEST(MessageButtonsTest, TranslatedCaptionsReplaceStandardRows) {
  EXPECT_EQ(Describe(NumericButtons(6, 2, &GermanYes)), "&Ja/6/2* &No/7/4");
  // A list still matches the untranslated caption.
  EXPECT_EQ(Describe(CaptionButtons("&Yes|&Ja", 1, &GermanYes)), "&Ja/6/1* &Ja/256/2");
}

TEST(MessageButtonsTest, FocusGoesToDefaultElseFirst) {
  EXPECT_EQ(FocusId(NumericButtons(6, 0, &NoTranslation)), 6);
  EXPECT_EQ(FocusId(NumericButtons(6, 4, &NoTranslation)), 7);
  EXPECT_EQ(FocusId(CaptionButtons("A|B|C", 3, &NoTranslation)), 258);
  EXPECT_EQ(FocusId({}), 0);
}

TEST(MessageButtonsTest, ButtonMap) {
  ButtonMap map;
  for (const ButtonSpec& b : CaptionButtons("&Yes|Maybe|Cancel", 1, &NoTranslation))
    map.Add(b.id, b.result);
  EXPECT_EQ(map.Lookup(6), 1);
  EXPECT_EQ(map.Lookup(256), 2);
  EXPECT_EQ(map.Lookup(2), 3);
  EXPECT_EQ(map.Lookup(1), 0);   // not a button here
  EXPECT_EQ(map.Lookup(-1), 0);  // the dialog could not be created
  EXPECT_EQ(map.Lookup(0), 0);
  for (int i = 0; i < 12; ++i) map.Add(500 + i, i);  // never more than eight
  EXPECT_EQ(map.count, kButtonRows);
}

// --- Arguments -------------------------------------------------------------

TEST(MessageArgsTest, DisplayTextAndClip) {
  EXPECT_EQ(DisplayText("one|two"), "one\r\ntwo");
  EXPECT_EQ(DisplayText("a||b|"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(DisplayText("R&D"), "R&D");
  EXPECT_EQ(ClipBlanks("text  "), "text");
  EXPECT_EQ(ClipBlanks("  "), "");
  EXPECT_EQ(ClipBlanks("a\t"), "a\t");
}

TEST(MessageArgsTest, InternalStyle) {
  EXPECT_EQ(InternalStyle(0), 0u);
  EXPECT_EQ(InternalStyle(1), 0x1000u);
  EXPECT_EQ(InternalStyle(2), 0x8000u);
  EXPECT_EQ(InternalStyle(0xFFFFFFFF), 0x9000u);  // never an icon
}

TEST(MessageArgsTest, IconStrings) {
  IconRequest r = ParseIcon(SystemIconCode(kIconExclamation));
  EXPECT_EQ(r.kind, IconRequest::kSystem);
  EXPECT_EQ(r.systemId, 32515);
  r = ParseIcon(SystemIconCode(kIconInformation));
  EXPECT_EQ(r.systemId, 32516);
  EXPECT_EQ(SystemIconCode(kIconExclamation), std::string("\xFF\x01\x04\x7F", 4));
  r = ParseIcon("WORKLOG");
  EXPECT_EQ(r.kind, IconRequest::kNamed);
  EXPECT_EQ(r.name, "WORKLOG");
  EXPECT_EQ(ParseIcon("").kind, IconRequest::kNone);
  r = ParseIcon(std::string("\xFF\x01", 2));  // cut short: number 0 - 1
  EXPECT_EQ(r.kind, IconRequest::kSystem);
  EXPECT_EQ(r.systemId, -1);
}

TEST(MessageArgsTest, StandardIcons) {
  EXPECT_EQ(StandardIconId(0x10), 32513);
  EXPECT_EQ(StandardIconId(0x20), 32514);
  EXPECT_EQ(StandardIconId(0x1030), 32515);
  EXPECT_EQ(StandardIconId(0x40), 32516);
  EXPECT_EQ(StandardIconId(0x50), 0);
  EXPECT_EQ(StandardIconId(0x8000), 0);
}

// --- System properties -----------------------------------------------------

int g_calls = 0;
void CountCall() { ++g_calls; }

TEST(SystemPropsTest, StoreAndHooks) {
  EXPECT_EQ(SystemProp(0x1234), 0u);
  SetSystemProp(0x1234, 42);
  EXPECT_EQ(SystemProp(0x1234), 42u);
  SetSystemProp(0x1234, 0);
  EXPECT_EQ(SystemProp(0x1234), 0u);

  g_calls = 0;
  CallUnlockThreadHook();  // not set: nothing happens
  SetSystemProp(kUnlockThreadHook, reinterpret_cast<uintptr_t>(&CountCall));
  SetSystemProp(kLockThreadHook, reinterpret_cast<uintptr_t>(&CountCall));
  CallUnlockThreadHook();
  CallLockThreadHook();
  EXPECT_EQ(g_calls, 2);
  SetSystemProp(kUnlockThreadHook, 0);
  SetSystemProp(kLockThreadHook, 0);
}

}  // namespace
}  // namespace dove::msg
