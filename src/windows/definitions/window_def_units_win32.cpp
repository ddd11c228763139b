#include "windows/definitions/window_def_units_win32.h"

#include "runtime/message/message_layout.h"

namespace dove::wdef {
namespace {

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

// Measured on a plain variant of the font, as the message dialog does: bold
// or italic letters would change bx but not the window's grid.
UnitScale MeasureUnitScale(HFONT font) {
  UnitScale s;
  LOGFONTA lf = {};
  if (font) GetObjectA(font, sizeof lf, &lf);
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = FALSE;
  HFONT plain = font ? CreateFontIndirectA(&lf) : nullptr;
  ScreenDc dc;
  if (!dc.get()) return s;
  s.logPixelsX = GetDeviceCaps(dc.get(), LOGPIXELSX);
  s.logPixelsY = GetDeviceCaps(dc.get(), LOGPIXELSY);
  HGDIOBJ old = SelectObject(dc.get(), plain ? plain : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {};
  GetTextExtentPoint32A(dc.get(), msg::kBaseUnitLetters, 52, &size);
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc.get(), &tm);
  SelectObject(dc.get(), old);
  if (plain) DeleteObject(plain);
  s.bx = msg::BaseUnitX(size.cx);
  s.by = tm.tmHeight > 0 ? tm.tmHeight : 1;
  return s;
}

HFONT CreateDefinitionFont(const Font& font, const Font& parent) {
  if (!font.present) return nullptr;
  const std::string& face = font.face.empty() ? parent.face : font.face;
  int points = font.points != 0 ? font.points : (parent.points != 0 ? parent.points : 8);
  ScreenDc dc;
  int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
  LOGFONTA lf = {};
  lf.lfHeight = -MulDiv(points, dpi, 72);
  uint32_t weight = font.style & kWeightMask;
  if (weight == 0) weight = parent.style & kWeightMask;
  lf.lfWeight = weight != 0 ? LONG(weight) : FW_NORMAL;
  lf.lfItalic = (font.style & kItalic) != 0;
  lf.lfUnderline = (font.style & kUnderline) != 0;
  lf.lfStrikeOut = (font.style & kStrikeOut) != 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(lf.lfFaceName, face.empty() ? "MS Shell Dlg" : face.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

}  // namespace dove::wdef
