// The version file's record: one fixed-column line of 241 characters, every
// field a blank-padded string.
//
//   columns  1-20  VER:LABEL  "Version", or "!Version" once commented out
//           21-28  VER:LP     "EQUATE('"
//           29-33  VER:VER    the version, "1.60 " (or "10.00": it fills the field)
//           34     VER:SP     blank
//           35-38  VER:BUILD  the build, "0002"
//           39-41  VER:RP     "')" and a blank
//           42-61  VER:ADDED  " ! 12/08/26 2315 -- "  } the group
//           62-241 VER:NOTE   the user's note        } VER:COMMENT
//
//   VersionRecord r;
//   r.Clear();
//   FillEntry(&r, TODAY(), CLOCK(), /*updatesOn=*/true);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/object/file_object.h"

namespace dove::app::worklog {

constexpr uint32_t kRecordSize = 241;

struct FieldSpan {
    uint32_t offset;
    uint32_t size;
};

constexpr FieldSpan kLabel{0, 20};
constexpr FieldSpan kLp{20, 8};
constexpr FieldSpan kVer{28, 5};
constexpr FieldSpan kSp{33, 1};
constexpr FieldSpan kBuild{34, 4};
constexpr FieldSpan kRp{38, 3};
constexpr FieldSpan kAdded{41, 20};
constexpr FieldSpan kNote{61, 180};
constexpr FieldSpan kComment{41, 200};

constexpr char kActiveLabel[] = "Version";
constexpr char kCommentLabel[] = "!Version";
constexpr char kUpdatesOffNote[] = "Update is turned off";

// The largest values that the line's columns can hold as numbers.
constexpr int32_t kLargestBuild = 9999;
constexpr char kLargestVersion[] = "99.99";

// The record type for the file layer: the fields above in column order, the
// group VER:COMMENT before the two fields that it spans.
const files::RecordType& VersionRecordType();

struct VersionRecord {
    char bytes[kRecordSize + 1] = {};   // one more for a zero that is never written

    void Clear();
    std::string Get(FieldSpan f) const { return std::string(bytes + f.offset, f.size); }
    void Set(FieldSpan f, std::string_view value);
    char* At(FieldSpan f) { return bytes + f.offset; }
};

// VER:ADDED for a day number and a time value: " ! ", the date with "d1",
// a blank, the time with "t2" and " -- ", exactly 20 characters.
std::string AddedText(int32_t day, int32_t time);

// Fills the new entry's fixed parts, its date and time and its note (the
// updates-off note, or blank). The version and the build are left as they are.
void FillEntry(VersionRecord* r, int32_t day, int32_t time, bool updatesOn);

// The build of a line: the numeric value of columns 35-38 (text that is no
// number counts as 0), clamped so that one more still fits a signed 32-bit
// number; what lies beyond 9999 is refused by OK with its limit.
int32_t BuildOf(const VersionRecord& r);

// Why OK cannot write the entry: the value, as text, that its columns cannot
// show (a negative one included, which the pictures would show without its
// sign), and the largest or smallest that they can; nothing (an empty text)
// when it fits.
std::string VersionRefusal(std::string_view version);
std::string BuildRefusal(std::string_view build);

// The version as the file keeps it, rounded to two decimals: "n4.2" below
// 10, "n5.2" from 10 on, so that it never turns into "#" characters. Call
// after VersionRefusal.
std::string VersionColumns(std::string_view version);
// The build with "n04".
std::string BuildColumns(int64_t build);

// Whether a line of the file may be rewritten in place, and how many of its
// bytes the rewrite covers. A rewrite writes exactly the line's own text
// bytes followed by the ending it already had, so no other byte of the file
// moves: lines shorter than the label "!Version" would otherwise reach into
// the next line, and over-long lines (read cut short) would lose their rest.
struct LineShape {
    uint32_t size = 0;    // bytes the line occupies, its ending included
    // The bytes that end it: CR LF or LF; a lone CR or an end-of-data mark
    // that ends the file's last line; 0 for a last line that just stops.
    uint32_t ending = 0;
    bool endsTheFile = false;   // nothing follows the line
    // A lone CR within the text: a break of its own to an editor (a file
    // with mixed line ends), which the label must not cover.
    bool breakInside = false;
};
// The count of text bytes to write, or -1 when the line is left as it is.
int32_t RewriteLength(const LineShape& line);

// Whether a line can hold an entry: one that may be rewritten in place and
// holds more than blanks. Lines after the last such line (a trailing empty
// line, a short remark) never decide the version and the build.
bool HoldsEntry(const LineShape& shape, const VersionRecord& line);

// A number read from the file, as an integer within [lo, hi]: a value the
// columns can hold but no integer type can (9e20), or no number at all
// (NaN), never reaches a cast.
int64_t ClampedInteger(double value, int64_t lo, int64_t hi);

}  // namespace dove::app::worklog
