#include "app/worklog_file.h"

#include "files/error_record.h"
#include "files/file_codes.h"
#include "files/file_dispatch.h"
#include "files/file_statements.h"
#include "files/text_driver.h"

namespace dove::app::worklog {
namespace {

constexpr int kFileNotFound = 2;
constexpr int kRecordNotAvailable = 33;
constexpr char kEndOfDataMark = 26;
// A rewrite writes the bytes of the line as read, so TAB characters must
// come into the record as they are, not expanded into blanks; and the whole
// file is read at start, in larger pieces than the default window.
constexpr char kDriverString[] = "/TAB=-100 /FILEBUFFERS=64";

bool HasBreakInside(const VersionRecord& line, uint32_t size) {
    uint32_t n = size < kRecordSize ? size : kRecordSize;
    for (uint32_t i = 0; i < n; ++i) {
        if (line.bytes[i] == '\r' || line.bytes[i] == '\n') return true;
    }
    return false;
}

}  // namespace

VersionFile::VersionFile(char* fileName, VersionRecord* record)
    : record_(record),
      def_(files::MakeDefinition(files::TextDriverEntry(), fileName, files::kNameZeroTerminated,
                                 record->bytes, kRecordSize, &VersionRecordType(),
                                 files::kAttrCreate, kDriverString)) {}

VersionFile::~VersionFile() { files::Destroy(object(), 0); }

bool VersionFile::Open() {
    files::Open(object(), kVersionFileAccess);
    if (err::Code() == kFileNotFound) {
        files::Create(object());
        files::Open(object(), kVersionFileAccess);
    }
    openError_ = err::Code();
    open_ = openError_ == 0;
    openErrorText_ = open_ ? std::string() : err::Text() + "|" + files::NameOf(*object());
    if (open_) RecordSizes(true);
    return open_;
}

void VersionFile::Close() {
    if (open_) files::Close(object());
    open_ = false;
}

void VersionFile::RecordSizes(bool on) {
    files::OpArgs args;
    args.n[0] = files::kPropertyRecordSizes;
    args.n[1] = on ? 1 : 0;
    files::Dispatch(files::kSetProperty, object(), &args);
}

uint32_t VersionFile::FileSize() {
    RecordSizes(false);
    int32_t size = files::Bytes(object());
    RecordSizes(true);
    return size > 0 ? static_cast<uint32_t>(size) : 0;
}

// Where the data ends: before a final end-of-data mark, when there is one.
uint32_t VersionFile::DataEnd() {
    uint32_t size = FileSize();
    if (size == 0) return 0;
    files::Get(object(), static_cast<int32_t>(size));
    return err::Code() == kRecordNotAvailable ? size - 1 : size;
}

// Whether the LF before offset `end` follows a CR. Read through the driver:
// a read at a CR before LF finds an empty line, at anything else text.
bool VersionFile::CrBeforeLf(uint32_t end) {
    if (end < 2) return false;
    files::Get(object(), static_cast<int32_t>(end - 1));
    return err::Code() == 0 && record_->bytes[0] == ' ' && record_->bytes[1] == ' ';
}

// The byte before offset `end`, as a read there finds it: a lone LF or CR,
// or other text, as it stands; an end-of-data mark as the end of the data.
char VersionFile::LastByte(uint32_t end) {
    if (end == 0) return 0;
    files::Get(object(), static_cast<int32_t>(end));
    if (err::Code() == kRecordNotAvailable) return kEndOfDataMark;
    return err::Code() ? 0 : record_->bytes[0];
}

// Whether an editor starts a new line after offset `end`: CR LF, and also a
// lone LF (a file written with LF only) or a lone CR.
bool VersionFile::EndsWithLineEnd(uint32_t end) {
    char last = LastByte(end);
    return last == '\n' || last == '\r';
}

LineShape VersionFile::ShapeOf(uint32_t pointer, uint32_t size) {
    VersionRecord line = *record_;
    uint32_t end = pointer - 1 + size;
    char last = LastByte(end);
    LineShape shape{size, last == '\n' && CrBeforeLf(end), end >= FileSize(),
                    HasBreakInside(line, size), last == kEndOfDataMark};
    *record_ = line;
    return shape;
}

bool VersionFile::RewriteLabel(uint32_t pointer, uint32_t size, const char* label) {
    LineShape shape = ShapeOf(pointer, size);
    int32_t length = RewriteLength(shape);
    if (length < 0) return true;
    record_->Set(kLabel, label);
    files::Send(object(), "CLIP=OFF");
    files::Put(object(), static_cast<int32_t>(pointer), length);
    // The write ends with a line break; a last line that had none must not
    // gain one, so the file is cut back to where the line ended (a write of
    // no bytes truncates).
    if (err::Code() == 0 && !shape.endsWithBreak) {
        files::Put(object(), static_cast<int32_t>(pointer) + length, 0);
    }
    int error = err::Code();
    files::Send(object(), "CLIP=ON");
    if (error) {
        err::Post(error);
        return false;
    }
    return true;
}

PreparedFile VersionFile::CommentOutAll() {
    PreparedFile prepared;
    record_->Clear();
    files::Set(object());
    files::Next(object());
    if (err::Code()) return prepared;
    prepared.hadLines = true;
    VersionRecord last;
    int32_t lastPointer = 0;
    do {
        lastPointer = files::Pointer(object());
        last = *record_;
        if (record_->bytes[0] != '!') {
            RewriteLabel(static_cast<uint32_t>(lastPointer),
                         static_cast<uint32_t>(files::Bytes(object())), kCommentLabel);
        }
        last.Set(kLabel, kActiveLabel);
        files::Next(object());
    } while (err::Code() == 0);
    files::Get(object(), lastPointer);
    prepared.lastPosition = files::Position(object());
    *record_ = last;
    return prepared;
}

VersionFile::Restore VersionFile::RestoreLine(std::string_view position) {
    record_->Clear();
    files::Reget(object(), position);
    // No rewrite after a failed read: the record is blank then, and writing
    // it would blank the line.
    if (err::Code()) return Restore::ReadFailed;
    uint32_t pointer = static_cast<uint32_t>(files::Pointer(object()));
    uint32_t size = static_cast<uint32_t>(files::Bytes(object()));
    return RewriteLabel(pointer, size, kActiveLabel) ? Restore::Done : Restore::WriteFailed;
}

bool VersionFile::Append() {
    VersionRecord entry = *record_;
    uint32_t end = DataEnd();
    if (end > 0 && !EndsWithLineEnd(end)) {
        record_->Clear();
        files::Add(object());   // a blank record is written as the line break alone
        if (err::Code()) {
            *record_ = entry;
            return false;
        }
    }
    *record_ = entry;
    files::Add(object());
    return err::Code() == 0;
}

}  // namespace dove::app::worklog
