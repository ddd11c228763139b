// The Log/Version utility as a user meets it: DOVE60.exe without arguments
// in a folder with its settings and version file, driven from outside, the
// files compared byte for byte afterwards.
#include "e2e/worklog_session.h"

#include <functional>

namespace worklog_e2e {
namespace {


// The file as expected, for the time read before and after the run: the
// entry carries the minute in which the window prepared it.
struct Expect {
    std::function<std::string(const std::string& added)> file;
    std::string before = AddedNow();
};

void ExpectFile(const Expect& e, const std::string& actual) {
    std::string after = AddedNow();
    if (actual == e.file(e.before)) return;
    EXPECT_EQ(e.file(after), actual);
}

void PressMessage(Utility& u, std::string* text = nullptr) {
    HWND box = u.WaitMessage();
    ASSERT_TRUE(box) << u.Error();
    gui::Dialog d = gui::Read(box);
    if (text) {
        for (const std::string& s : d.staticTexts) *text += s + "\n";
    }
    ASSERT_FALSE(d.buttons.empty()) << d.Describe();
    ASSERT_TRUE(gui::Press(box, d.buttons[0].id));
}

TEST(Worklog, FirstEntryOfAMissingFileAndTheWindowsPages) {
    Folder f;
    Expect e{[](const std::string& added) {
        return Entry("Version", "1.00", "0001", added, "") + "\r\n";
    }};
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0001", u.WaitText(kBuild, "0001"));
    EXPECT_EQ(" 1.00", u.Text(kVer));
    EXPECT_EQ("1.00 0001", u.StatusZone(1));
    EXPECT_EQ("Version.kvi", u.StatusZone(2));
    EXPECT_EQ("Auto", u.StatusZone(3));
    EXPECT_EQ("Version: 1.60  0001", u.Text(kVersion));
    EXPECT_TRUE(FileExists(f.File("Version.kvi"))) << "created when missing";
    gui::Screenshot(u.Window(), "worklog_page1");
    u.Click(kNext);
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(u.Control(kVersion)));
    gui::Screenshot(u.Window(), "worklog_page2");
    u.Click(kBack);
    Sleep(200);
    u.Click(kOk);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    ExpectFile(e, ReadFileBytes(f.File("Version.kvi")));
    EXPECT_EQ("Version.kvi", f.Ini("DOVE60.ini", "FileName", "Name"));
    EXPECT_EQ("1", f.Ini("DOVE60.ini", "Status", "Auto Increment"));
    EXPECT_EQ("1", f.Ini("ZERU.ini", "Status", "On"));
}

TEST(Worklog, CancelOnAMissingFileLeavesItEmpty) {
    Folder f;
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0001", u.WaitText(kBuild, "0001"));
    u.Click(kCancel);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    EXPECT_TRUE(FileExists(f.File("Version.kvi")));
    EXPECT_EQ("", ReadFileBytes(f.File("Version.kvi")));
}

TEST(Worklog, BuildOfTheLastLineWithAndWithoutAutoIncrement) {
    struct Row {
        const char* autoIncrement;
        const char* build;
        const char* zone3;
    } rows[] = {{"1", "0042", "Auto"}, {"0", "0041", "Manual"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.build);
        Folder f;
        f.SetIni("DOVE60.ini", "Status", "Auto Increment", row.autoIncrement);
        WriteFileBytes(f.File("Version.kvi"), kOld + "\r\n" + kLast + "\r\n");
        Expect e{[&](const std::string& added) {
            return kOldComment + "\r\n" + kLastComment + "\r\n" +
                   Entry("Version", "1.60", row.build, added, "Fixed the build") + "\r\n";
        }};
        Utility u;
        ASSERT_TRUE(u.Start(f));
        EXPECT_EQ(row.build, u.WaitText(kBuild, row.build));
        EXPECT_EQ(std::string("1.60 ") + row.build, u.StatusZone(1));
        EXPECT_EQ(row.zone3, u.StatusZone(3));
        u.Type(kNote, "Fixed the build");
        u.Click(kOk);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        ExpectFile(e, ReadFileBytes(f.File("Version.kvi")));
        EXPECT_EQ(row.autoIncrement, f.Ini("DOVE60.ini", "Status", "Auto Increment"));
    }
}

// Cancel, the close box, the system menu and Alt+F4 all leave the file with
// its earlier lines commented out and the last one active.
TEST(Worklog, CancelAndEveryCloseRestoreTheLastLine) {
    // Split by columns: the build is whatever stands in columns 35 to 38.
    std::string hand = "Version = 2.5, by hand";
    hand.resize(34, ' ');
    hand += "0017 and more";
    const std::string handRestored = "Version" + std::string(13, ' ') + hand.substr(20);
    struct Row {
        const char* how;
        std::string before;
        std::string after;
        const char* build;
    } rows[] = {
        {"cancel", kOld + "\r\n" + kLast + "\r\n", kOldComment + "\r\n" + kLast + "\r\n", "0042"},
        {"close", kOld + "\r\n" + kLastComment + "\r\n", kOldComment + "\r\n" + kLast + "\r\n",
         "0042"},
        {"sysmenu", kOld + "\r\n" + hand + "\r\n", kOldComment + "\r\n" + handRestored + "\r\n",
         "0018"},
        {"altf4", kLast + "\r\n", kLast + "\r\n", "0042"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        Folder f;
        WriteFileBytes(f.File("Version.kvi"), row.before);
        Utility u;
        ASSERT_TRUE(u.Start(f));
        EXPECT_EQ(row.build, u.WaitText(kBuild, row.build));
        std::string how = row.how;
        if (how == "cancel") u.Click(kCancel);
        if (how == "close") PostMessageA(u.Window(), WM_CLOSE, 0, 0);
        if (how == "sysmenu") PostMessageA(u.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        if (how == "altf4") PostMessageA(u.Window(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        EXPECT_EQ(row.after, ReadFileBytes(f.File("Version.kvi")));
        EXPECT_FALSE(FileExists(f.File("ZERU.ini"))) << "Cancel writes no settings";
    }
}

TEST(Worklog, UpdatesOffAtStartCloseTheWindowAfterTheThirdTick) {
    Folder f;
    f.SetIni("DOVE60.ini", "Status", "On", "0");
    const std::string before = kOld + "\r\n" + kLast + "\r\n";
    WriteFileBytes(f.File("Version.kvi"), before);
    Utility u;
    DWORD start = GetTickCount();
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("Update is turned off", u.WaitText(kNote, "Update is turned off"));
    EXPECT_FALSE(u.Enabled(kOk));
    EXPECT_FALSE(u.Enabled(kCancel));
    EXPECT_FALSE(u.Enabled(kNote));
    EXPECT_FALSE(u.Enabled(kFileName));
    EXPECT_TRUE(u.Enabled(kOnOff));
    gui::Screenshot(u.Window(), "worklog_updates_off");
    EXPECT_EQ(0, u.WaitExit(10000)) << u.Error();
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 2500u);
    EXPECT_EQ(kOldComment + "\r\n" + kLast + "\r\n", ReadFileBytes(f.File("Version.kvi")));
}

TEST(Worklog, TickingEnableUpdatesStopsTheAutomaticClose) {
    Folder f;
    f.SetIni("DOVE60.ini", "Status", "On", "0");
    WriteFileBytes(f.File("Version.kvi"), kLast + "\r\n");
    // The entry carries the minute of the start, not of the OK 5 s later.
    Expect e{[&](const std::string& added) {
        return kLastComment + "\r\n" + Entry("Version", "1.60", "0042", added, "") + "\r\n";
    }};
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("Update is turned off", u.WaitText(kNote, "Update is turned off"));
    u.Click(kOnOff);
    EXPECT_EQ("", u.WaitText(kNote, ""));
    EXPECT_TRUE(u.Enabled(kOk));
    EXPECT_TRUE(u.Enabled(kNote));
    gui::Screenshot(u.Window(), "worklog_updates_on_again");
    Sleep(4500);
    ASSERT_TRUE(u.Running()) << "the timer went on after updates were enabled";
    u.Click(kOk);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    ExpectFile(e, ReadFileBytes(f.File("Version.kvi")));
    EXPECT_EQ("1", f.Ini("ZERU.ini", "Status", "On"));
}

TEST(Worklog, UntickingWhenOpenedWithUpdatesOnStillAppends) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kLast + "\r\n");
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
    u.Click(kOnOff);
    Sleep(300);
    EXPECT_TRUE(u.Enabled(kOk));
    EXPECT_EQ("", u.Text(kNote));
    Expect e{[&](const std::string& added) {
        return kLastComment + "\r\n" + Entry("Version", "1.60", "0042", added, "") + "\r\n";
    }};
    u.Click(kOk);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    ExpectFile(e, ReadFileBytes(f.File("Version.kvi")));
    EXPECT_EQ("0", f.Ini("ZERU.ini", "Status", "On"));
    EXPECT_EQ("", f.Ini("DOVE60.ini", "Status", "On")) << "On is only read from DOVE60.ini";
}

TEST(Worklog, ANewFileNameGetsTheEntryAndIsSaved) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kOld + "\r\n" + kLast + "\r\n");
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
    u.Type(kFileName, "Other.kvi");
    Expect e{[&](const std::string& added) {
        return Entry("Version", "1.60", "0042", added, "") + "\r\n";
    }};
    u.Click(kOk);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    EXPECT_EQ(kOldComment + "\r\n" + kLastComment + "\r\n", ReadFileBytes(f.File("Version.kvi")));
    ExpectFile(e, ReadFileBytes(f.File("Other.kvi")));
    EXPECT_EQ("Other.kvi", f.Ini("DOVE60.ini", "FileName", "Name"));
}

// OK puts the entry on a line of its own; Cancel leaves the file as long as
// it was, without a line break added.
TEST(Worklog, ALastLineWithoutALineBreak) {
    struct Row {
        std::string last;
        std::string commented;
        bool cancel;
    } rows[] = {{kLast, kLastComment, false}, {kLastComment, kLastComment, false},
                {kLast, kLast, true}, {kLastComment, kLast, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.last + (row.cancel ? " cancel" : " ok"));
        Folder f;
        WriteFileBytes(f.File("Version.kvi"), kOld + "\r\n" + row.last);
        Utility u;
        ASSERT_TRUE(u.Start(f));
        EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
        if (row.cancel) {
            u.Click(kCancel);
            EXPECT_EQ(0, u.WaitExit()) << u.Error();
            EXPECT_EQ(kOldComment + "\r\n" + row.commented, ReadFileBytes(f.File("Version.kvi")));
            continue;
        }
        Expect e{[&](const std::string& added) {
            return kOldComment + "\r\n" + row.commented + "\r\n" +
                   Entry("Version", "1.60", "0042", added, "") + "\r\n";
        }};
        u.Click(kOk);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        ExpectFile(e, ReadFileBytes(f.File("Version.kvi")));
    }
}

TEST(Worklog, LettersInTheVersionAreRejectedAndBlanked) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kLast + "\r\n");
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ(" 1.60", u.WaitText(kVer, " 1.60"));
    u.Type(kVer, "abc");
    u.Type(kNote, "moved on");
    std::string shown = u.WaitText(kVer, "");
    EXPECT_EQ(std::string::npos, shown.find("abc")) << shown;
    EXPECT_EQ(std::string::npos, shown.find("1.6")) << shown;
    u.Click(kCancel);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    EXPECT_EQ(kLast + "\r\n", ReadFileBytes(f.File("Version.kvi")));
}

}  // namespace
}  // namespace worklog_e2e
