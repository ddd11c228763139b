#pragma once

namespace dove::app {

// Makes ARGUMENT read the process's own command line.
void InstallWin32CommandLine();

}  // namespace dove::app
