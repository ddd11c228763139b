// RUNPROGRAM's results and error posting over a scripted process platform,
// and STOP's hook and text.
#include "runtime/profile/run_program.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/errors/error_record.h"
#include "runtime/profile/stop.h"
#include "runtime/system_props.h"
#include "runtime/strings/value_stack.h"

namespace dove {
namespace {

std::vector<std::string> g_calls;
uint32_t g_exitCode = 0;

bool StartOk(const std::string& line, void** p, int*) {
    g_calls.push_back("start " + line);
    static int token;
    *p = &token;
    return true;
}
bool StartFails(const std::string& line, void**, int* osError) {
    g_calls.push_back("start " + line);
    *osError = 2;
    return false;
}
uint32_t WaitExit(void*) {
    g_calls.push_back("wait");
    return g_exitCode;
}
void Close(void*) { g_calls.push_back("close"); }
void Unlock() { g_calls.push_back("unlock"); }
void Lock() { g_calls.push_back("lock"); }

class RunProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_exitCode = 0;
        SetSystemProp(kUnlockThreadHook, reinterpret_cast<uintptr_t>(&Unlock));
        SetSystemProp(kLockThreadHook, reinterpret_cast<uintptr_t>(&Lock));
    }
    void TearDown() override {
        SetSystemProp(kUnlockThreadHook, 0);
        SetSystemProp(kLockThreadHook, 0);
        process::SetPlatform(process::DefaultPlatform());
        err::Clear();
    }
};

TEST_F(RunProgramTest, FailedStartGivesMinusFourAndTheSystemError) {
    process::SetPlatform({&StartFails, &WaitExit, &Close});
    RunProgram("nothing.exe  ", true);
    EXPECT_EQ(-4, RUNRESULT());
    EXPECT_EQ(2, err::Code());
    EXPECT_EQ((std::vector<std::string>{"start nothing.exe  "}), g_calls);  // not clipped
}

TEST_F(RunProgramTest, WaitIsBracketedByTheThreadHooksAndGivesTheExitCode) {
    process::SetPlatform({&StartOk, &WaitExit, &Close});
    err::Post(5);
    RunProgram("tool.exe a", true);
    EXPECT_EQ(0, RUNRESULT());
    EXPECT_EQ(0, err::Code());   // cleared on entry
    EXPECT_EQ((std::vector<std::string>{"start tool.exe a", "unlock", "wait", "lock", "close"}),
              g_calls);
    g_exitCode = 7;
    err::SetOsError(5);
    RunProgram("tool.exe", true);
    EXPECT_EQ(7, RUNRESULT());
    EXPECT_EQ(305, err::Code());
}

TEST_F(RunProgramTest, NoWaitGivesZeroAndRunResultIsPerThread) {
    process::SetPlatform({&StartFails, &WaitExit, &Close});
    RunProgram("x", false);
    process::SetPlatform({&StartOk, &WaitExit, &Close});
    g_exitCode = 9;
    RunProgram("x", false);
    EXPECT_EQ(0, RUNRESULT());
    EXPECT_EQ((std::vector<std::string>{"start x", "start x", "close"}), g_calls);
    RunProgram("x", true);
    int32_t other = 1;
    std::thread([&] { other = RUNRESULT(); }).join();
    EXPECT_EQ(0, other);
    EXPECT_EQ(9, RUNRESULT());
}

std::vector<std::string> g_stopSeen;
void RecordingStopHook(bool askExit) {
    g_stopSeen.push_back((askExit ? "ask " : "no ") + vstack::PopString());
}
std::string g_boxText;
int32_t IgnoreBox(const char* text) {
    g_boxText = text;
    return 32;
}

TEST(Stop, HookGetsTheFlagAndTheMessageOnTheStack) {
    SetSystemProp(kStopHook, reinterpret_cast<uintptr_t>(&RecordingStopHook));
    Stop("first", true);
    Stop("second  ", false);
    SetSystemProp(kStopHook, 0);
    EXPECT_EQ((std::vector<std::string>{"ask first", "no second  "}), g_stopSeen);
    EXPECT_EQ(0, vstack::Depth());
}

TEST(Stop, BoxTextAndIgnoreReturns) {
    stop::SetBox(&IgnoreBox);
    Stop("Path: C:\\x  ", false);
    EXPECT_EQ("Path: C:\\x", g_boxText);
    Stop("Done.", true);
    EXPECT_EQ("Done.\r\nExit?", g_boxText);
    stop::SetBox(nullptr);
    EXPECT_TRUE(StopAnswerIsAbort(8));
    EXPECT_FALSE(StopAnswerIsAbort(32));
    EXPECT_FALSE(StopAnswerIsAbort(0));
}

}  // namespace
}  // namespace dove
