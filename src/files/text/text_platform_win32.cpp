#include <windows.h>

#include "files/text/text_platform.h"

namespace dove::files {

void PlatformOemToAnsi(char* text, uint32_t length) { OemToCharBuffA(text, text, length); }
void PlatformAnsiToOem(char* text, uint32_t length) { CharToOemBuffA(text, text, length); }

void PlatformShowImportRefusal() {
    MessageBoxA(nullptr, kImportRefusalText, kImportRefusalCaption,
                MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

}  // namespace dove::files
