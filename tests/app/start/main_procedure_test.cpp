// The main procedure's decisions: which face, which command, which box.
#include "app/start/main_procedure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/start/argument.h"
#include "app/start/dispatch.h"
#include "app/start/program_globals.h"
#include "app/start/discovery.h"
#include "app/start/outcome.h"
#include "app/start/unattended.h"
#include "dde/ide_names.h"
#include "runtime/message/message_dialog.h"
#include "support/profile_fake.h"
#include "support/recording_services.h"

namespace dove::app {
namespace {

using test::RecordingServices;

std::string g_commandLine;
std::string Raw() { return g_commandLine; }
std::string Name() { return "DOVE60.exe"; }

// A command run needs the IDE: every run here has it in WIN.INI unless a
// test says otherwise.
RecordingServices RunWith(const std::string& tail, bool ideInstalled = true) {
    test::ProfileFake fake;
    if (ideInstalled) {
        fake.Set("", ide::kWinIniSection, ide::kWinIniRootEntry, "C:\\TV6\\");
        fake.Set("", ide::kWinIniSection, ide::kWinIniExeNameEntry, "C:\\TV6\\tv.exe");
    }
    g_commandLine = "DOVE60.exe " + tail;
    SetCommandLineSource({&Raw, &Name});
    ResetOutcome();
    RecordingServices services;
    MainProcedure(services);
    return services;
}

TEST(MainProcedure, NoArgumentOpensTheWorkLogAndNoCommandRun) {
    for (const char* tail : {"", "   "}) {
        RecordingServices s = RunWith(tail);
        EXPECT_EQ(1, s.workLogRuns) << "tail [" << tail << "]";
        EXPECT_TRUE(s.messages.empty());
        EXPECT_EQ(nullptr, Globals().tokenQ);
    }
}

TEST(MainProcedure, CmdInAnyCaseShowsTheHelpBox) {
    for (const char* tail : {"CMD", "cmd", "Cmd extra words", "cMd,x"}) {
        RecordingServices s = RunWith(tail);
        ASSERT_EQ(1u, s.messages.size()) << tail;
        EXPECT_EQ(kHelpText, s.messages[0].text) << tail;
        EXPECT_EQ("DOVidovur", s.messages[0].caption);
        EXPECT_EQ(SystemIconCode(kIconInformation), s.messages[0].icon);
        EXPECT_EQ("\xFF\x01\x05\x7F", s.messages[0].icon);
        EXPECT_EQ("1", s.messages[0].buttons);
        EXPECT_EQ(0, s.workLogRuns);
    }
}

TEST(MainProcedure, AnyOtherWordShowsTheAboutBox) {
    for (const char* tail : {"HELLO", "CMDX", "CMDXXXXXXXXXXXXXXXXXXXXX", "/CMD", "VERSIONS"}) {
        RecordingServices s = RunWith(tail);
        ASSERT_EQ(1u, s.messages.size()) << tail;
        EXPECT_EQ(kAboutText, s.messages[0].text) << tail;
    }
}

TEST(MainProcedure, CommandRunSetsTheGlobals) {
    RunWith("cmd \"a b\" c");
    ProgramGlobals& g = Globals();
    EXPECT_STREQ("CMD", g.cmd);
    EXPECT_STREQ("C:\\PROGRA~1", g.programPath);
    EXPECT_STREQ("cmd \"a b\" c", g.text);
    EXPECT_EQ(3, g.tokens);
    EXPECT_EQ(nullptr, g.tokenQ);  // disposed at the end of the run
}

TEST(MainProcedure, WithoutTheIdeNoCommandRunsAndNothingIsTokenised) {
    for (const char* tail : {"CMD", "HELLO a b"}) {
        Globals().tokens = 0;
        RecordingServices s = RunWith(tail, false);
        ASSERT_EQ(1u, s.messages.size()) << tail;
        EXPECT_EQ(kEntryNotFoundText, s.messages[0].text) << tail;
        EXPECT_EQ(0, Globals().tokens) << tail;
        EXPECT_EQ(nullptr, Globals().tokenQ);
    }
}

// VERSION works on the current folder alone: a machine without the IDE
// runs it, with its parameter tokenised as for any command.
TEST(MainProcedure, VersionRunsWithoutTheIde) {
    struct Row {
        const char* tail;
        const char* parameter;
    } rows[] = {
        {"VERSION", ""},
        {"version /show", "/show"},
        {"Version \"fixed the  build\" more", "fixed the  build"},
    };
    for (const Row& row : rows) {
        RecordingServices s = RunWith(row.tail, false);
        EXPECT_TRUE(s.messages.empty()) << row.tail;
        EXPECT_EQ(1, s.versionRuns) << row.tail;
        EXPECT_EQ(row.parameter, s.versionParameter) << row.tail;
        EXPECT_STREQ("VERSION", Globals().cmd);
        EXPECT_EQ(nullptr, Globals().tokenQ);
    }
}

TEST(MainProcedure, TheCommandWordIsCutTo19Characters) {
    RunWith(std::string(25, 'x'));
    EXPECT_EQ(std::string(19, 'X'), Globals().cmd);
}

}  // namespace
}  // namespace dove::app

namespace dove::app {
namespace {

// What a script reads from an unattended run: the exit code of each way
// a command can end. Every failure must be told apart from success.
TEST(MainProcedure, EachWayOfEndingGivesItsExitCode) {
    struct Row {
        const char* tail;
        bool ideInstalled;
        Outcome expected;
    } rows[] = {
        {"CMD", true, Outcome::kDone},
        {"WHATEVER", true, Outcome::kUsage},
        {"REG", true, Outcome::kUsage},
        {"REG \\no\\such\\file.tpl", true, Outcome::kFileFailed},
        {"USERMENU App Tools-App", true, Outcome::kUsage},
        {"LIBSRC", true, Outcome::kUsage},
        {"INCLUDE only.tpl", true, Outcome::kUsage},
        {"INCLUDE \\no\\such\\file.tpl x.tpl", true, Outcome::kFileFailed},
        {"CMD", false, Outcome::kIdeNotFound},
        {"USERMENU App Tools-App a.exe", false, Outcome::kIdeNotFound},
    };
    for (const Row& r : rows) {
        RunWith(r.tail, r.ideInstalled);
        EXPECT_EQ(static_cast<int>(r.expected), static_cast<int>(RunOutcome()))
            << r.tail << (r.ideInstalled ? "" : " without the IDE") << ": " << RunOutcomeReason();
    }
}

// TEXT holds 254 characters: a longer line would cut a parameter that a
// command then writes, so it is refused whole. Trailing blanks do not count.
TEST(MainProcedure, ACommandLineLongerThanTextHoldsIsRefusedWhole) {
    const std::string base = "USERMENU App Tools-App C:\\a.exe ";
    RecordingServices fits = RunWith(base + std::string(254 - base.size(), 'x') + std::string(40, ' '));
    EXPECT_EQ(Outcome::kDone, RunOutcome()) << RunOutcomeReason();
    EXPECT_TRUE(fits.messages.empty());
    RecordingServices cut = RunWith(base + std::string(255 - base.size(), 'x'));
    EXPECT_EQ(Outcome::kUsage, RunOutcome());
    ASSERT_EQ(1u, cut.messages.size());
    EXPECT_EQ("DOVidovur", cut.messages[0].caption);
    EXPECT_EQ(0u, cut.messages[0].text.find("The command line holds 255 characters;"));
}

TEST(MainProcedure, UnattendedTheWindowIsRefusedAndNothingOpens) {
    unattended::SetOn(true);
    RecordingServices s = RunWith("");
    unattended::SetOn(false);
    EXPECT_EQ(0, s.workLogRuns);
    EXPECT_EQ(Outcome::kWindowAsked, RunOutcome());
}

}  // namespace
}  // namespace dove::app
