#include "files/text/text_switches.h"

#include "files/text/text_driver_options.h"
#include "files/text/text_record.h"

namespace dove::files {

namespace {

const char* OnOff(bool on) { return on ? "ON" : "OFF"; }

uint32_t BufferSizeFor(uint32_t n, uint32_t recordLength) {
    uint64_t size = n > 8388607u ? 4294967263ull : static_cast<uint64_t>(n) * 512;
    if (size < recordLength) size = recordLength;
    return static_cast<uint32_t>(size);
}

std::string ReplyOf(const TextOptions& o, textopt::Option option) {
    switch (option) {
    case textopt::Option::FileBuffers: return std::to_string(o.bufferSize);
    case textopt::Option::QuickScan: return OnOff(o.quickScan);
    case textopt::Option::EndOfRecord: return o.delimiter;
    case textopt::Option::CtrlZIsEof: return OnOff(o.ctrlZIsEof);
    case textopt::Option::Clip: return OnOff(o.clip);
    case textopt::Option::Tab: return std::to_string(o.tab);
    default: return {};
    }
}

// A delimiter longer than kMaxDelimiter is not applied: the reader looks at
// record length + delimiter bytes at once.
void Apply(TextOptions& o, const textopt::Command& c, uint32_t recordLength) {
    switch (c.option) {
    case textopt::Option::FileBuffers: o.bufferSize = BufferSizeFor(c.number, recordLength); break;
    case textopt::Option::QuickScan: o.quickScan = c.on; break;
    case textopt::Option::EndOfRecord:
        if (!c.delimiter.empty() && c.delimiter.size() <= kMaxDelimiter) o.delimiter = c.delimiter;
        break;
    case textopt::Option::CtrlZIsEof: o.ctrlZIsEof = c.on; break;
    case textopt::Option::Clip: o.clip = c.on; break;
    case textopt::Option::Tab: o.tab = c.tab; break;
    default: break;
    }
}

}  // namespace

std::string ApplySwitch(TextOptions& o, std::string_view command, uint32_t recordLength) {
    textopt::Command c = textopt::ParseCommand(command);
    std::string reply = ReplyOf(o, c.option);
    if (c.hasValue) Apply(o, c, recordLength);
    return reply;
}

void ApplyDriverString(TextOptions& o, std::string_view driverString, uint32_t recordLength) {
    for (std::string_view s : textopt::SplitSwitches(driverString)) {
        ApplySwitch(o, s, recordLength);
    }
}

}  // namespace dove::files
