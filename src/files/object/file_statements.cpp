#include "files/object/file_statements.h"

#include "files/object/file_codes.h"
#include "files/object/file_dispatch.h"
#include "runtime/strings/value_stack.h"

namespace dove::files {

namespace {

int32_t Run(int32_t op, FileObject* file) { return Dispatch(op, file, nullptr); }

int32_t Run(int32_t op, FileObject* file, int32_t a) {
    OpArgs args;
    args.n[0] = a;
    return Dispatch(op, file, &args);
}

int32_t Run(int32_t op, FileObject* file, int32_t a, int32_t b) {
    OpArgs args;
    args.n[0] = a;
    args.n[1] = b;
    return Dispatch(op, file, &args);
}

int32_t RunText(int32_t op, FileObject* file, std::string_view text) {
    OpArgs args;
    args.text = text;
    return Dispatch(op, file, &args);
}

int32_t RunKey(int32_t op, FileObject* file, KeyObject* key, int32_t a = 0) {
    OpArgs args;
    args.key = key;
    args.n[0] = a;
    return Dispatch(op, file, &args);
}

// Drivers answer string results on the value stack; a refused operation
// pushes nothing.
std::string StackResult(int depthBefore) {
    if (vstack::Depth() <= depthBefore) return {};
    return vstack::PopString();
}

}  // namespace

void Open(FileObject* file, int32_t accessMode) { Run(kOpen, file, accessMode); }
void Share(FileObject* file, int32_t accessMode) { Run(kShare, file, accessMode); }
void Create(FileObject* file) { Run(kCreate, file); }
void Close(FileObject* file) { Run(kClose, file); }
void Destroy(FileObject* file, int32_t arg) { Run(kDestroy, file, arg); }

void Set(FileObject* file) { Run(kSetFile, file); }
void SetFromPosition(FileObject* file, int32_t pointer) { Run(kSetFilePtr, file, pointer); }
void Reset(FileObject* file, std::string_view position) { RunText(kResetFile, file, position); }
void Next(FileObject* file) { Run(kNext, file); }
void Previous(FileObject* file) { Run(kPrevious, file); }
void Get(FileObject* file, int32_t pointer) { Run(kGetFilePtr, file, pointer); }
void Get(FileObject* file, int32_t pointer, int32_t length) {
    Run(kGetFilePtrLen, file, pointer, length);
}
void Reget(FileObject* file, std::string_view position) { RunText(kRegetFile, file, position); }

void Add(FileObject* file) { Run(kAdd, file); }
void Add(FileObject* file, int32_t length) { Run(kAddFileLen, file, length); }
void Append(FileObject* file) { Run(kAppend, file); }
void Append(FileObject* file, int32_t length) { Run(kAppendLen, file, length); }
void Put(FileObject* file) { Run(kPut, file); }
void Put(FileObject* file, int32_t pointer) { Run(kPutFilePtr, file, pointer); }
void Put(FileObject* file, int32_t pointer, int32_t length) {
    Run(kPutFilePtrLen, file, pointer, length);
}

int32_t Pointer(FileObject* file) { return Run(kPointerFile, file); }

std::string Position(FileObject* file) {
    int depth = vstack::Depth();
    Run(kPositionFile, file);
    return StackResult(depth);
}

int32_t Bytes(FileObject* file) { return Run(kBytes, file); }
bool Eof(FileObject* file) { return Run(kEof, file) != 0; }

std::string Name(FileObject* file) {
    int depth = vstack::Depth();
    Run(kName, file);
    return StackResult(depth);
}

void Empty(FileObject* file) { Run(kEmpty, file); }
void Flush(FileObject* file) { Run(kFlush, file); }
void Remove(FileObject* file) { Run(kRemove, file); }
void Rename(FileObject* file, std::string_view newName) { RunText(kRename, file, newName); }
void Copy(FileObject* file, std::string_view newName) { RunText(kCopy, file, newName); }

void Lock(FileObject* file) { Run(kLockFile, file); }
void Lock(FileObject* file, int32_t seconds) { Run(kLockFileSec, file, seconds); }
void Unlock(FileObject* file) { Run(kUnlock, file); }

std::string Send(FileObject* file, std::string_view command) {
    int depth = vstack::Depth();
    RunText(kSend, file, command);
    return StackResult(depth);
}

void ClearBuffer(FileObject* file) { Run(kClear, file); }

int32_t GetState(FileObject* file) { return Run(kGetState, file); }
void RestoreState(FileObject* file, int32_t state) { Run(kRestoreState, file, state); }
void FreeState(FileObject* file, int32_t state) { Run(kFreeState, file, state); }

void StartTransaction(FileObject* file, int32_t arg) { Run(kStartTran, file, arg); }
void EndTransaction(FileObject* file, int32_t arg) { Run(kEndTran, file, arg); }
void Rollback(FileObject* file) { Run(kRollback, file); }
void Commit(FileObject* file) { Run(kCommit, file); }
void Watch(FileObject* file) { Run(kWatch, file); }
void Stream(FileObject* file) { Run(kStream, file); }
void BuildEvent(FileObject* file) { Run(kBuildEvent, file); }
void Hold(FileObject* file) { Run(kHoldFile, file); }
void Hold(FileObject* file, int32_t seconds) { Run(kHoldFileSec, file, seconds); }

void SetFromKey(FileObject* file, KeyObject* key) { RunKey(kSetFileKey, file, key); }
void SetKey(KeyObject* key) { RunKey(kSetKey, key->file, key); }
void SetKeyFromKey(KeyObject* key) { RunKey(kSetKeyKey, key->file, key); }
void SetKeyFromPosition(KeyObject* key, int32_t pointer) {
    RunKey(kSetKeyPtr, key->file, key, pointer);
}
void SetKeyFromKeyAndPosition(KeyObject* key, int32_t pointer) {
    RunKey(kSetKeyKeyPtr, key->file, key, pointer);
}
void ResetKey(KeyObject* key, std::string_view position) {
    OpArgs args;
    args.key = key;
    args.text = position;
    Dispatch(kResetKey, key->file, &args);
}

}  // namespace dove::files
