#include "app/worklog/worklog_win32.h"

#include "app/worklog/worklog_actions_win32.h"
#include "app/worklog/worklog_settings.h"
#include "runtime/strings/strings.h"
#include "windows/loop/accept.h"
#include "windows/loop/runtime_window_win32.h"

namespace dove::app::worklog {
namespace {

void ReadStartSettings(WorkLogState& s) {
    s.record.Clear();
    Settings settings = ReadSettings(FileNameBuffer());
    s.onOff = s.initialOn = settings.onOff;
    s.autoIncrement = s.initialAuto = settings.autoIncrement;
    s.mayClose = 0;
    str::AssignZ(s.savedFileName, sizeof s.savedFileName, FileNameBuffer());
}

void OnAccepted(WorkLogRun& run, int field) {
    switch (field) {
    case kNext: win::SELECT(kTab2); break;
    case kBack: win::SELECT(kTab1); break;
    case kOkButton: OkAction(run); break;
    case kCancelButton: CancelAction(run); break;
    case kVerVer:
    case kVerBuild: StatusRefresh(run); break;
    case kOnOff: EnableUpdatesClicked(run); break;
    default: break;
    }
}

void OnNewSelection(WorkLogRun& run, int field) {
    if (field == kVerVer || field == kVerBuild) StatusRefresh(run);
}

// A close before OK, Cancel or the automatic close turns into Cancel.
bool MayCloseNow(WorkLogRun& run) {
    if (run.state.mayClose) {
        run.file.Close();
        return true;
    }
    win::POST(win::EVENT_Accepted, kCancelButton);
    win::CYCLE();
    return false;
}

void RunEventLoop(WorkLogRun& run) {
    while (win::ACCEPT()) {
        switch (win::EVENT()) {
        case win::EVENT_CloseWindow:
            if (!MayCloseNow(run)) continue;
            break;
        case win::EVENT_Timer: TimerTick(run); break;
        case win::EVENT_Accepted: OnAccepted(run, win::FIELD()); break;
        case win::EVENT_NewSelection: OnNewSelection(run, win::FIELD()); break;
        case win::EVENT_Rejected: Rejected(run, win::FIELD()); break;
        default: break;
        }
    }
}

}  // namespace

void InstallWorkLog(AppServices& services) {
    WorkLogState state;
    ReadStartSettings(state);
    VersionFile file(FileNameBuffer(), &state.record);
    WorkLogRun run{services, state, file};
    win::RuntimeWindow window("Install$WorkLog", "P2$W",
                              {state.record.At(kNote), state.record.At(kVer),
                               state.record.At(kBuild), &state.onOff, &state.autoIncrement,
                               FileNameBuffer()});
    window.Open();
    win::SetProperty(kPathStr, win::PROP_Text, services.ShortCurrentDirectory());
    if (state.onOff) win::SetProperty(0, win::PROP_Timer, 0);
    else EnterUpdatesOff(run);
    StatusRefresh(run);
    PrepareEntry(run);
    RunEventLoop(run);
}

}  // namespace dove::app::worklog
