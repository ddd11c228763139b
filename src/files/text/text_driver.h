// The text driver "ASCII" ("ASCII (Text)"): a file as a sequence of lines,
// one record per line, addressed by byte position. Files bind it through
// TextDriverEntry() and use it only through the file statements.
//
//   FileDefinition def = MakeDefinition(TextDriverEntry(), name, -1, line, 255,
//                                       &kLineType, kAttrCreate);
//   Open(&def.pattern, 0x42);
#pragma once

#include <cstdint>

#include "files/object/file_object.h"

namespace dove::files {

extern const char kTextDriverName[];          // "ASCII"
extern const char kTextDriverDescription[];   // "ASCII (Text)"

DriverEntry TextDriverEntry();

// The identity of the driver's descriptor, as SEND "REGISTER" answers it.
uint32_t TextDriverIdentity();

// The property numbers of GET_PROPERTY and SET_PROPERTY (first argument;
// SET_PROPERTY's second is the value).
enum TextProperty : int32_t {
    kPropertyRecordSizes = 1,   // BYTES answers the current record's size
    kPropertyRemote = 2,        // connect to a remote-access handler (none exists)
    kPropertyTrace = 3,         // trace this file's operations
};

}  // namespace dove::files
