#include "runtime/runtime_start_win32.h"

#include <windows.h>

#include "runtime/lifecycle.h"

namespace dove {

bool StartWin32Runtime() {
    lifecycle::Start();
    return true;
}

}  // namespace dove
