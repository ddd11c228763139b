// Version files as people have them (edited by hand, checked out by version
// control): trailing empty lines, LF-only and mixed line ends, end-of-data
// marks. After each run the file holds exactly one active entry, the right
// one, compared byte for byte; a run after OK finds the entry it appended.
#include "e2e/worklog_session.h"

#include <functional>

namespace worklog_e2e {
namespace {

const std::string kCrLf = "\r\n";
const std::string kMarks = "\x1A\x1A";
const std::string kOverLong(300, '=');

enum class Act { Ok, Cancel, Close };

struct Row {
    const char* title;
    std::string before;
    Act act;
    const char* build;   // shown when the window opens
    // The file afterwards: `added` is the new entry's VER:ADDED.
    std::function<std::string(const std::string& added)> after;
};

std::string NewEntry(const std::string& added, const char* build) {
    return Entry("Version", "1.60", build, added, "");
}

std::vector<Row> Rows() {
    auto same = [](std::string s) { return [s](const std::string&) { return s; }; };
    return {
        {"trailing empty lines, OK", kOld + kCrLf + kLast + kCrLf + kCrLf + kCrLf, Act::Ok, "0042",
         [](const std::string& a) {
             return kOldComment + kCrLf + kLastComment + kCrLf + kCrLf + kCrLf + NewEntry(a, "0042") +
                    kCrLf;
         }},
        {"trailing empty lines, Cancel", kOld + kCrLf + kLast + kCrLf + kCrLf, Act::Cancel, "0042",
         same(kOldComment + kCrLf + kLast + kCrLf + kCrLf)},
        {"short and blank lines after the last entry, close box",
         kLast + kCrLf + "Ver" + kCrLf + "          " + kCrLf + "  ", Act::Close, "0042",
         same(kLast + kCrLf + "Ver" + kCrLf + "          " + kCrLf + "  ")},
        {"an over-long line after the last entry, OK", kLast + kCrLf + kOverLong + kCrLf, Act::Ok,
         "0042",
         [](const std::string& a) {
             return kLastComment + kCrLf + kOverLong + kCrLf + NewEntry(a, "0042") + kCrLf;
         }},
        {"LF line ends only, OK", kOld + "\n" + kLast + "\n", Act::Ok, "0042",
         [](const std::string& a) {
             return kOldComment + "\n" + kLastComment + "\n" + NewEntry(a, "0042") + "\n";
         }},
        {"LF line ends only, Cancel", kOld + "\n" + kLast + "\n\n", Act::Cancel, "0042",
         same(kOldComment + "\n" + kLast + "\n\n")},
        {"mixed line ends, OK", kOld + kCrLf + kLast + "\n", Act::Ok, "0042",
         [](const std::string& a) {
             return kOldComment + kCrLf + kLastComment + "\n" + NewEntry(a, "0042") + "\n";
         }},
        {"two end-of-data marks, OK", kOld + kCrLf + kLast + kCrLf + kMarks, Act::Ok, "0042",
         [](const std::string& a) {
             return kOldComment + kCrLf + kLastComment + kCrLf + NewEntry(a, "0042") + kCrLf;
         }},
        {"a mark right after the last entry, OK", kOld + kCrLf + kLast + "\x1A", Act::Ok, "0042",
         [](const std::string& a) {
             return kOldComment + kCrLf + kLastComment + kCrLf + NewEntry(a, "0042") + kCrLf;
         }},
        {"a mark right after the last entry, Cancel", kOld + kCrLf + kLast + kMarks, Act::Cancel,
         "0042", same(kOldComment + kCrLf + kLast + kMarks)},
    };
}

TEST(WorklogFiles, OneActiveEntryAfterEveryRun) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.title);
        Folder f;
        WriteFileBytes(f.File("Version.kvi"), row.before);
        std::string before = AddedNow();   // the entry is dated when it is prepared
        Utility u;
        ASSERT_TRUE(u.Start(f));
        EXPECT_EQ(row.build, u.WaitText(kBuild, row.build));
        if (std::string(row.title) == Rows()[0].title) gui::Screenshot(u.Window(), "worklog_trailing_empty_lines");
        if (row.act == Act::Ok) u.Click(kOk);
        if (row.act == Act::Cancel) u.Click(kCancel);
        if (row.act == Act::Close) PostMessageA(u.Window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        std::string file = ReadFileBytes(f.File("Version.kvi"));
        std::string expected = row.after(before);
        if (file != expected) expected = row.after(AddedNow());
        EXPECT_EQ(Describe(expected), Describe(file));
        if (row.act != Act::Ok) continue;
        // The next run reads the entry just appended: its build, one more.
        Utility next;
        ASSERT_TRUE(next.Start(f));
        EXPECT_EQ("0043", next.WaitText(kBuild, "0043"));
        next.Click(kCancel);
        EXPECT_EQ(0, next.WaitExit()) << next.Error();
        EXPECT_EQ(Describe(file), Describe(ReadFileBytes(f.File("Version.kvi"))));
    }
}

// With updates off the window closes by itself and restores the last entry,
// whatever follows it.
TEST(WorklogFiles, TheAutomaticCloseRestoresTheLastEntryBeforeAnEmptyLine) {
    Folder f;
    f.SetIni("DOVE60.ini", "Status", "On", "0");
    WriteFileBytes(f.File("Version.kvi"), kOld + "\n" + kLast + "\n\n");
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
    EXPECT_EQ(0, u.WaitExit(10000)) << u.Error();
    EXPECT_EQ(Describe(kOldComment + "\n" + kLast + "\n\n"),
              Describe(ReadFileBytes(f.File("Version.kvi"))));
}

// A new file name that cannot be opened is refused before the old file is
// let go: the message names the reason, the window stays, and the old file
// and the saved name are as they were; Cancel then restores the last entry.
TEST(WorklogFiles, ANewNameThatCannotBeOpenedKeepsTheOldFile) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kOld + kCrLf + kLast + kCrLf);
    f.SetIni("DOVE60.ini", "FileName", "Name", "Version.kvi");
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
    u.Type(kFileName, "nofolder\\Other.kvi");
    u.Click(kOk);
    HWND box = u.WaitMessage();
    ASSERT_TRUE(box) << u.Error();
    gui::Dialog d = gui::Read(box);
    std::string text;
    for (const std::string& s : d.staticTexts) text += s + "\n";
    EXPECT_NE(std::string::npos, text.find("Path Not Found")) << text;
    EXPECT_NE(std::string::npos, text.find("Other.kvi")) << text;
    gui::Screenshot(box, "worklog_new_name_refused");
    ASSERT_FALSE(d.buttons.empty()) << d.Describe();
    gui::Press(box, d.buttons[0].id);
    Sleep(300);
    ASSERT_TRUE(u.Running()) << "the window closed after the refusal";
    gui::Screenshot(u.Window(), "worklog_after_new_name_refused");
    EXPECT_EQ("Version.kvi", f.Ini("DOVE60.ini", "FileName", "Name"));
    EXPECT_FALSE(FileExists(f.File("nofolder")));
    u.Click(kCancel);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    EXPECT_EQ(kOldComment + kCrLf + kLast + kCrLf, ReadFileBytes(f.File("Version.kvi")));
    EXPECT_EQ("Version.kvi", f.Ini("DOVE60.ini", "FileName", "Name"));
}

// The same file under another spelling is open already: it is let go and
// taken again, and receives the entry.
TEST(WorklogFiles, TheSameFileUnderAnotherSpelling) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kLast + kCrLf);
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
    u.Type(kFileName, ".\\VERSION.KVI");
    std::string before = AddedNow();
    u.Click(kOk);
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    std::string file = ReadFileBytes(f.File("Version.kvi"));
    std::string expected = kLastComment + kCrLf + NewEntry(before, "0042") + kCrLf;
    if (file != expected) expected = kLastComment + kCrLf + NewEntry(AddedNow(), "0042") + kCrLf;
    EXPECT_EQ(expected, file);
}

}  // namespace
}  // namespace worklog_e2e
