// Positions of window definitions in pixels.
//
// Bits 0x300 of a window's attribute word choose the unit of every position
// in its records. Conversion rounds to the nearest pixel as the platform's
// MulDiv does; kDefault (0x80000000) converts to 0. A control's pixels are
// relative to its parent's origin; the caller adds that origin.
//
//   wdef::UnitScale s = wdef::MeasureUnitScale(font);      // Win32 shell
//   wdef::PixelRect r = wdef::ToPixels(control.position, window.unit(), s);
#pragma once

#include <cstdint>

#include "windows/definitions/window_def.h"

namespace dove::wdef {

struct UnitScale {
  int bx = 1, by = 1;                    // base units of the window's font
  int logPixelsX = 96, logPixelsY = 96;  // the screen's LOGPIXELSX/Y
  bool points = false;  // pixel unit read as points (a runtime option)
};

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// a * b / c rounded to the nearest integer, halves away from zero; -1 when
// c is 0 or the result does not fit, as the platform's MulDiv.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c);

int ToPixelsX(int32_t value, Unit unit, const UnitScale& scale);
int ToPixelsY(int32_t value, Unit unit, const UnitScale& scale);
PixelRect ToPixels(const Position& p, Unit unit, const UnitScale& scale);

}  // namespace dove::wdef
