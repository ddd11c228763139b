#include "files/object/driver_frame.h"

#include <atomic>
#include <mutex>

#include "runtime/errors/error_record.h"
#include "files/object/file_codes.h"
#include "files/object/file_rules.h"
#include "runtime/strings/strings.h"

namespace dove::files {

namespace {

std::atomic<TraceSink> g_traceSink{nullptr};

bool TakesPositionString(int32_t op) {
    return op == kRegetFile || op == kRegetKey || op == kResetFile || op == kResetKey;
}

void FreeBlock(FileObject* file) {
    delete file->block;
    file->block = nullptr;
    delete file->statusRecord;
    file->statusRecord = nullptr;
}

// ERRORFILE reports a file by the name its name variable holds.
bool FileNameOf(const void* fileObject, std::string* out) {
    if (!fileObject) return false;
    *out = NameOf(*static_cast<const FileObject*>(fileObject));
    return true;
}

void BuildBlock(const DriverOps& ops, FileObject* file) {
    err::SetFileNameProvider(&FileNameOf);
    file->block = ops.makeBlock(file);
    file->block->file = file;
    file->block->attributes = file->attributes;
    file->block->record = file->record;
    file->block->recordLength = file->recordLength;
    file->block->driverString = file->driverString ? file->driverString : "";
    file->block->trace = !(file->state & kStateNoTrace) && g_traceSink.load() != nullptr;
    file->statusRecord = new StatusRecord;
}

// The block of the file, built (or rebuilt after REGISTER) as needed. Files
// of one thread only need no lock.
void EnsureBlock(const DriverOps& ops, FileObject* file) {
    // A file's statements come from one thread at a time; only building and
    // discarding blocks needs the driver's lock.
    if (file->block && !file->block->rebuildPending) return;
    std::unique_lock<std::mutex> hold;
    if (!(file->attributes & kAttrThread) && ops.lock) {
        hold = std::unique_lock<std::mutex>(*ops.lock);
    }
    if (file->block && file->block->rebuildPending && !(file->block->status & kStOpen)) {
        FreeBlock(file);
    }
    if (!file->block) BuildBlock(ops, file);
}

int32_t DestroyBlock(const DriverOps& ops, FileObject* file) {
    if (!file->block) return 0;
    if ((file->block->status & kStOpen) && ops.closeForDestroy) ops.closeForDestroy(file->block);
    std::unique_lock<std::mutex> hold;
    if (!(file->attributes & kAttrThread) && ops.lock) {
        hold = std::unique_lock<std::mutex>(*ops.lock);
    }
    FreeBlock(file);
    return 0;
}

int CheckOperation(const DriverBlock& block, int32_t op, const OpArgs* args) {
    bool otherKey = args->key && args->key->file != block.file;
    int err = CheckRules(op, block.status, otherKey);
    if (err) return err;
    if (TakesPositionString(op) && str::IsBlank(args->text)) return 35;
    return 0;
}

void Finish(DriverBlock& block, int32_t op, const OpResult& result) {
    bool ok = result.error == 0;
    if (op == kClose && ok && block.file->statusRecord) block.file->statusRecord->opened = false;
    if ((op == kOpen || op == kShare) && ok && block.file->statusRecord) {
        block.file->statusRecord->opened = true;
    }
    block.status = StatusAfter(op, block.status, ok);
    if (result.noRecord) block.status &= ~kStCurrent;
    if (ok) {
        const OpRule* rule = RuleOf(op);
        if (rule) block.postOp |= rule->post;
    }
    if (block.postOp & kPostRemember) {
        block.lastOp = op;
        block.lastResult = result.error;
    }
    if (ok && (block.postOp & kPostClearErrors)) err::Clear();
    if (!ok && result.error != kSilent) PostDriverError(result.error, block.file);
}

}  // namespace

int32_t RunOperation(const DriverOps& ops, int32_t op, FileObject* file, const OpArgs* args) {
    if (op == kDestroy) return DestroyBlock(ops, file);
    if (op == kClose && !file->block) return 0;
    EnsureBlock(ops, file);
    DriverBlock& block = *file->block;
    block.postOp = 0;
    if (block.trace) {
        Trace(block, std::string(ops.name) + " " + OperationName(op) + " " + NameOf(*file));
    }
    int refusal = CheckOperation(block, op, args);
    if (refusal) {
        if (refusal != kSilent) PostDriverError(refusal, file);
        return (op == kEof || op == kBof) ? 1 : 0;
    }
    OpResult result = ops.perform(&block, op, args);
    Finish(block, op, result);
    if ((op == kEof || op == kBof) && result.error) return 1;
    return result.value;
}

void PostDriverError(int code, FileObject* file) {
    err::Post(code);
    if (file && file->kind == kKindFile) err::SetFile(file);
}

void SetTraceSink(TraceSink sink) { g_traceSink.store(sink); }

void Trace(const DriverBlock& block, const std::string& line) {
    TraceSink sink = g_traceSink.load();
    if (block.trace && sink) sink(line);
}

}  // namespace dove::files
