#include "files/text/text_driver.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "runtime/errors/error_record.h"
#include "files/object/file_codes.h"
#include "files/object/file_dispatch.h"
#include "files/object/file_rules.h"
#include "files/text/text_block.h"
#include "files/os/path.h"
#include "files/text/text_platform.h"
#include "runtime/strings/value_stack.h"

namespace dove::files {

const char kTextDriverName[] = "ASCII";
const char kTextDriverDescription[] = "ASCII (Text)";

namespace {

// The positions and the cached size are 32-bit; a larger file would be read
// at wrapped positions and appended to over its own bytes, so OPEN refuses it.
constexpr char kTooLargeCode[] = "4GB";
constexpr char kTooLargeText[] = "File too large for the text driver (4 GB or more)";

std::mutex g_blockLock;

bool DeniesWrite(int32_t mode) { return (mode & 0x30) != 0; }   // deny all, write or read

DriverBlock* MakeBlock(FileObject*) { return new TextBlock; }

void CloseForDestroy(DriverBlock* block) { CloseFile(*static_cast<TextBlock*>(block)); }

OpResult Fail(int error) { return OpResult{error, 0}; }

uint32_t BufferSizeAtOpen(int32_t mode, uint32_t recordLength) {
    uint32_t size = DeniesWrite(mode) ? 1024 : 512;
    uint64_t twice = static_cast<uint64_t>(recordLength) * 2;
    if (twice > size) size = static_cast<uint32_t>(std::min<uint64_t>(twice, kBufferSizeCap));
    return size;
}

int SizeAtOpen(TextBlock& b) {
    uint64_t size = 0;
    if (int e = os::Size(b.handle.Get(), &size)) return e;
    if (!os::FitsIn32(size)) {
        err::PostFileError(kTooLargeCode, kTooLargeText);
        return err::kFileSystemError;
    }
    b.fileSize = static_cast<uint32_t>(size);
    return 0;
}

void ApplyModeAndOptions(TextBlock& b, int32_t mode) {
    b.options.clip = true;
    b.options.tab = 8;
    b.options.bufferSize = BufferSizeAtOpen(mode, b.recordLength);
    b.options.quickScan = DeniesWrite(mode);
    ApplyDriverString(b.options, b.driverString, b.recordLength);
    b.flags &= ~(TextBlock::kReadOnly | TextBlock::kDenyNone | TextBlock::kSharedWrite);
    if ((mode & 3) == 0) b.flags |= TextBlock::kReadOnly;
    if ((mode & 0x70) == 0x40) b.flags |= TextBlock::kDenyNone;
    if (os::RightsOf(static_cast<uint32_t>(mode)).shareWrite) b.flags |= TextBlock::kSharedWrite;
    RebuildBuffer(b);
}

OpResult CreateFile(TextBlock& b) {
    if (!(b.attributes & kAttrCreate)) return Fail(54);
    if (int e = path::ResolveDataFileName(NameOf(*b.file), &b.fileName)) return Fail(e);
    os::Handle h = os::kNoHandle;
    if (os::Create(b.fileName, os::kCreateNormal, &h)) return Fail(5);
    os::Close(h);
    return {};
}

OpResult Remove(TextBlock& b) {
    std::string name;
    if (int e = path::ResolveDataFileName(NameOf(*b.file), &name)) return Fail(e);
    int e = os::Delete(name);
    if (e == 0 || e == 2 || e == 3) return Fail(e);
    return Fail(5);
}

OpResult PushText(const std::string& text, int32_t value = 0) {
    vstack::PushCopy(text.data(), text.size());
    return OpResult{0, value};
}

OpResult Position(TextBlock& b) {
    uint32_t pointer = b.Has(TextBlock::kCurrent) ? b.currentPos + 1 : 0;
    char bytes[4];
    std::memcpy(bytes, &pointer, 4);
    vstack::PushCopy(bytes, 4);
    return {};
}

uint32_t PointerOfPositionString(std::string_view text) {
    uint32_t pointer = 0;
    std::memcpy(&pointer, text.data(), std::min<size_t>(4, text.size()));
    return pointer;
}

OpResult Eof(TextBlock& b) {
    if (!b.buffer || b.nextRead == 0) return OpResult{0, 1};
    ByteSource::View v = b.buffer->Peek(b.nextRead - 1, 1);
    if (!v.data || v.available == 0) return OpResult{0, 1};
    return OpResult{0, (v.data[0] == kCtrlZ && b.options.ctrlZIsEof) ? 1 : 0};
}

OpResult Bytes(TextBlock& b) {
    if (b.properties & kPropRecordSizes) return OpResult{0, static_cast<int32_t>(b.currentSize)};
    if (int e = RefreshSize(b)) return Fail(e);
    return OpResult{0, static_cast<int32_t>(b.fileSize)};
}

OpResult Empty(TextBlock& b) {
    if (b.buffer->TruncateAt(0)) return Fail(5);
    b.fileSize = 0;
    b.flags &= ~TextBlock::kCurrent;
    return {};
}

// A handle without write access has nothing to write out, and the system
// refuses to flush it: that is success, not "Access Denied".
OpResult Flush(TextBlock& b) {
    if (!os::RightsOf(static_cast<uint32_t>(b.accessMode)).write) return {};
    if (b.buffer && b.buffer->Flush()) return Fail(b.buffer->LastError());
    return {};
}

OpResult RenameOrCopy(TextBlock& b, int32_t op, std::string_view target) {
    std::string source;
    if (int e = path::ResolveDataFileName(NameOf(*b.file), &source)) return Fail(e);
    int e = op == kRename ? path::RenameDataFile(source, target)
                          : path::CopyDataFile(source, target);
    return Fail(e);
}

OpResult Get(TextBlock& b, uint32_t pointer) {
    if (pointer == 0) {
        b.flags &= ~TextBlock::kCurrent;
        return OpResult{0, 0, true};
    }
    return ReadAt(b, pointer);
}

OpResult Next(TextBlock& b) {
    OpResult r = ReadAt(b, b.nextRead);
    if (!r.error) b.nextRead = b.currentPos + b.currentSize + 1;
    return r;
}

// The length word is a byte count: read unsigned, it can only ask for more
// than the record holds, so only an explicit 0 means "truncate here".
uint32_t Count(const OpArgs* a, int index, uint32_t recordLength) {
    return std::min(static_cast<uint32_t>(a->n[index]), recordLength);
}

OpResult Perform(DriverBlock* block, int32_t op, const OpArgs* a) {
    TextBlock& b = *static_cast<TextBlock*>(block);
    uint32_t len = b.recordLength;
    switch (op) {
    case kOpen:
    case kShare: return OpenFile(b, a->n[0]);
    case kCreate: return CreateFile(b);
    case kClose: return CloseFile(b);
    case kSetFile: b.nextRead = 1; return {};
    case kSetFilePtr: b.nextRead = a->n[0] ? static_cast<uint32_t>(a->n[0]) : 1; return {};
    case kResetFile: {
        uint32_t p = PointerOfPositionString(a->text);
        b.nextRead = p ? p : 1;
        return {};
    }
    case kNext: return Next(b);
    case kGetFilePtr:
    case kGetFilePtrLen: return Get(b, static_cast<uint32_t>(a->n[0]));
    case kRegetFile: return Get(b, PointerOfPositionString(a->text));
    case kAdd:
    case kAppend: return WriteRecord(b, 0, len);
    case kAddFileLen:
    case kAppendLen: return WriteRecord(b, 0, Count(a, 0, len));
    case kPut: return WriteRecord(b, b.currentPos + 1, len);
    case kPutFilePtr: return WriteRecord(b, static_cast<uint32_t>(a->n[0]), len);
    case kPutFilePtrLen: return WriteRecord(b, static_cast<uint32_t>(a->n[0]), Count(a, 1, len));
    case kPointerFile:
        return OpResult{0, b.Has(TextBlock::kCurrent) ? static_cast<int32_t>(b.currentPos + 1) : 0};
    case kPositionFile: return Position(b);
    case kBytes: return Bytes(b);
    case kEof: return Eof(b);
    case kEmpty: return Empty(b);
    case kFlush: return Flush(b);
    case kRemove: return Remove(b);
    case kRename:
    case kCopy: return RenameOrCopy(b, op, a->text);
    case kLockFile: return LockFile(b, false, 0);
    case kLockFileSec: return LockFile(b, true, a->n[0]);
    case kUnlock: return UnlockFile(b);
    case kName: return PushText(NameOf(*b.file));
    case kSend: return Send(b, a->text);
    case kClear: ClearRecord(*b.file); return {};
    case kGetProperty:
    case kGetPropertyKey: return GetProperty(b, a->n[0]);
    case kSetProperty:
    case kSetPropertyKey: return SetProperty(b, a->n[0], a->n[1]);
    case kGetState: return GetState(b);
    case kRestoreState: return RestoreState(b, a->n[0]);
    case kFreeState: return FreeState(b, a->n[0]);
    case kStartTran:
    case kEndTran:
    case kInView:
    case kEndView:
    case kQueryView:
    case kCountRecords: return {};
    case kInternal91: return OpResult{0, static_cast<int32_t>(TextDriverIdentity())};
    default: return Fail(80);
    }
}

const DriverOps kTextOps = {kTextDriverName, &g_blockLock, &MakeBlock, &Perform, &CloseForDestroy};

int32_t TextEntry(int32_t op, FileObject* file, const OpArgs* args) {
    if (op == kRebuildProbe) {
        // Builds the block and discards it at once.
        std::unique_ptr<DriverBlock> probe(MakeBlock(file));
        PostDriverError(80, file);
        return 0;
    }
    if (op == kInternal108) return 0;
    return RunOperation(kTextOps, op, file, args);
}

}  // namespace

void RebuildBuffer(TextBlock& b) {
    if (!b.IsOpen()) return;
    // The window holds a record and its delimiter, whatever FILEBUFFERS
    // asked: a smaller one could never be looked at.
    uint64_t least = static_cast<uint64_t>(b.recordLength) + b.options.delimiter.size();
    uint32_t size = static_cast<uint32_t>(std::max<uint64_t>(b.options.bufferSize, least));
    if (size > kBufferSizeCap) size = kBufferSizeCap;
    for (;;) {
        auto buffer = std::make_unique<TextBuffer>(b.handle.Get(), size, b.options.quickScan);
        if (buffer->Capacity() == size || size <= 10) {
            b.buffer = std::move(buffer);
            b.options.bufferSize = size;
            return;
        }
        size /= 2;
    }
}

int RefreshSize(TextBlock& b) {
    if (!b.Has(TextBlock::kDenyNone) || b.options.quickScan) return 0;
    return ReadSizeNow(b);
}

int ReadSizeNow(TextBlock& b) {
    uint64_t size = 0;
    if (int e = os::Size(b.handle.Get(), &size)) return e;
    // A file that another station grew past 4 GB is read up to the limit.
    b.fileSize = os::FitsIn32(size) ? static_cast<uint32_t>(size) : 0xFFFFFFFFu;
    return 0;
}

OpResult OpenFile(TextBlock& b, int32_t mode) {
    if (int e = path::ResolveDataFileName(NameOf(*b.file), &b.fileName)) return Fail(e);
    os::Handle h = os::kNoHandle;
    if (int e = os::Open(b.fileName, static_cast<uint32_t>(mode), &h)) return Fail(e);
    b.handle.Reset(h);
    if (int e = SizeAtOpen(b)) {
        b.handle.Reset();
        return Fail(e);
    }
    b.accessMode = mode;
    b.lockDepth = 0;
    // The block outlives the open file, and the next OPEN may name another
    // file (or this one changed): look at its last byte again, or a trailing
    // Ctrl-Z would stay in front of every line appended after it.
    b.trailingCtrlZChecked = false;
    b.flags &= ~TextBlock::kCurrent;
    ApplyModeAndOptions(b, mode);
    if ((mode & 3) == 1 || (mode & 3) == 2) b.status |= kStWriteAccess;
    if (DeniesWrite(mode)) b.status |= kStDenyWrite;
    return {};
}

OpResult CloseFile(TextBlock& b) {
    if (b.buffer) b.buffer->Flush();
    b.buffer.reset();
    if (b.lockDepth) os::Unlock(b.handle.Get(), 0, 1);
    b.lockDepth = 0;
    b.handle.Reset();
    b.flags &= ~TextBlock::kCurrent;
    return {};
}

OpResult ReadAt(TextBlock& b, uint32_t pointer) {
    b.flags &= ~TextBlock::kCurrent;
    if (int e = RefreshSize(b)) return Fail(e);
    if (pointer == 0 || !b.buffer) return Fail(33);
    RecordRead r = ReadRecord(*b.buffer, b.fileSize, pointer - 1, b.Reading(), b.record,
                              b.recordLength);
    if (r.error) return Fail(r.error);
    b.currentPos = pointer - 1;
    b.currentSize = r.size;
    if (b.attributes & kAttrOem) ConvertRecordText(*b.file, b.record, &OemToAnsi);
    b.flags |= TextBlock::kCurrent;
    return {};
}

DriverEntry TextDriverEntry() { return &TextEntry; }

uint32_t TextDriverIdentity() {
    // The descriptor is one static object; its identity is a stable number
    // that fits the 32-bit result in every build.
    static const uint32_t kIdentity = 0x41534349;   // "ASCI"
    return kIdentity;
}

}  // namespace dove::files
