// INCLUDE File FileToInclude: appends "#INCLUDE('FileToInclude')" to the
// template File, after an empty line unless its last line is already empty,
// and only when no line contains exactly that text. Reports nothing; a file
// that cannot be opened is left alone (nothing is created).
#pragma once

#include "app/app_services.h"
#include "files/file_object.h"

namespace dove::app {

void IncludeCommand(AppServices& services);

// The steps of the command, for callers that hold the names already.
void IncludeInto(const char* fileName, const char* includeName);

// This thread's target-file object (for tests).
files::FileObject* IncludeTarget();

}  // namespace dove::app
