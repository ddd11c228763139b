// The message dialog's buttons: the fixed button table and the rules that
// turn MESSAGE's buttons argument and default into the buttons to show.
//
//   ButtonsArg arg = ClassifyButtons("&Yes|Maybe|Cancel");
//   std::vector<ButtonSpec> set = arg.numeric
//       ? NumericButtons(arg.value, defaultMask)
//       : CaptionButtons(arg.list, defaultPosition);
//
// A set is never empty: numeric 0, a caption list without pieces, and a
// numeric value without any of the eight flag bits all give OK alone, so
// every dialog can be closed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dove::msg {

constexpr int kButtonRows = 8;
constexpr int kFirstCustomId = 0x100;
constexpr int kTranslatedCaptionBase = 0x7F00;  // string number of row 0

struct ButtonRow {
  uint32_t flag;
  int id;
  const char* caption;
};
extern const ButtonRow kButtonTable[kButtonRows];

// One button as it is written into the template.
struct ButtonSpec {
  int id = 0;
  int32_t result = 0;   // returned when this button ends the dialog
  std::string caption;
  bool isDefault = false;
};

// The buttons argument after classification.
struct ButtonsArg {
  bool numeric = true;
  uint32_t value = 0;      // numeric: sum of flag values
  std::string list;        // caption list: the text as given
};

// Empty: numeric 0. A first character that is a decimal digit and no "|":
// numeric, read in base 10 up to the first non-digit. Anything else: a
// caption list.
ButtonsArg ClassifyButtons(std::string_view buttons);

// Translated caption of a table row, or nullptr; the default asks the
// locale settings.
using CaptionLookup = const std::string* (*)(int row);

// Numeric buttons in table order. The default is the row of the lowest set
// bit of defaultMask when value and defaultMask share a bit, else row 0.
std::vector<ButtonSpec> NumericButtons(uint32_t value, uint32_t defaultMask,
                                       CaptionLookup translate = nullptr);

// Caption list split at "|" (empty pieces skipped, at most eight kept). A
// piece equal to a table caption (case matters) takes that row's id and
// (translated) caption, others take ids from 0x100 up. Results are the
// 1-based positions; defaultPosition out of range means the first.
std::vector<ButtonSpec> CaptionButtons(std::string_view list, int32_t defaultPosition,
                                       CaptionLookup translate = nullptr);

// MESSAGE's buttons argument and default, classified and laid out.
std::vector<ButtonSpec> ButtonsFor(std::string_view buttons, int32_t defaultButton,
                                   CaptionLookup translate = nullptr);

// The button that gets the focus when the dialog opens: the default one,
// else the first. 0 for an empty set.
int FocusId(const std::vector<ButtonSpec>& buttons);

// The button that Enter presses as the dialog opens: the default one, else
// the first, which then has the focus. The set must not be empty.
const ButtonSpec& AnsweringButton(const std::vector<ButtonSpec>& buttons);

// The pairs (control id, result) in button order; Lookup returns the result
// of the first pair with the id, 0 when none matches.
struct ButtonMap {
  int ids[kButtonRows] = {};
  int32_t results[kButtonRows] = {};
  int count = 0;

  void Clear() { count = 0; }
  void Add(int id, int32_t result);
  int32_t Lookup(intptr_t id) const;
};

}  // namespace dove::msg
