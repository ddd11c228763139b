#include "app/worklog/worklog_actions_win32.h"

#include <cstring>

#include "app/worklog/worklog_settings.h"
#include "runtime/errors/error_record.h"
#include "runtime/pictures/date_time.h"
#include "runtime/pictures/picture.h"
#include "runtime/strings/strings.h"
#include "windows/loop/accept.h"
#include "windows/controls/use_variable.h"

namespace dove::app::worklog {
namespace {

// Messages of this window give no caption, icon or buttons.
void Say(WorkLogRun& run, std::string_view text) { run.services.Message(text, "", "", "", 0, 0); }

void SetUpdateControls(bool enabled) {
    auto set = enabled ? &win::ENABLE : &win::DISABLE;
    set(kEntryGroup, 0);
    set(kAutoIncrement, kFileName);
    set(kOkButton, kCancelButton);
}

bool FileNameChanged(const WorkLogState& s) {
    const char* name = FileNameBuffer();
    return !str::IsBlank(name) && !str::Equal(name, s.savedFileName);
}

// The restore of Cancel and of the automatic close: the last line active again.
void RestoreLastLine(WorkLogRun& run) {
    WorkLogState& s = run.state;
    if (s.lastEntryPosition.empty()) return;
    switch (run.file.RestoreLine(s.lastEntryPosition)) {
    case VersionFile::Restore::ReadFailed:
        Say(run, "Error getting last record: " + err::Text() + "|Ptr: " + s.lastEntryPosition);
        break;
    case VersionFile::Restore::WriteFailed:
        Say(run, "Error restoring last record: " + err::Text());
        break;
    case VersionFile::Restore::Done:
        break;
    }
}

// The version's or the build's value as the window holds it: a number too
// wide for the field's columns stands beside them whole (WriteUseNumber).
win::UseVariable FieldUse(VersionRecord& r, FieldSpan f) {
    return {r.At(f), win::kUseFixedText, f.size};
}
std::string FieldValue(VersionRecord& r, FieldSpan f) { return win::ReadUseText(FieldUse(r, f)); }

// What keeps OK from writing: a value that its columns cannot show.
std::string Refusal(WorkLogState& s) {
    std::string build = BuildRefusal(FieldValue(s.record, kBuild));
    std::string version = VersionRefusal(FieldValue(s.record, kVer));
    if (!version.empty() && !build.empty()) return version + "||" + build;
    return version.empty() ? build : version;
}

// The new file is tried before the old one is let go: a name that cannot
// be opened (a missing folder, a locked file) must not cost the old file its
// active entry or the saved name. The probe opens the file as the run will
// (creating it when missing) and closes it again at once.
bool NewFileOpens(WorkLogRun& run) {
    VersionRecord scratch;
    VersionFile probe(FileNameBuffer(), &scratch);
    if (probe.Open()) return true;
    std::string why = probe.OpenErrorText();
    // The same file under another spelling is open here already, with
    // others kept from writing: let it go and try once more.
    run.file.Close();
    if (probe.Open()) return true;
    char typed[kFileNameSize];
    str::AssignZ(typed, sizeof typed, FileNameBuffer());
    str::AssignZ(FileNameBuffer(), kFileNameSize, run.state.savedFileName);
    run.file.Open();
    str::AssignZ(FileNameBuffer(), kFileNameSize, typed);
    Say(run, why);
    return false;
}

bool SwitchToNewFile(WorkLogRun& run) {
    if (!NewFileOpens(run)) return false;
    run.file.Close();
    SaveFileName(FileNameBuffer());
    run.file.Open();
    // The position of the last entry was the old file's.
    run.state.lastEntryPosition.clear();
    return true;
}

void AppendEntry(WorkLogRun& run) {
    if (!run.file.IsOpen()) {
        Say(run, run.file.OpenErrorText());
        return;
    }
    if (run.file.Append()) return;
    std::string why = err::Text();
    if (err::Code() == err::kFileSystemError) why += "|" + str::Clip(err::FileErrorText());
    // Nothing was appended: the last entry is made active again, so that
    // the file never ends up without one.
    RestoreLastLine(run);
    Say(run, why + "|" + std::string(FileNameBuffer()));
}

}  // namespace

void StatusRefresh(WorkLogRun& run) {
    VersionRecord& r = run.state.record;
    std::string zone1 =
        FORMAT(FieldValue(r, kVer), "n04.2") + " " + FORMAT(FieldValue(r, kBuild), "n04");
    win::SetProperty(0, win::PROP_StatusText, 1, zone1);
    win::SetProperty(0, win::PROP_StatusText, 2, FileNameBuffer());
    win::SetProperty(0, win::PROP_StatusText, 3, run.state.initialAuto ? "Auto" : "Manual");
    win::SetProperty(kVersion, win::PROP_Text, kVersionLabel);
}

void EnterUpdatesOff(WorkLogRun& run) {
    SetUpdateControls(false);
    run.state.record.Set(kNote, kUpdatesOffNote);
    win::SetProperty(0, win::PROP_Timer, kUpdatesOffTimer);
}

void EnterUpdatesOn(WorkLogRun& run) {
    SetUpdateControls(true);
    run.state.record.Set(kNote, "");
    win::SetProperty(0, win::PROP_Timer, 0);
}

void PrepareEntry(WorkLogRun& run) {
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
    StatusRefresh(run);
    win::DISPLAY();
}

void OkAction(WorkLogRun& run) {
    WorkLogState& s = run.state;
    std::string refusal = Refusal(s);
    if (!refusal.empty()) {
        Say(run, refusal);
        return;
    }
    // The values written are those just checked, as the window holds them:
    // a version wider than its columns (10.009 stepped from 9.999) stands
    // beside them, and the columns show only "#".
    std::string version = FieldValue(s.record, kVer);
    double buildValue = DecimalToDouble(str::ToNumber(FieldValue(s.record, kBuild)));
    int64_t build = ClampedInteger(buildValue, 0, kLargestBuild);   // Refusal checked the range
    win::WriteUseNumber(FieldUse(s.record, kBuild), BuildColumns(build));
    win::WriteUseNumber(FieldUse(s.record, kVer), VersionColumns(version));
    s.record.Set(kSp, "");
    if (FileNameChanged(s) && !SwitchToNewFile(run)) return;   // the window stays for a correction
    s.mayClose = 1;
    AppendEntry(run);
    WriteSettingsOnOk(s.onOff, s.autoIncrement);
    win::POST(win::EVENT_CloseWindow);
}

void CancelAction(WorkLogRun& run) {
    run.state.mayClose = 1;
    RestoreLastLine(run);
    win::POST(win::EVENT_CloseWindow);
}

void TimerTick(WorkLogRun& run) {
    WorkLogState& s = run.state;
    if (s.onOff != 0 || s.mayClose) return;
    if (++s.tickCount <= kTicksBeforeClose) return;
    RestoreLastLine(run);
    s.mayClose = 1;
    win::POST(win::EVENT_CloseWindow);
}

void EnableUpdatesClicked(WorkLogRun& run) {
    if (run.state.initialOn == 0) {
        if (run.state.onOff == 0) EnterUpdatesOff(run);
        else EnterUpdatesOn(run);
    }
    win::DISPLAY();
}

void Rejected(WorkLogRun& run, int field) {
    if (field == kVerVer) run.state.record.Set(kVer, "");
    else if (field == kVerBuild) run.state.record.Set(kBuild, "");
    else return;
    win::DISPLAY();
}

}  // namespace dove::app::worklog
