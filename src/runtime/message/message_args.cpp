#include "runtime/message/message_args.h"

#include "runtime/message/message_dialog.h"
#include "runtime/strings/value_stack.h"

namespace dove {

std::string SystemIconCode(uint16_t numberPlusOne) {
  std::string code("\xFF\x01", 2);
  code.push_back(static_cast<char>(numberPlusOne & 0xFF));
  code.push_back(static_cast<char>(numberPlusOne >> 8));
  return code;
}

namespace msg {

std::string_view ClipBlanks(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

std::string PopClipped() {
  std::string s = vstack::PopString();
  s.resize(ClipBlanks(s).size());
  return s;
}

std::string DisplayText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  for (char c : text) {
    if (c == '|')
      out += "\r\n";
    else
      out.push_back(c);
  }
  return out;
}

uint32_t InternalStyle(uint32_t style) {
  uint32_t internal = 0;
  if (style & kMessageSystemModal) internal |= kInternalSystemModal;
  if (style & kMessageCopyable) internal |= kInternalCopyable;
  return internal;
}

IconRequest ParseIcon(std::string_view icon) {
  IconRequest req;
  if (icon.empty()) return req;
  if (icon.size() >= 2 && static_cast<unsigned char>(icon[0]) == 0xFF &&
      static_cast<unsigned char>(icon[1]) == 0x01) {
    unsigned lo = icon.size() > 2 ? static_cast<unsigned char>(icon[2]) : 0;
    unsigned hi = icon.size() > 3 ? static_cast<unsigned char>(icon[3]) : 0;
    req.kind = IconRequest::kSystem;
    req.systemId = static_cast<int>(lo | (hi << 8)) - 1;
    return req;
  }
  req.kind = IconRequest::kNamed;
  req.name = std::string(icon);
  return req;
}

int StandardIconId(uint32_t internalStyle) {
  switch (internalStyle & kInternalIconMask) {
    case kInternalIconHand: return 32513;
    case kInternalIconQuestion: return 32514;
    case kInternalIconExclamation: return 32515;
    case kInternalIconAsterisk: return 32516;
    default: return 0;
  }
}

}  // namespace msg
}  // namespace dove
