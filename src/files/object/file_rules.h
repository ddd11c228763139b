// The status word of a driver block, the post-operation word, and the table
// of operation rules that every driver checks before it runs an operation.
//
// Each row says which status bits an operation needs and which forbid it,
// and what changes after success or failure. CheckRules() turns a missing or
// forbidden bit into the error number the user sees; some refusals are
// silent (nothing posted, error state left alone).
//
//   int err = CheckRules(kNext, block.status, key, &ok);
//   if (!ok) ...   // err: 37, 33, ... or kSilent
#pragma once

#include <cstdint>

namespace dove::files {

// Status word bits.
enum : uint32_t {
    kStOpen = 1,
    kStCurrent = 2,
    kStLogout = 4,
    kStStream = 8,
    kStLocked = 16,
    kStSequence = 32,
    kStWriteAccess = 64,
    kStDenyWrite = 128,
    kStInView = 256,
    kStWatchPending = 512,
    kStWatchArmed = 1024,
    kStHoldPending = 2048,
    kStHoldArmed = 4096,
    kStReadAhead = 8192,
    kStBuilding = 16384,
};

// Post-operation word bits.
enum : uint32_t {
    kPostClearErrors = 1,
    kPostForgetLast = 2,
    kPostRemember = 4,
    kPostRememberRecordOp = 16,
    kPostResetReadAhead = 32,
};

struct OpRule {
    uint32_t post;           // (a) post-operation bits after success
    uint32_t requires;       // (b)
    uint32_t forbids;        // (c)
    uint32_t setOnSuccess;   // (d)
    uint32_t clearOnSuccess; // (e)
    uint32_t clearOnFailure; // (f)
};

// The row of an operation; null outside 1..104.
const OpRule* RuleOf(int32_t op);

// A refusal that posts nothing.
constexpr int kSilent = -1;

// The rule check: 0 when the operation may run, else the error to post
// (kSilent for a silent refusal). keyOfOtherFile: a key argument that belongs
// to another file (38). Codes outside the table give 80.
int CheckRules(int32_t op, uint32_t status, bool keyOfOtherFile);

// The status word after the operation: (d)/(e) on success, (f) on failure;
// WATCH bits are always dropped, and a successful CLOSE of an open file
// clears the word entirely.
uint32_t StatusAfter(int32_t op, uint32_t status, bool succeeded);

}  // namespace dove::files
