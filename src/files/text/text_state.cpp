// SEND, the snapshots of GETSTATE and the properties of the text driver.
#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "files/object/file_rules.h"
#include "files/text/text_block.h"
#include "files/text/text_driver.h"
#include "files/text/text_driver_options.h"
#include "files/text/text_platform.h"
#include "runtime/strings/value_stack.h"

namespace dove::files {

namespace {

OpResult Reply(const std::string& text) {
    vstack::PushCopy(text.data(), text.size());
    return {};
}

struct Snapshot {
    bool open = false;
    int32_t mode = 0;
    uint32_t status = 0;
    uint8_t current = 0;
    uint32_t currentPos = 0;
    uint32_t currentSize = 0;
    uint32_t nextRead = 1;
    std::vector<char> record;
};

// Snapshots are handed out as 32-bit numbers through this table.
std::mutex g_snapshotLock;
std::map<int32_t, Snapshot> g_snapshots;
int32_t g_lastSnapshot = 0;

void ApplyOptionChange(TextBlock& b, const TextOptions& before) {
    if (b.options.bufferSize != before.bufferSize || b.options.quickScan != before.quickScan ||
        b.options.delimiter.size() > before.delimiter.size()) {
        RebuildBuffer(b);
    }
}

// 0, or why the file could not be opened again.
int Reopen(TextBlock& b, const Snapshot& s) {
    if (s.open == b.IsOpen()) return 0;
    if (!s.open) {
        CloseFile(b);
        b.status = 0;
        return 0;
    }
    return OpenFile(b, s.mode).error;
}

}  // namespace

OpResult Send(TextBlock& b, std::string_view command) {
    textopt::Command c = textopt::ParseCommand(command);
    if (c.option == textopt::Option::Register) {
        if (!b.IsOpen()) b.rebuildPending = true;
        return Reply(std::to_string(TextDriverIdentity()));
    }
    if (c.option == textopt::Option::ImportFile) {
        if (!b.IsOpen()) ShowImportRefusal();
        return OpResult{37, 0};
    }
    TextOptions before = b.options;
    std::string reply = ApplySwitch(b.options, command, b.recordLength);
    ApplyOptionChange(b, before);
    return Reply(reply);
}

OpResult GetState(TextBlock& b) {
    Snapshot s;
    s.open = b.IsOpen();
    s.mode = b.accessMode;
    s.status = b.status & ~kStLocked;
    s.current = b.flags & TextBlock::kCurrent;
    s.currentPos = b.currentPos;
    s.currentSize = b.currentSize;
    s.nextRead = b.nextRead;
    if (b.record) s.record.assign(b.record, b.record + b.recordLength);
    std::lock_guard<std::mutex> hold(g_snapshotLock);
    int32_t id = ++g_lastSnapshot;
    if (id <= 0) id = g_lastSnapshot = 1;
    g_snapshots[id] = std::move(s);
    return OpResult{0, id};
}

OpResult RestoreState(TextBlock& b, int32_t id) {
    Snapshot s;
    {
        std::lock_guard<std::mutex> hold(g_snapshotLock);
        auto it = g_snapshots.find(id);
        if (it == g_snapshots.end()) return {};
        s = it->second;
    }
    if (int e = Reopen(b, s)) return OpResult{e, 0};
    if (s.open) b.status = s.status | (b.status & kStLocked);
    b.flags = (b.flags & ~TextBlock::kCurrent) | s.current;
    b.currentPos = s.currentPos;
    b.currentSize = s.currentSize;
    b.nextRead = s.nextRead;
    if (b.record && s.record.size() == b.recordLength) {
        std::copy(s.record.begin(), s.record.end(), b.record);
    }
    return {};
}

OpResult FreeState(TextBlock&, int32_t id) {
    std::lock_guard<std::mutex> hold(g_snapshotLock);
    g_snapshots.erase(id);
    return {};
}

OpResult GetProperty(TextBlock& b, int32_t property) {
    switch (property) {
    case kPropertyRecordSizes: return OpResult{0, (b.properties & kPropRecordSizes) ? 1 : 0};
    case kPropertyTrace: return OpResult{0, b.trace ? 1 : 0};
    case kPropertyRemote: return OpResult{0, 0};
    default: return OpResult{80, 0};
    }
}

OpResult SetProperty(TextBlock& b, int32_t property, int32_t value) {
    switch (property) {
    case kPropertyRecordSizes:
        if (value) b.properties |= kPropRecordSizes;
        else b.properties &= ~kPropRecordSizes;
        return {};
    case kPropertyTrace: b.trace = value != 0; return {};
    case kPropertyRemote:
        // No remote-access handler exists in this system: connecting fails.
        return OpResult{value ? 80 : 0, 0};
    default: return OpResult{80, 0};
    }
}

}  // namespace dove::files
