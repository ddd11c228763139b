// Steps from the prepared content to the in-memory dialog template: font and
// base units, text measurement, icon, layout and the items in order.
#include <windows.h>

#include "runtime/message/message_dialog.h"
#include "runtime/message/message_layout.h"
#include "runtime/message/message_record_win32.h"
#include "runtime/message/message_template_win32.h"
#include "runtime/system_props.h"

namespace dove {

namespace {

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

class ScreenDc {
 public:
  explicit ScreenDc(HFONT font) : dc_(GetDC(nullptr)) {
    old_ = SelectObject(dc_, font);
  }
  ~ScreenDc() {
    SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The window layer's default font, or the 8-point "Helv" that the runtime's
// option flags ask for (owned by the record then).
void ChooseFont(MessageRecord& rec) {
  if (RuntimeOptions() & kOptionHelvFont) {
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    rec.font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Helv");
    rec.ownsFont = rec.font != nullptr;
  }
  if (!rec.font) rec.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

LOGFONTA FontInfo(HFONT font) {
  LOGFONTA lf = {};
  GetObjectA(font, sizeof lf, &lf);
  return lf;
}

// Base units on a plain variant of the font: weights and decorations would
// change the letters' width but not the dialog's grid.
msg::BaseUnits MeasureBaseUnits(HFONT font) {
  LOGFONTA lf = FontInfo(font);
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = FALSE;
  HFONT plain = CreateFontIndirectA(&lf);
  msg::BaseUnits u;
  {
    ScreenDc dc(plain ? plain : font);
    SIZE size = {};
    GetTextExtentPoint32A(dc.get(), msg::kBaseUnitLetters, 52, &size);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.get(), &tm);
    u.bx = msg::BaseUnitX(size.cx);
    u.by = tm.tmHeight > 0 ? tm.tmHeight : 1;
  }
  if (plain) DeleteObject(plain);
  return u;
}

RECT WorkArea() {
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

struct FontFace {
  WORD pointSize = 8;
  char face[LF_FACESIZE] = {};
};

// Measures the text at the wrap width and reads the face the device context
// really uses, which is what the template must name.
RECT MeasureText(HFONT font, const char* text, int wrap, FontFace* ff) {
  ScreenDc dc(font);
  RECT r = {0, 0, wrap, 0};
  DrawTextA(dc.get(), text, -1, &r, kMeasureFlags);
  int height = FontInfo(font).lfHeight;
  if (height < 0) height = -height;
  ff->pointSize = static_cast<WORD>(MulDiv(height, 72, GetDeviceCaps(dc.get(), LOGPIXELSY)));
  GetTextFaceA(dc.get(), LF_FACESIZE, ff->face);
  return r;
}

void LoadMessageIcon(MessageRecord& rec, const MessageContent& c) {
  if (c.icon.kind == msg::IconRequest::kSystem)
    rec.icon = LoadSystemIcon(c.icon.systemId);
  else if (c.icon.kind == msg::IconRequest::kNamed)
    rec.icon = LoadNamedIcon(c.icon.name);
  else if (int id = msg::StandardIconId(c.internalStyle))
    rec.icon = LoadSystemIcon(id);
}

DWORD HeaderStyle(uint32_t internalStyle) {
  DWORD style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_NOIDLEMSG |
                DS_MODALFRAME | DS_SETFONT;
  if (internalStyle & kInternalSystemModal) style |= DS_SYSMODAL;
  return style;
}

DWORD TextStyle(bool copyable, bool scroll) {
  if (!copyable) return WS_CHILD | WS_VISIBLE | SS_NOPREFIX;
  DWORD style = WS_CHILD | WS_VISIBLE | ES_READONLY | ES_MULTILINE;
  if (scroll) style |= WS_VSCROLL;
  return style;
}

void WriteButtons(MessageRecord& rec, msg::TemplateWriter& t, const MessageContent& c,
                  const msg::Layout& lay, const msg::BaseUnits& u) {
  rec.buttons.Clear();
  for (size_t i = 0; i < c.buttons.size(); ++i) {
    const msg::ButtonSpec& b = c.buttons[i];
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (b.isDefault) style |= BS_DEFPUSHBUTTON;
    t.Item(msg::kClassButton, style, msg::ToDialogUnits(lay.buttons[i], u),
           static_cast<WORD>(b.id), b.caption.c_str());
    rec.buttons.Add(b.id, b.result);
  }
  rec.focusId = msg::FocusId(c.buttons);
}

}  // namespace

void BuildMessageTemplate(MessageRecord& rec, const MessageContent& c) {
  ChooseFont(rec);
  msg::LayoutInput in;
  in.units = MeasureBaseUnits(rec.font);
  in.measures = msg::ComputeMeasures(in.units);
  RECT work = WorkArea();
  int wrap = msg::WrapWidth(work.right - work.left, in.measures.minWrap);
  FontFace ff;
  RECT text = MeasureText(rec.font, c.text, wrap, &ff);
  in.textRight = text.right;
  in.textBottom = text.bottom;
  in.copyable = (c.internalStyle & kInternalCopyable) != 0;
  in.halfWorkH = (work.bottom - work.top) / 2;
  in.scrollBarW = GetSystemMetrics(SM_CXVSCROLL);
  LoadMessageIcon(rec, c);
  in.hasIcon = static_cast<bool>(rec.icon);
  in.iconW = rec.icon.width();
  in.iconH = rec.icon.height();
  in.buttonCount = static_cast<int>(c.buttons.size());
  // Frame and caption around the client area, and the rounding up to dialog
  // units, which adds less than a base unit.
  in.maxClientW = (work.right - work.left) - 2 * GetSystemMetrics(SM_CXFIXEDFRAME) - in.units.bx;
  in.maxClientH = (work.bottom - work.top) - GetSystemMetrics(SM_CYCAPTION) -
                  2 * GetSystemMetrics(SM_CYFIXEDFRAME) - in.units.by;
  msg::Layout lay = msg::ComputeLayout(in);

  msg::TemplateWriter t;
  t.Header(HeaderStyle(c.internalStyle), c.caption, ff.pointSize, ff.face);
  if (in.hasIcon)
    t.Item(msg::kClassStatic, WS_CHILD | WS_VISIBLE | SS_ICON,
           msg::ToDialogUnits(lay.icon, in.units), kMessageIconId, "");
  t.Item(in.copyable ? msg::kClassEdit : msg::kClassStatic, TextStyle(in.copyable, lay.scroll),
         msg::ToDialogUnits(lay.text, in.units), static_cast<WORD>(kMessageTextId), c.text);
  WriteButtons(rec, t, c, lay, in.units);
  t.Finish(lay.cxDu, lay.cyDu);
  rec.templ = t.Release();
}

MessageRecord::~MessageRecord() {
  if (templ) GlobalFree(templ);
  if (font && ownsFont) DeleteObject(font);
}

}  // namespace dove
