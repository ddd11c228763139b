// Reading the locale settings in a Windows process: the WIN.INI section
// "intl" and the environment file beside the program, fed to the portable
// loader. Called once at start-up, before any other thread runs.
#pragma once

namespace dove::locale {

void LoadWin32Settings();

}  // namespace dove::locale
