// Byte layout of stored window definitions, shared by the decoder and the
// build-time generator (tools/gen_window_defs.cpp), which includes this file
// by path and so must keep it free of other includes from src/.
//
// Offsets index the definition buffer: two bytes, then the body. Numbers are
// little-endian and unaligned; a string field is the offset of a
// zero-terminated string, 0 for none. Control fields beyond the head are
// counted from P, where the position block starts.
#pragma once

#include <cstdint>

namespace dove::wdef::layout {

constexpr uint32_t kBodyBase = 2;        // buffer offset of the body's byte 0
constexpr uint32_t kFirstWindow = 2;     // 32-bit offset of the first window

namespace win {
constexpr uint32_t kType = 0, kNext = 1, kAttributes = 5, kAttributes2 = 9;
constexpr uint32_t kX = 13, kY = 17, kWidth = 21, kHeight = 25;
constexpr uint32_t kFirstControl = 29, kLabel = 33, kFont = 37, kTitle = 41;
constexpr uint32_t kStatusBar = 45;      // status-bar block, 0 = none
constexpr uint32_t kFrame = 82, kTimer = 90, kInline = 110;
constexpr uint32_t kFlags115 = 115, kFlags116 = 116;
constexpr uint32_t kSize = 117;
}  // namespace win

namespace ctl {
constexpr uint32_t kType = 0, kNext = 1, kAttributes = 5, kAttributes2 = 9;
constexpr uint32_t kField = 13, kLabel = 17;
constexpr uint32_t kHeadSize = 21;
constexpr uint32_t kUse = 21;            // use-variable descriptor, if the type has one
// Relative to P.
constexpr uint32_t kX = 0, kY = 4, kWidth = 8, kHeight = 12;
constexpr uint32_t kImageName = 16;      // image
constexpr uint32_t kTextShort = 20;      // string, prompt
constexpr uint32_t kTip = 20;            // entry, spin, check, option
constexpr uint32_t kFontShort = 24;      // string, prompt
constexpr uint32_t kColoursShort = 32;   // string, prompt
constexpr uint32_t kTabChild = 38;       // tab page
constexpr uint32_t kColoursEntry = 44;   // entry, spin
constexpr uint32_t kPicture = 48;        // entry, spin
constexpr uint32_t kText = 48;           // button, check, option, radio, group
constexpr uint32_t kIcon = 52;           // button
constexpr uint32_t kChild = 52;          // group, option, sheet
}  // namespace ctl

constexpr uint32_t kFontBlockSize = 16;  // face, points, colour, style; then the face
constexpr uint32_t kColourBlockSize = 12;
constexpr uint32_t kUseBlockSize = 9;    // type byte, size, further value
// Status-bar block: zone count, then that many 32-bit widths (-1 = rest).
constexpr uint32_t kMaxStatusZones = 16;

// Record types, as stored.
constexpr uint8_t kString = 2, kImage = 3, kEntry = 8, kButton = 9, kPrompt = 10;
constexpr uint8_t kOption = 11, kCheck = 12, kGroup = 13, kRadio = 14, kSpin = 16;
constexpr uint8_t kWindow = 25, kSheet = 37, kTab = 38;

constexpr bool HasUseVariable(uint8_t type) {
  return type == kEntry || type == kOption || type == kCheck || type == kSpin ||
         type == kSheet;
}

// Bytes from P to the end of a control record of that type; 0 for a type
// that is not known.
constexpr uint32_t TailSize(uint8_t type) {
  switch (type) {
    case kString: case kPrompt: return 36;
    case kImage: return 20;
    case kEntry: case kSpin: case kCheck: case kRadio: return 52;
    case kButton: case kOption: case kGroup: case kSheet: return 56;
    case kTab: return 42;
    default: return 0;
  }
}

constexpr uint32_t PositionStart(uint8_t type) {
  return HasUseVariable(type) ? ctl::kHeadSize + 4 : ctl::kHeadSize;
}

// Offset from P of the first-child field of a container type, or 0.
constexpr uint32_t ChildField(uint8_t type) {
  switch (type) {
    case kGroup: case kOption: case kSheet: return ctl::kChild;
    case kTab: return ctl::kTabChild;
    default: return 0;
  }
}

}  // namespace dove::wdef::layout
