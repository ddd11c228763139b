#include "app/commands/usermenu.h"

#include <string>

#include "app/start/outcome.h"
#include "app/start/program_globals.h"
#include "dde/ide_names.h"
#include "runtime/message/message_dialog.h"
#include "runtime/profile/profile.h"
#include "runtime/profile/profile_lock.h"
#include "runtime/strings/strings.h"

namespace dove::app {

const char kIncorrectCommandLineCaption[] = "Incorrect Command Line";

namespace {

// One parameter as a text buffer of 255 holds it.
struct Param {
    char text[255] = {};
    explicit Param(uint8_t n) { str::AssignZ(text, sizeof text, GetToken(n)); }
};

std::string Replace(std::string_view typed, bool minusToSlash) {
    std::string out(typed);
    for (char& c : out) {
        if (c == '+') c = ' ';
        else if (minusToSlash && c == '-') c = '/';
    }
    return out;
}

enum class SlotSearch { kWritten, kWriteFailed, kAlreadyThere, kAllTaken };

SlotSearch PutIntoFirstFreeSlot(const std::string& entry, const char* iniFile) {
    // A slot holds the entry as the file gives it back, which may differ from
    // the entry as typed (a leading blank, a line break, enclosing quotes):
    // compare that form, or every run of the same command takes a new slot.
    const std::string stored = IniValueAsReadBack(entry);
    for (int n = 1; n <= ide::kUserMenuSlots; ++n) {
        std::string slotName = std::to_string(n);
        std::string slot = GetIni(ide::kUserMenusSection, slotName, "", iniFile);
        if (str::EqualNoCase(slot, stored)) return SlotSearch::kAlreadyThere;
        if (str::IsBlank(slot)) {
            return PutIni(ide::kUserMenusSection, slotName, entry, iniFile)
                       ? SlotSearch::kWritten
                       : SlotSearch::kWriteFailed;
        }
    }
    return SlotSearch::kAllTaken;
}

}  // namespace

std::string MenuDisplayText(std::string_view typed) { return Replace(typed, true); }

std::string ParmText(std::string_view typed) { return Replace(typed, false); }

std::string IncorrectCommandLineText(std::string_view appRef, std::string_view menuDisplay,
                                     std::string_view commandLine, std::string_view parm) {
    std::string text = "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  "
                       "Found were: |   AppRef: ";
    text.append(appRef).append("|   MenuDisplay: ").append(menuDisplay);
    text.append("|   CommandLine: ").append(commandLine);
    text.append("|   Parm: ").append(parm);
    return text;
}

void RunUserMenu(AppServices& services) {
    ProgramGlobals& g = Globals();
    Param appRef(2), menuDisplay(3), parm(5);
    str::AssignZ(g.commandLine, sizeof g.commandLine, GetToken(4));
    // AppRef becomes an entry name of the ini file: one that is blank or would
    // read back as a section header, a comment or another entry is refused
    // like a missing one, since writing it would hide or lose the IDE's
    // settings.
    if (!IniEntryNameReadsBack(appRef.text) || str::IsBlank(g.commandLine) ||
        str::IsBlank(menuDisplay.text)) {
        NoteFailure(Outcome::kUsage, "incorrect command line");
        services.Message(
            IncorrectCommandLineText(appRef.text, menuDisplay.text, g.commandLine, parm.text),
            kIncorrectCommandLineCaption, SystemIconCode(kIconExclamation), "1", 0, 0);
        return;
    }
    std::string entry = MenuDisplayText(menuDisplay.text) + "|" + appRef.text;
    // Two installers running at once would both see the same free slot;
    // the lock makes the search and the writes one step for each of them.
    ProfileFileLock hold(g.iniFile);
    SlotSearch slot = PutIntoFirstFreeSlot(entry, g.iniFile);
    if (slot == SlotSearch::kAlreadyThere) return;
    if (slot == SlotSearch::kAllTaken)
        NoteFailure(Outcome::kFileFailed, "every menu slot of the IDE's ini file is taken");
    std::string application = std::string(g.commandLine) + " " + ParmText(parm.text);
    if (!PutIni(ide::kUserApplicationsSection, std::string_view(appRef.text), application,
                g.iniFile) ||
        slot == SlotSearch::kWriteFailed)
        NoteFailure(Outcome::kFileFailed, std::string("the IDE's ini file was not written: ") +
                                              g.iniFile);
}

}  // namespace dove::app
