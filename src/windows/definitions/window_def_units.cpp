#include "windows/definitions/window_def_units.h"

namespace dove::wdef {

int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = int64_t(a) * b;
  int64_t half = c / 2;
  bool negative = (product < 0) != (c < 0);
  int64_t q = negative ? (product - half) / c : (product + half) / c;
  if (q > INT32_MAX || q < -INT32_MAX) return -1;
  return int32_t(q);
}

namespace {

int Convert(int32_t value, Unit unit, int base, int baseDivisor, int logPixels, bool points) {
  if (value == kDefault) return 0;
  switch (unit) {
    case Unit::DialogUnits: return MulDivRound(value, base, baseDivisor);
    case Unit::Inch25: return MulDivRound(value, logPixels, 25);
    case Unit::Inch1000: return MulDivRound(value, logPixels, 1000);
    case Unit::Pixels: return points ? MulDivRound(value, logPixels, 72) : value;
  }
  return value;
}

}  // namespace

int ToPixelsX(int32_t value, Unit unit, const UnitScale& s) {
  return Convert(value, unit, s.bx, 4, s.logPixelsX, s.points);
}

int ToPixelsY(int32_t value, Unit unit, const UnitScale& s) {
  return Convert(value, unit, s.by, 8, s.logPixelsY, s.points);
}

PixelRect ToPixels(const Position& p, Unit unit, const UnitScale& s) {
  return PixelRect{ToPixelsX(p.x, unit, s), ToPixelsY(p.y, unit, s),
                   ToPixelsX(p.width, unit, s), ToPixelsY(p.height, unit, s)};
}

}  // namespace dove::wdef
