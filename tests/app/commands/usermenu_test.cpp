// USERMENU's slot search, conversions and message over an in-memory ini file.
#include "app/commands/usermenu.h"

#include <gtest/gtest.h>

#include "app/start/argument.h"
#include "app/start/program_globals.h"
#include "app/start/tokenizer.h"
#include "dde/ide_names.h"
#include "runtime/strings/strings.h"
#include "support/profile_fake.h"
#include "support/recording_services.h"

namespace dove::app {
namespace {

const char kIni[] = "C:\\TV6\\Bin\\T60ee.ini";
using ide::kUserApplicationsSection;
using ide::kUserMenusSection;

test::RecordingServices RunUserMenuWith(const std::string& tail) {
    str::AssignZ(Globals().iniFile, sizeof Globals().iniFile, kIni);
    Globals().tokenQ = std::make_unique<std::deque<TokenEntry>>();
    TokeniseCommandLine(tail);
    test::RecordingServices services;
    RunUserMenu(services);
    Globals().tokenQ.reset();
    return services;
}

std::string Slot(const test::ProfileFake& fake, int n) {
    return fake.Get(kIni, kUserMenusSection, std::to_string(n));
}

TEST(UserMenu, ConvertsAndWritesIntoTheFirstFreeSlot) {
    test::ProfileFake fake;
    fake.Set(kIni, kUserMenusSection, "1", "Tools/Other|OTHER");
    fake.Set(kIni, kUserMenusSection, "2", "    ");   // only blanks: free
    fake.Set(kIni, kUserMenusSection, "4", "Tools/My Program|MYPROG");
    RunUserMenuWith("USERMENU MyProg Tools-My+Program C:\\bin\\my.exe -a+b+c");
    EXPECT_EQ("Tools/My Program|MyProg", Slot(fake, 2));
    EXPECT_EQ("<none>", Slot(fake, 3));
    EXPECT_EQ("C:\\bin\\my.exe -a b c", fake.Get(kIni, kUserApplicationsSection, "MyProg"));
    // A slot before the first blank one that matches in any case: nothing written.
    size_t before = fake.writes.size();
    RunUserMenuWith("usermenu OTHER tools-other other.exe");
    EXPECT_EQ(before, fake.writes.size());
}

TEST(UserMenu, WithoutParmTheCommandLineStandsAlone) {
    test::ProfileFake fake;
    RunUserMenuWith("USERMENU App \"Menu-Sub Item\" \"C:\\Program Files\\a.exe\"");
    EXPECT_EQ("Menu/Sub Item|App", Slot(fake, 1));
    EXPECT_EQ("C:\\Program Files\\a.exe", fake.Get(kIni, kUserApplicationsSection, "App"));
    ASSERT_EQ(2u, fake.writes.size());
    EXPECT_EQ("C:\\Program Files\\a.exe", fake.writes[1].value);   // clipped
}

TEST(UserMenu, AllHundredSlotsTakenWritesOnlyTheApplication) {
    test::ProfileFake fake;
    for (int n = 1; n <= 100; ++n) fake.Set(kIni, kUserMenusSection, std::to_string(n), "m|r" + std::to_string(n));
    RunUserMenuWith("USERMENU App Menu a.exe");
    ASSERT_EQ(1u, fake.writes.size());
    EXPECT_EQ(kUserApplicationsSection, fake.writes[0].section);
    EXPECT_EQ("<none>", Slot(fake, 101));
}

TEST(UserMenu, MissingParametersShowTheValuesAsRead) {
    test::ProfileFake fake;
    test::RecordingServices s = RunUserMenuWith("USERMENU App Tools-X+Y");
    ASSERT_EQ(1u, s.messages.size());
    EXPECT_EQ(
        "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: |"
        "   AppRef: App|   MenuDisplay: Tools-X+Y|   CommandLine: |   Parm: ",
        s.messages[0].text);
    EXPECT_EQ("Incorrect Command Line", s.messages[0].caption);
    EXPECT_EQ("\xFF\x01\x04\x7F", s.messages[0].icon);
    EXPECT_EQ("1", s.messages[0].buttons);
    EXPECT_TRUE(fake.writes.empty());
    // An empty pair of quotes is no parameter: the rest moves down.
    s = RunUserMenuWith("USERMENU \"\" Menu a.exe");
    ASSERT_EQ(1u, s.messages.size());
    EXPECT_NE(std::string::npos, s.messages[0].text.find("AppRef: Menu|"));
    EXPECT_TRUE(fake.writes.empty());
}

}  // namespace
}  // namespace dove::app
