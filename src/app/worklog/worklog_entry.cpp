#include "app/worklog/worklog_entry.h"

#include "runtime/errors/error_record.h"
#include "runtime/pictures/date_time.h"
#include "runtime/pictures/decimal.h"
#include "runtime/strings/strings.h"
#include "windows/controls/use_variable.h"

namespace dove::app::worklog {
namespace {

win::UseVariable FieldUse(VersionRecord& r, FieldSpan f) {
    return {r.At(f), win::kUseFixedText, f.size};
}

}  // namespace

void Say(AppServices& services, std::string_view text) { services.Message(text, "", "", "", 0, 0); }

std::string FieldValue(VersionRecord& r, FieldSpan f) { return win::ReadUseText(FieldUse(r, f)); }

void PrepareNewEntry(WorkLogRun& run) {
    WorkLogState& s = run.state;
    run.file.Open();
    PreparedFile prepared = run.file.CommentOutAll();
    s.lastEntryPosition = prepared.lastPosition;
    if (!prepared.hadLines) {
        s.record.Clear();
        s.record.Set(kVer, "1.00");
        s.record.Set(kBuild, "0001");
    } else {
        BuildNumber() = BuildOf(s.record) + (s.autoIncrement ? 1 : 0);
        win::WriteUseNumber(FieldUse(s.record, kBuild), std::to_string(BuildNumber()));
    }
    FillEntry(&s.record, TODAY(), CLOCK(), s.onOff != 0);
}

std::string EntryRefusal(WorkLogState& s) {
    std::string build = BuildRefusal(FieldValue(s.record, kBuild));
    std::string version = VersionRefusal(FieldValue(s.record, kVer));
    if (!version.empty() && !build.empty()) return version + "||" + build;
    return version.empty() ? build : version;
}

void SettleEntryValues(WorkLogState& s) {
    // The values written are those just checked, as the window holds them:
    // a version wider than its columns (10.009 stepped from 9.999) stands
    // beside them, and the columns show only "#".
    std::string version = FieldValue(s.record, kVer);
    double buildValue = DecimalToDouble(str::ToNumber(FieldValue(s.record, kBuild)));
    int64_t build = ClampedInteger(buildValue, 0, kLargestBuild);   // the refusal checked the range
    win::WriteUseNumber(FieldUse(s.record, kBuild), BuildColumns(build));
    win::WriteUseNumber(FieldUse(s.record, kVer), VersionColumns(version));
    s.record.Set(kSp, "");
}

void RestoreLastLine(WorkLogRun& run) {
    WorkLogState& s = run.state;
    if (s.lastEntryPosition.empty()) return;
    switch (run.file.RestoreLine(s.lastEntryPosition)) {
    case VersionFile::Restore::ReadFailed:
        Say(run.services,
            "Error getting last record: " + err::Text() + "|Ptr: " + s.lastEntryPosition);
        break;
    case VersionFile::Restore::WriteFailed:
        Say(run.services, "Error restoring last record: " + err::Text());
        break;
    case VersionFile::Restore::Done:
        break;
    }
}

bool AppendEntry(WorkLogRun& run) {
    if (!run.file.IsOpen()) {
        Say(run.services, run.file.OpenErrorText());
        return false;
    }
    if (run.file.Append()) return true;
    std::string why = err::Text();
    if (err::Code() == err::kFileSystemError) why += "|" + str::Clip(err::FileErrorText());
    RestoreLastLine(run);
    Say(run.services, why + "|" + std::string(FileNameBuffer()));
    return false;
}

}  // namespace dove::app::worklog
