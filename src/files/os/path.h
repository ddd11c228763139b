// File names as the runtime completes them: the long and short path forms
// that procedures ask for, the names the drivers open (data-file names), and
// copy and rename of data files with a folder as the target.
//
//   std::string full;
//   if (path::LongPath("c:\\progra~1\\x.txt", &full) == 0) ...  // "C:\Program Files\x.txt"
//   path::ShortPath("C:")                                        // "C:\"
//   std::string resolved;
//   if (int e = path::ResolveDataFileName("data.txt", &resolved)) post e;
//
// Built on the primitives of os_file.h, so the same rules hold natively (with
// "/" paths) and on Windows. Results are system error numbers, or the file
// layer's 2, 3, 5 and 45 where noted.
#pragma once

#include <string>
#include <string_view>

namespace dove::path {

constexpr size_t kMaxPath = 260;   // path buffer, terminator included

// --- Long and short forms ----------------------------------------------------

// The full path of name (trailing blanks clipped, at most 260 characters;
// empty means the current directory), each component replaced by its name
// on disk until the first that does not exist; after a UNC prefix
// (\\server\share) only. On failure *out is the text as given and the result
// is the system's error number (206 for a full path of 260 characters or
// more).
int LongPath(std::string_view name, std::string* out);

// The short form of an existing name. When the system refuses the text (87)
// the form is built from the text itself (EightDotThree); for a name that does
// not exist the text comes back unchanged. "X:" becomes "X:\".
std::string ShortPath(std::string_view name);

// An 8.3 form built from the text alone: "/" becomes "\", blank + , ; = [ ]
// and a ":" other than the second character become "_", each component keeps
// 8 characters before its last "." and 3 after it. At most 143 characters are
// treated.
std::string EightDotThree(std::string_view text);

// The runtime functions procedures call: each clears the thread's errors,
// pops its argument from the value stack and pushes the result. A failing
// LONGPATH posts 300 + the system's error number, or 45 for a full path too
// long for a path buffer, and pushes the text as given.
void LONGPATH();
void SHORTPATH();

// --- Data-file names -----------------------------------------------------------

// The folder under which the drivers place relative data-file names. Empty
// (the default, which the utility keeps) leaves names where they are.
void SetDataDirectory(std::string_view dir);
std::string DataDirectory();

// A name that has no drive and no leading "\" is placed under the data
// directory; then the name is completed to a full path. More than 259
// characters, before or after completing, gives 45; a relative name on
// another drive ("D:x.txt") is completed against that drive's current
// directory.
int ResolveDataFileName(std::string_view name, std::string* out);

// The drivers' COPY and RENAME. The target may name a folder, which then
// receives the source's file name. A source of 260 characters or more, or a
// target that would reach 260, gives 45. Copy overwrites an existing target
// and reports the system's error; rename reports 2, 3, or 5 for any other
// failure.
int CopyDataFile(std::string_view source, std::string_view target);
int RenameDataFile(std::string_view source, std::string_view target);

}  // namespace dove::path
