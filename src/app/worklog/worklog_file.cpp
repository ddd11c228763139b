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

bool VersionFile::Open() { return OpenWith(kVersionFileAccess, true); }

bool VersionFile::OpenToLook() { return OpenWith(kLookAccess, false); }

bool VersionFile::OpenWith(int32_t access, bool createMissing) {
    dataEndKnown_ = false;
    files::Open(object(), access);
    if (createMissing && err::Code() == kFileNotFound) {
        files::Create(object());
        files::Open(object(), access);
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
    dataEndKnown_ = false;
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

// Most lines end within the file in a line break whose text the record
// holds whole: their ending is read from the record. The file's last line
// (which may just stop, or end in a lone CR) and lines longer than the
// record are looked at byte by byte.
VersionFile::Line VersionFile::Examine(uint32_t pointer, uint32_t size, uint32_t fileSize) {
    bool endsTheFile = pointer - 1 + size >= fileSize;
    if (size == 0 || endsTheFile || size - 1 > kRecordSize) {
        return ExamineByBytes(pointer, size, endsTheFile);
    }
    Line line;
    line.ending = size >= 2 && record_->bytes[size - 2] == '\r' ? kCrLf : kLf;
    line.lastByteUnsure = true;
    uint32_t ending = static_cast<uint32_t>(line.ending.size());
    line.shape = LineShape{size, ending, false, HasCrIn(*record_, size - ending)};
    return line;
}

VersionFile::Line VersionFile::ExamineByBytes(uint32_t pointer, uint32_t size, bool endsTheFile) {
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
    if (last == '\r' && endsTheFile) line.ending = "\r";
    uint32_t ending = static_cast<uint32_t>(line.ending.size());
    line.shape = LineShape{size, ending, endsTheFile, HasCrIn(read, size - ending)};
    *record_ = read;
    return line;
}

void VersionFile::Settle(uint32_t pointer, Line* line) {
    if (!line->lastByteUnsure) return;
    VersionRecord read = *record_;
    if (ByteAt(pointer - 2 + line->shape.size) == kEndOfDataMark) line->ending.back() = '\x1A';
    *record_ = read;
    line->lastByteUnsure = false;
}

template <typename Visit>
void VersionFile::EachLine(Visit&& visit) {
    uint32_t fileSize = FileSize();   // the pass's rewrites keep it
    files::Set(object());
    files::Next(object());
    while (err::Code() == 0) {
        uint32_t pointer = static_cast<uint32_t>(files::Pointer(object()));
        Line line = Examine(pointer, static_cast<uint32_t>(files::Bytes(object())), fileSize);
        visit(pointer, line);
        files::Next(object());
    }
}

void VersionFile::DataEndScan::Add(uint32_t pointer, const Line& line) {
    end.stop = pointer - 1 + line.shape.size;
    if (line.lastByteUnsure) {
        unsure.push_back({end.stop, line.ending == kCrLf});
    } else if (line.ending == kLf || line.ending == kCrLf) {
        end.lineEnd = line.ending;
        unsure.clear();
    }
}

VersionFile::DataEnd VersionFile::Finish(DataEndScan& scan) {
    for (auto it = scan.unsure.rbegin(); it != scan.unsure.rend(); ++it) {
        if (ByteAt(it->end - 1) == '\n') {
            scan.end.lineEnd = it->crLf ? kCrLf : kLf;
            break;
        }
    }
    if (scan.end.lineEnd.empty()) scan.end.lineEnd = kCrLf;
    return scan.end;
}

bool VersionFile::RewriteLabel(uint32_t pointer, Line line, const char* label) {
    int32_t length = RewriteLength(line.shape);
    if (length < 0) return true;
    Settle(pointer, &line);
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

void VersionFile::TakeEntry(uint32_t pointer, const LineShape& shape) {
    files::Get(object(), static_cast<int32_t>(pointer));
    BlankEnding(record_, shape);
    record_->Set(kLabel, kActiveLabel);
}

PreparedFile VersionFile::CommentOutAll() {
    PreparedFile prepared;
    record_->Clear();
    DataEndScan scan;
    uint32_t lastPointer = 0;
    LineShape lastShape;
    EachLine([&](uint32_t pointer, const Line& line) {
        scan.Add(pointer, line);
        if (!HoldsEntry(line.shape, *record_)) return;
        lastPointer = pointer;
        lastShape = line.shape;
        if (record_->bytes[0] != '!') RewriteLabel(pointer, line, kCommentLabel);
    });
    dataEnd_ = Finish(scan);
    dataEndKnown_ = true;
    // A file without a line that can hold an entry is treated as empty: the
    // first entry gets version 1.00 and build 0001, and Cancel has nothing
    // to restore.
    record_->Clear();
    if (lastPointer == 0) return prepared;
    prepared.hadLines = true;
    TakeEntry(lastPointer, lastShape);
    prepared.lastPosition = files::Position(object());
    return prepared;
}

bool VersionFile::FindActiveEntry() {
    uint32_t activePointer = 0;
    LineShape activeShape;
    EachLine([&](uint32_t pointer, const Line& line) {
        if (record_->bytes[0] == '!' || !HoldsEntry(line.shape, *record_)) return;
        activePointer = pointer;
        activeShape = line.shape;
    });
    record_->Clear();
    if (activePointer == 0) return false;
    TakeEntry(activePointer, activeShape);
    return err::Code() == 0;
}

VersionFile::Restore VersionFile::RestoreLine(std::string_view position) {
    record_->Clear();
    files::Reget(object(), position);
    // No rewrite after a failed read: the record is blank then, and writing
    // it would blank the line.
    if (err::Code()) return Restore::ReadFailed;
    uint32_t pointer = static_cast<uint32_t>(files::Pointer(object()));
    uint32_t size = static_cast<uint32_t>(files::Bytes(object()));
    Line line = Examine(pointer, size, FileSize());
    return RewriteLabel(pointer, line, kActiveLabel) ? Restore::Done : Restore::WriteFailed;
}

VersionFile::DataEnd VersionFile::ScanDataEnd() {
    if (dataEndKnown_) return dataEnd_;
    DataEndScan scan;
    EachLine([&](uint32_t pointer, const Line& line) { scan.Add(pointer, line); });
    return Finish(scan);
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
    dataEndKnown_ = false;   // the file grows or is cut below
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
