// The one dispatcher through which every file statement passes, and the
// process-wide registry of triggers.
//
// A statement builds its argument list and calls Dispatch(); the dispatcher
// runs the file's pending hook, asks the file's triggers (those of a view's
// primary file for a view), calls the driver entry unless a trigger vetoed,
// and tells the triggers afterwards. The driver posts its own errors.
//
//   OpArgs args;
//   args.n[0] = 0x42;
//   Dispatch(kOpen, file, &args);
//   if (dove::err::Code()) ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/object/file_object.h"

namespace dove::files {

// The statement's arguments after the file. Numbers are 32-bit words in
// source order; a key statement passes its key; SEND, COPY and RENAME pass
// their text; REGET and RESET pass their position string.
struct OpArgs {
    KeyObject* key = nullptr;
    int32_t n[3] = {};
    std::string_view text;
};

// What the triggers see of one operation. String arguments are copied.
struct OperationContext {
    int32_t op = 0;
    FileObject* file = nullptr;
    OpArgs args;
    std::string text;
};

constexpr size_t kTriggerTextSize = 256;
constexpr size_t kTriggerCodeSize = 81;

// A trigger answers true to let the operation go on. On false it leaves its
// reason, zero-terminated, in errorText and errorCode.
class Trigger {
public:
    virtual ~Trigger() = default;
    virtual bool Before(const OperationContext& ctx, char* errorText, char* errorCode) = 0;
    virtual bool After(const OperationContext& ctx, char* errorText, char* errorCode) = 0;
};

// Triggers run in the order they were added. The registry does not own them.
void AddTrigger(FileObject* file, Trigger* trigger);
void RemoveTrigger(FileObject* file, Trigger* trigger);

int32_t Dispatch(int32_t op, FileObject* file, const OpArgs* args);


}  // namespace dove::files
