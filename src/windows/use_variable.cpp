#include "windows/use_variable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/decimal.h"
#include "runtime/picture.h"

namespace dove::win {

namespace {

int64_t TextToInteger(std::string_view text) {
  double v = DecimalToDouble(DecimalFromText(text));
  if (!std::isfinite(v)) return 0;
  v = std::trunc(v);
  if (v > 9.0e18) return INT64_MAX;
  if (v < -9.0e18) return INT64_MIN;
  return static_cast<int64_t>(v);
}

template <typename T>
T Clamp(int64_t v) {
  return static_cast<T>(std::clamp<int64_t>(v, std::numeric_limits<T>::min(),
                                            std::numeric_limits<T>::max()));
}

template <typename T>
T Load(const UseVariable& use) {
  T v;
  std::memcpy(&v, use.address, sizeof v);
  return v;
}

template <typename T>
void Store(const UseVariable& use, T v) {
  std::memcpy(use.address, &v, sizeof v);
}

bool HasRoomFor(const UseVariable& use, size_t bytes) { return use && use.size >= bytes; }

}  // namespace

std::string ReadUseText(const UseVariable& use) {
  if (!use) return {};
  switch (use.type) {
    case kUseByte:
      return std::to_string(Load<uint8_t>(use));
    case kUseShort:
      return HasRoomFor(use, 2) ? std::to_string(Load<int16_t>(use)) : std::string();
    case kUseLong:
      return HasRoomFor(use, 4) ? std::to_string(Load<int32_t>(use)) : std::string();
    case kUseFixedText:
      return std::string(static_cast<const char*>(use.address), use.size);
    case kUseZText: {
      const char* p = static_cast<const char*>(use.address);
      return std::string(p, strnlen(p, use.size));
    }
    default:
      return {};
  }
}

void WriteUseText(const UseVariable& use, std::string_view text) {
  if (!use) return;
  switch (use.type) {
    case kUseByte:
      Store(use, Clamp<uint8_t>(TextToInteger(text)));
      break;
    case kUseShort:
      if (HasRoomFor(use, 2)) Store(use, Clamp<int16_t>(TextToInteger(text)));
      break;
    case kUseLong:
      if (HasRoomFor(use, 4)) Store(use, Clamp<int32_t>(TextToInteger(text)));
      break;
    case kUseFixedText: {
      char* p = static_cast<char*>(use.address);
      size_t n = std::min<size_t>(text.size(), use.size);
      std::memcpy(p, text.data(), n);
      std::memset(p + n, ' ', use.size - n);
      break;
    }
    case kUseZText: {
      char* p = static_cast<char*>(use.address);
      size_t n = std::min<size_t>(text.size(), use.size - 1);
      std::memcpy(p, text.data(), n);
      p[n] = '\0';
      break;
    }
    default:
      break;
  }
}

std::string ShowThroughPicture(const UseVariable& use, std::string_view picture) {
  std::string value = ReadUseText(use);
  std::string shown = picture.empty() ? value : FORMAT(value, picture);
  while (!shown.empty() && shown.back() == ' ') shown.pop_back();
  return shown;
}

bool StoreThroughPicture(const UseVariable& use, std::string_view picture, std::string_view text) {
  if (picture.empty()) {
    WriteUseText(use, text);
    return true;
  }
  bool ok = false;
  std::string value = DEFORMAT(text, picture, &ok);
  if (!ok) return false;
  WriteUseText(use, value);
  return true;
}

bool StepThroughPicture(const UseVariable& use, std::string_view picture, int steps) {
  pic::Picture compiled;
  int decimals = pic::Compile(picture, &compiled) ? compiled.decimals : 0;
  double unit = std::pow(10.0, -std::min(decimals, 15));
  double v = DecimalToDouble(DecimalFromText(ReadUseText(use)));
  double next = std::max(0.0, v + steps * unit);
  WriteUseText(use, DecimalToText(DecimalFromDouble(next)));
  return true;
}

}  // namespace dove::win
