// Every name that the Tovaro IDE owns, in one place.
//
// The IDE registers itself in WIN.INI, keeps its settings in its own ini
// file and serves a DDE service; the utility reads and writes those names
// and nothing else of the IDE. Nothing outside this header spells them:
// commands, the stand-in IDE and the tests all take them from here.
#pragma once

namespace dove::ide {

// WIN.INI: where the IDE records itself. The Enterprise section (two blanks
// before "Enterprise") wins over the plain one.
inline constexpr char kWinIniEnterpriseSection[] = "Tovaro 6.0  Enterprise Edition";
inline constexpr char kWinIniSection[] = "Tovaro 6.0";
inline constexpr char kWinIniRootEntry[] = "root";        // root folder, with a trailing "\"
inline constexpr char kWinIniExeNameEntry[] = "exename";  // the executable's full path

// The utility's own overrides, in a private ini file without a directory
// (so in the Windows directory).
inline constexpr char kOwnIniFile[] = "DOVE60.ini";
inline constexpr char kOwnIniSection[] = "Tovaro";
inline constexpr char kOwnRootEntry[] = "root";
inline constexpr char kOwnExeNameEntry[] = "ExeName";
inline constexpr char kOwnIniFileEntry[] = "IniFile";

// The IDE's ini file, below its root folder unless overridden.
inline constexpr char kDefaultIniFile[] = "Bin\\T60ee.ini";

// Sections and entries of the IDE's ini file that the commands write.
inline constexpr char kUserMenusSection[] = "User Menus";  // entries "1" to "100"
inline constexpr int kUserMenuSlots = 100;
inline constexpr char kUserApplicationsSection[] = "User Applications";
inline constexpr char kPathsSection[] = "Paths";
inline constexpr char kLibsrcEntry[] = "Libsrc";
inline constexpr char kEnvironmentSection[] = "Environment";
inline constexpr char kAutoPickEntry[] = "AutoPick";       // "on" or "off"; missing is "on"

// The DDE service and its one command: kRegisterCommandStart, the template
// file name, kRegisterCommandEnd.
inline constexpr char kDdeService[] = "TovaroWin";
inline constexpr char kRegisterCommandStart[] = "[RegisterTemplateChain(";
inline constexpr char kRegisterCommandEnd[] = ",0)]";

}  // namespace dove::ide
