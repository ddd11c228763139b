#include "app/worklog/version_command.h"

#include <chrono>
#include <string>
#include <thread>

#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "app/worklog/version_output.h"
#include "app/worklog/worklog_entry.h"
#include "app/worklog/worklog_settings.h"
#include "files/os/os_file.h"
#include "runtime/strings/strings.h"

namespace dove::app::worklog {
namespace {

constexpr char kShowSwitch[] = "/SHOW";

// Build jobs run at the same time: another VERSION holds the file for a
// moment, so a busy file is tried again for a while before it fails.
constexpr int kBusyRetries = 60;
constexpr auto kBusyPause = std::chrono::milliseconds(50);

// Another process holding the file reads as Access Denied (os_file.h).
bool FileIsBusy(const VersionFile& file) {
    return !file.IsOpen() && file.OpenError() == os::kErrAccessDenied;
}

// The note as one line of the entry: a line break in it would split the
// entry, or start a line that reads as an entry of its own.
std::string OneLineNote(std::string note) {
    for (char& c : note)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return note;
}

// The words after VERSION: a note may be written with or without quotes.
std::string NoteOfCommandLine() {
    std::string note = GetToken(2);
    for (int32_t n = 3; n <= Globals().tokens && n <= 255; ++n)
        note += " " + GetToken(static_cast<uint8_t>(n));
    return OneLineNote(note);
}

void Fail(AppServices& services, const std::string& text, const char* why) {
    NoteFailure(Outcome::kFileFailed, why);
    Say(services, text);
}

// A name cut to FILENAME's 119 characters would name another file.
void FailOnCutName(AppServices& services) {
    Fail(services,
         "The version file's name in .\\DOVE60.ini is longer than 119 characters.  Nothing was "
         "changed.",
         "the version file's name is too long");
}

// What OK does when nothing in the window was changed, with the note given.
// A refused value leaves the file as Cancel would: the last entry active.
void AddEntry(AppServices& services, const std::string& note) {
    WorkLogState state;
    state.record.Clear();
    Settings settings = ReadSettings(FileNameBuffer());
    state.onOff = state.initialOn = settings.onOff;
    state.autoIncrement = state.initialAuto = settings.autoIncrement;
    if (settings.nameWasCut) return FailOnCutName(services);
    if (!state.onOff) {
        Say(services, std::string(kUpdatesOffNote) + "|Nothing was added to " + FileNameBuffer());
        return;
    }
    VersionFile file(FileNameBuffer(), &state.record);
    WorkLogRun run{services, state, file};
    PrepareNewEntry(run);
    for (int retry = 0; retry < kBusyRetries && FileIsBusy(file); ++retry) {
        std::this_thread::sleep_for(kBusyPause);
        PrepareNewEntry(run);
    }
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
    if (LookAtSettings(FileNameBuffer()).nameWasCut) return FailOnCutName(services);
    VersionFile file(FileNameBuffer(), &record);
    if (!file.OpenToLook()) return Fail(services, file.OpenErrorText(), "version file not opened");
    bool found = file.FindActiveEntry();
    file.Close();
    if (!found) {
        return Fail(services, std::string("The version file has no active entry.|") + FileNameBuffer(),
                    "no active entry");
    }
    std::string text = EntryText(record);
    // Columns too narrow for the value show "#": no build script can use that.
    if (text.find('#') != std::string::npos) {
        return Fail(services, "The active entry's version or build does not fit its columns: " + text,
                    "the active entry does not fit its columns");
    }
    switch (WriteToStandardOutput(text + "\r\n")) {
    case Printed::kWritten: break;
    // Run from a desktop icon there is nobody to print for: it is shown.
    case Printed::kNowhere: Say(services, text); break;
    case Printed::kFailed: Fail(services, text, "the standard output did not take the entry"); break;
    }
}

}  // namespace

void RunVersionCommand(AppServices& services) {
    if (str::EqualNoCase(GetToken(2), kShowSwitch)) ShowActiveEntry(services);
    else AddEntry(services, NoteOfCommandLine());
}

}  // namespace dove::app::worklog
