// The text driver's option texts: SEND commands, driver strings and the
// option builder. Beyond crashes, out-of-bounds reads and undefined
// behaviour it checks:
// - every switch of a driver string is read as a command on its own, and
//   the end-of-record delimiter it yields is never empty;
// - the builder's table, written out again, reads back as the same table
//   without a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/text/text_driver_options.h"

namespace opt = dove::textopt;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameTable(const opt::SwitchTable& a, const opt::SwitchTable& b) {
    return a.ctrlZIsEof == b.ctrlZIsEof && a.clip == b.clip && a.buffers == b.buffers && a.tab == b.tab &&
           a.endOfRecord == b.endOfRecord && a.quickScan == b.quickScan;
}

void CheckCommand(std::string_view text) {
    const opt::Command c = opt::ParseCommand(text);
    if (c.option == opt::Option::EndOfRecord && c.hasValue) Check(!c.delimiter.empty());
    if (c.option == opt::Option::None) Check(!c.hasValue);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's bytes, so that any read past the end is
    // caught by the sanitizer.
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckCommand(text);
    for (std::string_view part : opt::SplitSwitches(text)) {
        Check(part.data() >= text.data() && part.data() + part.size() <= text.data() + text.size());
        Check(part.find('/') == std::string_view::npos);
        CheckCommand(part);
    }

    const opt::BuilderResult first = opt::ParseDriverString(text);
    const std::string composed = opt::ComposeDriverString(first.table);
    const opt::BuilderResult again = opt::ParseDriverString(composed);
    Check(again.messages.empty());
    Check(SameTable(first.table, again.table));
    Check(opt::ComposeDriverString(again.table) == composed);
    return 0;
}
