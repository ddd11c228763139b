#include "runtime/icon_loader_win32.h"

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

LoadedIcon LoadNamedIcon(const char* name) {
  if (!name || !*name) return {};
  HANDLE h = LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, 0, 0,
                        LR_SHARED | LR_DEFAULTSIZE);
  if (h) return LoadedIcon(static_cast<HICON>(h), false);
  h = LoadImageA(nullptr, name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
  return LoadedIcon(static_cast<HICON>(h), true);
}

}  // namespace dove
