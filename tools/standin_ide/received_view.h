// The stand-in's window content: a list view that shows a person what the
// IDE was given. Newest first, the DDE executes it received with their
// answer; below them the entries of its ini file that the commands write
// (User Menus, User Applications, the library path), read again whenever
// the window is shown or refreshed with F5.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// Makes the list view filling `parent`; false when the control cannot be made.
bool CreateReceivedView(HWND parent);
// Fits the list view to the parent's client area.
void ResizeReceivedView(HWND parent);
// Puts one received execute and its answer at the top.
void AddReceivedExecute(const std::string& text, const std::string& answer);
// Reads the ini file again (the IDE's own, under the root WIN.INI names).
void RefreshIniEntries();
// True for the key that asks for a refresh.
inline bool IsRefreshKey(WPARAM vk) { return vk == VK_F5; }

}  // namespace standin
