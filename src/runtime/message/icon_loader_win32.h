// Icons for the message dialog and the controls: system icons by number and
// icons by name.
//
// A name is looked up first among the program's icon resources, then as an
// icon file. A stored icon value 0xFF 0x02 followed by a number plus one (low
// byte first) names one of the runtime's built-in icons, which are icon
// resources of the program by number (resources/icon_ids.h): 0x7F07 the
// forward arrow, 0x7F83 the back arrow of the page buttons.
//
// Icons at the default size are shared (never destroyed); an icon read from a
// file or at an explicit size belongs to the LoadedIcon and is destroyed with
// it.
//
//   LoadedIcon icon = LoadNamedIcon("ZERU.Ico");
//   if (icon) DrawIcon(dc, 0, 0, icon.handle());
//   LoadedIcon small = LoadNamedIcon(std::string("\xFF\x02\x07\x7F", 4), 16);
#pragma once

#include <windows.h>

#include <string_view>

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

// A built-in icon (0xFF 0x02 and the number plus one), else the icon
// resource of that name in `module` (null: the main program's), else the icon
// file of that name (relative names from the current directory). size 0 is
// the system's default icon size, else the width and height in pixels. Empty
// when none of them exists. Built-in icons are the runtime's own and always
// come from the main program.
LoadedIcon LoadNamedIcon(std::string_view name, int size = 0, HMODULE module = nullptr);
// The same for a zero-terminated name; a null name gives no icon.
LoadedIcon LoadNamedIcon(const char* name, int size = 0);

// The resource number that a built-in icon value names, or 0 when the name is
// no such value (or names number 0).
int BuiltInIconId(std::string_view name);

}  // namespace dove
