// The file names the text driver works with: the data-file name of OPEN,
// CREATE and REMOVE, and the targets of COPY and RENAME. Each returns 0 or
// the file-layer error (45 for a name too long).
#pragma once

#include <string>
#include <string_view>

namespace dove::files {

int ResolveDataName(std::string_view name, std::string* out);
int RenameDataFile(std::string_view source, std::string_view target);
int CopyDataFile(std::string_view source, std::string_view target);

}  // namespace dove::files
