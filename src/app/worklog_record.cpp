#include "app/worklog_record.h"

#include <algorithm>
#include <cstring>

#include "files/file_codes.h"
#include "runtime/decimal.h"
#include "runtime/picture.h"
#include "runtime/strings.h"

namespace dove::app::worklog {
namespace {

using files::FieldDesc;

const FieldDesc kFields[] = {
    {files::kString, "VER:LABEL", kLabel.offset, kLabel.size},
    {files::kString, "VER:LP", kLp.offset, kLp.size},
    {files::kString, "VER:VER", kVer.offset, kVer.size},
    {files::kString, "VER:SP", kSp.offset, kSp.size},
    {files::kString, "VER:BUILD", kBuild.offset, kBuild.size},
    {files::kString, "VER:RP", kRp.offset, kRp.size},
    {files::kString, "VER:ADDED", kAdded.offset, kAdded.size},
    {files::kString, "VER:NOTE", kNote.offset, kNote.size},
};

constexpr uint32_t kLineBreak = 2;

}  // namespace

const files::RecordType& VersionRecordType() {
    static const files::RecordType type = {files::kGroup, kRecordSize,
                                           sizeof kFields / sizeof kFields[0], kFields};
    return type;
}

void VersionRecord::Clear() {
    std::memset(bytes, ' ', kRecordSize);
    bytes[kRecordSize] = '\0';
}

void VersionRecord::Set(FieldSpan f, std::string_view value) {
    str::AssignFixed(bytes + f.offset, f.size, value);
}

std::string AddedText(int32_t day, int32_t time) {
    return " ! " + FORMAT(day, "d1") + " " + FORMAT(time, "t2") + " -- ";
}

void FillEntry(VersionRecord* r, int32_t day, int32_t time, bool updatesOn) {
    r->Set(kLabel, kActiveLabel);
    r->Set(kLp, "EQUATE('");
    r->Set(kRp, "')");
    r->Set(kAdded, AddedText(day, time));
    r->Set(kNote, updatesOn ? "" : kUpdatesOffNote);
}

int32_t BuildOf(const VersionRecord& r) {
    double v = DecimalToDouble(str::ToNumber(r.Get(kBuild)));
    return static_cast<int32_t>(v);
}

std::string VersionRefusal(std::string_view version) {
    if (DecimalToDouble(str::ToNumber(version)) < 100.0) return {};
    std::string shown = str::Clip(version);
    shown.erase(0, shown.find_first_not_of(' '));
    return "The version " + shown +
           " does not fit in the version file.|The largest version it can hold is " +
           kLargestVersion + ".";
}

std::string BuildRefusal(int64_t build) {
    if (build <= kLargestBuild) return {};
    return "The build number " + std::to_string(build) +
           " does not fit in the version file.|The largest build number it can hold is " +
           std::to_string(kLargestBuild) + ".";
}

std::string VersionColumns(std::string_view version) {
    Decimal value = str::ToNumber(version);
    bool wide = DecimalToDouble(value) >= 10.0;
    return FORMAT(value, wide ? "n5.2" : "n4.2");
}

std::string BuildColumns(int64_t build) { return FORMAT(build, "n04"); }

int32_t RewriteLength(const LineShape& line) {
    uint32_t text = line.endsWithBreak ? line.size - kLineBreak : line.size;
    // A line without its break can only be the file's last (it ended at the
    // end of the file); one that ended at an end-of-data mark with bytes
    // after it would have the break written over them.
    if (!line.endsWithBreak && !line.endsTheFile) return -1;
    if (line.breakInside) return -1;
    if (text < std::strlen(kCommentLabel) || text > kRecordSize) return -1;
    return static_cast<int32_t>(text);
}

}  // namespace dove::app::worklog
