// Finding stored window definitions in the program's modules.
//
// The main program's module is searched first, then every module added with
// AddProgramModule, in that order. Each is asked for the "DABDUMP" resource
// named after the procedure (ResourceNameFor); the first block whose
// procedure name and window label match wins. A process-wide mutex guards
// the current definition buffer for the whole search.
//
//   wdef::FoundWindow found;
//   if (wdef::FindWindowDefinition("Install$WorkLog", "P2$W", &found))
//     Build(found.window, found.module);   // icons load from found.module
//
//   // Opening a declared window: absence is fatal (502 or 504 "WSLDIAL").
//   wdef::FoundWindow w = wdef::PrepareWindowDefinition("Install$WorkLog", "P2$W");
#pragma once

#include <windows.h>

#include <cstdint>

#include "windows/definitions/window_def.h"

namespace dove::wdef {

struct FoundWindow {
  Window window;
  // The module whose block held the window: images and icons that the
  // window names as resources are loaded from it.
  HMODULE module = nullptr;
};

// Finds and decodes. False when no module has it (or its block is damaged).
bool FindWindowDefinition(const char* procedure, const char* label, FoundWindow* out);

// As the runtime prepares a declared window for opening: on a thread without
// a runtime record fatal error 504, when no definition is found 502, both
// with the text "WSLDIAL".
FoundWindow PrepareWindowDefinition(const char* procedure, const char* label);

// The runtime's list of further program modules, searched after the main
// module in the order added. Adding the main module or a module twice does
// nothing.
void AddProgramModule(HMODULE module);
void RemoveProgramModule(HMODULE module);

// Buffer offset of the window record in the current definition buffer (the
// block of the last successful search), or 0; the buffer stays until the
// next search.
uint32_t FindWindowRecordOffset(const char* procedure, const char* label);

}  // namespace dove::wdef
