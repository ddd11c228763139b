// An in-memory dialog template (DLGTEMPLATE with DS_SETFONT and its items),
// written item by item into movable global memory.
//
// Each write first grows the memory by the item's size made up to a multiple
// of 4, so every item starts DWORD-aligned as the dialog manager requires.
// Strings are converted from the ANSI code page to UTF-16. When the memory
// cannot be allocated or grown, everything held so far is freed and the
// runtime's out-of-memory fault is raised.
//
//   TemplateWriter t;
//   t.Header(style, "Caption", 8, "MS Shell Dlg");
//   t.Item(kClassButton, WS_CHILD | WS_VISIBLE, {x, y, cx, cy}, IDOK, "OK");
//   t.Finish(cxDu, cyDu);
//   HGLOBAL h = t.Release();   // the caller frees it
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/message/message_layout.h"

namespace dove::msg {

enum : WORD {
  kClassButton = 0x0080,
  kClassEdit = 0x0081,
  kClassStatic = 0x0082,
};

class TemplateWriter {
 public:
  TemplateWriter() = default;
  TemplateWriter(const TemplateWriter&) = delete;
  TemplateWriter& operator=(const TemplateWriter&) = delete;
  ~TemplateWriter();

  // Header with position (0, 0), size (0, 0) and no items for now; no menu,
  // the default dialog class.
  void Header(DWORD style, const char* caption, WORD pointSize, const char* face);
  // One item; rect is in dialog units.
  void Item(WORD classAtom, DWORD style, const Rect& du, WORD id, const char* title);
  // Writes the item count and the dialog size (dialog units) into the header.
  void Finish(int cxDu, int cyDu);

  HGLOBAL Handle() const { return mem_; }
  size_t Size() const { return size_; }
  int ItemCount() const { return items_; }
  HGLOBAL Release();

 private:
  // Grows by `bytes` rounded up to 4 and returns the locked address of the
  // new, zeroed space. Raises the out-of-memory fault on failure.
  BYTE* Grow(size_t bytes);
  // Writes s as UTF-16 with its terminator at p; returns the bytes written.
  static size_t PutString(BYTE* p, const char* s, int wideChars);
  static int WideLength(const char* s);

  HGLOBAL mem_ = nullptr;
  size_t size_ = 0;
  int items_ = 0;
};

}  // namespace dove::msg
