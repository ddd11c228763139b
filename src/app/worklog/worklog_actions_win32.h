// The actions of the Log/Version window, each run from one event of its
// loop. They share the procedure's state and its version file.
#pragma once

#include "app/start/app_services.h"
#include "app/worklog/worklog_file.h"
#include "app/worklog/worklog_state.h"

namespace dove::app::worklog {

struct WorkLogRun {
    AppServices& services;
    WorkLogState& state;
    VersionFile& file;
};

void StatusRefresh(WorkLogRun& run);
void EnterUpdatesOff(WorkLogRun& run);
void EnterUpdatesOn(WorkLogRun& run);
// Opens the file, turns its earlier lines into comments and fills the new
// entry in the record.
void PrepareEntry(WorkLogRun& run);

void OkAction(WorkLogRun& run);
void CancelAction(WorkLogRun& run);
// Counts a tick while updates are off; the third restores the last line and
// closes the window.
void TimerTick(WorkLogRun& run);
void EnableUpdatesClicked(WorkLogRun& run);
void Rejected(WorkLogRun& run, int field);

}  // namespace dove::app::worklog
