// The new entry of the Log/Version utility, from preparing it to appending
// it: shared by the window and the VERSION command. Nothing here shows a
// window; every message goes through AppServices::Message, as the window's
// own messages do (no caption, icon or buttons).
//
//   WorkLogRun run{services, state, file};
//   PrepareNewEntry(run);                  // earlier lines are comments now
//   std::string why = EntryRefusal(state);
//   if (why.empty()) { SettleEntryValues(state); AppendEntry(run); }
//   else { RestoreLastLine(run); Say(services, why); }
#pragma once

#include <string>
#include <string_view>

#include "app/start/app_services.h"
#include "app/worklog/worklog_file.h"
#include "app/worklog/worklog_state.h"

namespace dove::app::worklog {

struct WorkLogRun {
    AppServices& services;
    WorkLogState& state;
    VersionFile& file;
};

void Say(AppServices& services, std::string_view text);

// The version's or the build's value as the record holds it for the
// window: a number too wide for its columns stands beside them whole.
std::string FieldValue(VersionRecord& r, FieldSpan f);

// Opens the file, turns its earlier lines into comments and fills the new
// entry in the record: the last entry's version and build (one more with
// Auto Increment), or 1.00 and 0001 for a file without one; today's date
// and time; the note of the updates state.
void PrepareNewEntry(WorkLogRun& run);

// What keeps OK from writing: a value that its columns cannot show, in
// words; empty when the entry fits.
std::string EntryRefusal(WorkLogState& s);
// The version and the build as the file keeps them. Call after EntryRefusal.
void SettleEntryValues(WorkLogState& s);

// The restore of Cancel: the last line active again. A failure is said.
void RestoreLastLine(WorkLogRun& run);
// Appends the entry. When that fails the last entry is made active again,
// so that the file never ends up without one, and the reason is said.
bool AppendEntry(WorkLogRun& run);

}  // namespace dove::app::worklog
