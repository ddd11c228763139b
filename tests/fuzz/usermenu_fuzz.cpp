// USERMENU and LIBSRC over random command-line tails and a random ini file.
// Input: the ini file's "User Menus" slots, one value a line, up to a NUL
// byte, then the argument text. Beyond crashes and undefined behaviour it
// checks what must hold for any input:
// - USERMENU writes at most the menu entry and the application entry, the
//   menu entry into a slot from 1 to 100, converted and joined as the tokens
//   say, each line break written as a blank;
// - no write reaches the file under a name that would read back as another
//   (a section header, a comment, another entry);
// - the same command again, over the file as it reads back after the first
//   run, writes nothing;
// - LIBSRC writes at most its one entry, in capitals as far as the case
//   table goes.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/commands/libsrc.h"
#include "app/start/program_globals.h"
#include "app/start/tokenizer.h"
#include "app/commands/usermenu.h"
#include "dde/ide_names.h"
#include "runtime/strings/strings.h"
#include "../support/profile_fake.h"
#include "../support/recording_services.h"

namespace {

const char kIni[] = "T60ee.ini";

void Check(bool condition) {
    if (!condition) std::abort();
}

void LoadSlots(test::ProfileFake& fake, const std::string& slots) {
    size_t start = 0;
    for (int n = 1; n <= 100 && start <= slots.size(); ++n) {
        size_t end = slots.find('\n', start);
        if (end == std::string::npos) end = slots.size();
        fake.Set(kIni, dove::ide::kUserMenusSection, std::to_string(n), slots.substr(start, end - start));
        start = end + 1;
    }
}

void Tokenise(const std::string& tail) {
    dove::app::ProgramGlobals& g = dove::app::Globals();
    dove::str::AssignZ(g.iniFile, sizeof g.iniFile, kIni);
    dove::str::AssignZ(g.exeName, sizeof g.exeName, "ide.exe");
    g.tokenQ = std::make_unique<std::deque<dove::app::TokenEntry>>();
    dove::app::TokeniseCommandLine(tail);
}

// The menu entry of the tokens, as PUTINI writes it: line breaks as blanks,
// clipped.
std::string ExpectedMenuEntry() {
    std::string entry = dove::app::MenuDisplayText(dove::app::GetToken(3).substr(0, 254)) + "|" +
                        dove::app::GetToken(2).substr(0, 254);
    std::replace(entry.begin(), entry.end(), '\r', ' ');
    std::replace(entry.begin(), entry.end(), '\n', ' ');
    return dove::str::Clip(entry);
}

// Names of every write as the file would show them: trimmed of white space,
// a section without "]", an entry neither blank nor beginning with "[" or
// ";" nor holding "=". Kept apart from the code under test on purpose.
bool ReadsBackAsWritten(const test::ProfileFake::Write& w) {
    if (w.section.find(']') != std::string::npos) return false;
    if (w.entryNull) return true;
    size_t first = w.entry.find_first_not_of(" \t\r\n\v\f\x1A");
    return first != std::string::npos && w.entry[first] != '[' && w.entry[first] != ';' &&
           w.entry.find('=') == std::string::npos;
}

// The file's own trimming and quote removal, applied to what was written.
std::string AsTheFileGivesItBack(std::string v) {
    const char* space = " \t\r\n\v\f\x1A";
    size_t first = v.find_first_not_of(space);
    if (first == std::string::npos) return "";
    v = v.substr(first, v.find_last_not_of(space) - first + 1);
    if (v.size() >= 2 && (v[0] == '\'' || v[0] == '"') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
    return v;
}

void CheckUserMenu(const std::string& slots, const std::string& tail) {
    test::ProfileFake fake;
    LoadSlots(fake, slots);
    Tokenise("USERMENU " + tail);
    test::RecordingServices services;
    dove::app::RunUserMenu(services);
    Check(fake.writes.size() <= 2);
    for (const test::ProfileFake::Write& w : fake.writes) Check(ReadsBackAsWritten(w));
    // Once more over the file as it reads back: nothing more is written.
    std::vector<test::ProfileFake::Write> first = fake.writes;
    for (const test::ProfileFake::Write& w : first)
        fake.Set(w.file, w.section, w.entry, AsTheFileGivesItBack(w.value));
    fake.writes.clear();
    dove::app::RunUserMenu(services);
    if (!first.empty() && first[0].section == dove::ide::kUserMenusSection) Check(fake.writes.empty());
    fake.writes = first;
    for (const test::ProfileFake::Write& w : fake.writes) {
        if (w.section != dove::ide::kUserMenusSection) continue;
        int n = std::atoi(w.entry.c_str());
        Check(n >= 1 && n <= 100 && std::to_string(n) == w.entry);
        // PUTINI clips the value, so a reference typed with trailing blanks
        // (inside quotes) ends without them.
        Check(w.value == ExpectedMenuEntry());
    }
    if (!services.messages.empty()) Check(fake.writes.empty());
}

void CheckLibSrc(const std::string& tail) {
    test::ProfileFake fake;
    Tokenise("LIBSRC " + tail);
    test::RecordingServices services;
    dove::app::RunLibSrc(services);
    Check(fake.writes.size() <= 1);
    for (const test::ProfileFake::Write& w : fake.writes)
        Check(w.value == dove::str::Upper(w.value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t nul = input.find('\0');
    std::string slots = nul == std::string::npos ? std::string() : input.substr(0, nul);
    std::string tail = nul == std::string::npos ? input : input.substr(nul + 1);
    CheckUserMenu(slots, tail);
    CheckLibSrc(tail);
    dove::app::Globals().tokenQ.reset();
    return 0;
}
