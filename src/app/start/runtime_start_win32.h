// Start of the runtime in a Windows process: platform sources of the error
// layer, the locale settings and the lifecycle. Probes call it too, so that
// they run the runtime as the program does.
#pragma once

namespace dove {

// False when the runtime cannot start; the process then ends with code 0.
bool StartWin32Runtime();

}  // namespace dove
