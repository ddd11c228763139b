// stop_probe: calls STOP once and tells what happened.
//
//   stop_probe MESSAGE ASK [hook]
//
// ASK is 0 or 1 (the ask-to-exit flag). With "hook", a StopHook is installed
// that prints "hook ASK MESSAGE" instead of any box. After STOP returns the
// probe prints "returned" and exits 0; Abort ends it inside STOP (exit code
// 0, nothing printed). A shut-down finaliser prints "shut down", so the
// output shows whether the runtime was shut down first. Exit 3: bad usage.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/lifecycle.h"
#include "app/start/runtime_start_win32.h"
#include "runtime/profile/stop.h"
#include "runtime/system_props.h"
#include "runtime/strings/value_stack.h"

namespace {

void PrintingStopHook(bool askExit) {
    std::string message = dove::vstack::PopString();
    std::printf("hook %d %s\n", askExit ? 1 : 0, message.c_str());
}

void SayShutDown() {
    std::printf("shut down\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: stop_probe MESSAGE ASK [hook]\n");
        return 3;
    }
    if (!dove::StartWin32Runtime()) return 0;
    dove::lifecycle::AddFinaliser(&SayShutDown);
    if (argc > 3 && std::strcmp(argv[3], "hook") == 0)
        dove::SetSystemProp(dove::kStopHook, reinterpret_cast<uintptr_t>(&PrintingStopHook));
    dove::Stop(argv[1], argv[2][0] == '1');
    std::printf("returned\n");
    std::fflush(stdout);
    return 0;
}
