// What the text driver needs from the platform beyond file access: the
// OEM/ANSI conversion of record text and the system message box that
// refuses a file import. Windows: CharToOemBuffA, OemToCharBuffA and
// MessageBoxA; natively the text stays as it is and the box is written to
// stderr. Tests can replace either.
#pragma once

#include <cstdint>

namespace dove::files {

void OemToAnsi(char* text, uint32_t length);
void AnsiToOem(char* text, uint32_t length);
void ShowImportRefusal();   // "File Driver does not support File Import"

extern const char kImportRefusalText[];
extern const char kImportRefusalCaption[];

struct TextPlatform {
    void (*oemToAnsi)(char*, uint32_t);
    void (*ansiToOem)(char*, uint32_t);
    void (*showImportRefusal)();
};
// nullptr members take the platform's own.
void SetTextPlatform(const TextPlatform& platform);

// Defined per platform (text_platform_win32.cpp, text_platform_posix.cpp).
void PlatformOemToAnsi(char* text, uint32_t length);
void PlatformAnsiToOem(char* text, uint32_t length);
void PlatformShowImportRefusal();

}  // namespace dove::files
