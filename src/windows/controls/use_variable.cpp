#include "windows/controls/use_variable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "runtime/pictures/decimal.h"
#include "runtime/pictures/picture.h"

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

// Numbers too wide for the fixed text that holds them, by the variable's
// address. Use variables belong to the windows of one thread.
struct UnfitNumber {
  const void* address;
  std::string number;
};
thread_local std::vector<UnfitNumber> t_unfit;

void ForgetUnfit(const void* address) {
  t_unfit.erase(std::remove_if(t_unfit.begin(), t_unfit.end(),
                               [address](const UnfitNumber& u) { return u.address == address; }),
                t_unfit.end());
}

bool HoldsOverflowMarks(const UseVariable& use) {
  const char* p = static_cast<const char*>(use.address);
  return std::all_of(p, p + use.size, [](char c) { return c == '#'; });
}

// The number kept aside for the variable while its marks stand; a direct
// write of its bytes by the owner ends it.
const std::string* UnfitOf(const UseVariable& use) {
  if (!use || use.type != kUseFixedText) return nullptr;
  for (const UnfitNumber& u : t_unfit) {
    if (u.address == use.address) return HoldsOverflowMarks(use) ? &u.number : nullptr;
  }
  return nullptr;
}

bool IsNumberPicture(std::string_view picture) {
  pic::Picture compiled;
  return pic::Compile(picture, &compiled) &&
         (compiled.kind == pic::Kind::Number || compiled.kind == pic::Kind::Scientific);
}

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
      if (const std::string* unfit = UnfitOf(use)) return *unfit;
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
      ForgetUnfit(use.address);
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

void WriteUseNumber(const UseVariable& use, std::string_view number) {
  if (!use || use.type != kUseFixedText || number.size() <= use.size) {
    WriteUseText(use, number);
    return;
  }
  std::memset(use.address, '#', use.size);
  ForgetUnfit(use.address);
  t_unfit.push_back({use.address, std::string(number)});
}

std::string ShowThroughPicture(const UseVariable& use, std::string_view picture) {
  // A number that the variable cannot hold is shown as it stands, so that
  // the user sees what will be refused; the picture would show only "#".
  if (const std::string* unfit = UnfitOf(use)) return *unfit;
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
  if (IsNumberPicture(picture)) WriteUseNumber(use, value);
  else WriteUseText(use, value);
  return true;
}

bool StepThroughPicture(const UseVariable& use, std::string_view picture, int steps) {
  pic::Picture compiled;
  int decimals = pic::Compile(picture, &compiled) ? compiled.decimals : 0;
  double unit = std::pow(10.0, -std::min(decimals, 15));
  double v = DecimalToDouble(DecimalFromText(ReadUseText(use)));
  double next = std::max(0.0, v + steps * unit);
  WriteUseNumber(use, DecimalToText(DecimalFromDouble(next)));
  return true;
}

}  // namespace dove::win
