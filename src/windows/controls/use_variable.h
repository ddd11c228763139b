// Use variables: the program's variables that a window's controls show and
// edit, bound by position to the controls that have a use-variable
// descriptor. The descriptor's data type says how the bytes are read and
// written.
//
//   UseVariable use{&onOff, kUseByte, 1};
//   WriteUseText(use, "1");              // onOff == 1
//   std::string shown = ShowThroughPicture(use, "n04");
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove::win {

enum UseType : uint8_t {
  kUseByte = 1,        // unsigned 8-bit
  kUseShort = 2,       // signed 16-bit
  kUseLong = 7,        // signed 32-bit
  kUseFixedText = 18,  // blank-padded, size = its length
  kUseZText = 19,      // zero-terminated, size = its buffer
};

struct UseVariable {
  void* address = nullptr;
  uint8_t type = 0;
  uint32_t size = 0;

  explicit operator bool() const { return address != nullptr && size > 0; }
};

// The value as text: a number in decimal, a text as stored (fixed texts keep
// their blanks). Empty for an unbound variable or an unknown type.
std::string ReadUseText(const UseVariable& use);
// Stores text: numbers take its numeric value (text that is not a number
// counts as 0, values outside the type are cut to its range), fixed texts are
// cut or padded with blanks, zero-terminated texts cut to size - 1.
void WriteUseText(const UseVariable& use, std::string_view text);

// Stores a number's text. A fixed text too short for it is not cut, since
// the cut text is another number ("10000" would become "1000"): the variable
// is filled with "#", as a picture shows a number wider than its positions,
// and the number is kept aside. ReadUseText and the control give it back as
// long as those marks stand, so that the owner can refuse it by its value.
// Other variables take it as WriteUseText does.
void WriteUseNumber(const UseVariable& use, std::string_view number);

// What the control shows: the value formatted with the picture (an empty
// picture shows the value as text), trailing blanks removed.
std::string ShowThroughPicture(const UseVariable& use, std::string_view picture);

// Reads text typed into a control back through the picture and stores it
// (a number picture's value with WriteUseNumber). False, with the variable
// unchanged, when the text does not fit the picture.
bool StoreThroughPicture(const UseVariable& use, std::string_view picture, std::string_view text);

// A spin box's step: the value moved by `steps` units of its picture's last
// decimal place, stored with WriteUseNumber, true; false when the current
// text is not a number.
bool StepThroughPicture(const UseVariable& use, std::string_view picture, int steps);

}  // namespace dove::win
