// Layout arithmetic of the message dialog, in pixels and dialog units.
//
// The Win32 shell measures (font base units, work area, text rectangle,
// icon size, scroll bar width); everything computed from those numbers lives
// here so that it can be checked without a display:
//
//   Measures ms = ComputeMeasures(units);
//   int wrap = WrapWidth(workW, ms.minW);
//   ... DrawTextA(..., wrap ...) gives the text's width and height ...
//   Layout lay = ComputeLayout(input);        // item rectangles, dialog size
//   Point at = CentreDialog(work, ...);       // final screen position
//
// Pixel rectangles are converted to dialog units only when written into the
// template (ToDialogUnits); the dialog manager converts them back with the
// same base units, so what is laid out here is what appears.
#pragma once

#include <string_view>
#include <vector>

namespace dove::msg {

// Base units of a font in pixels: bx from the width of the 52 letters, by the
// text-metric height.
struct BaseUnits {
  int bx = 1;
  int by = 1;
};

extern const char kBaseUnitLetters[];  // "ABC...XYZabc...xyz"
// (width52 / 26 + 1) / 2, never below 1.
int BaseUnitX(int width52);

// Dialog units to pixels and back, rounding up (0 stays 0).
int PxX(int du, int bx);
int PxY(int du, int by);
int DuX(int px, int bx);
int DuY(int px, int by);

// The seven fixed measures, in pixels.
struct Measures {
  int margin = 0;        // m, 5 horizontal units
  int buttonW = 0;       // bw, 50
  int buttonH = 0;       // bh, 14 vertical units
  int buttonGap = 0;     // g, 5
  int belowButtons = 0;  // vg, 5 vertical units
  int minWrap = 0;       // minW, 200
  int minHeight = 0;     // minH, 45 vertical units
};
Measures ComputeMeasures(const BaseUnits& units);

// a * b / c rounded to the nearest integer, halves away from zero, as the
// platform's MulDiv rounds; -1 when c is 0 or the result overflows.
int MulDivRounded(int a, int b, int c);

// Width the text is wrapped at: half the work area, at least minW, but never
// more than two thirds of the work area (rounded as MulDiv rounds) when minW
// would exceed that.
int WrapWidth(int workW, int minW);

struct Rect {
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  int Right() const { return x + cx; }
  int Bottom() const { return y + cy; }
};

struct LayoutInput {
  BaseUnits units;
  Measures measures;
  int textRight = 0;    // DT_CALCRECT result, right edge
  int textBottom = 0;   // DT_CALCRECT result, bottom edge
  bool copyable = false;
  int halfWorkH = 0;    // work-area height / 2
  int scrollBarW = 0;   // SM_CXVSCROLL
  bool hasIcon = false;
  int iconW = 0;
  int iconH = 0;
  int buttonCount = 1;
  // The largest client area that fits in the work area (0: no limit). A text
  // that cannot be wrapped to fit (one long word, or more lines than the
  // screen holds) is cut to it, so that the buttons stay on the screen.
  int maxClientW = 0;
  int maxClientH = 0;
};

// Item rectangles in pixels, in the dialog's client area, and the dialog's
// client size in pixels and in dialog units.
struct Layout {
  Rect icon;               // only when the input has an icon
  Rect text;
  std::vector<Rect> buttons;
  bool scroll = false;     // copyable text cut to half the work area
  bool cut = false;        // text cut to keep the dialog on the screen
  int W = 0;
  int H = 0;
  int cxDu = 0;
  int cyDu = 0;
};
Layout ComputeLayout(const LayoutInput& in);

// A pixel rectangle in dialog units, each value rounded up.
Rect ToDialogUnits(const Rect& px, const BaseUnits& units);

// Screen rectangle (left, top, right, bottom).
struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
struct Point {
  int x = 0;
  int y = 0;
};

// Where the dialog of the given window size goes: centred on the frame
// window when there is a visible one, else on the work area narrowed to the
// owner's rectangle when they intersect; then kept inside the work area's
// right and bottom edges and never at a negative position.
Point CentreDialog(const Box& work, const Box* visibleFrame, const Box* owner,
                   int dialogW, int dialogH);

}  // namespace dove::msg
