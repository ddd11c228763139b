// Windows that a module declares for its whole life: made by the module's
// initialiser at program start, destroyed by its finaliser at the end.
// Declaring keeps the names and use variables only; nothing is created on
// the screen until a procedure opens the window.
//
//   win::DeclareModuleWindow("Install$WorkLog", "WORKLOG$NOWINDOW");
#pragma once

#include <string>
#include <vector>

namespace dove::win {

class RuntimeWindow;

// Declares the window and registers its destruction with the runtime's
// shut-down. Returns the window object (owned by the module list).
RuntimeWindow* DeclareModuleWindow(const std::string& procedure, const std::string& label,
                                   std::vector<void*> useAddresses = {});
// The module's declared window of that label (any case), or null.
RuntimeWindow* ModuleWindow(const std::string& label);

}  // namespace dove::win
