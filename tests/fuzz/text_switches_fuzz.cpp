// The text driver's driver strings and SEND commands over random option
// texts: nothing fails, the window always holds a record, and the delimiter
// stays usable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/text/text_record.h"
#include "files/text/text_switches.h"

using namespace dove::files;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    uint32_t recordLength = data[0] * 4u;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    TextOptions o;
    o.bufferSize = recordLength < 512 ? 512 : recordLength;
    ApplyDriverString(o, text, recordLength);
    TextOptions before = o;
    std::string reply = ApplySwitch(o, text, recordLength);
    if (o.bufferSize < recordLength) abort();
    if (o.delimiter.empty() || o.delimiter.size() > kMaxDelimiter) abort();
    if (reply.size() > 32) abort();
    (void)before;
    return 0;
}
