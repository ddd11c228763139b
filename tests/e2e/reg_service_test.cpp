// The stand-in IDE's DDE service, reached with the runtime's own channels:
// it must answer and fail in the ways the REG tests rely on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dde/dde_channel.h"
#include "dde/ide_names.h"
#include "e2e/reg_support.h"
#include "runtime/errors/error_record.h"
#include "support/ide_setup.h"

namespace {

using dove::dde::Channel;
using reg_test::DdeLog;
using reg_test::Only;

class StandInService : public ::testing::Test {
protected:
    StandInService() { ide_test::QuitStandIn(); }
    ~StandInService() override {
        ide_test::QuitStandIn();
        EXPECT_EQ(0u, dove::dde::OpenChannelCount());
    }
    // Opens, executes, closes; the error code of the execute.
    static int ExecuteOnce(const std::string& command) {
        Channel ch = dove::dde::DDEopen(dove::ide::kDdeService, "");
        if (ch == 0) return -1;
        dove::dde::DDEexecute(ch, command);
        int code = dove::err::Code();
        dove::dde::DDEclose(ch);
        return code;
    }
};

TEST_F(StandInService, AnswersItsServiceForAnyTopicAndLogsEachExecute) {
    ASSERT_TRUE(reg_test::StartServingStandIn());
    dove::dde::SetDDETimeOut(100);
    struct Row {
        const char* application;
        const char* topic;
        bool answers;
    } rows[] = {{dove::ide::kDdeService, "", true},     {"tovarowin", "Anything", true},
                {dove::ide::kDdeService, "System", true}, {"OtherService", "", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.application) + "/" + row.topic);
        Channel ch = dove::dde::DDEopen(row.application, row.topic);
        EXPECT_EQ(row.answers, ch != 0);
        if (ch) dove::dde::DDEclose(ch);
    }
    DWORD before = GetTickCount();
    EXPECT_EQ(0, ExecuteOnce("[RegisterTemplateChain(C:\\a b.tpl,0)]")) << dove::err::Text();
    std::vector<reg_test::DdeLine> log = reg_test::WaitDdeLog("terminate", 5000);
    // The close does not wait for the stand-in to log: give the last one time.
    for (DWORD t0 = GetTickCount(); Only(log, "terminate").size() < 4 && GetTickCount() - t0 < 5000;
         log = reg_test::DdeLog())
        Sleep(20);
    std::vector<reg_test::DdeLine> executes = Only(log, "execute");
    ASSERT_EQ(1u, executes.size());
    EXPECT_EQ("[RegisterTemplateChain(C:\\a b.tpl,0)]", executes[0].text);
    EXPECT_GE(executes[0].ms + 50, before);   // one clock for both processes
    EXPECT_EQ(4u, Only(log, "terminate").size());   // three plain closes and one after the execute
}

TEST_F(StandInService, RefusesDelaysCrashesOrStartsLateAsAsked) {
    dove::dde::SetDDETimeOut(100);
    ASSERT_TRUE(reg_test::StartServingStandIn("--nack"));
    EXPECT_EQ(603, ExecuteOnce("[x]"));
    ide_test::QuitStandIn();

    ASSERT_TRUE(reg_test::StartServingStandIn("--ack-delay=1500"));
    EXPECT_EQ(605, ExecuteOnce("[late]"));
    dove::dde::SetDDETimeOut(300);
    EXPECT_EQ(0, ExecuteOnce("[in time]"));
    dove::dde::SetDDETimeOut(100);
    ide_test::QuitStandIn();

    ASSERT_TRUE(reg_test::StartServingStandIn("--crash-on-execute"));
    Channel ch = dove::dde::DDEopen(dove::ide::kDdeService, "");
    ASSERT_NE(0, ch);
    dove::dde::DDEexecute(ch, "[boom]");
    EXPECT_NE(0, dove::err::Code());
    Sleep(300);
    dove::dde::DDEexecute(ch, "[after]");
    EXPECT_EQ(602, dove::err::Code());
    dove::dde::DDEclose(ch);
    EXPECT_EQ(1u, Only(DdeLog(), "execute").size());

    reg_test::StandInOptions late("--serve-after=1500");   // from the environment
    reg_test::ClearDdeLog();
    ASSERT_TRUE(reg_test::LaunchStandIn());
    Sleep(500);
    EXPECT_EQ(0, dove::dde::DDEopen(dove::ide::kDdeService, ""));
    ASSERT_FALSE(Only(reg_test::WaitDdeLog("serving", 5000), "serving").empty());
    EXPECT_EQ(0, ExecuteOnce("[now]"));
}

}  // namespace
