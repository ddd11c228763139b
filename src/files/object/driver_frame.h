// What every driver shares: the common part of the driver block, the rule
// check and status bookkeeping around each operation, and error posting.
//
// A driver supplies a DriverOps table; its entry function hands each call to
// RunOperation(), which builds the block on the first operation (under the
// driver's lock unless the file is per thread), checks the operation rules,
// runs the driver's own Perform(), applies the status changes and posts the
// result.
//
//   int32_t MyEntry(int32_t op, FileObject* f, const OpArgs* a) {
//       return RunOperation(kMyOps, op, f, a);
//   }
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "files/object/file_dispatch.h"
#include "files/object/file_object.h"

namespace dove::files {

// Property flag of the common block: BYTES reports the current record's size.
constexpr uint32_t kPropRecordSizes = 1;

struct DriverBlock {
    virtual ~DriverBlock() = default;
    std::string fileName;            // resolved at OPEN
    FileObject* file = nullptr;
    uint8_t attributes = 0;
    char* record = nullptr;
    uint32_t recordLength = 0;
    int32_t accessMode = 0;
    int32_t lastOp = 0;
    int32_t lastResult = 0;
    uint32_t status = 0;
    uint32_t postOp = 0;
    bool trace = false;
    uint32_t properties = 0;
    bool rebuildPending = false;     // set by the text driver's REGISTER
    std::string driverString;
};

// What one operation of a driver produced: an error (0, a number to post,
// or kSilent) and the entry's result value.
struct OpResult {
    int error = 0;
    int32_t value = 0;
    bool noRecord = false;   // succeeded without making a record current
};

struct DriverOps {
    const char* name;
    std::mutex* lock;                                  // guards block creation
    DriverBlock* (*makeBlock)(FileObject* file);
    OpResult (*perform)(DriverBlock* block, int32_t op, const OpArgs* args);
    void (*closeForDestroy)(DriverBlock* block);       // DESTROY of an open file
};

int32_t RunOperation(const DriverOps& ops, int32_t op, FileObject* file, const OpArgs* args);

// Posts n (0: the last OS error) and, for a file of kind 76, sets the error
// file.
void PostDriverError(int code, FileObject* file);

// The trace log of the file layer: a process-wide sink, null when tracing is
// off. Drivers write a line when their block has tracing on.
using TraceSink = void (*)(const std::string& line);
void SetTraceSink(TraceSink sink);
void Trace(const DriverBlock& block, const std::string& line);

}  // namespace dove::files
