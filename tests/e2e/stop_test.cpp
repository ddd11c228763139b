// The stop box as a user meets it, through stop_probe.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/gui_harness.h"

namespace {

struct StopCase {
    const char* ask;
    const char* shownText;
    int press;
    const char* output;
};

TEST(Stop, BoxWithAndWithoutTheExitQuestion) {
    const StopCase cases[] = {
        {"0", "Saved C:\\x", IDIGNORE, "returned\n"},
        {"1", "Saved C:\\x\r\nExit?", IDIGNORE, "returned\n"},
        {"0", "Saved C:\\x", IDABORT, "shut down\n"},
        {"1", "Saved C:\\x\r\nExit?", IDABORT, "shut down\n"},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(std::string("ask ") + c.ask + ", press " + std::to_string(c.press));
        gui::Shown box;
        ASSERT_TRUE(gui::OpenDialog(&box, gui::ProbeCommand("stop_probe", {"Saved C:\\x   ", c.ask})));
        EXPECT_EQ("Stop", box.d.caption);
        ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
        EXPECT_EQ(c.shownText, box.d.staticTexts[0]);
        EXPECT_EQ((std::vector<std::string>{"&Abort", "&Ignore"}), box.d.ButtonTexts());
        ASSERT_TRUE(gui::Press(box.dlg, c.press));
        EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
        EXPECT_EQ(c.output, box.app.Output());
    }
}

TEST(Stop, StopHookReplacesTheBox) {
    gui::App app = gui::Start(gui::ProbeCommand("stop_probe", {"The text", "1", "hook"}));
    EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
    EXPECT_EQ("hook 1 The text\nreturned\n", app.Output());
}

}  // namespace
