#include "runtime/message/message_template_win32.h"

#include <cstring>

#include "runtime/errors/fault.h"

namespace dove::msg {

namespace {

constexpr size_t kFixedHeader = 24;  // DLGTEMPLATE, menu, class, point size
constexpr size_t kFixedItem = 24;    // DLGITEMTEMPLATE, class, creation data
constexpr int kOutOfMemoryFault = 5;

size_t RoundUp4(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }

void PutWord(BYTE*& p, WORD w) {
  std::memcpy(p, &w, sizeof w);
  p += sizeof w;
}

void PutDword(BYTE*& p, DWORD d) {
  std::memcpy(p, &d, sizeof d);
  p += sizeof d;
}

WORD Clamp16(int v) { return static_cast<WORD>(v < 0 ? 0 : (v > 0x7FFF ? 0x7FFF : v)); }

}  // namespace

TemplateWriter::~TemplateWriter() {
  if (mem_) GlobalFree(mem_);
}

HGLOBAL TemplateWriter::Release() {
  HGLOBAL h = mem_;
  mem_ = nullptr;
  size_ = 0;
  return h;
}

int TemplateWriter::WideLength(const char* s) {
  if (!s || !*s) return 0;
  int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
  return n > 0 ? n - 1 : 0;
}

size_t TemplateWriter::PutString(BYTE* p, const char* s, int wideChars) {
  if (wideChars > 0)
    MultiByteToWideChar(CP_ACP, 0, s, -1, reinterpret_cast<WCHAR*>(p), wideChars + 1);
  // The memory is zeroed, so the terminator is already there.
  return 2 * static_cast<size_t>(wideChars) + 2;
}

BYTE* TemplateWriter::Grow(size_t bytes) {
  size_t offset = size_;
  size_t grown = offset + RoundUp4(bytes);
  HGLOBAL h = mem_ ? GlobalReAlloc(mem_, grown, GMEM_MOVEABLE | GMEM_ZEROINIT)
                   : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, grown);
  if (!h) {
    if (mem_) GlobalFree(mem_);
    mem_ = nullptr;
    size_ = 0;
    InternalFault(kOutOfMemoryFault, "message dialog template");
  }
  mem_ = h;
  size_ = grown;
  // The caller writes into the locked block and unlocks it through Finish()
  // or the next Grow(); a movable block must not stay locked across a realloc.
  BYTE* base = static_cast<BYTE*>(GlobalLock(mem_));
  return base + offset;
}

void TemplateWriter::Header(DWORD style, const char* caption, WORD pointSize,
                            const char* face) {
  int captionLen = WideLength(caption);
  int faceLen = WideLength(face);
  BYTE* p = Grow(kFixedHeader + 2 * static_cast<size_t>(captionLen + faceLen) + 4);
  PutDword(p, style);
  PutDword(p, 0);      // extended style
  PutWord(p, 0);       // item count, see Finish
  PutWord(p, 0);       // x
  PutWord(p, 0);       // y
  PutWord(p, 0);       // cx, see Finish
  PutWord(p, 0);       // cy, see Finish
  PutWord(p, 0);       // no menu
  PutWord(p, 0);       // default dialog class
  p += PutString(p, caption, captionLen);
  PutWord(p, pointSize);
  PutString(p, face, faceLen);
  GlobalUnlock(mem_);
}

void TemplateWriter::Item(WORD classAtom, DWORD style, const Rect& du, WORD id,
                          const char* title) {
  int titleLen = WideLength(title);
  BYTE* p = Grow(kFixedItem + 2 * static_cast<size_t>(titleLen) + 2);
  PutDword(p, style);
  PutDword(p, 0);  // extended style
  PutWord(p, Clamp16(du.x));
  PutWord(p, Clamp16(du.y));
  PutWord(p, Clamp16(du.cx));
  PutWord(p, Clamp16(du.cy));
  PutWord(p, id);
  PutWord(p, 0xFFFF);  // class given by atom
  PutWord(p, classAtom);
  p += PutString(p, title, titleLen);
  PutWord(p, 0);  // no creation data
  GlobalUnlock(mem_);
  ++items_;
}

void TemplateWriter::Finish(int cxDu, int cyDu) {
  if (!mem_) return;
  auto* dlg = static_cast<DLGTEMPLATE*>(GlobalLock(mem_));
  dlg->cdit = static_cast<WORD>(items_);
  dlg->cx = static_cast<short>(Clamp16(cxDu));
  dlg->cy = static_cast<short>(Clamp16(cyDu));
  GlobalUnlock(mem_);
}

}  // namespace dove::msg
