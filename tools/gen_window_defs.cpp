// gen_window_defs SOURCE OUTPUT
//
// Writes the stored "DABDUMP" block of one module from its readable source
// (src/resources/*.wdef). The source is a list of lines; '#' starts a
// comment. The first statement names the procedure, then come the windows:
//
//   procedure "Install$WorkLog"
//   window "P2$W"
//     attributes 0x10        frame 0x3000        timer 1
//     at default default 250 154        # x y width height
//     font "Arial" 8 default 400        # face size colour weight
//     status 3 64 -1 34                 # zone count, widths (-1: the rest)
//     group ?ENTRYGROUP at 4 20 200 80 text "V&ersion Information"
//       prompt ?PROMPT3 at 8 12 default default text "&Note:"
//       entry ?VER:NOTE at 50 12 140 10 picture "s180" use text 180
//     end
//   end
//
// A line holds one window statement or one control: its kind, an optional
// equate ("?NAME"), then properties. Containers (group, option, sheet, tab)
// hold the controls up to their "end". Numbers are decimal or 0x hex;
// "default" is 0x80000000 in positions and -1 in colours; a colour is
// "R,G,B". Strings are in double quotes with \" \\ and \xNN escapes. Field
// numbers count the labelled controls of a window from 1 in source order.
//
// Exit code 0 when the block was written, 1 with "SOURCE:LINE: reason" on
// standard error otherwise (no output file is left behind).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../src/windows/definitions/window_def_layout.h"

namespace {

namespace L = dove::wdef::layout;

constexpr int32_t kDefault = INT32_MIN;

struct FontSpec {
  bool present = false;
  std::string face;
  int32_t points = 0;
  uint32_t colour = 0xFFFFFFFFu, style = 0;
};

struct ColourSpec {
  bool present = false;
  uint32_t text = 0xFFFFFFFFu, background = 0xFFFFFFFFu, selected = 0xFFFFFFFFu;
};

struct UseSpec {
  bool present = false;
  uint8_t type = 0;
  uint32_t size = 0;
};

struct ControlSpec {
  uint8_t type = 0;
  int line = 0;
  std::string label, text, tip, picture, image, icon;
  uint32_t attributes = 0, attributes2 = 0;
  int32_t field = 0;
  int32_t pos[4] = {0, 0, 0, 0};
  FontSpec font;
  ColourSpec colours;
  UseSpec use;
  std::vector<ControlSpec> children;
};

struct WindowSpec {
  std::string label, title;
  uint32_t attributes = 0, attributes2 = 0, frame = 0, timer = 0;
  int32_t pos[4] = {kDefault, kDefault, 0, 0};
  FontSpec font;
  std::vector<int32_t> status;
  bool hasStatus = false;
  uint8_t flags115 = 0, flags116 = 0;
  std::vector<ControlSpec> controls;
};

struct Source {
  std::string procedure;
  std::vector<WindowSpec> windows;
};

// ---- reading the source ----------------------------------------------------

struct Token {
  std::string text;
  bool quoted = false;
};

class Parser {
 public:
  Parser(std::string name, std::istream& in) : name_(std::move(name)), in_(in) {}

  bool Run(Source* src);
  const std::string& error() const { return error_; }

 private:
  bool NextLine();
  bool Fail(const std::string& why);
  bool Tokenize(const std::string& line);
  bool Window(WindowSpec* w);
  bool WindowProperty(WindowSpec* w);
  bool Controls(std::vector<ControlSpec>* list, bool nested, WindowSpec* w);
  bool Control(ControlSpec* c, WindowSpec* w);
  bool ControlProperty(ControlSpec* c);
  bool Number(int32_t* v, bool allowDefault);
  bool Unsigned(uint32_t* v);
  bool Colour(uint32_t* v);
  bool Text(std::string* s);
  bool Font(FontSpec* f);
  bool Use(UseSpec* u);
  bool More() const { return pos_ < tokens_.size(); }
  const Token& Peek() const { return tokens_[pos_]; }
  bool Expect(const char* word);

  std::string name_;
  std::istream& in_;
  int line_ = 0;
  std::vector<Token> tokens_;
  size_t pos_ = 0;
  std::string error_;
  std::map<std::string, int> labels_;
  int32_t nextField_ = 1;
};

bool Parser::Fail(const std::string& why) {
  if (error_.empty()) error_ = name_ + ":" + std::to_string(line_) + ": " + why;
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Parser::Tokenize(const std::string& line) {
  tokens_.clear();
  pos_ = 0;
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
    if (c == '#') break;
    Token t;
    if (c != '"') {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') t.text += line[i++];
      tokens_.push_back(t);
      continue;
    }
    t.quoted = true;
    for (++i;; ++i) {
      if (i >= line.size()) return Fail("string without its closing quote");
      if (line[i] == '"') { ++i; break; }
      if (line[i] != '\\') { t.text += line[i]; continue; }
      if (++i >= line.size()) return Fail("string without its closing quote");
      if (line[i] == '"' || line[i] == '\\') { t.text += line[i]; continue; }
      int hi = i + 2 < line.size() ? HexDigit(line[i + 1]) : -1;
      int lo = hi >= 0 ? HexDigit(line[i + 2]) : -1;
      if (line[i] != 'x' || lo < 0) return Fail("unknown escape in a string");
      if (hi == 0 && lo == 0) return Fail("a string cannot hold a zero byte");
      t.text += char(hi * 16 + lo);
      i += 2;
    }
    tokens_.push_back(t);
  }
  return true;
}

bool Parser::NextLine() {
  std::string line;
  while (std::getline(in_, line)) {
    ++line_;
    if (!Tokenize(line)) return false;
    if (!tokens_.empty()) return true;
  }
  tokens_.clear();
  return false;
}

bool Parser::Expect(const char* word) {
  if (More() && !Peek().quoted && Peek().text == word) { ++pos_; return true; }
  return Fail(std::string("expected ") + word);
}

bool Parser::Number(int32_t* v, bool allowDefault) {
  if (!More()) return Fail("a number is missing");
  const Token& t = tokens_[pos_++];
  if (allowDefault && !t.quoted && t.text == "default") { *v = kDefault; return true; }
  // Base 10 unless "0x": a leading zero is not octal here.
  const std::string& s = t.text;
  bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  char* end = nullptr;
  long long n = std::strtoll(s.c_str(), &end, hex ? 16 : 10);
  if (t.quoted || t.text.empty() || *end != 0 || n < INT32_MIN || n > UINT32_MAX)
    return Fail("not a number: " + t.text);
  *v = int32_t(uint32_t(n));
  return true;
}

bool Parser::Unsigned(uint32_t* v) {
  int32_t n;
  if (!Number(&n, false)) return false;
  *v = uint32_t(n);
  return true;
}

bool Parser::Colour(uint32_t* v) {
  if (!More()) return Fail("a colour is missing");
  const Token& t = tokens_[pos_++];
  if (t.text == "default") { *v = 0xFFFFFFFFu; return true; }
  unsigned r, g, b;
  char extra;
  if (t.quoted || std::sscanf(t.text.c_str(), "%u,%u,%u%c", &r, &g, &b, &extra) != 3 || r > 255 ||
      g > 255 || b > 255)
    return Fail("not a colour (R,G,B or default): " + t.text);
  *v = r | g << 8 | b << 16;
  return true;
}

bool Parser::Text(std::string* s) {
  if (!More() || !Peek().quoted) return Fail("a quoted string is missing");
  *s = tokens_[pos_++].text;
  return true;
}

bool Parser::Font(FontSpec* f) {
  f->present = true;
  if (More() && !Peek().quoted && Peek().text == "-") {
    ++pos_;
    f->face.clear();
  } else if (!Text(&f->face)) {
    return false;
  }
  return Number(&f->points, false) && Colour(&f->colour) && Unsigned(&f->style);
}

bool Parser::Use(UseSpec* u) {
  static const std::map<std::string, uint8_t> kTypes = {
      {"byte", 1}, {"short", 2}, {"long", 7}, {"text", 18}, {"cstring", 19}};
  if (!More()) return Fail("a use type is missing");
  auto it = kTypes.find(tokens_[pos_].text);
  if (it == kTypes.end()) return Fail("unknown use type: " + tokens_[pos_].text);
  ++pos_;
  u->present = true;
  u->type = it->second;
  return Unsigned(&u->size);
}

bool Parser::Run(Source* src) {
  if (!NextLine()) return Fail("the procedure statement is missing");
  if (!Expect("procedure") || !Text(&src->procedure)) return false;
  if (src->procedure.empty() || More()) return Fail("procedure needs one non-empty name");
  while (NextLine()) {
    if (!Expect("window")) return false;
    WindowSpec w;
    if (!Window(&w)) return false;
    src->windows.push_back(std::move(w));
  }
  if (!error_.empty()) return false;
  if (src->windows.empty()) return Fail("no window is defined");
  return true;
}

bool Parser::Window(WindowSpec* w) {
  if (!Text(&w->label) || w->label.empty() || More()) return Fail("window needs one non-empty label");
  labels_.clear();
  nextField_ = 1;
  while (NextLine()) {
    const Token& t = Peek();
    if (t.text == "end" && tokens_.size() == 1) return true;
    static const char* kWindowWords[] = {"title", "attributes", "attributes2", "frame", "timer",
                                         "at", "font", "status", "flags"};
    bool isProperty = false;
    for (const char* word : kWindowWords) isProperty |= t.text == word;
    if (isProperty) {
      while (More()) {
        if (!WindowProperty(w)) return false;
      }
      continue;
    }
    w->controls.emplace_back();
    if (!Control(&w->controls.back(), w)) return false;
  }
  return Fail("window " + w->label + " has no end");
}

bool Parser::WindowProperty(WindowSpec* w) {
  std::string word = tokens_[pos_++].text;
  if (word == "title") return Text(&w->title);
  if (word == "attributes") return Unsigned(&w->attributes);
  if (word == "attributes2") return Unsigned(&w->attributes2);
  if (word == "frame") return Unsigned(&w->frame);
  if (word == "timer") return Unsigned(&w->timer);
  if (word == "font") return Font(&w->font);
  if (word == "at") {
    for (int32_t& v : w->pos) {
      if (!Number(&v, true)) return false;
    }
    return true;
  }
  if (word == "flags") {
    uint32_t a, b;
    if (!Unsigned(&a) || !Unsigned(&b) || a > 255 || b > 255) return Fail("flags takes two bytes");
    w->flags115 = uint8_t(a);
    w->flags116 = uint8_t(b);
    return true;
  }
  if (word == "status") {
    uint32_t count;
    if (!Unsigned(&count) || count > L::kMaxStatusZones) return Fail("status: zone count 0 to 16");
    w->hasStatus = true;
    w->status.resize(count);
    for (int32_t& v : w->status) {
      if (!Number(&v, false)) return false;
    }
    return true;
  }
  return Fail("unknown window property: " + word);
}

uint8_t KindCode(const std::string& word) {
  static const std::map<std::string, uint8_t> kKinds = {
      {"string", L::kString}, {"image", L::kImage},   {"entry", L::kEntry},
      {"button", L::kButton}, {"prompt", L::kPrompt}, {"option", L::kOption},
      {"check", L::kCheck},   {"group", L::kGroup},   {"radio", L::kRadio},
      {"spin", L::kSpin},     {"sheet", L::kSheet},   {"tab", L::kTab}};
  auto it = kKinds.find(word);
  return it == kKinds.end() ? 0 : it->second;
}

bool Parser::Control(ControlSpec* c, WindowSpec* w) {
  const Token& kind = tokens_[pos_++];
  c->type = kind.quoted ? 0 : KindCode(kind.text);
  c->line = line_;
  if (c->type == 0) return Fail("unknown control kind: " + kind.text);
  if (More() && !Peek().quoted && !Peek().text.empty() && Peek().text[0] == '?') {
    c->label = tokens_[pos_++].text;
    std::string key;
    for (char ch : c->label) key += char(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
    if (labels_.count(key)) return Fail("equate used twice: " + c->label);
    labels_[key] = line_;
    c->field = nextField_++;
  }
  while (More()) {
    if (!ControlProperty(c)) return false;
  }
  if (L::ChildField(c->type) == 0) return true;
  return Controls(&c->children, true, w);
}

bool Parser::Controls(std::vector<ControlSpec>* list, bool nested, WindowSpec* w) {
  int opened = line_;
  while (NextLine()) {
    if (Peek().text == "end" && tokens_.size() == 1) return true;
    list->emplace_back();
    if (!Control(&list->back(), w)) return false;
  }
  if (!error_.empty()) return false;
  line_ = opened;
  return Fail(nested ? "container has no end" : "unexpected end of source");
}

bool Parser::ControlProperty(ControlSpec* c) {
  std::string word = tokens_[pos_++].text;
  uint8_t t = c->type;
  bool shortText = t == L::kString || t == L::kPrompt;
  bool edit = t == L::kEntry || t == L::kSpin;
  auto Allowed = [&](bool ok) { return ok ? true : Fail(word + " does not apply to this control"); };
  if (word == "at") {
    for (int32_t& v : c->pos) {
      if (!Number(&v, true)) return false;
    }
    return true;
  }
  if (word == "attributes") return Unsigned(&c->attributes);
  if (word == "attributes2") return Unsigned(&c->attributes2);
  if (word == "text")
    return Allowed(shortText || t == L::kCheck || t == L::kOption || t == L::kRadio ||
                   t == L::kButton || t == L::kGroup) && Text(&c->text);
  if (word == "tip") return Allowed(edit || t == L::kCheck || t == L::kOption) && Text(&c->tip);
  if (word == "picture") return Allowed(edit) && Text(&c->picture);
  if (word == "name") return Allowed(t == L::kImage) && Text(&c->image);
  if (word == "icon") return Allowed(t == L::kButton) && Text(&c->icon);
  if (word == "font") return Allowed(shortText) && Font(&c->font);
  if (word == "use") return Allowed(L::HasUseVariable(t)) && Use(&c->use);
  if (word == "colours") {
    c->colours.present = true;
    return Allowed(shortText || edit) && Colour(&c->colours.text) &&
           Colour(&c->colours.background) && Colour(&c->colours.selected);
  }
  return Fail("unknown control property: " + word);
}

// ---- writing the block -----------------------------------------------------

// The definition buffer as the runtime lays it out: two leading bytes, then
// the body; offsets are indices of this buffer.
class Block {
 public:
  Block() : b_(L::kBodyBase + 4, 0) {}

  uint32_t Here() const { return uint32_t(b_.size()); }
  void Put32(uint32_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b_[at + i] = uint8_t(v >> (8 * i));
  }
  uint32_t Reserve(uint32_t n) {
    uint32_t at = Here();
    b_.resize(b_.size() + n, 0);
    return at;
  }
  uint32_t String(const std::string& s) {
    if (s.empty()) return 0;
    uint32_t at = Here();
    b_.insert(b_.end(), s.begin(), s.end());
    b_.push_back(0);
    return at;
  }
  uint32_t Font(const FontSpec& f) {
    if (!f.present) return 0;
    uint32_t at = Reserve(L::kFontBlockSize);
    uint32_t face = String(f.face);
    Put32(at, face);
    Put32(at + 4, uint32_t(f.points));
    Put32(at + 8, f.colour);
    Put32(at + 12, f.style);
    return at;
  }
  uint32_t Colours(const ColourSpec& c) {
    if (!c.present) return 0;
    uint32_t at = Reserve(L::kColourBlockSize);
    Put32(at, c.text);
    Put32(at + 4, c.background);
    Put32(at + 8, c.selected);
    return at;
  }
  uint32_t Use(const UseSpec& u) {
    if (!u.present) return 0;
    uint32_t at = Reserve(L::kUseBlockSize);
    b_[at] = u.type;
    Put32(at + 1, u.size);
    return at;
  }
  uint32_t Status(const WindowSpec& w) {
    if (!w.hasStatus) return 0;
    uint32_t at = Reserve(4 + 4 * uint32_t(w.status.size()));
    Put32(at, uint32_t(w.status.size()));
    for (size_t i = 0; i < w.status.size(); ++i) Put32(at + 4 + 4 * uint32_t(i), uint32_t(w.status[i]));
    return at;
  }
  void Set8(uint32_t at, uint8_t v) { b_[at] = v; }
  const std::vector<uint8_t>& bytes() const { return b_; }

 private:
  std::vector<uint8_t> b_;
};

// Writes a chain of sibling controls; returns the first record's offset.
uint32_t WriteControls(Block& out, const std::vector<ControlSpec>& list);

uint32_t WriteControl(Block& out, const ControlSpec& c) {
  namespace C = L::ctl;
  uint32_t label = out.String(c.label), text = out.String(c.text), tip = out.String(c.tip);
  uint32_t picture = out.String(c.picture), image = out.String(c.image), icon = out.String(c.icon);
  uint32_t font = out.Font(c.font), colours = out.Colours(c.colours), use = out.Use(c.use);
  uint32_t p = L::PositionStart(c.type);
  uint32_t at = out.Reserve(p + L::TailSize(c.type));
  out.Set8(at + C::kType, c.type);
  out.Put32(at + C::kAttributes, c.attributes);
  out.Put32(at + C::kAttributes2, c.attributes2);
  out.Put32(at + C::kField, uint32_t(c.field));
  out.Put32(at + C::kLabel, label);
  if (L::HasUseVariable(c.type)) out.Put32(at + C::kUse, use);
  for (int i = 0; i < 4; ++i) out.Put32(at + p + 4 * i, uint32_t(c.pos[i]));
  uint32_t P = at + p;
  switch (c.type) {
    case L::kString: case L::kPrompt:
      out.Put32(P + C::kTextShort, text);
      out.Put32(P + C::kFontShort, font);
      out.Put32(P + C::kColoursShort, colours);
      break;
    case L::kImage: out.Put32(P + C::kImageName, image); break;
    case L::kEntry: case L::kSpin:
      out.Put32(P + C::kTip, tip);
      out.Put32(P + C::kColoursEntry, colours);
      out.Put32(P + C::kPicture, picture);
      break;
    case L::kCheck: case L::kOption:
      out.Put32(P + C::kTip, tip);
      out.Put32(P + C::kText, text);
      break;
    case L::kButton:
      out.Put32(P + C::kText, text);
      out.Put32(P + C::kIcon, icon);
      break;
    case L::kRadio: case L::kGroup: out.Put32(P + C::kText, text); break;
    default: break;
  }
  uint32_t childField = L::ChildField(c.type);
  if (childField != 0) out.Put32(P + childField, WriteControls(out, c.children));
  return at;
}

uint32_t WriteControls(Block& out, const std::vector<ControlSpec>& list) {
  uint32_t first = 0, previous = 0;
  for (const ControlSpec& c : list) {
    uint32_t at = WriteControl(out, c);
    if (previous) out.Put32(previous + L::ctl::kNext, at);
    else first = at;
    previous = at;
  }
  return first;
}

uint32_t WriteWindow(Block& out, const WindowSpec& w) {
  namespace W = L::win;
  uint32_t label = out.String(w.label), title = out.String(w.title);
  uint32_t font = out.Font(w.font), status = out.Status(w);
  uint32_t at = out.Reserve(W::kSize);
  out.Set8(at + W::kType, L::kWindow);
  out.Put32(at + W::kAttributes, w.attributes);
  out.Put32(at + W::kAttributes2, w.attributes2);
  const uint32_t fields[4] = {W::kX, W::kY, W::kWidth, W::kHeight};
  for (int i = 0; i < 4; ++i) out.Put32(at + fields[i], uint32_t(w.pos[i]));
  out.Put32(at + W::kLabel, label);
  out.Put32(at + W::kFont, font);
  out.Put32(at + W::kTitle, title);
  out.Put32(at + W::kStatusBar, status);
  out.Put32(at + W::kFrame, w.frame);
  out.Put32(at + W::kTimer, w.timer);
  out.Set8(at + W::kFlags115, w.flags115);
  out.Set8(at + W::kFlags116, w.flags116);
  out.Put32(at + W::kFirstControl, WriteControls(out, w.controls));
  return at;
}

std::vector<uint8_t> WriteBlock(const Source& src) {
  Block out;
  uint32_t previous = 0;
  for (const WindowSpec& w : src.windows) {
    uint32_t at = WriteWindow(out, w);
    out.Put32(previous ? previous + L::win::kNext : L::kFirstWindow, at);
    previous = at;
  }
  std::vector<uint8_t> file(src.procedure.begin(), src.procedure.end());
  file.push_back(0);
  file.insert(file.end(), out.bytes().begin() + L::kBodyBase, out.bytes().end());
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen_window_defs SOURCE OUTPUT\n");
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read\n", argv[1]);
    return 1;
  }
  Source src;
  Parser parser(argv[1], in);
  if (!parser.Run(&src)) {
    std::fprintf(stderr, "%s\n", parser.error().c_str());
    std::remove(argv[2]);
    return 1;
  }
  std::vector<uint8_t> block = WriteBlock(src);
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(block.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write\n", argv[2]);
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
