// USERMENU and LIBSRC over random command-line tails and a random ini file.
// Input: the ini file's "User Menus" slots, one value a line, up to a NUL
// byte, then the argument text. Beyond crashes and undefined behaviour it
// checks what must hold for any input:
// - USERMENU writes at most the menu entry and the application entry, the
//   menu entry into a slot from 1 to 100, converted and joined as the tokens
//   say, each line break written as a blank;
// - LIBSRC writes at most its one entry, in capitals as far as the case
//   table goes.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/libsrc.h"
#include "app/program_globals.h"
#include "app/tokenizer.h"
#include "app/usermenu.h"
#include "dde/ide_names.h"
#include "runtime/strings.h"
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

void CheckUserMenu(const std::string& slots, const std::string& tail) {
    test::ProfileFake fake;
    LoadSlots(fake, slots);
    Tokenise("USERMENU " + tail);
    test::RecordingServices services;
    dove::app::RunUserMenu(services);
    Check(fake.writes.size() <= 2);
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
