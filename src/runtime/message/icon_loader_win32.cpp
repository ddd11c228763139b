#include "runtime/message/icon_loader_win32.h"

#include <string>
#include <utility>

namespace dove {

namespace {

// The icon's size from its bitmaps; a monochrome icon keeps its image and
// mask in one bitmap of twice the height.
void MeasureIcon(HICON icon, int* w, int* h) {
  *w = GetSystemMetrics(SM_CXICON);
  *h = GetSystemMetrics(SM_CYICON);
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return;
  BITMAP bm = {};
  HBITMAP measured = info.hbmColor ? info.hbmColor : info.hbmMask;
  if (measured && GetObjectA(measured, sizeof bm, &bm)) {
    *w = bm.bmWidth;
    *h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
}

}  // namespace

LoadedIcon::LoadedIcon(HICON icon, bool owned) : icon_(icon), owned_(owned) {
  if (icon_) MeasureIcon(icon_, &width_, &height_);
}

LoadedIcon::LoadedIcon(LoadedIcon&& other) noexcept { *this = std::move(other); }

LoadedIcon& LoadedIcon::operator=(LoadedIcon&& other) noexcept {
  if (this != &other) {
    Reset();
    std::swap(icon_, other.icon_);
    std::swap(owned_, other.owned_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
  }
  return *this;
}

LoadedIcon::~LoadedIcon() { Reset(); }

void LoadedIcon::Reset() {
  if (icon_ && owned_) DestroyIcon(icon_);
  icon_ = nullptr;
  owned_ = false;
  width_ = height_ = 0;
}

LoadedIcon LoadSystemIcon(int resourceId) {
  HANDLE h = LoadImageA(nullptr, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 0, 0,
                        LR_SHARED | LR_DEFAULTSIZE);
  return LoadedIcon(static_cast<HICON>(h), false);
}

int BuiltInIconId(std::string_view name) {
  if (name.size() != 4 || static_cast<unsigned char>(name[0]) != 0xFF || name[1] != 0x02)
    return 0;
  int numberPlusOne = static_cast<unsigned char>(name[2]) | static_cast<unsigned char>(name[3]) << 8;
  return numberPlusOne > 1 ? numberPlusOne - 1 : 0;
}

LoadedIcon LoadNamedIcon(std::string_view name, int size, HMODULE module) {
  if (name.empty()) return {};
  // Explicit sizes are not shared: the shared cache hands back whichever size
  // of a resource was loaded first.
  const UINT shareOrSize = size > 0 ? 0 : LR_SHARED | LR_DEFAULTSIZE;
  const bool owned = size > 0;
  HINSTANCE program = GetModuleHandleA(nullptr);
  if (!module) module = program;
  if (int id = BuiltInIconId(name)) {
    HANDLE h = LoadImageA(program, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, shareOrSize);
    return LoadedIcon(static_cast<HICON>(h), owned);
  }
  // A name with a zero byte in it cannot be a resource or file name.
  if (name.find('\0') != std::string_view::npos) return {};
  const std::string text(name);
  HANDLE h = LoadImageA(module, text.c_str(), IMAGE_ICON, size, size, shareOrSize);
  if (h) return LoadedIcon(static_cast<HICON>(h), owned);
  const UINT fromFile = LR_LOADFROMFILE | (size > 0 ? 0 : LR_DEFAULTSIZE);
  h = LoadImageA(nullptr, text.c_str(), IMAGE_ICON, size, size, fromFile);
  return LoadedIcon(static_cast<HICON>(h), true);
}

LoadedIcon LoadNamedIcon(const char* name, int size) {
  return name ? LoadNamedIcon(std::string_view(name), size) : LoadedIcon();
}

}  // namespace dove
