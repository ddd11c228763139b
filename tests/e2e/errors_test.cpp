// The error layer of the Windows build, seen from outside: error_probe posts
// errors through the real last-error value and string table, and shows the
// runtime error box, which the test reads and answers like a user.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/gui_harness.h"

namespace {

// Runs error_probe to its end and returns what it printed.
std::string RunProbe(const std::vector<std::string>& args, int* exitCode = nullptr) {
    gui::App app = gui::Start(gui::ProbeCommand("error_probe", args));
    EXPECT_TRUE(app.Started()) << app.Error();
    int code = app.WaitExit(10000);
    if (exitCode) *exitCode = code;
    else EXPECT_EQ(code, 0) << app.Error();
    return app.Output();
}

TEST(Errors, PostingThroughTheLastErrorValue) {
    struct Row {
        std::vector<std::string> args;
        std::string want;
    } rows[] = {
        {{"os", "32", "post", "0", "show"},
         "code=332\ntext=Sharing Violation\nfilecode=\nfiletext=\nos=32\n"},
        {{"post", "1450", "show"},
         "code=1450\ntext=Unknown Error Posted : 1450\nfilecode=\nfiletext=\nos=0\n"},
        {{"post", "2", "append", " : C:\\X.TXT", "file", "42", "-", "show"},
         "code=2\ntext=File Not Found : C:\\X.TXT\nfilecode=42\nfiletext=File System Error : 42\nos=0\n"},
        {{"os", "5", "post", "37", "save", "os", "0", "post", "2", "clear", "restore", "show"},
         "code=37\ntext=File Not Open\nfilecode=\nfiletext=\nos=5\n"},
        {{"message", "350", "message", "0", "message", "515", "message", "70000"},
         "message=Not Supported \nmessage=Unknown Error Posted\nmessage=Internal error 15\n"
         "message=Unknown Error Posted : 70000\n"},
    };
    for (const Row& row : rows) {
        std::string line;
        for (const std::string& a : row.args) line += a + " ";
        SCOPED_TRACE("error_probe " + line);
        EXPECT_EQ(RunProbe(row.args), row.want);
    }
}

// Showing a message between the failing statement and the test of ERRORCODE
// leaves the error state as it was.
TEST(Errors, MessageDialogKeepsTheErrorState) {
    gui::App app = gui::Start(gui::ProbeCommand("error_probe",
        {"os", "32", "post", "0", "file", "7", "Disk gone", "dialog", "Something happened", "show"}));
    ASSERT_TRUE(app.Started()) << app.Error();
    HWND dlg = app.WaitWindow("#32770", 10000);
    ASSERT_TRUE(dlg) << app.Error();
    ASSERT_TRUE(gui::Press(dlg, IDOK));
    ASSERT_EQ(app.WaitExit(10000), 0) << app.Error();
    EXPECT_EQ(app.Output(),
              "dialog 1\ncode=332\ntext=Sharing Violation\nfilecode=7\nfiletext=Disk gone\nos=32\n");
}

using Box = gui::Shown;

::testing::AssertionResult OpenBox(Box* box, const std::vector<std::string>& args) {
    return gui::OpenDialog(box, gui::ProbeCommand("error_probe", args));
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts) all += "[" + t + "]";
    return all;
}

TEST(Errors, RuntimeErrorBoxNoShutsDownWithCode2) {
    Box box;
    ASSERT_TRUE(OpenBox(&box, {"start", "fatal", "501", "Make UFO Error"}));
    const gui::Dialog& d = box.d;
    EXPECT_EQ(d.caption, "Runtime error");
    EXPECT_EQ(Joined(d.staticTexts), "[Internal error 01 : Make UFO Error\nDo you want to GPF?]")
        << d.Describe();
    EXPECT_TRUE(d.hasIconControl) << "a stop icon\n" << d.Describe();
    EXPECT_EQ(d.ButtonIds(), (std::vector<int>{IDYES, IDNO})) << d.Describe();
    const gui::Control* def = d.DefaultButton();
    ASSERT_TRUE(def) << d.Describe();
    EXPECT_EQ(def->id, IDNO) << d.Describe();
    gui::Screenshot(box.dlg, "errors_runtime_error_box");

    ASSERT_TRUE(gui::Press(box.dlg, IDNO));
    EXPECT_EQ(box.app.WaitExit(10000), 2) << box.app.Error();
    EXPECT_EQ(box.app.Output(), "finaliser\n") << "No shuts the runtime down";
}

TEST(Errors, RuntimeErrorBoxYesStopsAbnormally) {
    Box box;
    ASSERT_TRUE(OpenBox(&box, {"start", "internal", "3", "-"}));
    EXPECT_EQ(Joined(box.d.staticTexts), "[Internal error 03\nDo you want to GPF?]") << box.d.Describe();
    DWORD pressed = GetTickCount();
    ASSERT_TRUE(gui::Press(box.dlg, IDYES));
    int code = box.app.WaitExit(20000);
    EXPECT_NE(code, -1) << "the process must end, not hang: " << box.app.Error();
    EXPECT_NE(code, 0);
    EXPECT_NE(code, 2) << "Yes is not the orderly end";
    EXPECT_LT(GetTickCount() - pressed, 15000u);
    // The output holds the system's crash report (Wine's debugger writes it
    // to the inherited handles), but nothing of a shut-down.
    EXPECT_EQ(box.app.Output().find("finaliser"), std::string::npos) << box.app.Output();
    EXPECT_EQ(DWORD(code), 0xE0D0FA11u) << "the process dies of the stop exception";
}

TEST(Errors, HookReplacesTheBox) {
    int code = -1;
    std::string out = RunProbe({"start", "hook", "fatal", "501", "Make UFO Error"}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(out, "hook 501 Internal error 01 : Make UFO Error\nfinaliser\n");
}

}  // namespace
