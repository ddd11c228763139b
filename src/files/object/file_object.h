// The file object: the run-time record of a defined file, through which every
// file statement reaches its driver.
//
// A procedure defines a file once (a FileDefinition with its name variable,
// record buffer, record type and driver). A file without the THREAD
// attribute is used through the definition's own object; a THREAD file has
// one object per thread, copied from the definition on first use:
//
//   static char name[255];
//   static char line[255];
//   static const FieldDesc kFields[] = {{kString, "LOC:LINE", 0, 255}};
//   static const RecordType kType = {22, 255, 1, kFields};
//   static FileDefinition def = MakeDefinition(TextDriverEntry(), name, -1,
//                                              line, 255, &kType, kAttrCreate | kAttrThread);
//   FileObject* file = ThreadInstance(def);   // this thread's copy
//
// Ownership: the driver block belongs to the driver and lives until DESTROY;
// a thread's copies are destroyed (DESTROY, then freed) when the thread ends
// or on DestroyThreadInstances().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dove::files {

struct FileObject;
struct KeyObject;
struct OpArgs;

// The one entry function of a driver.
using DriverEntry = int32_t (*)(int32_t op, FileObject* file, const OpArgs* args);

constexpr int32_t kKindFile = 76;
constexpr int32_t kKindView = 32;

// Name variable forms.
constexpr int32_t kNameZeroTerminated = -1;
constexpr int32_t kNameLengthPrefixed = -2;

// Definition attribute flags.
enum : uint8_t {
    kAttrEncrypt = 2,
    kAttrCreate = 4,
    kAttrReclaim = 8,
    kAttrThread = 16,
    kAttrOem = 32,
    kAttr64 = 64,
};

// Run-time state flags.
enum : uint8_t {
    kStateRemote = 1,
    kStateNoTrace = 2,
};

struct FieldDesc {
    uint8_t type;        // FieldType
    const char* label;
    uint32_t offset;     // within the record buffer
    uint32_t size;
};

struct RecordType {
    uint8_t groupCode;
    uint32_t size;
    uint32_t fieldCount;
    const FieldDesc* fields;
};

struct KeyObject {
    FileObject* file;
    int32_t scratch;     // cleared by the per-thread set-up
};

struct MemoObject {
    FileObject* file;
    int32_t scratch[2];
};

// Kept from the moment the driver block is built until DESTROY.
struct StatusRecord {
    bool opened = false;
};

struct DriverBlock;

struct FileObject {
    int32_t kind = kKindFile;
    DriverEntry driver = nullptr;
    void (*pendingHook)(FileObject*) = nullptr;
    DriverBlock* block = nullptr;
    void* nameVar = nullptr;
    int32_t nameLength = kNameZeroTerminated;
    int32_t reserved[4] = {};
    char* record = nullptr;
    uint32_t recordLength = 0;
    const RecordType* recordType = nullptr;
    KeyObject** keys = nullptr;
    MemoObject** memos = nullptr;
    uint8_t keyCount = 0;
    uint8_t memoCount = 0;
    uint8_t attributes = 0;
    uint8_t state = 0;
    StatusRecord* statusRecord = nullptr;
    // Not part of the fixed record: the definition's driver string, the
    // primary file of a view, and the definition a thread copy came from.
    const char* driverString = "";
    FileObject* primary = nullptr;
    const struct FileDefinition* definition = nullptr;
};

// A definition is the pattern object; THREAD files are copied from it.
struct FileDefinition {
    FileObject pattern;
};

FileDefinition MakeDefinition(DriverEntry driver, void* nameVar, int32_t nameLength,
                              char* record, uint32_t recordLength, const RecordType* type,
                              uint8_t attributes, const char* driverString = "");

// The object to use in this thread: the pattern itself, or, for a THREAD
// file, this thread's copy (made and set up on first use).
FileObject* ThreadInstance(FileDefinition& def);

// DESTROY every copy this thread holds, then free them.
void DestroyThreadInstances();

// The file name the name variable holds, clipped of trailing blanks.
std::string NameOf(const FileObject& file);

// Sets every field of the record to its empty value by the type descriptor:
// strings blank, numbers zero. Without a descriptor the whole buffer is
// blanked. A field type the runtime cannot handle is fatal (501).
void ClearRecord(const FileObject& file);

// Converts the character set of the record's text fields (STRING, CSTRING,
// the text of a PSTRING) in place; record is laid out as the file's. Without
// a descriptor the whole record is text. Fatal (501) as ClearRecord.
void ConvertRecordText(const FileObject& file, char* record, void (*convert)(char*, uint32_t));

}  // namespace dove::files
