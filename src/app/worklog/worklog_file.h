// The version file of the Log/Version utility: opened through the text
// driver for reading and writing while others may only read, its earlier
// entries turned into comment lines, the last one restored on Cancel, the
// new entry appended on OK.
//
//   VersionFile file(fileName, &record);   // fileName: the program's FILENAME
//   file.Open();                           // creates the file only when missing
//   PreparedFile p = file.CommentOutAll();
//   ...
//   if (!file.Append()) Message(err::Text());
//   file.Close();
//
// A line is rewritten only where the new text covers exactly the bytes the
// line had (see RewriteLength), so no byte outside it ever changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/worklog/worklog_record.h"
#include "files/object/file_object.h"

namespace dove::app::worklog {

constexpr size_t kFileNameSize = 120;   // FILENAME: at most 119 characters
constexpr int32_t kVersionFileAccess = 0x22;   // read/write, others read only
constexpr int32_t kLookAccess = 0x40;          // read only, others anything

struct PreparedFile {
    bool hadLines = false;
    std::string lastPosition;   // POSITION of the last line, empty when none
};

class VersionFile {
public:
    // The name buffer (kFileNameSize bytes) and the record stay the caller's.
    VersionFile(char* fileName, VersionRecord* record);
    ~VersionFile();
    VersionFile(const VersionFile&) = delete;
    VersionFile& operator=(const VersionFile&) = delete;

    // Opens the file; only a file that does not exist is created first. A
    // file that cannot be opened otherwise (locked, read-only, a missing
    // folder) is never created or truncated: it stays closed, and the
    // reason is kept for OK to report. True when open.
    bool Open();
    // Opens an existing file to read it only, while others may write: a
    // look that changes nothing and creates nothing. True when open.
    bool OpenToLook();
    void Close();
    bool IsOpen() const { return open_; }
    // The error text and the file name of a failed open.
    const std::string& OpenErrorText() const { return openErrorText_; }
    int OpenError() const { return openError_; }

    // Reads every line and turns each active one into a comment line. The
    // last entry is the last line that can hold one (HoldsEntry); lines
    // after it are left as they are. The record then holds that entry, its
    // label "Version" again (in the buffer only). Rewrite errors are not
    // reported.
    PreparedFile CommentOutAll();

    // Reads every line without writing. The record then holds the active
    // entry, the last line that can hold one and does not begin with "!";
    // false (the record blank) when the file has none.
    bool FindActiveEntry();

    enum class Restore { Done, ReadFailed, WriteFailed };
    // Re-reads the line at the position and makes it active again. The
    // error is posted on failure.
    Restore RestoreLine(std::string_view position);

    // Appends the record as a new line where reading stops, with the line
    // end that the file's lines use. When the last line read has no line
    // break (or ends in an end-of-data mark), one is written first so that
    // the entry stands on a line of its own. False with the error posted.
    bool Append();

    files::FileObject* object() { return &def_.pattern; }

private:
    // A line as read: its shape and the bytes that end it.
    struct Line {
        LineShape shape;
        std::string ending;
        // The last byte is an LF or an end-of-data mark: the record holds
        // the line's text (and a CR before that byte), not the byte itself.
        // Told apart (Settle) only where it matters.
        bool lastByteUnsure = false;
    };
    // Where reading stops, and the line end of the last line ended by one.
    struct DataEnd {
        uint32_t stop = 0;
        std::string lineEnd;
    };
    // Gathers the data end over a pass. The lines whose last byte is unsure
    // since the last one surely ended by a line break are kept, and told
    // apart from the last one back once the pass is over: normally one look.
    struct DataEndScan {
        struct Unsure {
            uint32_t end;   // offset just past the line
            bool crLf;
        };
        DataEnd end;
        std::vector<Unsure> unsure;
        void Add(uint32_t pointer, const Line& line);
    };
    template <typename Visit>
    void EachLine(Visit&& visit);
    DataEnd Finish(DataEndScan& scan);
    Line Examine(uint32_t pointer, uint32_t size, uint32_t fileSize);
    Line ExamineByBytes(uint32_t pointer, uint32_t size, bool endsTheFile);
    void Settle(uint32_t pointer, Line* line);
    // Rewrites the label of the line at the pointer when RewriteLength
    // allows; the line keeps its bytes and its ending.
    bool RewriteLabel(uint32_t pointer, Line line, const char* label);
    // Reads the line at the pointer into the record, made ready as the new
    // entry's base: its ending blanked, its label "Version".
    void TakeEntry(uint32_t pointer, const LineShape& shape);
    DataEnd ScanDataEnd();
    bool OnlyMarksFrom(uint32_t offset, uint32_t size);
    bool Truncate(uint32_t offset);
    int ByteAt(uint32_t offset);
    void SetDelimiter(std::string_view bytes);
    uint32_t FileSize();
    void RecordSizes(bool on);
    bool OpenWith(int32_t access, bool createMissing);

    VersionRecord* record_;
    files::FileDefinition def_;
    bool open_ = false;
    // What the last pass found, kept while no line has been added since:
    // the file is open with others kept from writing, and the pass's own
    // rewrites keep every line's length.
    DataEnd dataEnd_;
    bool dataEndKnown_ = false;
    int openError_ = 0;
    std::string openErrorText_;
};

}  // namespace dove::app::worklog
