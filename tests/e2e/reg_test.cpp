// REG through DOVE60.exe with the stand-in IDE: what reaches the IDE, when
// the IDE is started, what DADU.LOG says, and the AutoPick setting.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dde/ide_names.h"
#include "e2e/reg_support.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

using ide_test::ReadFile;
using reg_test::DdeLog;
using reg_test::Only;

// The DADU log's connection steps up to the start of the IDE.
std::string ConnectSection(bool beforeRun) {
    const std::string service = dove::ide::kDdeService;
    return "[Connect]\r\nApp=" + service + "\r\nBefore Open Channel=" + service + "\r\n" +
           (beforeRun ? "Before Run=" + service + "\r\n" : std::string());
}

class RegTest : public ::testing::Test {
protected:
    RegTest() : root_("reg"), ide_(ide_test::Plain, root_.path + "\\", ide_test::StandInPath()) {
        CreateDirectoryA((root_.path + "\\Bin").c_str(), nullptr);
        ide_test::WriteFile(Template(), "#TEMPLATE(Reg)\r\n");
        ide_test::QuitStandIn();
        ide_test::ClearStandInLog();
        reg_test::ClearDdeLog();
    }
    ~RegTest() override { ide_test::QuitStandIn(); }

    std::string Ini() const { return root_.path + "\\Bin\\T60ee.ini"; }
    std::string Template() const { return root_.path + "\\my template.tpl"; }
    std::string DaduLog() const { return ReadFile(root_.path + "\\DADU.LOG"); }
    static std::string Command(const std::string& name) {
        return dove::ide::kRegisterCommandStart + name + dove::ide::kRegisterCommandEnd;
    }
    std::vector<std::string> Executed() const {
        std::vector<std::string> texts;
        for (const reg_test::DdeLine& l : Only(DdeLog(), "execute")) texts.push_back(l.text);
        return texts;
    }

    // Runs DOVE60.exe REG in the test folder (where DADU.LOG goes) until it
    // ends by itself; its exit code, and how long it took.
    int RunReg(const std::string& tail, DWORD* tookMs = nullptr, DWORD timeoutMs = 20000) {
        DWORD start = GetTickCount();
        gui::App app = gui::Start(ide_test::ExeRaw("REG " + tail), root_.path, false);
        int code = app.WaitExit(timeoutMs);
        if (tookMs) *tookMs = GetTickCount() - start;
        EXPECT_NE(-1, code) << "REG did not end; it shows: " << gui::DescribeWindowsOf(app.Pid());
        return code;
    }

    // DADU.LOG after a connection: "Run Error" holds the channel handle.
    std::string ConnectedLog(bool beforeRun) const {
        char handle[32] = {};
        GetPrivateProfileStringA("Connect", "Run Error", "", handle, sizeof handle,
                                 (root_.path + "\\DADU.LOG").c_str());
        EXPECT_GT(atoi(handle), 0) << DaduLog();
        return ConnectSection(beforeRun) + "Run Error=" + handle + "\r\n";
    }

    ide_test::TempDir root_;
    ide_test::WinIniIde ide_;
};

TEST_F(RegTest, RunningIdeGetsOneExecuteWithTheNameClippedAndAutoPickComesBack) {
    // A value longer than any short field comes back whole.
    const std::string environment = "[Environment]\r\nAutoPick=yes, with the classes of the first field\r\n";
    ide_test::WriteFile(Ini(), environment);
    ASSERT_TRUE(reg_test::StartServingStandIn());
    EXPECT_EQ(0, RunReg("\"" + Template() + "   \""));
    EXPECT_EQ(std::vector<std::string>{Command(Template())}, Executed());
    EXPECT_EQ(1u, Only(reg_test::WaitDdeLog("terminate", 5000), "terminate").size());
    EXPECT_EQ(1u, ide_test::StandInLog().size());   // not started again
    EXPECT_EQ(ConnectedLog(false), DaduLog());
    EXPECT_EQ(environment, ReadFile(Ini()));
}

TEST_F(RegTest, IdeNotRunningIsStartedOnceAndASecondRunKeepsTheOlderBeforeRun) {
    EXPECT_EQ(0, RunReg("\"" + Template() + "\""));
    std::vector<std::string> starts = ide_test::StandInLog();
    ASSERT_EQ(1u, starts.size());
    EXPECT_NE(std::string::npos, starts[0].find("\tcmdline=" + ide_test::StandInPath()));
    EXPECT_EQ(std::vector<std::string>{Command(Template())}, Executed());
    EXPECT_EQ(ConnectedLog(true), DaduLog());
    // AutoPick was missing: it is written as "on".
    EXPECT_EQ("[Environment]\r\nAutoPick=on\r\n", ReadFile(Ini()));

    reg_test::ClearDdeLog();
    EXPECT_EQ(0, RunReg("\"" + Template() + "\""));
    EXPECT_EQ(1u, ide_test::StandInLog().size());
    EXPECT_EQ(std::vector<std::string>{Command(Template())}, Executed());
    EXPECT_EQ(ConnectedLog(true), DaduLog());   // the first run's "Before Run" stays
}

TEST_F(RegTest, SlowIdeStartIsWaitedForAndTheCommandFollowsItsService) {
    reg_test::StandInOptions slow("--serve-after=4000");
    DWORD took = 0;
    EXPECT_EQ(0, RunReg("\"" + Template() + "\"", &took));
    std::vector<reg_test::DdeLine> log = DdeLog();
    std::vector<reg_test::DdeLine> serving = Only(log, "serving"), executes = Only(log, "execute");
    ASSERT_EQ(1u, serving.size());
    ASSERT_EQ(1u, executes.size());
    EXPECT_EQ(Command(Template()), executes[0].text);
    EXPECT_GE(took, 4000u);
    // Soon after the service appears (bench/reg measures it closely).
    EXPECT_LT(executes[0].ms - serving[0].ms, 1000u);
    EXPECT_EQ(ConnectedLog(true), DaduLog());
}

TEST_F(RegTest, IdeThatCannotStartIsAskedForThirtySecondsThenNothingIsSent) {
    ide_test::WinIniIde missing(ide_test::Plain, root_.path + "\\", root_.path + "\\NoIde.exe");
    ide_test::WriteFile(Ini(), "[Environment]\r\nAutoPick=off\r\n");
    DWORD took = 0;
    EXPECT_EQ(0, RunReg("\"" + Template() + "\"", &took, 60000));
    EXPECT_GE(took, 30000u);
    EXPECT_LT(took, 40000u);
    EXPECT_EQ(ConnectSection(true) + "Run Error=252\r\n", DaduLog());
    EXPECT_TRUE(DdeLog().empty());
    EXPECT_EQ("[Environment]\r\nAutoPick=off\r\n", ReadFile(Ini()));
}

TEST_F(RegTest, HungWindowOnTheDesktopKeepsNeitherRegNorTheCommandWaiting) {
    // Every request for the service goes to each top-level window, this
    // program's too, whose thread never reads a message again.
    gui::App hung = gui::Start(gui::ProbeCommand("dde_partner_probe", {"HungProgram", "hang"}));
    ASSERT_TRUE(hung.Started()) << hung.Error();
    for (int i = 0; i < 500 && hung.Output().find("ready") == std::string::npos; ++i) Sleep(10);
    ASSERT_TRUE(hung.Running()) << hung.Output();
    struct Row {
        bool running;        // the IDE serves before REG starts
        const char* options; // for the stand-in that REG starts
    };
    for (const Row& row : {Row{true, ""}, Row{false, "--serve-after=2000"}}) {
        SCOPED_TRACE(row.running ? "IDE running" : "IDE started by REG");
        ide_test::QuitStandIn();
        reg_test::ClearDdeLog();
        if (row.running) ASSERT_TRUE(reg_test::StartServingStandIn());
        reg_test::StandInOptions options(row.options);
        EXPECT_EQ(0, RunReg("\"" + Template() + "\"", nullptr, 30000));
        EXPECT_EQ(std::vector<std::string>{Command(Template())}, Executed());
        EXPECT_EQ("[Environment]\r\nAutoPick=on\r\n", ReadFile(Ini()));
    }
    EXPECT_TRUE(hung.Running()) << "the hung program was to stay for every run";
}

TEST_F(RegTest, IdeWhosePathIsLongerThanAShortFieldIsStarted) {
    // Discovery takes an executable path of up to 254 characters.
    std::string folder = root_.path + "\\" + std::string(140, 'p');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string exe = folder + "\\StandInIde.exe";
    ASSERT_GT(exe.size(), 150u);
    ASSERT_LT(exe.size(), 255u);
    ASSERT_TRUE(CopyFileA(ide_test::StandInPath().c_str(), exe.c_str(), FALSE));
    ide_test::WinIniIde longPath(ide_test::Plain, root_.path + "\\", exe);
    EXPECT_EQ(0, RunReg("\"" + Template() + "\""));
    // The copy keeps its logs beside itself.
    std::string log = ReadFile(folder + "\\StandInIde.dde.log");
    EXPECT_NE(std::string::npos, log.find("\texecute\t" + Command(Template()) + "\r\n")) << log;
    ide_test::QuitStandIn();
    Sleep(300);   // the copy's process ends after its window
}

TEST_F(RegTest, RefusedOrCrashingIdeLetsRegEndNormallyAndShowNothing) {
    for (const char* options : {"--nack", "--crash-on-execute", "--ack-delay=3000"}) {
        SCOPED_TRACE(options);
        ide_test::QuitStandIn();
        reg_test::ClearDdeLog();
        ASSERT_TRUE(reg_test::StartServingStandIn(options));
        gui::App app = gui::Start(ide_test::ExeRaw("REG \"" + Template() + "\""), root_.path, false);
        // A message box would keep it from ending.
        EXPECT_EQ(0, app.WaitExit(15000)) << gui::DescribeWindowsOf(app.Pid());
        EXPECT_EQ(std::vector<std::string>{Command(Template())}, Executed());
        EXPECT_EQ("[Environment]\r\nAutoPick=on\r\n", ReadFile(Ini()));
    }
}

TEST_F(RegTest, MissingParameterOrFileShowsItsMessageAndWritesNothing) {
    struct Row {
        std::string tail, text, caption;
    } rows[] = {
        {"", "Command line must include a template name as the second parameter.",
         "KV Install Error"},
        {"\"" + root_.path + "\\none.tpl\"", "Template file does not exist.", "Register Error"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tail);
        gui::Shown box;
        ASSERT_TRUE(gui::OpenDialog(&box, ide_test::ExeRaw("REG " + row.tail)));
        EXPECT_EQ(row.caption, box.d.caption);
        ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
        EXPECT_EQ(row.text, box.d.staticTexts[0]);
        EXPECT_EQ((std::vector<std::string>{"OK"}), box.d.ButtonTexts());
        EXPECT_TRUE(gui::ShowsIcon(box.d, LoadIconA(nullptr, IDI_EXCLAMATION)));
        gui::Screenshot(box.dlg, row.tail.empty() ? "reg_no_parameter" : "reg_no_file");
        ASSERT_TRUE(gui::Press(box.dlg, IDOK));
        EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
    }
    EXPECT_FALSE(ide_test::FileExists(Ini()));
    EXPECT_TRUE(ide_test::StandInLog().empty());
}

}  // namespace
