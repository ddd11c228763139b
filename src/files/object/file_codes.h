// The vocabulary between file statements and drivers: operation codes with
// the names the trace log prints, and the field type codes of record type
// descriptors.
//
//   dove::files::OperationName(dove::files::kNext)   // "NEXT"
//   dove::files::FieldTypeName(18)                    // "STRING"
#pragma once

#include <cstdint>

namespace dove::files {

enum Op : int32_t {
    kAdd = 1, kBof = 2, kBuildFile = 3, kAppend = 4, kBuildDyn = 5, kBuildKey = 6,
    kClose = 7, kCommit = 8, kCopy = 9, kCreate = 10, kDelete = 11, kDuplicate = 12,
    kEmpty = 13, kEof = 14, kGetFileKey = 15, kGetFilePtr = 16, kGetKeyPtr = 17,
    kHoldFile = 18, kHoldFileSec = 19, kLockFile = 20, kLockFileSec = 21, kLogout = 22,
    kName = 23, kNext = 24, kOpen = 25, kPack = 26, kPointerFile = 27, kPointerKey = 28,
    kFlush = 29, kPut = 30, kPrevious = 31, kRecordsFile = 32, kRecordsKey = 33,
    kBuildDynFilter = 34, kStartTran = 35, kRelease = 36, kRemove = 37, kRename = 38,
    kEndTran = 39, kRollback = 40, kSetFile = 41, kSetFileKey = 42, kSetFilePtr = 43,
    kSetKey = 44, kSetKeyKey = 45, kSetKeyPtr = 46, kSetKeyKeyPtr = 47, kShare = 48,
    kSkip = 49, kUnlock = 50, kAddFileLen = 51, kBytes = 52, kGetFilePtrLen = 53,
    kPutFilePtr = 54, kPutFilePtrLen = 55, kStream = 56, kDuplicateKey = 57, kWatch = 58,
    kAppendLen = 59, kSend = 60, kPositionFile = 61, kPositionKey = 62, kResetFile = 63,
    kResetKey = 64, kNoMemo = 65, kRegetFile = 66, kRegetKey = 67, kNull = 68,
    kSetNull = 69, kSetNoNull = 70, kSetProperty = 71, kGetProperty = 72, kQueryKey = 73,
    kQueryView = 74, kBlobYield = 75, kBlobTake = 76, kBlobSize = 77, kBlobSetProp = 78,
    kBlobGetProp = 79, kBuffer = 80, kSetView = 81, kClear = 82, kResetViewFile = 83,
    kBuildEvent = 84, kSetPropertyKey = 85, kGetPropertyKey = 86, kInternal87 = 87,
    kDoProperty = 88, kDoPropertyKey = 89, kDoPropertyBlob = 90, kInternal91 = 91,
    kInView = 92, kEndView = 93, kInternal94 = 94, kCountRecords = 95, kGetNulls = 96,
    kSetNulls = 97, kGetState = 98, kRestoreState = 99, kInternal100 = 100,
    kFreeState = 102, kSqlCallback = 103, kDestroy = 104,
    // Internal to the file layer, without names.
    kRebuildProbe = 107, kInternal108 = 108,
};

constexpr int32_t kLastOp = 104;

// The trace name of an operation; "(0)" outside 1..104, "(101)" for 101.
const char* OperationName(int32_t code);

// Field type codes of record type descriptors.
enum FieldType : uint8_t {
    kEnd = 0, kByte = 1, kShort = 2, kUShort = 3, kDate = 4, kTime = 5, kLong = 6,
    kULong = 7, kSReal = 8, kReal = 9, kDecimal = 10, kPDecimal = 11, kDum1 = 12,
    kBFloat4 = 13, kBFloat8 = 14, kAny = 15, kTempUfo = 16, kUnnamed17 = 17,
    kString = 18, kCString = 19, kPString = 20, kMemo = 21, kGroup = 22, kClass = 23,
    kArray = 24, kField = 25, kQueue = 26, kBlob = 27, kStackStr = 28, kPicture = 29,
    kStdNum = 30,
};

// "STRING" for 18, "(17)" for 17, "UNKNOWN" outside 0..30.
const char* FieldTypeName(int32_t code);

}  // namespace dove::files
