#include "runtime/message/message_layout.h"

#include <algorithm>

namespace dove::msg {

const char kBaseUnitLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

namespace {

int CeilDiv(long long num, long long den) {
  if (num <= 0 || den <= 0) return 0;
  return static_cast<int>((num + den - 1) / den);
}

// Centres a span of `size` on [lo, hi) and keeps it inside [0, limit].
int Place(int lo, int hi, int size, int limit) {
  int start = lo + (hi - lo) / 2 - size / 2;
  if (start < 0) return 0;
  if (start + size > limit) start = limit - size;
  // A dialog larger than the work area would otherwise be pushed to a
  // negative position, with its title bar out of reach.
  return std::max(start, 0);
}

}  // namespace

int BaseUnitX(int width52) { return std::max((width52 / 26 + 1) / 2, 1); }

int PxX(int du, int bx) { return CeilDiv(static_cast<long long>(du) * bx, 4); }
int PxY(int du, int by) { return CeilDiv(static_cast<long long>(du) * by, 8); }
int DuX(int px, int bx) { return CeilDiv(static_cast<long long>(px) * 4, bx); }
int DuY(int px, int by) { return CeilDiv(static_cast<long long>(px) * 8, by); }

Measures ComputeMeasures(const BaseUnits& u) {
  Measures ms;
  ms.margin = PxX(5, u.bx);
  ms.buttonW = PxX(50, u.bx);
  ms.buttonH = PxY(14, u.by);
  ms.buttonGap = PxX(5, u.bx);
  ms.belowButtons = PxY(5, u.by);
  ms.minWrap = PxX(200, u.bx);
  ms.minHeight = PxY(45, u.by);
  return ms;
}

int MulDivRounded(int a, int b, int c) {
  if (c == 0) return -1;
  long long product = static_cast<long long>(a) * b;
  long long half = (c < 0 ? -static_cast<long long>(c) : c) / 2;
  bool negative = (product < 0) != (c < 0);
  long long magnitude = (product < 0 ? -product : product) + half;
  long long q = magnitude / (c < 0 ? -static_cast<long long>(c) : c);
  if (q > 0x7FFFFFFF) return -1;
  return static_cast<int>(negative ? -q : q);
}

int WrapWidth(int workW, int minW) {
  int wrap = workW / 2;
  if (wrap >= minW) return wrap;
  int twoThirds = MulDivRounded(workW, 2, 3);
  return minW > twoThirds ? twoThirds : minW;
}

Layout ComputeLayout(const LayoutInput& in) {
  const Measures& ms = in.measures;
  Layout lay;
  int tw = in.textRight + 10;
  int th = in.textBottom;
  if (in.copyable && th > in.halfWorkH) {
    th = in.halfWorkH;
    tw += in.scrollBarW;
    lay.scroll = true;
  }
  int x = ms.margin;
  int iconPart = in.hasIcon ? 2 * ms.margin + in.iconW : 0;
  int extraW = 2 * ms.margin + iconPart;
  if (in.maxClientW > 0 && tw + extraW > in.maxClientW) {
    tw = std::max(in.maxClientW - extraW, 0);
    lay.cut = true;
  }
  int extraH = 2 * ms.margin + ms.belowButtons + ms.buttonH;
  if (in.maxClientH > 0 && th + extraH > in.maxClientH) {
    th = std::max(in.maxClientH - extraH, 0);
    lay.cut = true;
  }
  lay.W = tw + 2 * ms.margin;
  lay.H = std::max(th + 2 * ms.margin, ms.minHeight);
  if (in.hasIcon) {
    lay.icon = {ms.margin, (lay.H - in.iconH) / 2, in.iconW, in.iconH};
    x = x + ms.margin + in.iconW;
    lay.W += x;
  }
  lay.text = {x, (lay.H - th) / 2, tw, th};

  int n = std::max(in.buttonCount, 0);
  int total = n * ms.buttonW + std::max(n - 1, 0) * ms.buttonGap;
  if (total > lay.W - x) lay.W = x + total + 2 * ms.buttonGap;
  int bx = (lay.W - total) / 2;
  for (int i = 0; i < n; ++i) {
    lay.buttons.push_back({bx, lay.H, ms.buttonW, ms.buttonH});
    bx += ms.buttonW + ms.buttonGap;
  }
  lay.H += ms.belowButtons + ms.buttonH;
  lay.cxDu = DuX(lay.W, in.units.bx);
  lay.cyDu = DuY(lay.H, in.units.by);
  return lay;
}

Rect ToDialogUnits(const Rect& px, const BaseUnits& u) {
  return {DuX(px.x, u.bx), DuY(px.y, u.by), DuX(px.cx, u.bx), DuY(px.cy, u.by)};
}

Point CentreDialog(const Box& work, const Box* visibleFrame, const Box* owner,
                   int dialogW, int dialogH) {
  Box ref = work;
  if (visibleFrame) {
    ref = *visibleFrame;
  } else if (owner) {
    Box cut{std::max(work.left, owner->left), std::max(work.top, owner->top),
            std::min(work.right, owner->right), std::min(work.bottom, owner->bottom)};
    if (cut.left < cut.right && cut.top < cut.bottom) ref = cut;
  }
  return {Place(ref.left, ref.right, dialogW, work.right),
          Place(ref.top, ref.bottom, dialogH, work.bottom)};
}

}  // namespace dove::msg
