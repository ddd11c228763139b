// Window definitions: the decoded model of a stored "DABDUMP" block.
//
// A module's block holds its procedure name and a body with one or more
// window records; each window chains its controls, and containers (group
// box, option group, sheet, tab page) chain their children. The decoder
// turns a block into the plain structs below, checking every offset and
// length first: a damaged block gives no definition, never a read outside
// the block. Positions stay in the window's own unit (window_def_units.h
// converts them); texts stay as stored bytes (code page 1252).
//
//   wdef::Definition def;
//   if (!wdef::DecodeBlock(bytes, size, &def)) return;   // damaged
//   const wdef::Window* w = def.FindWindow("p2$w");        // any case
//   for (const wdef::Control& c : w->controls)            // parents first
//     Create(c, c.parent < 0 ? frame : made[c.parent]);
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dove::wdef {

// The first byte of every record.
enum class Kind : uint8_t {
  String = 2,
  Image = 3,
  Entry = 8,
  Button = 9,
  Prompt = 10,
  Option = 11,
  Check = 12,
  Group = 13,
  Radio = 14,   // a choice of an option group; chained from the option
  Spin = 16,
  Window = 25,
  Sheet = 37,
  Tab = 38,
};

// Width or height 0x80000000: the control sizes itself from its content.
// Window x or y 0x80000000: not given (the system places the window).
constexpr int32_t kDefault = INT32_MIN;
// A colour value (COLORREF layout, 0x00BBGGRR) that means "as the parent".
constexpr uint32_t kDefaultColour = 0xFFFFFFFFu;

constexpr uint32_t ColourOf(uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

// Bits 0x300 of the window attribute word: the unit of every position.
enum class Unit : uint8_t {
  DialogUnits = 0,      // x: value * bx / 4, y: value * by / 8
  Inch25 = 1,           // 1/25 inch
  Inch1000 = 2,         // 1/1000 inch
  Pixels = 3,
};

struct Position {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// Font style word: the weight in the low bits, decorations above it.
constexpr uint32_t kWeightMask = 0xFFF;
constexpr uint32_t kItalic = 0x1000, kUnderline = 0x2000, kStrikeOut = 0x4000;

struct Font {
  bool present = false;
  std::string face;           // empty: the parent's face
  int32_t points = 0;         // 0: the parent's size
  uint32_t colour = kDefaultColour;
  uint32_t style = 0;         // weight (400 normal, 700 bold) plus style bits
};

struct Colours {
  bool present = false;
  uint32_t text = kDefaultColour;
  uint32_t background = kDefaultColour;
  uint32_t selected = kDefaultColour;
};

// Data types of use variables.
enum class UseType : uint8_t {
  Byte = 1,          // size 1
  Short = 2,         // 16-bit integer, size 2
  Long = 7,          // 32-bit integer, size 4
  FixedText = 18,    // blank-padded text, size = its length
  ZeroText = 19,     // zero-terminated text, size = its buffer
};

struct UseVariable {
  bool present = false;
  uint8_t type = 0;       // a UseType value as stored
  uint32_t size = 0;      // bytes
  uint32_t extra = 0;
};

struct Control {
  Kind kind = Kind::String;
  uint32_t attributes = 0;       // head offset 5
  uint32_t attributes2 = 0;      // head offset 9
  int32_t field = 0;             // field equate number, 0 = unlabelled
  std::string label;             // "?VER:NOTE", empty when unlabelled
  int parent = -1;               // index in Window::controls, -1 = the window
  Position position;             // relative to the parent's origin
  std::string text;              // prompt, string, button, check, group, radio
  std::string tip;               // tool tip: entry, spin, check, option
  std::string picture;           // entry, spin: "s180", "n5.2" (no marker)
  std::string image;             // image: the file or resource name "ZERU.Ico"
  std::string icon;              // button: stored icon value or a name
  Font font;                     // string, prompt; absent = the window's font
  Colours colours;               // string, prompt, entry, spin
  UseVariable use;               // entry, option, check, spin, sheet
  int useIndex = -1;             // position in the declared address list

  bool DefaultWidth() const { return position.width == kDefault; }
  bool DefaultHeight() const { return position.height == kDefault; }
  bool IsContainer() const;
};

// Status bar of a window: zone widths in the window's unit; -1 takes what
// the other zones leave. No zones, no status bar.
struct StatusBar {
  std::vector<int32_t> zones;
};

// Frame attribute bits (window record offset 82).
constexpr uint32_t kFrameMask = 0x60;
constexpr uint32_t kFrameBorder = 0x00;
constexpr uint32_t kFrameResizable = 0x20;
constexpr uint32_t kFrameDouble = 0x40;
constexpr uint32_t kFrameNone = 0x60;
constexpr uint32_t kFrameSystemMenuMax = 0x800;
constexpr uint32_t kFrameSystemMenu = 0x1000;
constexpr uint32_t kFrameMinimized = 0x8000;

struct Window {
  std::string label;             // "P2$W"
  std::string title;             // non-empty gives a caption bar
  uint32_t attributes = 0;       // bits 0x300: the unit
  uint32_t attributes2 = 0;
  Position position;             // x, y may be kDefault
  Font font;                     // absent: the runtime's default font
  uint32_t frame = 0;            // frame attribute bits
  uint32_t timer = 0;            // hundredths of a second, 0 = none
  StatusBar status;
  uint8_t flags115 = 0, flags116 = 0;
  // Every control in definition order, depth first as the records are
  // chained; a container comes before its children.
  std::vector<Control> controls;
  // Offset of this window's record in the block's buffer (body offset + 2).
  uint32_t recordOffset = 0;

  Unit unit() const { return Unit((attributes >> 8) & 3); }
  // Number of controls bound to the declared use-variable list.
  int UseCount() const;
  // The control with that equate (any case), or null.
  const Control* FindControl(std::string_view label) const;
  int IndexOfField(int32_t field) const;   // -1 when absent
};

struct Definition {
  std::string procedure;         // "Install$WorkLog"
  std::vector<Window> windows;   // in chain order

  // The window with that label, compared without regard to case through
  // the collation table; null when absent.
  const Window* FindWindow(std::string_view label) const;
};

// Decodes a whole resource: the zero-terminated procedure name, then the
// body. False (and *out cleared) when anything is out of bounds, a chain
// loops, a record type is unknown or a string lacks its terminator.
bool DecodeBlock(const uint8_t* data, size_t size, Definition* out);

// The same over a buffer laid out as the runtime keeps it: two leading
// bytes, then the body; offsets index this buffer.
bool DecodeBuffer(const uint8_t* buffer, size_t size, Definition* out);

// Decodes only the window whose record lies at that buffer offset.
bool DecodeWindowAt(const uint8_t* buffer, size_t size, uint32_t offset, Window* out);

// The name comparison of definitions: equal length, and each pair of bytes
// equal without regard to case through the current collation tables.
bool SameName(std::string_view a, std::string_view b);

}  // namespace dove::wdef
