#include "runtime/message/message_buttons.h"

#include "runtime/locale/locale_settings.h"

namespace dove::msg {

const ButtonRow kButtonTable[kButtonRows] = {
    {1, 1, "OK"},        {2, 6, "&Yes"},     {4, 7, "&No"},    {8, 3, "&Abort"},
    {16, 4, "&Retry"},   {32, 5, "&Ignore"}, {64, 2, "Cancel"}, {128, 9, "&Help"},
};

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string RowCaption(int row, CaptionLookup translate) {
  const std::string* translated =
      translate ? translate(row) : dove::locale::ButtonCaption(row);
  return translated ? *translated : std::string(kButtonTable[row].caption);
}

int LowestBit(uint32_t v) {
  int i = 0;
  while (!(v & 1u)) {
    v >>= 1;
    ++i;
  }
  return i;
}

int StandardRow(std::string_view piece) {
  for (int row = 0; row < kButtonRows; ++row)
    if (piece == kButtonTable[row].caption) return row;
  return -1;
}

std::vector<std::string_view> SplitPieces(std::string_view list) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start <= list.size() && pieces.size() < kButtonRows) {
    size_t bar = list.find('|', start);
    if (bar == std::string_view::npos) bar = list.size();
    if (bar > start) pieces.push_back(list.substr(start, bar - start));
    start = bar + 1;
  }
  return pieces;
}

}  // namespace

ButtonsArg ClassifyButtons(std::string_view buttons) {
  ButtonsArg arg;
  if (buttons.empty()) return arg;
  if (!IsDigit(buttons[0]) || buttons.find('|') != std::string_view::npos) {
    arg.numeric = false;
    arg.list = std::string(buttons);
    return arg;
  }
  // Saturates at the largest signed 32-bit value, as the standard base-10
  // conversion does, so a huge number keeps all eight flag bits set.
  constexpr uint32_t kMax = 2147483647u;
  uint32_t v = 0;
  for (char c : buttons) {
    if (!IsDigit(c)) break;
    const uint32_t digit = static_cast<uint32_t>(c - '0');
    v = v > (kMax - digit) / 10u ? kMax : v * 10u + digit;
  }
  arg.value = v;
  return arg;
}

std::vector<ButtonSpec> NumericButtons(uint32_t value, uint32_t defaultMask,
                                       CaptionLookup translate) {
  int defaultRow = 0;
  // Only higher bits set would leave a dialog without any button, which
  // could never be closed: such a value shows OK alone, as 0 does.
  if ((value & 0xFFu) == 0) {
    value = kButtonTable[0].flag;
  } else if (value & defaultMask) {
    defaultRow = LowestBit(defaultMask);
  }
  std::vector<ButtonSpec> set;
  for (int row = 0; row < kButtonRows; ++row) {
    if (!(value & kButtonTable[row].flag)) continue;
    ButtonSpec b;
    b.id = kButtonTable[row].id;
    b.result = static_cast<int32_t>(kButtonTable[row].flag);
    b.caption = RowCaption(row, translate);
    b.isDefault = row == defaultRow;
    set.push_back(std::move(b));
  }
  return set;
}

std::vector<ButtonSpec> CaptionButtons(std::string_view list, int32_t defaultPosition,
                                       CaptionLookup translate) {
  std::vector<std::string_view> pieces = SplitPieces(list);
  if (pieces.empty()) return NumericButtons(0, 0, translate);
  uint32_t defaultIndex = static_cast<uint32_t>(defaultPosition) - 1u;
  if (defaultIndex >= pieces.size()) defaultIndex = 0;
  std::vector<ButtonSpec> set;
  int nextCustom = kFirstCustomId;
  for (size_t k = 0; k < pieces.size(); ++k) {
    ButtonSpec b;
    int row = StandardRow(pieces[k]);
    if (row >= 0) {
      b.id = kButtonTable[row].id;
      b.caption = RowCaption(row, translate);
    } else {
      b.id = nextCustom++;
      b.caption = std::string(pieces[k]);
    }
    b.result = static_cast<int32_t>(k + 1);
    b.isDefault = k == defaultIndex;
    set.push_back(std::move(b));
  }
  return set;
}

std::vector<ButtonSpec> ButtonsFor(std::string_view buttons, int32_t defaultButton,
                                   CaptionLookup translate) {
  ButtonsArg arg = ClassifyButtons(buttons);
  if (arg.numeric)
    return NumericButtons(arg.value, static_cast<uint32_t>(defaultButton), translate);
  return CaptionButtons(arg.list, defaultButton, translate);
}

const ButtonSpec& AnsweringButton(const std::vector<ButtonSpec>& buttons) {
  for (const ButtonSpec& b : buttons)
    if (b.isDefault) return b;
  return buttons.front();
}

int FocusId(const std::vector<ButtonSpec>& buttons) {
  return buttons.empty() ? 0 : AnsweringButton(buttons).id;
}

void ButtonMap::Add(int id, int32_t result) {
  if (count == kButtonRows) return;
  ids[count] = id;
  results[count] = result;
  ++count;
}

int32_t ButtonMap::Lookup(intptr_t id) const {
  for (int i = 0; i < count; ++i)
    if (ids[i] == id) return results[i];
  return 0;
}

}  // namespace dove::msg
