// MESSAGE's arguments before anything is shown: clipping, the display text,
// the internal style word and the icon string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove::msg {

// Removes trailing blanks (0x20 only).
std::string_view ClipBlanks(std::string_view s);

// Pops one of MESSAGE's strings from the value stack, trailing blanks removed.
std::string PopClipped();

// Every "|" becomes CR LF; adjacent bars give empty lines.
std::string DisplayText(std::string_view text);

// Style bit 1 becomes the internal system-modal bit, bit 2 the internal
// copyable-text bit; every other bit is dropped.
uint32_t InternalStyle(uint32_t style);

// What the icon string names.
struct IconRequest {
  enum Kind { kNone, kSystem, kNamed } kind = kNone;
  int systemId = 0;   // kSystem: resource number of the system icon (32515 ...)
  std::string name;   // kNamed: resource or file name
};

// Empty: no icon. 0xFF 0x01 followed by the number plus one (low byte first;
// missing bytes read as 0): a system icon. Anything else: a name.
IconRequest ParseIcon(std::string_view icon);

// The standard icon that bits 0xF0 of the internal style word select:
// 0x10 hand 32513, 0x20 question 32514, 0x30 exclamation 32515, 0x40 asterisk
// 32516; 0 for none or any other value.
int StandardIconId(uint32_t internalStyle);

}  // namespace dove::msg
