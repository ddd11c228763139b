// builder_probe: the text driver's option builder on one driver string.
//
//   builder_probe "DRIVER STRING"
//
// Shows the string's validation messages, then the builder window. OK prints
// the new driver string as one line; Cancel prints nothing. Exit code 0; 3
// for a bad command line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/lifecycle.h"
#include "app/start/runtime_start_win32.h"
#include "windows/controls/driver_string_builder_win32.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: builder_probe \"DRIVER STRING\"\n");
    return 3;
  }
  if (!dove::StartWin32Runtime()) return 0;
  std::string driverString = argv[1];
  if (dove::win::BuildDriverString(&driverString)) std::printf("%s\n", driverString.c_str());
  std::fflush(stdout);
  dove::lifecycle::Shutdown();
  return 0;
}
