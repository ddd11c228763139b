// The text driver's record reader over random file contents, record lengths,
// delimiters, TAB settings, Ctrl-Z rules and window sizes. Reading from the
// start to the end of the data must cover every byte once: each record
// starts where the previous one ended and ends just after the first
// delimiter or (with Ctrl-Z as end of data) Ctrl-Z from its start, or at the
// end of the file; only a record that starts with Ctrl-Z ends the data. With
// the TAB kept, a record is exactly the start of its line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/text/text_record.h"
#include "memory_window.h"

using namespace dove::files;

namespace {

using fuzz::MemoryWindow;

bool DelimiterAt(const std::string& f, size_t i, std::string_view d) {
    return i + d.size() <= f.size() && f.compare(i, d.size(), d) == 0;
}

// Where the record at offset must end: an over-long line is skipped to the
// same stop, never split.
size_t ExpectedEnd(const std::string& f, size_t offset, const RecordSettings& s) {
    for (size_t i = offset; i < f.size(); ++i) {
        if (DelimiterAt(f, i, s.delimiter)) return i + s.delimiter.size();
        if (s.ctrlZIsEof && f[i] == 26) return i + 1;
    }
    return f.size();
}

// What a record must hold when TABs are kept: the line's first bytes.
std::string ExpectedKept(const std::string& f, size_t offset, const RecordSettings& s, uint32_t len) {
    std::string out;
    for (size_t i = offset; i < f.size() && out.size() < len; ++i) {
        if (DelimiterAt(f, i, s.delimiter)) break;
        if (f[i] == 26 && s.ctrlZIsEof) break;
        out += f[i];
    }
    out.resize(len, ' ');
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    uint32_t length = 1 + data[0] % 40;
    uint32_t dlen = 1 + data[1] % 3;
    if (size < 6 + dlen) return 0;
    RecordSettings s;
    std::string delimiter(reinterpret_cast<const char*>(data + 6), dlen);
    s.delimiter = delimiter;
    const int32_t tabs[] = {8, 0, kTabKeep, -3, 4, 1, -1, 3};
    s.tab = tabs[data[2] % 8];
    s.ctrlZIsEof = data[3] & 1;
    bool buffered = data[3] & 2;
    uint32_t capacity = length + dlen + data[4] % 64;
    std::string file(reinterpret_cast<const char*>(data + 6 + dlen), size - 6 - dlen);
    // Fold bytes onto a small alphabet now and then so that delimiters,
    // TABs and Ctrl-Z are common.
    if (data[5] & 1) {
        const char alphabet[] = {'a', 'b', '\t', 26, s.delimiter[0], s.delimiter.back(), ' '};
        for (char& c : file) c = alphabet[uint8_t(c) % sizeof alphabet];
    }
    MemoryWindow window(file, capacity, buffered);
    std::vector<char> record(length);
    uint32_t offset = 0;
    uint32_t fileSize = uint32_t(file.size());
    for (;;) {
        RecordRead r = ReadRecord(window, fileSize, offset, s, record.data(), length);
        if (r.error) {
            if (r.error != 33) abort();
            bool atEnd = offset >= fileSize || (s.ctrlZIsEof && file[offset] == 26);
            if (!atEnd) abort();
            break;
        }
        if (r.size == 0 || offset + r.size != ExpectedEnd(file, offset, s)) abort();
        if (s.tab == kTabKeep &&
            std::string(record.data(), length) != ExpectedKept(file, offset, s, length)) {
            abort();
        }
        offset += r.size;
    }
    return 0;
}
