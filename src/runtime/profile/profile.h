// Profile (ini) access: GETINI and PUTINI.
//
// Both take their four strings from the calling thread's value stack, pushed
// in argument order (the file name ends on top), and clip their trailing
// blanks. A value or default keeps at most 1023 characters, a file name 259.
// An empty file name means WIN.INI; any other name is a private ini file that
// the platform resolves (a name without a directory lives in the Windows
// directory, ".\name" in the current one).
//
// PUTINI writes one line of the file: each line break (CR or LF) in a section,
// entry or value becomes a blank, so nothing after it is lost and nothing
// starts a line of its own; the result is clipped again.
//
// PUTINI writes nothing at all for a name that would not come back as the
// same name when the file is read (see IniEntryNameReadsBack): such a line
// would read as a section header, a comment or another entry, and so hide or
// damage what follows it in a file that other programs own.
//
// PUTINI's omitted flags are real omissions: an omitted entry deletes the
// whole section and an omitted value deletes the entry. Their places on the
// stack are still pushed (and ignored), so the stack always holds four.
// Neither operation posts an error; a missing file or entry reads as the
// default. PUTINI answers whether the platform took the write (false also for
// a name it refused), for callers that must tell a script so; it shows and
// posts nothing either way.
//
//   std::string dir = dove::GetIni("Options", "Folder", "", iniFile);
//   dove::PutIni("Options", "Folder", "C:\\WORK", iniFile);
//   dove::PutIni("Options", std::nullopt, std::nullopt, iniFile);   // section gone
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dove {

constexpr size_t kIniValueLimit = 1023;
constexpr size_t kIniFileLimit = 259;

std::string GETINI();
bool PUTINI(bool entryOmitted, bool valueOmitted);

// Typed wrappers: push the four strings and run the operation.
std::string GetIni(std::string_view section, std::string_view entry, std::string_view def,
                   std::string_view file);
bool PutIni(std::string_view section, std::optional<std::string_view> entry,
            std::optional<std::string_view> value, std::string_view file);

// Whether a name written as an entry (or a section) comes back as the same
// name. The file is read line by line with the ends of each line trimmed: an
// entry that is blank, begins with "[" or ";" or holds "=", and a section
// that holds "]", would read as something else.
bool IniEntryNameReadsBack(std::string_view entry);
bool IniSectionNameReadsBack(std::string_view section);

// A value as the profile functions give it back once PUTINI has written it:
// line breaks as blanks, both ends trimmed of white space, and one pair of
// matching enclosing quotes (single or double) removed.
std::string IniValueAsReadBack(std::string_view value);

namespace profile {

// The platform's profile functions, shaped as the Win32 ones. A null entry or
// value in a write is the deletion request; reads fill buf (size bytes, with
// its zero) and return the number of characters.
struct Platform {
    uint32_t (*readWinIni)(const char* section, const char* entry, const char* def, char* buf,
                           uint32_t size);
    uint32_t (*readPrivate)(const char* section, const char* entry, const char* def, char* buf,
                            uint32_t size, const char* file);
    // True when the write was taken.
    bool (*writeWinIni)(const char* section, const char* entryOrNull, const char* valueOrNull);
    bool (*writePrivate)(const char* section, const char* entryOrNull, const char* valueOrNull,
                         const char* file);
};
// The native default has no settings store: reads give the default, writes
// are dropped. Native tests install an in-memory store; Windows installs the
// real functions at runtime start.
void SetPlatform(const Platform& platform);
Platform CurrentPlatform();
Platform DefaultPlatform();
void InstallWin32Platform();   // defined only in the Windows shell library

}  // namespace profile
}  // namespace dove
