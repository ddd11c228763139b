// The window-definition generator, run as the build runs it: a small source
// against the block written out by hand, and the reasons it refuses a source.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kTool = std::string(DOVE_NATIVE_TESTS_DIR) + "/../tools/gen_window_defs";

struct GenResult {
  int exitCode = -1;
  std::vector<uint8_t> block;
  bool blockExists = false;
  std::string err;
};

std::string Slurp(const std::string& path, bool* exists = nullptr) {
  std::ifstream in(path, std::ios::binary);
  if (exists) *exists = bool(in);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

GenResult Generate(const std::string& source) {
  std::string base = testing::TempDir() + "gen_window_defs_" + std::to_string(getpid());
  std::string in = base + ".wdef", out = base + ".dabdump", err = base + ".err";
  std::ofstream(in, std::ios::binary) << source;
  std::remove(out.c_str());
  int status = std::system((kTool + " " + in + " " + out + " 2>" + err).c_str());
  GenResult run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::string bytes = Slurp(out, &run.blockExists);
  run.block.assign(bytes.begin(), bytes.end());
  run.err = Slurp(err);
  return run;
}

// Writes into a buffer laid out as the runtime keeps it (two leading bytes,
// then the body), so that the offsets below are the stored ones.
struct Hand {
  std::vector<uint8_t> b;
  explicit Hand(size_t size) : b(size, 0) {}
  void U8(size_t at, uint8_t v) { b[at] = v; }
  void U32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
  }
  void Str(size_t at, const char* s) {
    for (size_t i = 0; s[i]; ++i) b[at + i] = uint8_t(s[i]);
  }
  std::vector<uint8_t> File(const char* procedure) const {
    std::vector<uint8_t> f(procedure, procedure + std::char_traits<char>::length(procedure) + 1);
    f.insert(f.end(), b.begin() + 2, b.end());
    return f;
  }
};

const char kSmallSource[] =
    "# two windows, a group with a check box, an unlabelled prompt\n"
    "procedure \"A$B\"\n"
    "window \"W1\"\n"
    "  attributes 0x10  frame 0x3000  timer 1\n"
    "  at default default 100 50\n"
    "  title \"T\"\n"
    "  status 2 30 -1\n"
    "  group ?G at 1 2 30 40 text \"G\"\n"
    "    check ?C at 3 4 default default text \"C\" use byte 1\n"
    "  end\n"
    "  prompt at 5 6 7 8 text \"P\" font - 0 0,0,128 700\n"
    "end\n"
    "window \"W2\"\n"
    "end\n";

// The same definition, placed by hand: every record after the strings and
// blocks it refers to, children after their container.
std::vector<uint8_t> SmallBlockByHand() {
  Hand h(508);
  h.U32(2, 23);                      // first window
  h.Str(6, "W1");
  h.Str(9, "T");
  h.U32(11, 2);                      // status bar: two zones, 30 and the rest
  h.U32(15, 30);
  h.U32(19, 0xFFFFFFFF);
  // window W1 at 23
  h.U8(23, 25);
  h.U32(24, 391);                    // next window
  h.U32(28, 0x10);
  h.U32(36, 0x80000000);
  h.U32(40, 0x80000000);
  h.U32(44, 100);
  h.U32(48, 50);
  h.U32(52, 145);                    // first control
  h.U32(56, 6);                      // label
  h.U32(64, 9);                      // title
  h.U32(68, 11);                     // status bar
  h.U32(105, 0x3000);                // frame
  h.U32(113, 1);                     // timer
  // group ?G at 145, P = 166
  h.Str(140, "?G");
  h.Str(143, "G");
  h.U8(145, 13);
  h.U32(146, 331);                   // next sibling: the prompt
  h.U32(158, 1);                     // field 1
  h.U32(162, 140);
  h.U32(166, 1);
  h.U32(170, 2);
  h.U32(174, 30);
  h.U32(178, 40);
  h.U32(214, 143);                   // P+48 text
  h.U32(218, 236);                   // P+52 first child
  // check ?C at 236 with its use variable, P = 261
  h.Str(222, "?C");
  h.Str(225, "C");
  h.U8(227, 1);                      // one byte
  h.U32(228, 1);
  h.U8(236, 12);
  h.U32(249, 2);                     // field 2
  h.U32(253, 222);
  h.U32(257, 227);                   // use variable
  h.U32(261, 3);
  h.U32(265, 4);
  h.U32(269, 0x80000000);
  h.U32(273, 0x80000000);
  h.U32(309, 225);                   // P+48 text
  // prompt at 331 with a navy bold font, P = 352
  h.Str(313, "P");
  h.U32(315, 0);                     // font: no face, no size
  h.U32(323, 0x800000);
  h.U32(327, 700);
  h.U8(331, 10);
  h.U32(352, 5);
  h.U32(356, 6);
  h.U32(360, 7);
  h.U32(364, 8);
  h.U32(372, 313);                   // P+20 text
  h.U32(376, 315);                   // P+24 font
  // window W2 at 391
  h.Str(388, "W2");
  h.U8(391, 25);
  h.U32(404, 0x80000000);
  h.U32(408, 0x80000000);
  h.U32(424, 388);
  return h.File("A$B");
}

std::string Hex(const std::vector<uint8_t>& b, size_t from) {
  std::string s;
  char buf[8];
  for (size_t i = from; i < b.size() && i < from + 16; ++i) {
    std::snprintf(buf, sizeof buf, "%02X ", b[i]);
    s += buf;
  }
  return s;
}

TEST(GenWindowDefs, SmallDefinitionMatchesTheBlockWrittenByHand) {
  GenResult run = Generate(kSmallSource);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<uint8_t> want = SmallBlockByHand();
  ASSERT_EQ(run.block.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    ASSERT_EQ(run.block[i], want[i]) << "first difference at file byte " << i
                                     << "\n got  " << Hex(run.block, i)
                                     << "\n want " << Hex(want, i);
  }
}

TEST(GenWindowDefs, EscapesAndNumbersArriveAsWritten) {
  GenResult run = Generate(
      "procedure \"P\"\nwindow \"W\"\n"
      "  button ?B at 010 -2 0x10 default icon \"\\xFF\\x02\\x07\\x7F\" text \"a\\\"b\\\\\"\nend\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::string bytes(run.block.begin(), run.block.end());
  EXPECT_NE(bytes.find(std::string("\xFF\x02\x07\x7F\0", 5)), std::string::npos);
  EXPECT_NE(bytes.find(std::string("a\"b\\\0", 5)), std::string::npos);
  // x 10 (not octal), y -2, width 16, height 0x80000000, after the 21-byte head
  const uint8_t pos[16] = {10, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 16, 0, 0, 0, 0, 0, 0, 0x80};
  EXPECT_NE(bytes.find(std::string(reinterpret_cast<const char*>(pos), 16)), std::string::npos);
}

TEST(GenWindowDefs, RefusesBadSourcesWithTheLine) {
  struct Row {
    const char* source;
    const char* reason;
  } rows[] = {
      {"", "procedure statement is missing"},
      {"procedure \"P\"\n", "no window"},
      {"procedure \"P\"\nwindow \"W\"\n", ":2: window W has no end"},
      {"procedure \"P\"\nwindow \"W\"\n  frob ?X\nend\n", ":3: unknown control kind: frob"},
      {"procedure \"P\"\nwindow \"W\"\n  group ?G\n", ":3: container has no end"},
      {"procedure \"P\"\nwindow \"W\"\n  button ?B picture \"n4\"\nend\n",
       ":3: picture does not apply"},
      {"procedure \"P\"\nwindow \"W\"\n  entry ?E use float 4\nend\n", "unknown use type: float"},
      {"procedure \"P\"\nwindow \"W\"\n  entry ?E\n  entry ?e\nend\n", ":4: equate used twice"},
      {"procedure \"P\"\nwindow \"W\"\n  string text \"a\\x00b\"\nend\n", "zero byte"},
      {"procedure \"P\"\nwindow \"W\"\n  string text \"open\nend\n", "closing quote"},
      {"procedure \"P\"\nwindow \"W\"\n  string at 1 2 3 x4\nend\n", "not a number: x4"},
      {"procedure \"P\"\nwindow \"W\"\n  prompt colours 1,2 default default\nend\n",
       "not a colour"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    GenResult run = Generate(row.source);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.blockExists) << "no half-written block is left";
    EXPECT_NE(run.err.find(row.reason), std::string::npos) << run.err;
  }
}

}  // namespace
