// The text driver's option builder: a window that edits a driver string.
//
// The string is read into the builder's switch table and checked first;
// each fault is shown with MESSAGE before the window opens. OK puts the new
// driver string into *driverString and returns true; Cancel (or closing the
// window) leaves it as it was and returns false.
//
//   std::string ds = "/CLIP=OFF /TAB=4";
//   if (win::BuildDriverString(&ds)) SaveDriverString(ds);
#pragma once

#include <string>

namespace dove::win {

bool BuildDriverString(std::string* driverString);

}  // namespace dove::win
