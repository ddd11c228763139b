// LIBSRC: what is written, what the stop box says and when the IDE starts.
#include "app/commands/libsrc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/start/program_globals.h"
#include "app/start/tokenizer.h"
#include "dde/ide_names.h"
#include "runtime/profile/run_program.h"
#include "runtime/profile/stop.h"
#include "runtime/strings/strings.h"
#include "support/profile_fake.h"
#include "support/recording_services.h"

namespace dove::app {
namespace {

const char kIni[] = "C:\\TV6\\Bin\\T60ee.ini";
std::vector<std::string> g_started;
std::vector<std::string> g_boxes;

bool RecordStart(const std::string& line, void** p, int*) {
    g_started.push_back(line);
    static int token;
    *p = &token;
    return true;
}
uint32_t NoExit(void*) { return 0; }
void NoClose(void*) {}
int32_t IgnoreBox(const char* text) {
    g_boxes.push_back(text);
    return 32;
}

test::RecordingServices RunLibSrcWith(const std::string& tail, const char* exe) {
    g_started.clear();
    g_boxes.clear();
    process::SetPlatform({&RecordStart, &NoExit, &NoClose});
    stop::SetBox(&IgnoreBox);
    str::AssignZ(Globals().iniFile, sizeof Globals().iniFile, kIni);
    str::AssignZ(Globals().exeName, sizeof Globals().exeName, exe);
    Globals().tokenQ = std::make_unique<std::deque<TokenEntry>>();
    TokeniseCommandLine(tail);
    test::RecordingServices services;
    RunLibSrc(services);
    Globals().tokenQ.reset();
    stop::SetBox(nullptr);
    process::SetPlatform(process::DefaultPlatform());
    return services;
}

TEST(LibSrc, WritesUpperCaseAndShowsThePathAsTyped) {
    test::ProfileFake fake;
    RunLibSrcWith("LIBSRC \"c:\\my lib\\src\"", "C:\\TV6\\tv.exe");
    EXPECT_EQ("C:\\MY LIB\\SRC", fake.Get(kIni, ide::kPathsSection, ide::kLibsrcEntry));
    EXPECT_EQ((std::vector<std::string>{"PUTINI PATH: c:\\my lib\\src File: " +
                                        std::string(kIni)}),
              g_boxes);
    EXPECT_TRUE(g_started.empty());
}

TEST(LibSrc, AnyThirdParameterStartsTheIdeWithItsNameAlone) {
    test::ProfileFake fake;
    RunLibSrcWith("LIBSRC c:\\lib 0", "C:\\TV6\\tv.exe");
    EXPECT_EQ((std::vector<std::string>{"C:\\TV6\\tv.exe"}), g_started);
    RunLibSrcWith("LIBSRC c:\\lib Run", "");
    EXPECT_TRUE(g_started.empty());
}

TEST(LibSrc, MissingPathShowsTheMessageAndDoesNothing) {
    test::ProfileFake fake;
    test::RecordingServices s = RunLibSrcWith("LIBSRC", "C:\\TV6\\tv.exe");
    ASSERT_EQ(1u, s.messages.size());
    EXPECT_EQ("File parameter missing from command line", s.messages[0].text);
    EXPECT_EQ("Set ABC Library Directory", s.messages[0].caption);
    EXPECT_EQ("\xFF\x01\x04\x7F", s.messages[0].icon);
    EXPECT_TRUE(fake.writes.empty());
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_TRUE(g_started.empty());
}

}  // namespace
}  // namespace dove::app
