// Decoding a stored block into the window model. Every read goes through
// Reader, which refuses anything outside the buffer; every record offset is
// marked when visited, so a chain that loops back counts as damage rather
// than running forever.
#include <vector>

#include "windows/definitions/window_def.h"
#include "windows/definitions/window_def_find.h"
#include "windows/definitions/window_def_layout.h"

namespace dove::wdef {
namespace {

namespace L = layout;

// Containers in the stored definitions nest a few levels; anything deeper is
// damage, and the bound keeps the recursion's stack small.
constexpr int kMaxDepth = 16;

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size), seen_(size, false) {}

  bool Has(uint32_t offset, uint32_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  bool U8(uint32_t offset, uint8_t* v) const {
    if (!Has(offset, 1)) return false;
    *v = data_[offset];
    return true;
  }
  bool U32(uint32_t offset, uint32_t* v) const {
    if (!Has(offset, 4)) return false;
    const uint8_t* p = data_ + offset;
    *v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return true;
  }
  bool I32(uint32_t offset, int32_t* v) const {
    uint32_t u;
    if (!U32(offset, &u)) return false;
    *v = int32_t(u);
    return true;
  }
  // A string field: the offset at `field`, then the terminated text there.
  bool StringAt(uint32_t field, std::string* s) const {
    uint32_t at;
    if (!U32(field, &at)) return false;
    return Text(at, s);
  }
  bool Text(uint32_t at, std::string* s) const {
    s->clear();
    if (at == 0) return true;
    if (!ValidTarget(at)) return false;
    for (uint32_t i = at; i < size_; ++i) {
      if (data_[i] == 0) {
        s->assign(reinterpret_cast<const char*>(data_ + at), i - at);
        return true;
      }
    }
    return false;
  }
  // Offsets below the body's base point into the two leading bytes.
  bool ValidTarget(uint32_t at) const { return at >= L::kBodyBase && at < size_; }
  // Marks a record start; false when it was visited before.
  bool Visit(uint32_t at) {
    if (seen_[at]) return false;
    seen_[at] = true;
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  std::vector<bool> seen_;
};

bool ReadFont(const Reader& r, uint32_t field, Font* f) {
  uint32_t at;
  if (!r.U32(field, &at)) return false;
  *f = Font{};
  if (at == 0) return true;
  if (!r.ValidTarget(at) || !r.Has(at, L::kFontBlockSize)) return false;
  f->present = true;
  return r.StringAt(at, &f->face) && r.I32(at + 4, &f->points) && r.U32(at + 8, &f->colour) &&
         r.U32(at + 12, &f->style);
}

bool ReadColours(const Reader& r, uint32_t field, Colours* c) {
  uint32_t at;
  if (!r.U32(field, &at)) return false;
  *c = Colours{};
  if (at == 0) return true;
  if (!r.ValidTarget(at) || !r.Has(at, L::kColourBlockSize)) return false;
  c->present = true;
  return r.U32(at, &c->text) && r.U32(at + 4, &c->background) && r.U32(at + 8, &c->selected);
}

bool ReadUse(const Reader& r, uint32_t field, UseVariable* u) {
  uint32_t at;
  if (!r.U32(field, &at)) return false;
  *u = UseVariable{};
  if (at == 0) return true;
  if (!r.ValidTarget(at) || !r.Has(at, L::kUseBlockSize)) return false;
  u->present = true;
  return r.U8(at, &u->type) && r.U32(at + 1, &u->size) && r.U32(at + 5, &u->extra);
}

bool ReadStatusBar(const Reader& r, uint32_t field, StatusBar* s) {
  uint32_t at, count;
  s->zones.clear();
  if (!r.U32(field, &at)) return false;
  if (at == 0) return true;
  if (!r.ValidTarget(at) || !r.U32(at, &count) || count > L::kMaxStatusZones) return false;
  for (uint32_t i = 0; i < count; ++i) {
    int32_t width;
    if (!r.I32(at + 4 + 4 * i, &width)) return false;
    s->zones.push_back(width);
  }
  return true;
}

bool ReadPosition(const Reader& r, uint32_t p, Position* pos) {
  return r.I32(p + L::ctl::kX, &pos->x) && r.I32(p + L::ctl::kY, &pos->y) &&
         r.I32(p + L::ctl::kWidth, &pos->width) && r.I32(p + L::ctl::kHeight, &pos->height);
}

// The fields that follow the position block, by type.
bool ReadTail(const Reader& r, uint8_t type, uint32_t p, Control* c) {
  using namespace L::ctl;
  switch (type) {
    case L::kString:
    case L::kPrompt:
      return r.StringAt(p + kTextShort, &c->text) && ReadFont(r, p + kFontShort, &c->font) &&
             ReadColours(r, p + kColoursShort, &c->colours);
    case L::kImage:
      return r.StringAt(p + kImageName, &c->image);
    case L::kEntry:
    case L::kSpin:
      return r.StringAt(p + kTip, &c->tip) && ReadColours(r, p + kColoursEntry, &c->colours) &&
             r.StringAt(p + kPicture, &c->picture);
    case L::kCheck:
    case L::kOption:
      return r.StringAt(p + kTip, &c->tip) && r.StringAt(p + kText, &c->text);
    case L::kRadio:
    case L::kGroup:
      return r.StringAt(p + kText, &c->text);
    case L::kButton:
      return r.StringAt(p + kText, &c->text) && r.StringAt(p + kIcon, &c->icon);
    default:
      return true;   // sheet, tab: only their children
  }
}

class Decoder {
 public:
  Decoder(const uint8_t* data, size_t size) : r_(data, size) {}

  bool Windows(std::vector<Window>* out) {
    uint32_t at;
    if (!r_.U32(L::kFirstWindow, &at)) return false;
    while (at != 0) {
      Window w;
      if (!OneWindow(at, &w)) return false;
      out->push_back(std::move(w));
      if (!r_.U32(at + L::win::kNext, &at)) return false;
    }
    return true;
  }

  bool OneWindow(uint32_t at, Window* w) {
    using namespace L::win;
    uint8_t type;
    if (!r_.ValidTarget(at) || !r_.Has(at, kSize) || !r_.Visit(at)) return false;
    if (!r_.U8(at + kType, &type) || type != L::kWindow) return false;
    w->recordOffset = at;
    uint32_t first;
    bool ok = r_.U32(at + kAttributes, &w->attributes) &&
              r_.U32(at + kAttributes2, &w->attributes2) && r_.I32(at + kX, &w->position.x) &&
              r_.I32(at + kY, &w->position.y) && r_.I32(at + kWidth, &w->position.width) &&
              r_.I32(at + kHeight, &w->position.height) && r_.U32(at + kFirstControl, &first) &&
              r_.StringAt(at + kLabel, &w->label) && ReadFont(r_, at + kFont, &w->font) &&
              r_.StringAt(at + kTitle, &w->title) &&
              ReadStatusBar(r_, at + kStatusBar, &w->status) &&
              r_.U32(at + kFrame, &w->frame) && r_.U32(at + kTimer, &w->timer) &&
              r_.U8(at + kFlags115, &w->flags115) && r_.U8(at + kFlags116, &w->flags116);
    useCount_ = 0;
    return ok && Chain(first, -1, 0, w);
  }

 private:
  bool Chain(uint32_t at, int parent, int depth, Window* w) {
    if (depth > kMaxDepth) return false;
    while (at != 0) {
      int index;
      if (!OneControl(at, parent, w, &index)) return false;
      uint32_t childField = L::ChildField(uint8_t(w->controls[index].kind));
      if (childField != 0) {
        uint32_t child;
        uint32_t p = L::PositionStart(uint8_t(w->controls[index].kind));
        if (!r_.U32(at + p + childField, &child) || !Chain(child, index, depth + 1, w))
          return false;
      }
      if (!r_.U32(at + L::ctl::kNext, &at)) return false;
    }
    return true;
  }

  bool OneControl(uint32_t at, int parent, Window* w, int* index) {
    using namespace L::ctl;
    uint8_t type;
    if (!r_.ValidTarget(at) || !r_.Visit(at) || !r_.U8(at + kType, &type)) return false;
    uint32_t tail = L::TailSize(type);
    uint32_t p = L::PositionStart(type);
    if (tail == 0 || !r_.Has(at, p + tail)) return false;
    Control c;
    c.kind = Kind(type);
    c.parent = parent;
    bool ok = r_.U32(at + kAttributes, &c.attributes) &&
              r_.U32(at + kAttributes2, &c.attributes2) && r_.I32(at + kField, &c.field) &&
              r_.StringAt(at + kLabel, &c.label) && ReadPosition(r_, at + p, &c.position) &&
              ReadTail(r_, type, at + p, &c);
    if (ok && L::HasUseVariable(type)) ok = ReadUse(r_, at + kUse, &c.use);
    if (!ok) return false;
    if (c.use.present) c.useIndex = useCount_++;
    *index = int(w->controls.size());
    w->controls.push_back(std::move(c));
    return true;
  }

  Reader r_;
  int useCount_ = 0;
};

}  // namespace

bool DecodeBuffer(const uint8_t* buffer, size_t size, Definition* out) {
  out->windows.clear();
  if (buffer == nullptr || size > UINT32_MAX) return false;
  Decoder d(buffer, size);
  if (d.Windows(&out->windows)) return true;
  out->windows.clear();
  return false;
}

bool DecodeBlock(const uint8_t* data, size_t size, Definition* out) {
  *out = Definition{};
  size_t end = 0;
  while (end < size && data[end] != 0) ++end;
  if (end == size) return false;   // no terminated procedure name
  std::vector<uint8_t> buffer = MakeBuffer(data + end + 1, size - end - 1);
  if (!DecodeBuffer(buffer.data(), buffer.size(), out)) return false;
  out->procedure.assign(reinterpret_cast<const char*>(data), end);
  return true;
}

bool DecodeWindowAt(const uint8_t* buffer, size_t size, uint32_t offset, Window* out) {
  *out = Window{};
  if (buffer == nullptr || size > UINT32_MAX) return false;
  Decoder d(buffer, size);
  if (d.OneWindow(offset, out)) return true;
  *out = Window{};
  return false;
}

}  // namespace dove::wdef
