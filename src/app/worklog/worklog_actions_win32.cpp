#include "app/worklog/worklog_actions_win32.h"

#include <cstring>

#include "app/worklog/worklog_settings.h"
#include "runtime/pictures/picture.h"
#include "runtime/strings/strings.h"
#include "windows/loop/accept.h"

namespace dove::app::worklog {
namespace {

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
    Say(run.services, why);
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
    PrepareNewEntry(run);
    StatusRefresh(run);
    win::DISPLAY();
}

void OkAction(WorkLogRun& run) {
    WorkLogState& s = run.state;
    std::string refusal = EntryRefusal(s);
    if (!refusal.empty()) {
        Say(run.services, refusal);
        return;
    }
    SettleEntryValues(s);
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
