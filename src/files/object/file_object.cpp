#include "files/object/file_object.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "files/object/file_codes.h"
#include "files/object/file_dispatch.h"
#include "files/object/file_statements.h"
#include "runtime/errors/fault.h"

namespace dove::files {

namespace {

// A thread's copy of a THREAD file, with the parts that the copy owns.
struct ThreadCopy {
    const FileDefinition* def = nullptr;
    FileObject object;
    std::vector<char> record;
    std::vector<KeyObject> keys;
    std::vector<KeyObject*> keyList;
    std::vector<MemoObject> memos;
    std::vector<MemoObject*> memoList;
};

struct ThreadCopies {
    std::vector<std::unique_ptr<ThreadCopy>> copies;
    ~ThreadCopies();
};

thread_local ThreadCopies t_copies;

void DestroyCopies(std::vector<std::unique_ptr<ThreadCopy>>& copies) {
    // DESTROY may post errors; it must not see a half-torn list.
    std::vector<std::unique_ptr<ThreadCopy>> gone;
    gone.swap(copies);
    for (auto& copy : gone) Destroy(&copy->object, 0);
}

ThreadCopies::~ThreadCopies() { DestroyCopies(copies); }

void RelocateKeys(ThreadCopy& copy, const FileObject& pattern) {
    copy.keys.resize(pattern.keyCount);
    copy.keyList.resize(pattern.keyCount);
    for (size_t i = 0; i < copy.keys.size(); ++i) {
        copy.keys[i] = KeyObject{&copy.object, 0};
        copy.keyList[i] = &copy.keys[i];
    }
    copy.object.keys = copy.keyList.empty() ? nullptr : copy.keyList.data();
    copy.memos.resize(pattern.memoCount);
    copy.memoList.resize(pattern.memoCount);
    for (size_t i = 0; i < copy.memos.size(); ++i) {
        copy.memos[i] = MemoObject{&copy.object, {0, 0}};
        copy.memoList[i] = &copy.memos[i];
    }
    copy.object.memos = copy.memoList.empty() ? nullptr : copy.memoList.data();
}

ThreadCopy* MakeCopy(const FileDefinition& def) {
    auto copy = std::make_unique<ThreadCopy>();
    copy->def = &def;
    copy->object = def.pattern;
    copy->object.block = nullptr;
    copy->object.statusRecord = nullptr;
    copy->object.state = 0;
    copy->object.definition = &def;
    copy->record.assign(def.pattern.recordLength, ' ');
    copy->object.record = copy->record.empty() ? nullptr : copy->record.data();
    RelocateKeys(*copy, def.pattern);
    ClearRecord(copy->object);
    t_copies.copies.push_back(std::move(copy));
    return t_copies.copies.back().get();
}

bool IsBlankFilled(uint8_t type) {
    return type == kString || type == kStackStr || type == kPicture || type == kStdNum;
}

bool IsZeroFilled(uint8_t type) {
    return (type >= kByte && type <= kPDecimal) || type == kBFloat4 || type == kBFloat8 ||
           type == kCString || type == kPString;
}

// Group, memo and blob entries own no bytes of their own in the record.
bool HasNoBytes(uint8_t type) { return type == kGroup || type == kMemo || type == kBlob; }

// A field the runtime has no typed object for is fatal.
void RequireKnown(uint8_t type) {
    if (!HasNoBytes(type) && !IsBlankFilled(type) && !IsZeroFilled(type)) {
        InternalFault(1, "Make UFO Error");
    }
}

// The bytes of a field that lie inside the record.
uint32_t FieldSize(const FileObject& file, const FieldDesc& field) {
    if (HasNoBytes(field.type) || field.offset >= file.recordLength) return 0;
    return std::min(field.size, file.recordLength - field.offset);
}

void ClearField(const FileObject& file, const FieldDesc& field) {
    RequireKnown(field.type);
    uint32_t size = FieldSize(file, field);
    if (size) std::memset(file.record + field.offset, IsBlankFilled(field.type) ? ' ' : 0, size);
}

// Character data whose set is converted; numbers, dates and a PSTRING's
// length byte are binary and stay as they are.
void ConvertField(const FileObject& file, const FieldDesc& field, char* record,
                  void (*convert)(char*, uint32_t)) {
    RequireKnown(field.type);
    uint32_t size = FieldSize(file, field);
    if (field.type == kString || field.type == kCString) {
        if (size) convert(record + field.offset, size);
    } else if (field.type == kPString && size > 1) {
        convert(record + field.offset + 1, size - 1);
    }
}

}  // namespace

FileDefinition MakeDefinition(DriverEntry driver, void* nameVar, int32_t nameLength,
                              char* record, uint32_t recordLength, const RecordType* type,
                              uint8_t attributes, const char* driverString) {
    FileDefinition def;
    def.pattern.driver = driver;
    def.pattern.nameVar = nameVar;
    def.pattern.nameLength = nameLength;
    def.pattern.record = record;
    def.pattern.recordLength = recordLength;
    def.pattern.recordType = type;
    def.pattern.attributes = attributes;
    def.pattern.driverString = driverString ? driverString : "";
    return def;
}

FileObject* ThreadInstance(FileDefinition& def) {
    if (!(def.pattern.attributes & kAttrThread)) return &def.pattern;
    for (auto& copy : t_copies.copies) {
        if (copy->def == &def) return &copy->object;
    }
    return &MakeCopy(def)->object;
}

void DestroyThreadInstances() { DestroyCopies(t_copies.copies); }

std::string NameOf(const FileObject& file) {
    const char* p = static_cast<const char*>(file.nameVar);
    if (!p) return {};
    std::string name;
    if (file.nameLength == kNameZeroTerminated) {
        name = p;
    } else if (file.nameLength == kNameLengthPrefixed) {
        name.assign(p + 1, static_cast<unsigned char>(p[0]));
    } else if (file.nameLength > 0) {
        name.assign(p, strnlen(p, static_cast<size_t>(file.nameLength)));
    }
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

void ClearRecord(const FileObject& file) {
    if (!file.record || file.recordLength == 0) return;
    if (!file.recordType || !file.recordType->fields) {
        std::memset(file.record, ' ', file.recordLength);
        return;
    }
    for (uint32_t i = 0; i < file.recordType->fieldCount; ++i) {
        ClearField(file, file.recordType->fields[i]);
    }
}

void ConvertRecordText(const FileObject& file, char* record, void (*convert)(char*, uint32_t)) {
    if (!record || file.recordLength == 0) return;
    if (!file.recordType || !file.recordType->fields) {
        convert(record, file.recordLength);
        return;
    }
    for (uint32_t i = 0; i < file.recordType->fieldCount; ++i) {
        ConvertField(file, file.recordType->fields[i], record, convert);
    }
}

}  // namespace dove::files
