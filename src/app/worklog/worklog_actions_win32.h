// The actions of the Log/Version window, each run from one event of its
// loop. They share the procedure's state and its version file.
#pragma once

#include "app/worklog/worklog_entry.h"

namespace dove::app::worklog {

void StatusRefresh(WorkLogRun& run);
void EnterUpdatesOff(WorkLogRun& run);
void EnterUpdatesOn(WorkLogRun& run);
// PrepareNewEntry, then the window shows the new entry.
void PrepareEntry(WorkLogRun& run);

void OkAction(WorkLogRun& run);
void CancelAction(WorkLogRun& run);
// Counts a tick while updates are off; the third restores the last line and
// closes the window.
void TimerTick(WorkLogRun& run);
void EnableUpdatesClicked(WorkLogRun& run);
void Rejected(WorkLogRun& run, int field);

}  // namespace dove::app::worklog
