#include "app/worklog/worklog_file.h"

#include "runtime/errors/error_record.h"
#include "files/object/file_codes.h"
#include "files/object/file_dispatch.h"
#include "files/object/file_statements.h"
#include "files/text/text_driver.h"

#include <algorithm>

namespace dove::app::worklog {
namespace {

constexpr int kFileNotFound = 2;
constexpr int kRecordNotAvailable = 33;
constexpr int kEndOfDataMark = 26;
constexpr char kLf[] = "\n";
constexpr char kCrLf[] = "\r\n";
constexpr char kHiddenText[] =
    "The file has text after an end-of-data mark; an entry written after it would not be read";
// A rewrite writes the bytes of the line as read, so TAB characters must
// come into the record as they are, not expanded into blanks; and the whole
// file is read at start, in larger pieces than the default window. Lines
// end at their LF: a file written with LF alone, or one that mixes LF and
// CR LF lines (as version control and editors leave them), then reads line
// by line, where a CR LF delimiter would read it as one over-long line. A
// CR before the LF belongs to the line's ending, found by Examine.
constexpr char kDriverString[] = "/TAB=-100 /FILEBUFFERS=64 /ENDOFRECORD=1,10";

bool HasCrIn(const VersionRecord& line, uint32_t text) {
    uint32_t n = text < kRecordSize ? text : kRecordSize;
    for (uint32_t i = 0; i < n; ++i) {
        if (line.bytes[i] == '\r') return true;
    }
    return false;
}

// The line's ending is no part of the entry: blank it in the buffer, so a
// CR never stands among the version's or the build's columns.
void BlankEnding(VersionRecord* line, const LineShape& shape) {
    uint32_t text = shape.size - shape.ending;
    for (uint32_t i = text; i < shape.size && i < kRecordSize; ++i) line->bytes[i] = ' ';
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

void VersionFile::SetDelimiter(std::string_view bytes) {
    std::string command = "ENDOFRECORD=" + std::to_string(bytes.size());
    for (char c : bytes) command += "," + std::to_string(static_cast<unsigned char>(c));
    files::Send(object(), command);
}

// The byte at an offset as a read there finds it, with a blank as the
// delimiter: a blank reads as an empty line (a blank), any other byte
// stands in column 1, and an end-of-data mark ends the data. -1 when the
// read fails. The record is the caller's to keep.
int VersionFile::ByteAt(uint32_t offset) {
    SetDelimiter(" ");
    files::Get(object(), static_cast<int32_t>(offset) + 1);
    int error = err::Code();
    unsigned char first = static_cast<unsigned char>(record_->bytes[0]);
    SetDelimiter(kLf);
    if (error == kRecordNotAvailable) return kEndOfDataMark;
    return error ? -1 : first;
}

VersionFile::Line VersionFile::Examine(uint32_t pointer, uint32_t size) {
    VersionRecord read = *record_;
    Line line;
    uint32_t end = pointer - 1 + size;
    int last = size ? ByteAt(end - 1) : -1;
    if (last == '\n') {
        line.ending = size >= 2 && ByteAt(end - 2) == '\r' ? kCrLf : kLf;
    } else if (last == kEndOfDataMark) {
        // A CR before the mark ends the line to an editor, as it does at the
        // file's end, and stays the line's once the mark gives way to an entry.
        line.ending = size >= 2 && ByteAt(end - 2) == '\r' ? "\r\x1A" : "\x1A";
    }
    bool endsTheFile = end >= FileSize();
    if (last == '\r' && endsTheFile) line.ending = "\r";
    uint32_t ending = static_cast<uint32_t>(line.ending.size());
    line.shape = LineShape{size, ending, endsTheFile, HasCrIn(read, size - ending)};
    *record_ = read;
    return line;
}

bool VersionFile::RewriteLabel(uint32_t pointer, const Line& line, const char* label) {
    int32_t length = RewriteLength(line.shape);
    if (length < 0) return true;
    record_->Set(kLabel, label);
    files::Send(object(), "CLIP=OFF");
    if (!line.ending.empty()) SetDelimiter(line.ending);
    files::Put(object(), static_cast<int32_t>(pointer), length);
    // The write ends with a delimiter; a last line that had none must not
    // gain one, so the file is cut back to where the line ended.
    if (err::Code() == 0 && line.ending.empty()) {
        files::Put(object(), static_cast<int32_t>(pointer) + length, 0);
    }
    int error = err::Code();
    SetDelimiter(kLf);
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
    VersionRecord last;
    last.Clear();
    int32_t lastPointer = 0;
    while (err::Code() == 0) {
        int32_t pointer = files::Pointer(object());
        Line line = Examine(static_cast<uint32_t>(pointer),
                            static_cast<uint32_t>(files::Bytes(object())));
        if (HoldsEntry(line.shape, *record_)) {
            lastPointer = pointer;
            last = *record_;
            BlankEnding(&last, line.shape);
            last.Set(kLabel, kActiveLabel);
            if (record_->bytes[0] != '!') {
                RewriteLabel(static_cast<uint32_t>(pointer), line, kCommentLabel);
            }
        }
        files::Next(object());
    }
    // A file without a line that can hold an entry is treated as empty: the
    // first entry gets version 1.00 and build 0001, and Cancel has nothing
    // to restore.
    if (lastPointer == 0) {
        record_->Clear();
        return prepared;
    }
    prepared.hadLines = true;
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
    Line line = Examine(pointer, static_cast<uint32_t>(files::Bytes(object())));
    return RewriteLabel(pointer, line, kActiveLabel) ? Restore::Done : Restore::WriteFailed;
}

VersionFile::DataEnd VersionFile::ScanDataEnd() {
    DataEnd end;
    end.lineEnd = kCrLf;
    files::Set(object());
    files::Next(object());
    while (err::Code() == 0) {
        uint32_t pointer = static_cast<uint32_t>(files::Pointer(object()));
        Line line = Examine(pointer, static_cast<uint32_t>(files::Bytes(object())));
        end.stop = pointer - 1 + line.shape.size;
        if (line.ending == kLf || line.ending == kCrLf) end.lineEnd = line.ending;
        files::Next(object());
    }
    return end;
}

bool VersionFile::OnlyMarksFrom(uint32_t offset, uint32_t size) {
    for (uint32_t i = offset; i < size; ++i) {
        if (ByteAt(i) != kEndOfDataMark) return false;
    }
    return true;
}

bool VersionFile::Truncate(uint32_t offset) {
    files::Put(object(), static_cast<int32_t>(offset) + 1, 0);   // no bytes: cut there
    return err::Code() == 0;
}

bool VersionFile::Append() {
    VersionRecord entry = *record_;
    DataEnd data = ScanDataEnd();
    uint32_t size = FileSize();
    // Reading stops at the first end-of-data mark that begins a line, so an
    // entry written after a second mark would never be read again. When
    // only marks follow, the entry takes their place (as it takes the place
    // of a single mark). Text hidden behind a mark is neither overwritten
    // nor made readable: the entry is refused with the reason.
    if (!OnlyMarksFrom(data.stop, size)) {
        err::Post(err::kFileSystemError);
        err::PostFileError("", kHiddenText);
        return false;
    }
    uint32_t end = std::min(data.stop, size);
    if (end > 0 && ByteAt(end - 1) == kEndOfDataMark) --end;
    bool ok = end == size || Truncate(end);
    // Only an LF ends a line for the reader: a last line that ends in a
    // lone CR is completed with the LF, any other gets the file's line end.
    int last = end > 0 ? ByteAt(end - 1) : '\n';
    if (ok && last != '\n') {
        SetDelimiter(last == '\r' ? kLf : data.lineEnd);
        record_->Clear();
        files::Add(object());   // a blank record is written as the line break alone
        ok = err::Code() == 0;
    }
    if (ok) {
        SetDelimiter(data.lineEnd);
        *record_ = entry;
        files::Add(object());
        ok = err::Code() == 0;
    }
    int error = err::Code();
    *record_ = entry;
    SetDelimiter(kLf);
    if (error) err::Post(error);
    return ok;
}

}  // namespace dove::app::worklog
