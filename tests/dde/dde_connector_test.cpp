// The connector's decisions over a scripted service and a fake clock: what
// the log says, how often the server is started, when the attempts stop and
// what reaches the service. (REG itself is tested through DOVE60.exe.)
#include "dde/dde_connector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dde/ide_names.h"
#include "runtime/errors/error_record.h"
#include "runtime/profile/run_program.h"
#include "support/profile_fake.h"

namespace dove::dde {
namespace {

const std::string kApp = std::string("App=") + ide::kDdeService;
const std::string kBeforeOpen = std::string("Before Open Channel=") + ide::kDdeService;
const std::string kBeforeRun = std::string("Before Run=") + ide::kDdeService;

const char kLog[] = ".\\DADU.LOG";
constexpr Channel kChannel = 7;

// The service answers from the attempt with this number on (0: never); a
// start of the server, when it succeeds, makes it answer at once when
// answersWhenStarted.
struct Service {
    int answerFromAttempt = 0;
    bool answersWhenStarted = false;
    bool started = false;
    int attempts = 0;
    uint64_t now = 1000;
    uint64_t lastAttemptAt = 0;
    uint32_t timeOut = 0;
    int errorOnExecute = 0;
    std::vector<std::string> executed;
    std::vector<Channel> closed;
    std::vector<std::string> startedPrograms;
    int startResult = 0;   // 0 started, else the OS error of a failed start
};
Service* g_service;

Channel Open(std::string_view application, std::string_view topic) {
    Service& s = *g_service;
    ++s.attempts;
    s.lastAttemptAt = s.now;
    s.now += 3;
    EXPECT_EQ(ide::kDdeService, application);
    EXPECT_EQ("", topic);
    bool answers = (s.answerFromAttempt && s.attempts >= s.answerFromAttempt) ||
                   (s.answersWhenStarted && s.started);
    return answers ? kChannel : 0;
}
void Execute(Channel ch, std::string_view command) {
    EXPECT_EQ(kChannel, ch);
    g_service->executed.emplace_back(command);
    err::Clear();
    if (g_service->errorOnExecute) err::Post(g_service->errorOnExecute);
}
void Close(Channel ch) { g_service->closed.push_back(ch); }
void Acknowledge(int) {}
void TimeOut(uint32_t hundredths) { g_service->timeOut = hundredths; }
uint64_t Now() { return g_service->now; }
void Pause(uint32_t ms) { g_service->now += ms; }

bool Start(const std::string& line, void** process, int* osError) {
    g_service->startedPrograms.push_back(line);
    static int token;
    *process = &token;
    *osError = g_service->startResult;
    if (g_service->startResult == 0) g_service->started = true;
    return g_service->startResult == 0;
}
uint32_t NoExit(void*) { return 0; }
void NoClose(void*) {}

class Connector : public ::testing::Test {
protected:
    void SetUp() override {
        g_service = &service;
        SetConnectorPlatform({&Open, &Execute, &Close, &Acknowledge, &TimeOut, &Now, &Pause});
        process::SetPlatform({&Start, &NoExit, &NoClose});
        IdeConnector() = DdeConnector();
    }
    void TearDown() override {
        SetConnectorPlatform(DefaultConnectorPlatform());
        process::SetPlatform(process::DefaultPlatform());
        g_service = nullptr;
    }
    // The log's writes, in order, as "entry=value".
    std::vector<std::string> LogWrites() const {
        std::vector<std::string> out;
        for (const auto& w : profile.writes)
            if (w.file == kLog) out.push_back(w.entry + "=" + w.value);
        return out;
    }
    bool Register(const char* exe, const char* name = "C:\\T\\a.tpl") {
        DdeConnector& c = IdeConnector();
        c.InitForIde(exe);
        bool connected = c.Connect();
        c.RegisterTemplate(name, 0);
        c.Close();
        return connected;
    }

    Service service;
    test::ProfileFake profile;
};

using Log = std::vector<std::string>;

TEST_F(Connector, RunningServiceGetsTheCommandOnceWithoutAStart) {
    service.answerFromAttempt = 1;
    EXPECT_TRUE(Register("C:\\TV6\\tv.exe", "C:\\T\\my file.tpl   "));
    EXPECT_EQ((Log{kApp, kBeforeOpen, "Run Error=7"}), LogWrites());
    EXPECT_EQ((std::vector<std::string>{std::string(ide::kRegisterCommandStart) +
                                        "C:\\T\\my file.tpl" + ide::kRegisterCommandEnd}),
              service.executed);
    EXPECT_EQ(100u, service.timeOut);
    EXPECT_TRUE(service.startedPrograms.empty());
    EXPECT_EQ((std::vector<Channel>{kChannel}), service.closed);
    EXPECT_EQ(0, IdeConnector().CHANNEL);
}

TEST_F(Connector, ServiceThatAppearsLaterIsStartedOnceAndReachedAtItsFirstAnswer) {
    service.answerFromAttempt = 40;
    EXPECT_TRUE(Register("C:\\TV6\\tv.exe"));
    EXPECT_EQ((std::vector<std::string>{"C:\\TV6\\tv.exe"}), service.startedPrograms);
    EXPECT_EQ((Log{kApp, kBeforeOpen, kBeforeRun,
                   "Run Error=0", "Run Error=7"}),
              LogWrites());
    EXPECT_EQ(40, service.attempts);
    EXPECT_EQ(1u, service.executed.size());
}

TEST_F(Connector, ServerThatAnswersRightAfterItsStartIsReachedWithoutPausing) {
    service.answersWhenStarted = true;
    uint64_t begin = service.now;
    EXPECT_TRUE(Register("C:\\TV6\\tv.exe"));
    // Before the start, right after it, and once more as every attempt
    // after a start is made (the channel of the second is closed first).
    EXPECT_EQ(3, service.attempts);
    EXPECT_EQ((std::vector<Channel>{kChannel, kChannel}), service.closed);
    EXPECT_LT(service.now - begin, kRetryPauseMs);
    EXPECT_EQ(1u, service.executed.size());
}

TEST_F(Connector, UnstartableServerIsTriedForThirtySecondsWithPausesThenNothingIsSent) {
    service.startResult = 2;
    uint64_t begin = service.now;
    EXPECT_FALSE(Register("C:\\nowhere\\tv.exe"));
    EXPECT_EQ((Log{kApp, kBeforeOpen, kBeforeRun,
                   "Run Error=252"}),
              LogWrites());
    EXPECT_TRUE(service.executed.empty());
    EXPECT_TRUE(service.closed.empty());
    EXPECT_EQ(-4, IdeConnector().ErrorCode());
    EXPECT_EQ("File Not Found", IdeConnector().ErrorText());
    // The last attempt falls inside the window, the stop comes right after it.
    EXPECT_LE(service.lastAttemptAt - begin, kConnectWindowMs);
    EXPECT_GT(service.now - begin, kConnectWindowMs);
    EXPECT_LT(service.now - begin, kConnectWindowMs + 2 * kRetryPauseMs);
    // Paused between attempts: about one attempt per pause, not thousands.
    EXPECT_LT(service.attempts, static_cast<int>(kConnectWindowMs / kRetryPauseMs) + 5);
    EXPECT_GT(service.attempts, static_cast<int>(kConnectWindowMs / (kRetryPauseMs + 3)) - 5);
}

TEST_F(Connector, BlankExecutableStartsNothingAndLogsRunErrorZero) {
    EXPECT_FALSE(Register("   "));
    EXPECT_TRUE(service.startedPrograms.empty());
    EXPECT_EQ("Run Error=0", LogWrites().back());
}

TEST_F(Connector, ExecuteAnswersTheChannelErrorAndNothingWithoutAChannel) {
    service.answerFromAttempt = 1;
    service.errorOnExecute = 603;
    DdeConnector& c = IdeConnector();
    c.InitForIde("x.exe");
    ASSERT_TRUE(c.Connect());
    EXPECT_EQ(603, c.RegisterTemplate("a.tpl", 1));
    EXPECT_EQ("[RegisterTemplateChain(a.tpl,1)]", service.executed.back());
    c.Close();
    err::Post(605);
    EXPECT_EQ(605, c.Execute("anything"));   // no channel: the last code, nothing sent
    EXPECT_EQ(1u, service.executed.size());
}

}  // namespace
}  // namespace dove::dde
