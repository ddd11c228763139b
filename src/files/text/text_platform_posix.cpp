#include <cstdio>

#include "files/text/text_platform.h"

namespace dove::files {

// Natively there is no OEM character set: the text is its own.
void PlatformOemToAnsi(char*, uint32_t) {}
void PlatformAnsiToOem(char*, uint32_t) {}

void PlatformShowImportRefusal() {
    std::fprintf(stderr, "%s: %s\n", kImportRefusalCaption, kImportRefusalText);
}

}  // namespace dove::files
