// message_probe: shows one MESSAGE and prints what it returned.
//
//   message_probe TEXT CAPTION ICON BUTTONS DEFAULT STYLE [ERROR]
//
// The six arguments are MESSAGE's, as the C runtime splits the command line
// ("" is an empty argument). ICON is empty (no icon), "exclamation" or
// "information" (the system icons, passed as their stored code), "next" or
// "back" (the built-in page-button arrows, passed as their stored values), or
// any other name, which MESSAGE resolves as an icon resource or an icon file. BUTTONS,
// DEFAULT and STYLE are passed as MESSAGE takes them (BUTTONS as text).
//
// With ERROR, error number ERROR is posted before MESSAGE runs, and after the
// result line a second line "error <code> <text>" shows the error state that
// MESSAGE left behind.
//
// Prints the returned value as one decimal line and exits 0; exits 3 when the
// command line has too few arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/errors/error_record.h"
#include "runtime/message/message_dialog.h"
#include "app/start/runtime_start_win32.h"
#include "runtime/strings/value_stack.h"

namespace {

std::string IconArgument(const std::string& icon) {
  if (icon == "exclamation") return dove::SystemIconCode(dove::kIconExclamation);
  if (icon == "information") return dove::SystemIconCode(dove::kIconInformation);
  if (icon == "next") return std::string("\xFF\x02\x07\x7F", 4);
  if (icon == "back") return std::string("\xFF\x02\x83\x7F", 4);
  return icon;
}

void Push(const std::string& s) { dove::vstack::PushCopy(s.data(), s.size()); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr, "usage: message_probe TEXT CAPTION ICON BUTTONS DEFAULT STYLE [ERROR]\n");
    return 3;
  }
  if (!dove::StartWin32Runtime()) return 0;
  bool postError = argc > 7;
  if (postError) dove::err::Post(std::atoi(argv[7]));

  Push(argv[4]);
  Push(IconArgument(argv[3]));
  Push(argv[2]);
  Push(argv[1]);
  int32_t result = dove::MESSAGE(static_cast<int32_t>(std::strtol(argv[5], nullptr, 10)),
                                 static_cast<uint32_t>(std::strtoul(argv[6], nullptr, 10)));
  std::printf("%d\n", static_cast<int>(result));
  if (postError) std::printf("error %d %s\n", dove::err::Code(), dove::err::Text().c_str());
  std::fflush(stdout);
  return 0;
}
