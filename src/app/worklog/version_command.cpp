#include "app/worklog/version_command.h"

#include <string>

#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "app/worklog/version_output.h"
#include "app/worklog/worklog_entry.h"
#include "app/worklog/worklog_settings.h"
#include "runtime/strings/strings.h"

namespace dove::app::worklog {
namespace {

constexpr char kShowSwitch[] = "/SHOW";

void Fail(AppServices& services, const std::string& text, const char* why) {
    NoteFailure(Outcome::kFileFailed, why);
    Say(services, text);
}

// What OK does when nothing in the window was changed, with the note given.
// A refused value leaves the file as Cancel would: the last entry active.
void AddEntry(AppServices& services, const std::string& note) {
    WorkLogState state;
    state.record.Clear();
    Settings settings = ReadSettings(FileNameBuffer());
    state.onOff = state.initialOn = settings.onOff;
    state.autoIncrement = state.initialAuto = settings.autoIncrement;
    if (!state.onOff) {
        Say(services, std::string(kUpdatesOffNote) + "|Nothing was added to " + FileNameBuffer());
        return;
    }
    VersionFile file(FileNameBuffer(), &state.record);
    WorkLogRun run{services, state, file};
    PrepareNewEntry(run);
    if (!file.IsOpen()) return Fail(services, file.OpenErrorText(), "version file not opened");
    state.record.Set(kNote, note);
    std::string refusal = EntryRefusal(state);
    if (!refusal.empty()) {
        RestoreLastLine(run);
        file.Close();
        return Fail(services, refusal, "version or build does not fit");
    }
    SettleEntryValues(state);
    if (!AppendEntry(run)) NoteFailure(Outcome::kFileFailed, "entry not added");
    WriteSettingsOnOk(state.onOff, state.autoIncrement);
    file.Close();
}

// "1.60 0042": the version and the build as the entry's columns show them.
std::string EntryText(VersionRecord& record) {
    return VersionColumns(FieldValue(record, kVer)) + " " + BuildColumns(BuildOf(record));
}

void ShowActiveEntry(AppServices& services) {
    VersionRecord record;
    record.Clear();
    LookAtSettings(FileNameBuffer());
    VersionFile file(FileNameBuffer(), &record);
    if (!file.OpenToLook()) return Fail(services, file.OpenErrorText(), "version file not opened");
    bool found = file.FindActiveEntry();
    file.Close();
    if (!found) {
        return Fail(services, std::string("The version file has no active entry.|") + FileNameBuffer(),
                    "no active entry");
    }
    std::string text = EntryText(record);
    // Run from a desktop icon there is nobody to print for: it is shown.
    if (!WriteToStandardOutput(text + "\r\n")) Say(services, text);
}

}  // namespace

void RunVersionCommand(AppServices& services) {
    std::string parameter = GetToken(2);
    if (str::EqualNoCase(parameter, kShowSwitch)) ShowActiveEntry(services);
    else AddEntry(services, parameter);
}

}  // namespace dove::app::worklog
