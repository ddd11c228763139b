#include "app/worklog/worklog_record.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "files/object/file_codes.h"
#include "runtime/pictures/decimal.h"
#include "runtime/pictures/picture.h"
#include "runtime/strings/strings.h"

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
    {files::kGroup, "VER:COMMENT", kComment.offset, kComment.size},
    {files::kString, "VER:ADDED", kAdded.offset, kAdded.size},
    {files::kString, "VER:NOTE", kNote.offset, kNote.size},
};

constexpr char kSmallestVersion[] = "0.00";

// The version as the file will hold it: rounded to two decimals as the
// pictures round, so that the width and the refusal are decided on what is
// written (9.995 becomes 10.00 and needs the wide picture).
Decimal RoundedVersion(std::string_view version) {
    return DecimalFromText(DEFORMAT(DecimalToText(str::ToNumber(version)), "n40.2"));
}

std::string Refusal(const std::string& what, std::string_view value, bool belowSmallest,
                    std::string_view smallest, std::string_view largest) {
    std::string shown = str::Clip(value);
    shown.erase(0, shown.find_first_not_of(' '));
    std::string bound(belowSmallest ? smallest : largest);
    return "The " + what + " " + shown + " does not fit in the version file.|The " +
           (belowSmallest ? "smallest " : "largest ") + what + " it can hold is " + bound + ".";
}

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

int64_t ClampedInteger(double value, int64_t lo, int64_t hi) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(lo)) return lo;
    if (value >= static_cast<double>(hi)) return hi;
    return static_cast<int64_t>(value);
}

int32_t BuildOf(const VersionRecord& r) {
    double v = DecimalToDouble(str::ToNumber(r.Get(kBuild)));
    return static_cast<int32_t>(ClampedInteger(v, INT32_MIN + 1, INT32_MAX - 1));
}

std::string VersionRefusal(std::string_view version) {
    double value = DecimalToDouble(RoundedVersion(version));
    if (value >= 0.0 && value < 100.0) return {};
    return Refusal("version", version, value < 0.0, kSmallestVersion, kLargestVersion);
}

std::string BuildRefusal(std::string_view build) {
    // The build is written by its integer part.
    double value = DecimalToDouble(str::ToNumber(build));
    if (value > -1.0 && value < kLargestBuild + 1.0) return {};
    return Refusal("build number", build, value < 0.0, "0", std::to_string(kLargestBuild));
}

std::string VersionColumns(std::string_view version) {
    Decimal value = RoundedVersion(version);
    bool wide = DecimalToDouble(value) >= 10.0;
    return FORMAT(value, wide ? "n5.2" : "n4.2");
}

std::string BuildColumns(int64_t build) { return FORMAT(build, "n04"); }

int32_t RewriteLength(const LineShape& line) {
    if (line.ending > line.size) return -1;
    uint32_t text = line.size - line.ending;
    // A line without an ending can only be the file's last; one that stops
    // short of the file's end was cut at the record's length.
    if (line.ending == 0 && !line.endsTheFile) return -1;
    if (line.breakInside) return -1;
    if (text < std::strlen(kCommentLabel) || text > kRecordSize) return -1;
    return static_cast<int32_t>(text);
}

bool HoldsEntry(const LineShape& shape, const VersionRecord& line) {
    int32_t text = RewriteLength(shape);
    for (int32_t i = 0; i < text; ++i) {
        if (line.bytes[i] != ' ' && line.bytes[i] != '\t') return true;
    }
    return false;
}

}  // namespace dove::app::worklog
