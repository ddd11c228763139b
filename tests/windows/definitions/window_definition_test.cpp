// Decoding stored window definitions: the utility's two blocks as the build
// generates them, the names and units around them, and damaged blocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "windows/definitions/window_def.h"
#include "windows/definitions/window_def_find.h"
#include "windows/definitions/window_def_layout.h"
#include "windows/definitions/window_def_units.h"

namespace {

using namespace dove::wdef;

std::vector<uint8_t> GeneratedBlock(const char* name) {
  std::ifstream in(std::string(DOVE_NATIVE_TESTS_DIR) + "/../generated/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string bytes = s.str();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

Definition Decoded(const char* name) {
  std::vector<uint8_t> block = GeneratedBlock(name);
  Definition def;
  EXPECT_TRUE(DecodeBlock(block.data(), block.size(), &def)) << name << " decodes";
  return def;
}

const uint32_t kYellow = ColourOf(255, 255, 128);
const uint32_t kNavy = ColourOf(0, 0, 128);

TEST(WindowDefinition, WorkLogBlockHoldsBothWindows) {
  Definition def = Decoded("worklog.dabdump");
  EXPECT_EQ(def.procedure, "Install$WorkLog");
  ASSERT_EQ(def.windows.size(), 2u);
  const Window& none = def.windows[0];
  EXPECT_EQ(none.label, "WORKLOG$NOWINDOW");
  EXPECT_EQ(none.title, "MakeVer");
  EXPECT_TRUE(none.controls.empty());

  const Window& w = def.windows[1];
  EXPECT_EQ(w.label, "P2$W");
  EXPECT_EQ(w.title, "") << "no caption";
  EXPECT_EQ(w.attributes, 0x10u);
  EXPECT_EQ(w.unit(), Unit::DialogUnits);
  EXPECT_EQ(w.frame, 0x3000u);
  EXPECT_EQ(w.timer, 1u);
  EXPECT_EQ(w.status.zones.size(), 3u);
  EXPECT_TRUE(w.font.present);
  EXPECT_EQ(w.font.face, "Arial");
  EXPECT_EQ(w.font.points, 8);
  EXPECT_EQ(w.font.style, 400u);
  EXPECT_EQ(w.font.colour, kDefaultColour);
  EXPECT_EQ(w.position.x, kDefault) << "the system places the window";
}

struct Expected {
  const char* equate;
  Kind kind;
  const char* parent;   // equate of the container, "" for the window
  const char* text;     // text, picture, image or icon as the kind keeps it
  int useType;          // 0 = none
  uint32_t useSize;
};

TEST(WindowDefinition, P2ControlsInOrderWithTheirContainers) {
  const Expected rows[] = {
      {"?IMAGE1", Kind::Image, "", "ZERU.Ico", 0, 0},
      {"?STRING1", Kind::String, "", "Veltrano Commandline Utility", 0, 0},
      {"?SHEET1", Kind::Sheet, "", "", 0, 0},
      {"?TAB1", Kind::Tab, "?SHEET1", "", 0, 0},
      {"?PATHSTR", Kind::String, "?TAB1", "***", 0, 0},
      {"?ENTRYGROUP", Kind::Group, "?TAB1", "V&ersion Information", 0, 0},
      {"?NEXT", Kind::Button, "?ENTRYGROUP", "\xFF\x02\x07\x7F", 0, 0},
      {"?PROMPT3", Kind::Prompt, "?ENTRYGROUP", "&Note:", 0, 0},
      {"?VER:NOTE", Kind::Entry, "?ENTRYGROUP", "s180", 18, 180},
      {"?PROMPT1", Kind::Prompt, "?ENTRYGROUP", "&Version:", 0, 0},
      {"?VER:VER", Kind::Spin, "?ENTRYGROUP", "n5.2", 18, 5},
      {"?PROMPT2", Kind::Prompt, "?ENTRYGROUP", "&Build Number:", 0, 0},
      {"?VER:BUILD", Kind::Spin, "?ENTRYGROUP", "n04", 18, 4},
      {"?GROUP2", Kind::Group, "?TAB1", "&Setup", 0, 0},
      {"?ONOFF", Kind::Check, "?GROUP2", "&Enable Updates", 1, 1},
      {"?AUTOINCREMENT", Kind::Check, "?GROUP2", "&Auto Increment Build", 1, 1},
      {"?FILEPROMT", Kind::Prompt, "?GROUP2", "&File:", 0, 0},
      {"?FILENAME", Kind::Entry, "?GROUP2", "s120", 19, 120},
      {"?OKBUTTON", Kind::Button, "?TAB1", "&Ok", 0, 0},
      {"?CANCELBUTTON", Kind::Button, "?TAB1", "&Cancel", 0, 0},
      {"?TAB2", Kind::Tab, "?SHEET1", "", 0, 0},
      {"?VERSION", Kind::String, "?TAB2", "***", 0, 0},
      {"?BACK", Kind::Button, "?TAB2", "\xFF\x02\x83\x7F", 0, 0},
      {"?GROUP4", Kind::Group, "?TAB2", "Command Line Options", 0, 0},
      {"?PROMPT7", Kind::Prompt, "?GROUP4",
       "Run DOVE60 with CMD as a command line parameter to see a list of command line options.", 0,
       0},
      {"?GROUP3", Kind::Group, "?TAB2", "Log/Version Utility", 0, 0},
      {"?PROMPT4", Kind::Prompt, "?GROUP3",
       "This procedure creates an equate called \"VERSION\" and increments the build number.  Each "
       "entry also has a date, time, and comment.  Previous equates and comments are commented "
       "out but remain.",
       0, 0},
      {"?PROMPT5", Kind::Prompt, "?GROUP3",
       "If added to the end of a project and called by KV Connect, it will send a DDE message "
       "indicating that the compile is complete.  In this case, the window will not display.",
       0, 0},
  };
  Definition def = Decoded("worklog.dabdump");
  const Window* w = def.FindWindow("P2$W");
  ASSERT_TRUE(w);
  ASSERT_EQ(w->controls.size(), std::size(rows));
  int uses = 0;
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Expected& e = rows[i];
    const Control& c = w->controls[i];
    SCOPED_TRACE(e.equate);
    EXPECT_EQ(c.label, e.equate);
    EXPECT_EQ(c.field, int(i) + 1) << "field numbers follow definition order";
    EXPECT_EQ(c.kind, e.kind);
    EXPECT_EQ(c.parent < 0 ? std::string() : w->controls[c.parent].label, e.parent);
    std::string shown = c.kind == Kind::Image    ? c.image
                        : c.kind == Kind::Entry || c.kind == Kind::Spin ? c.picture
                        : !c.icon.empty()         ? c.icon
                                                  : c.text;
    EXPECT_EQ(shown, e.text);
    EXPECT_EQ(c.use.present, e.useType != 0);
    if (e.useType) {
      EXPECT_EQ(c.use.type, e.useType);
      EXPECT_EQ(c.use.size, e.useSize);
      EXPECT_EQ(c.useIndex, uses++) << "bound by position";
    } else {
      EXPECT_EQ(c.useIndex, -1);
    }
  }
  EXPECT_EQ(w->UseCount(), 6);
}

TEST(WindowDefinition, P2FontsColoursAndAttributes) {
  Definition def = Decoded("worklog.dabdump");
  const Window* w = def.FindWindow("P2$W");
  ASSERT_TRUE(w);
  for (const Control& c : w->controls) {
    SCOPED_TRACE(c.label);
    if (c.kind == Kind::Entry || c.kind == Kind::Spin) {
      EXPECT_EQ(c.colours.background, kYellow);
      EXPECT_EQ(c.colours.text, kDefaultColour);
    }
    bool explanatory = c.label == "?PROMPT4" || c.label == "?PROMPT5" || c.label == "?PROMPT7";
    if (c.kind == Kind::Prompt) {
      EXPECT_EQ(c.font.present, explanatory);
      if (explanatory) {
        EXPECT_EQ(c.font.face, "") << "the window's face";
        EXPECT_EQ(c.font.points, 0) << "the window's size";
        EXPECT_EQ(c.font.colour, kNavy);
        EXPECT_EQ(c.font.style, 700u);
      }
    }
    if (c.kind == Kind::Group) {
      EXPECT_EQ(c.attributes, 0x200u);
    }
    if (c.label == "?NEXT" || c.label == "?BACK") {
      EXPECT_EQ(c.attributes, 0x4020u);
    }
    if (c.label == "?OKBUTTON" || c.label == "?CANCELBUTTON") {
      EXPECT_EQ(c.attributes, 0x8u);
    }
    if (c.kind == Kind::Prompt || c.kind == Kind::Check) {
      EXPECT_EQ(c.DefaultWidth(), !explanatory) << "sized to fit the text";
    }
  }
}

TEST(WindowDefinition, BuilderBlock) {
  Definition def = Decoded("ascmeon.dabdump");
  EXPECT_EQ(def.procedure, "ascmeta$ascmeon");
  const Window* w = def.FindWindow("P3$BUILDERWINDOW");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->title, "ASCII Driver String Builder");
  std::vector<std::string> texts;
  for (const Control& c : w->controls) {
    if (!c.text.empty()) texts.push_back(c.text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"Ctrl-&Z is End of File Marker", "Clip &Strings",
                                             "&Buffers:", "&TAB Conversion:",
                                             "&End of Record Marker:", "&Quick Scan", "&Default",
                                             "O&n", "O&ff", "&OK", "&Cancel"}));
  const Control* option = w->FindControl("?QUICKSCAN");
  ASSERT_TRUE(option);
  int radios = 0;
  for (const Control& c : w->controls) {
    if (c.kind == Kind::Radio) {
      EXPECT_EQ(&w->controls[c.parent], option) << c.label;
      ++radios;
    }
  }
  EXPECT_EQ(radios, 3);
  EXPECT_EQ(w->UseCount(), 6) << "two checks, three entries, the option";
}

TEST(WindowDefinition, LabelsMatchRegardlessOfCase) {
  Definition def = Decoded("worklog.dabdump");
  EXPECT_TRUE(def.FindWindow("p2$w"));
  EXPECT_TRUE(def.FindWindow("WorkLog$NoWindow"));
  EXPECT_FALSE(def.FindWindow("P2$"));
  EXPECT_FALSE(def.FindWindow("P2$W ")) << "no blank padding in names";
  const Window* w = def.FindWindow("P2$W");
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->FindControl("?ver:note"));
  EXPECT_EQ(w->IndexOfField(9), 8);
  EXPECT_EQ(w->IndexOfField(0), -1);
}

TEST(WindowDefinition, ResourceNameAndProcedureMatch) {
  EXPECT_EQ(ResourceNameFor("Install$WorkLog"), "WORKLOG_RSC");
  EXPECT_EQ(ResourceNameFor("ascmeta$ascmeon"), "ASCMEON_RSC");
  EXPECT_EQ(ResourceNameFor("Plain"), "PLAIN_RSC") << "no '$': the whole name";
  EXPECT_EQ(ResourceNameFor("a$b$c"), "B$C_RSC") << "after the first '$'";

  std::vector<uint8_t> block = GeneratedBlock("worklog.dabdump");
  size_t body = 0;
  EXPECT_TRUE(ProcedureMatches(block.data(), block.size(), "INSTALL$worklog", &body));
  EXPECT_EQ(body, 16u);
  EXPECT_FALSE(ProcedureMatches(block.data(), block.size(), "Install$WorkLo", &body));
  const uint8_t unterminated[] = {'A', '$', 'B'};
  EXPECT_FALSE(ProcedureMatches(unterminated, 3, "A$B", &body));

  std::vector<uint8_t> buffer = MakeBuffer(block.data() + 16, block.size() - 16);
  uint32_t at = FindWindowRecord(buffer.data(), buffer.size(), "p2$w");
  ASSERT_NE(at, 0u);
  EXPECT_EQ(buffer[at], 25) << "a window record";
  EXPECT_EQ(FindWindowRecord(buffer.data(), buffer.size(), "P9$W"), 0u);
  Window w;
  ASSERT_TRUE(DecodeWindowAt(buffer.data(), buffer.size(), at, &w));
  EXPECT_EQ(w.label, "P2$W");
}

// ---- damaged blocks --------------------------------------------------------

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST(WindowDefinition, EveryTruncationIsRefusedWithoutReadingBeyond) {
  // Under the address sanitizer a read past the copy would stop the test.
  std::vector<uint8_t> block = GeneratedBlock("worklog.dabdump");
  ASSERT_GT(block.size(), 1000u);
  for (size_t n = 0; n < block.size(); ++n) {
    std::vector<uint8_t> cut(block.begin(), block.begin() + n);
    Definition def;
    ASSERT_FALSE(DecodeBlock(cut.data(), cut.size(), &def)) << "cut at " << n;
    EXPECT_TRUE(def.windows.empty());
  }
}

// A buffer (two leading bytes, then the body) of the builder block, whose
// window record and first control are easy to reach.
struct BuilderBuffer {
  std::vector<uint8_t> b;
  uint32_t window = 0, first = 0;
  BuilderBuffer() {
    std::vector<uint8_t> block = GeneratedBlock("ascmeon.dabdump");
    size_t body = std::string("ascmeta$ascmeon").size() + 1;
    b = MakeBuffer(block.data() + body, block.size() - body);
    window = Get32(b, 2);
    first = Get32(b, window + dove::wdef::layout::win::kFirstControl);
  }
  bool Decodes() const {
    Definition def;
    return DecodeBuffer(b.data(), b.size(), &def);
  }
};

TEST(WindowDefinition, DamagedOffsetsGiveNoDefinition) {
  namespace L = dove::wdef::layout;
  ASSERT_TRUE(BuilderBuffer().Decodes());
  struct Row {
    const char* what;
    void (*damage)(BuilderBuffer&);
  } rows[] = {
      {"first window beyond the end", [](BuilderBuffer& x) { Put32(x.b, 2, uint32_t(x.b.size())); }},
      {"first window in the leading bytes", [](BuilderBuffer& x) { Put32(x.b, 2, 1); }},
      {"window chain loops", [](BuilderBuffer& x) { Put32(x.b, x.window + 1, x.window); }},
      {"window record of another type", [](BuilderBuffer& x) { x.b[x.window] = 24; }},
      {"control chain loops", [](BuilderBuffer& x) { Put32(x.b, x.first + 1, x.first); }},
      {"control of an unknown type", [](BuilderBuffer& x) { x.b[x.first] = 99; }},
      {"a window among the controls", [](BuilderBuffer& x) { x.b[x.first] = 25; }},
      {"label beyond the end",
       [](BuilderBuffer& x) { Put32(x.b, x.first + L::ctl::kLabel, 0x7FFFFFFF); }},
      {"title without terminator",
       [](BuilderBuffer& x) {
         x.b.push_back('x');
         Put32(x.b, x.window + L::win::kTitle, uint32_t(x.b.size() - 1));
       }},
      {"font block cut by the end",
       [](BuilderBuffer& x) { Put32(x.b, x.window + L::win::kFont, uint32_t(x.b.size() - 8)); }},
      {"status bar with too many zones",
       [](BuilderBuffer& x) {
         uint32_t at = uint32_t(x.b.size());
         x.b.resize(x.b.size() + 4 + 4 * 17, 0);
         Put32(x.b, at, 17);
         Put32(x.b, x.window + L::win::kStatusBar, at);
       }},
      {"use variable beyond the end",
       [](BuilderBuffer& x) { Put32(x.b, x.first + L::ctl::kUse, uint32_t(x.b.size() - 3)); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    BuilderBuffer x;
    row.damage(x);
    EXPECT_FALSE(x.Decodes());
    EXPECT_EQ(FindWindowRecord(x.b.data(), x.b.size(), "P3$BUILDERWINDOW"), 0u);
  }
}

TEST(WindowDefinition, ContainerThatHoldsItselfIsDamage) {
  namespace L = dove::wdef::layout;
  BuilderBuffer x;
  Definition def;
  ASSERT_TRUE(DecodeBuffer(x.b.data(), x.b.size(), &def));
  const Window& w = def.windows[0];
  // Find the option group's record by walking the chain as stored.
  uint32_t at = x.first;
  for (int guard = 0; at != 0 && x.b[at] != L::kOption && guard < 64; ++guard) at = Get32(x.b, at + 1);
  ASSERT_NE(at, 0u);
  ASSERT_NE(w.FindControl("?QUICKSCAN"), nullptr);
  Put32(x.b, at + L::PositionStart(L::kOption) + L::ChildField(L::kOption), at);
  EXPECT_FALSE(x.Decodes());
}

// ---- units -----------------------------------------------------------------

TEST(WindowDefinitionUnits, MulDivRoundsToNearest) {
  struct Row {
    int32_t a, b, c, want;
  } rows[] = {
      {3, 6, 4, 5},     {1, 6, 4, 2},    {-1, 6, 4, -2}, {1, 5, 4, 1},
      {7, 1, -2, -4},   {0, -5, 3, 0},   {5, 1, 0, -1},  {INT32_MAX, 2, 1, -1},
      {INT32_MAX, 4, 4, INT32_MAX},      {-2147483647, 2, 2, -2147483647},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(MulDivRound(r.a, r.b, r.c), r.want) << r.a << " * " << r.b << " / " << r.c;
  }
}

TEST(WindowDefinitionUnits, EachUnitToPixels) {
  UnitScale s;
  s.bx = 6;
  s.by = 13;
  s.logPixelsX = 96;
  s.logPixelsY = 120;
  struct Row {
    Unit unit;
    int32_t value;
    int x, y;
  } rows[] = {
      {Unit::DialogUnits, 4, 6, 7},     {Unit::DialogUnits, 250, 375, 406},
      {Unit::DialogUnits, 1, 2, 2},     {Unit::DialogUnits, -1, -2, -2},
      {Unit::Inch25, 25, 96, 120},      {Unit::Inch1000, 500, 48, 60},
      {Unit::Pixels, 17, 17, 17},       {Unit::DialogUnits, kDefault, 0, 0},
      {Unit::Pixels, kDefault, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << int(r.unit) << " " << r.value);
    EXPECT_EQ(ToPixelsX(r.value, r.unit, s), r.x);
    EXPECT_EQ(ToPixelsY(r.value, r.unit, s), r.y);
  }
  s.points = true;
  EXPECT_EQ(ToPixelsX(72, Unit::Pixels, s), 96) << "points with the runtime option";
  Window w;
  w.attributes = 0x210;
  EXPECT_EQ(w.unit(), Unit::Inch1000);
  PixelRect r = ToPixels(Position{4, 8, kDefault, 16}, Unit::DialogUnits, s);
  EXPECT_EQ(r.x, 6);
  EXPECT_EQ(r.y, 13);
  EXPECT_EQ(r.width, 0);
  EXPECT_EQ(r.height, 26);
}

}  // namespace
