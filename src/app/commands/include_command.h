// INCLUDE File FileToInclude: appends "#INCLUDE('FileToInclude')" to the
// template File, after an empty line unless its last line is already empty,
// and only when no line contains exactly that text. Reports nothing; a file
// that cannot be opened is left alone (nothing is created). An include line
// longer than a template line can hold is not written; a message says so.
#pragma once

#include <string>
#include <string_view>

#include "app/start/app_services.h"
#include "files/object/file_object.h"

namespace dove::app {

extern const char kIncludeTooLongCaption[];

void IncludeCommand(AppServices& services);

// What became of the line. Only kLineTooLong is shown to the user; the
// others are noted for the exit code of an unattended run.
enum class IncludeResult { kDone, kMissingName, kLineTooLong, kOpenFailed, kWriteFailed };

// The steps of the command, for callers that hold the names already.
IncludeResult IncludeInto(const char* fileName, const char* includeName);

// The message for an include line that does not fit, with the names as given.
std::string IncludeTooLongText(std::string_view fileName, std::string_view includeName);

// This thread's target-file object (for tests).
files::FileObject* IncludeTarget();

}  // namespace dove::app
