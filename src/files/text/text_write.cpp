// Writing records and the file lock of the text driver.
#include <chrono>
#include <algorithm>
#include <cstring>
#include <thread>

#include "runtime/errors/error_record.h"
#include "files/text/text_block.h"
#include "files/text/text_platform.h"

namespace dove::files {

namespace {

constexpr uint64_t kFourGiB = 0x100000000ull;
constexpr char kTooLargeCode[] = "4GB";
constexpr char kTooLargeText[] = "Write would take the file to 4 GB or more";

OpResult Fail(int error) { return OpResult{error, 0}; }

uint32_t ClippedLength(const char* text, uint32_t n) {
    while (n > 0 && text[n - 1] == ' ') --n;
    return n;
}

// Once in the block's life: a file that ends with the Ctrl-Z mark gets its
// next appended line written over the mark.
uint32_t EndOfData(TextBlock& b) {
    uint32_t end = b.fileSize;
    if (b.trailingCtrlZChecked || end == 0 || !b.options.ctrlZIsEof) return end;
    b.trailingCtrlZChecked = true;
    ByteSource::View v = b.buffer->Peek(end - 1, 1);
    if (v.data && v.available >= 1 && v.data[0] == kCtrlZ) return end - 1;
    return end;
}

// The record's text as it goes to disk: an OEM copy when the file keeps OEM
// text, so the caller's buffer is never touched.
const char* DiskText(TextBlock& b) {
    if (!(b.attributes & kAttrOem)) return b.record;
    b.scratch.assign(b.record, b.record + b.recordLength);
    ConvertRecordText(*b.file, b.scratch.data(), &AnsiToOem);
    return b.scratch.data();
}

OpResult Truncate(TextBlock& b, uint32_t pos) {
    if (b.buffer->TruncateAt(pos)) return Fail(5);
    b.fileSize = pos;
    b.currentPos = pos;
    b.currentSize = 0;
    b.flags |= TextBlock::kCurrent;
    return {};
}

OpResult WriteLocked(TextBlock& b, uint32_t pointer, uint32_t count) {
    uint32_t pos;
    if (pointer == 0) {
        // Another handle may have appended since this one last looked, and
        // QUICKSCAN only trusts the cached size for reading: a line written
        // at the remembered end would overwrite the other's lines.
        if (int e = ReadSizeNow(b)) return Fail(e);
        pos = EndOfData(b);
    } else {
        pos = pointer - 1;
    }
    if (count == 0) return Truncate(b, pos);
    const char* text = DiskText(b);
    if (b.options.clip) count = std::min(count, ClippedLength(text, b.recordLength));
    const std::string& delimiter = b.options.delimiter;
    uint64_t end = static_cast<uint64_t>(pos) + count + delimiter.size();
    if (end >= kFourGiB) {
        // Positions are 32-bit: such a write would land at a wrapped offset.
        err::PostFileError(kTooLargeCode, kTooLargeText);
        return Fail(err::kFileSystemError);
    }
    std::string line(text, count);
    line += delimiter;
    uint32_t length = static_cast<uint32_t>(line.size());
    uint32_t written = b.buffer->WriteAt(pos, line.data(), length);
    if (written != length) return Fail(5);
    b.currentPos = pos;
    b.currentSize = length;
    if (pos + length > b.fileSize) b.fileSize = pos + length;
    b.flags |= TextBlock::kCurrent;
    return {};
}

// The lock attempt. Another handle's lock of the byte shows as a lock
// violation (33) on Windows; it is the file being locked, and reads so (32).
int AttemptLock(TextBlock& b) {
    int e = TakeLock(b);
    return os::IsHeldByAnother(e) ? os::kErrSharingViolation : e;
}

// Another writer holds the lock only while it writes its line, so a write
// waits a moment for it rather than failing at once; a LOCK held longer
// than that still refuses the write.
constexpr auto kWriteLockPatience = std::chrono::seconds(2);

int TakeWriteLock(TextBlock& b) {
    auto deadline = std::chrono::steady_clock::now() + kWriteLockPatience;
    int e = AttemptLock(b);
    while (e == os::kErrSharingViolation && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        e = AttemptLock(b);
    }
    return e;
}

}  // namespace

int TakeLock(TextBlock& b) {
    if (b.lockDepth == 0) {
        if (int e = os::Lock(b.handle.Get(), 0, 1)) return e;
    }
    ++b.lockDepth;
    return 0;
}

void ReleaseLock(TextBlock& b) {
    if (b.lockDepth == 0) return;
    if (--b.lockDepth == 0) os::Unlock(b.handle.Get(), 0, 1);
}

OpResult WriteRecord(TextBlock& b, uint32_t pointer, uint32_t count) {
    if (b.Has(TextBlock::kReadOnly)) return Fail(5);
    // Every open that lets others write (deny none, and the plain sharing 0
    // and deny read as well) writes one at a time with them under the
    // byte-0 lock, so that finding the end and writing there are one step.
    bool locked = b.Has(TextBlock::kSharedWrite);
    if (locked && TakeWriteLock(b)) return Fail(5);
    OpResult r = WriteLocked(b, pointer, count);
    if (locked) ReleaseLock(b);
    return r;
}

OpResult LockFile(TextBlock& b, bool withTimeout, int32_t seconds) {
    int e = AttemptLock(b);
    if (!withTimeout) {
        while (e == os::kErrSharingViolation) {
            std::this_thread::yield();
            e = AttemptLock(b);
        }
        return Fail(e);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(
                                                           static_cast<int64_t>(seconds) * 1000);
    while (e && std::chrono::steady_clock::now() < deadline) {
        Trace(b, "Locking failed with error " + std::to_string(e));
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        e = AttemptLock(b);
    }
    return Fail(e);
}

OpResult UnlockFile(TextBlock& b) {
    ReleaseLock(b);
    return {};
}

}  // namespace dove::files
