// The text driver's record reader over a file that another handle shortens
// and lengthens while it reads: the reader keeps the size it cached, as
// QUICKSCAN does. Whatever happens to the file, every read must end, looking
// only forward within one record, and reading on from the start must come to
// the end of the data (33) in as many records as there were bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/text/text_record.h"
#include "memory_window.h"

using namespace dove::files;

namespace {

// One change of the file: after the given number of looks, cut it to a
// length or append bytes to it.
struct Change {
    uint32_t afterLooks;
    bool shrink;
    uint32_t amount;
};

// A window like the buffer object's over a file that changes between looks.
class ChangingWindow : public ByteSource {
public:
    ChangingWindow(std::string file, uint32_t capacity, bool buffered, std::vector<Change> changes)
        : file_(std::move(file)), changes_(std::move(changes)), window_(file_, capacity, buffered) {}

    View Peek(uint32_t offset, uint32_t count) override {
        ++looks_;
        if (looks_ > lookLimit_) abort();      // a read that never ends
        if (offset < lowestNext_) abort();     // a read that went back
        lowestNext_ = offset;
        ApplyChanges();
        return window_.Peek(offset, count);
    }
    int LastError() const override { return 0; }

    // A new record may start anywhere at or after its own offset.
    void StartRecord(uint32_t offset, uint32_t lookLimit) {
        lowestNext_ = offset;
        looks_ = 0;
        lookLimit_ = lookLimit;
    }
    size_t Size() const { return file_.size(); }

private:
    void ApplyChanges() {
        ++totalLooks_;
        for (const Change& c : changes_) {
            if (c.afterLooks != totalLooks_) continue;
            if (c.shrink) {
                file_.resize(std::min<size_t>(file_.size(), c.amount));
            } else {
                file_.append(c.amount, c.amount & 1 ? '\n' : 'g');
            }
        }
    }
    std::string file_;
    std::vector<Change> changes_;
    fuzz::MemoryWindow window_;  // over file_, which the changes edit in place
    uint32_t looks_ = 0, lookLimit_ = 0, lowestNext_ = 0, totalLooks_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Header: record length, delimiter length, TAB and flags, window slack,
    // three changes (look number, kind, amount), then the delimiter.
    constexpr size_t kHeader = 10;
    if (size < kHeader) return 0;
    uint32_t length = 1 + data[0] % 24;
    uint32_t dlen = 1 + data[1] % 4;
    if (size < kHeader + dlen) return 0;
    RecordSettings s;
    std::string delimiter(reinterpret_cast<const char*>(data + kHeader), dlen);
    s.delimiter = delimiter;
    const int32_t tabs[] = {8, 0, kTabKeep, -3};
    s.tab = tabs[data[2] % 4];
    s.ctrlZIsEof = data[3] & 1;
    bool buffered = data[3] & 2;
    uint32_t capacity = length + dlen + data[4] % 32;
    std::vector<Change> changes;
    for (int i = 0; i < 2; ++i) {
        uint8_t when = data[5 + 2 * i], what = data[6 + 2 * i];
        changes.push_back(Change{1u + when % 16, (what & 0x80) == 0, what & 0x7Fu});
    }
    std::string file(reinterpret_cast<const char*>(data + kHeader + dlen), size - kHeader - dlen);
    if (data[9] & 1) {
        const char alphabet[] = {'a', '\t', 26, s.delimiter[0], s.delimiter.back(), ' '};
        for (char& c : file) c = alphabet[uint8_t(c) % sizeof alphabet];
    }
    // The size the reader cached when it opened the file, kept throughout.
    uint32_t cachedSize = uint32_t(file.size());
    ChangingWindow window(file, capacity, buffered, changes);
    std::vector<char> record(length);
    uint32_t offset = 0;
    for (uint32_t records = 0;; ++records) {
        if (records > cachedSize + 1) abort();   // records that do not advance
        // A read looks at no more windows than the bytes it can pass, plus a few.
        window.StartRecord(offset, 8 + 2 * (cachedSize + 1));
        RecordRead r = ReadRecord(window, cachedSize, offset, s, record.data(), length);
        if (r.error) break;
        if (r.size == 0) abort();
        offset += r.size;
        if (offset > cachedSize) abort();
    }
    return 0;
}
