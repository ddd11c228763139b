// user32_floor: the floor of every GUI program under Wine, for the window
// bench: loads user32 and returns at once.
#include <windows.h>

int main() {
  // A call into user32, so that the library is loaded and initialised.
  return GetSystemMetrics(SM_CXSCREEN) > 0 ? 0 : 1;
}
