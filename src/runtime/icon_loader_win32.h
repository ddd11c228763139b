// Icons for the message dialog: system icons by number and icons by name.
//
// A name is looked up first among the program's icon resources, then as an
// icon file. System and resource icons are shared (never destroyed); an icon
// read from a file belongs to the LoadedIcon and is destroyed with it.
//
//   LoadedIcon icon = LoadNamedIcon("WORKLOG");
//   if (icon) DrawIcon(dc, 0, 0, icon.handle());
#pragma once

#include <windows.h>

namespace dove {

class LoadedIcon {
 public:
  LoadedIcon() = default;
  LoadedIcon(HICON icon, bool owned);
  LoadedIcon(LoadedIcon&& other) noexcept;
  LoadedIcon& operator=(LoadedIcon&& other) noexcept;
  LoadedIcon(const LoadedIcon&) = delete;
  LoadedIcon& operator=(const LoadedIcon&) = delete;
  ~LoadedIcon();

  explicit operator bool() const { return icon_ != nullptr; }
  HICON handle() const { return icon_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  void Reset();

  HICON icon_ = nullptr;
  bool owned_ = false;
  int width_ = 0;
  int height_ = 0;
};

// A system icon (IDI_HAND 32513 ... IDI_ASTERISK 32516), shared, at the
// system's default icon size. Empty when the system has no such icon.
LoadedIcon LoadSystemIcon(int resourceId);

// The program's icon resource of that name, else the icon file of that name
// (relative names from the current directory). Empty when neither exists.
LoadedIcon LoadNamedIcon(const char* name);

}  // namespace dove
