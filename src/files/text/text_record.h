// Reading one record of a text file: the bytes of one line up to its
// delimiter, with TAB expansion, the Ctrl-Z end-of-data mark, and the rest of
// an over-long line skipped so that it never splits into two records.
//
//   RecordSettings s;                      // CR LF, TAB 8, Ctrl-Z ends data
//   RecordRead r = ReadRecord(buffer, fileSize, offset, s, record, 255);
//   if (r.error) ...                       // 33 at the end of the data
//   next = offset + r.size;
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/text/text_buffer.h"

namespace dove::files {

constexpr int32_t kTabKeep = -100;
constexpr size_t kMaxDelimiter = 16;

// The delimiter is a view: the settings are made for each read from the
// options that own the bytes.
struct RecordSettings {
    std::string_view delimiter = "\r\n";
    int32_t tab = 8;
    bool ctrlZIsEof = true;
};

struct RecordRead {
    int error = 0;        // 0, 33 (no record there), or the source's OS error
    uint32_t size = 0;    // file bytes the record occupies, delimiter and skipped rest included
};

// Fills record (length bytes) with the line at offset; blanks where the line
// is shorter. Never looks at bytes at or beyond fileSize.
RecordRead ReadRecord(ByteSource& source, uint32_t fileSize, uint32_t offset,
                      const RecordSettings& settings, char* record, uint32_t length);

}  // namespace dove::files
