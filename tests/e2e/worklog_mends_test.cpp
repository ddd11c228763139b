// What the Log/Version utility never does to a version file: move a byte
// outside the line it rewrites, write a number that does not fit its
// columns, or create or truncate a file it could not open.
#include "e2e/worklog_session.h"

namespace worklog_e2e {
namespace {

std::string MessageText(Utility& u) {
    HWND box = u.WaitMessage();
    if (!box) return "(no message: " + u.Error() + ")";
    gui::Dialog d = gui::Read(box);
    std::string text;
    for (const std::string& s : d.staticTexts) text += s + "\n";
    if (!d.buttons.empty()) gui::Press(box, d.buttons[0].id);
    return text;
}

std::string AddedEither(const std::string& actual, const std::string& before,
                        const std::string& after) {
    // The line ends at the clipped text, so look for it without its blanks.
    std::string clipped = before.substr(0, before.find_last_not_of(' ') + 1);
    return actual.find(clipped) != std::string::npos ? before : after;
}

TEST(WorklogMends, CancelKeepsEveryByteOutsideTheRewrittenLines) {
    std::string lfOnly, lfAfter;
    for (int i = 0; i < 50; ++i) lfOnly += kLast + "\n";
    for (int i = 0; i < 49; ++i) lfAfter += kLastComment + "\n";
    lfAfter += kLast + "\n";
    struct Row {
        const char* title;
        std::string before;
        std::string after;
    } rows[] = {
        {"empty lines", "\r\n\r\n" + kLast + "\r\n\r\n", "\r\n\r\n" + kLast + "\r\n\r\n"},
        {"short lines", "abc\r\nVersion 2\r\n" + kLast + "\r\nVer\r\n",
         "abc\r\n!Version \r\n" + kLast + "\r\nVer\r\n"},
        {"short last line", kLast + "\r\nVersion 1.2\r\n", kLastComment + "\r\nVersion    \r\n"},
        {"long LF-only file", lfOnly, lfAfter},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        Folder f;
        WriteFileBytes(f.File("Version.kvi"), row.before);
        Utility u;
        ASSERT_TRUE(u.Start(f));
        Sleep(300);
        u.Click(kCancel);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        EXPECT_EQ(row.after, ReadFileBytes(f.File("Version.kvi")));
    }
}

// Types the text into the field, or steps its spin box with "up" or "down".
void Enter(Utility& u, int field, const std::string& what) {
    if (what == "up" || what == "down") {
        PostMessageA(u.Control(field), WM_KEYDOWN, what == "up" ? VK_UP : VK_DOWN, 0);
    } else {
        u.Type(field, what.c_str());
    }
}

TEST(WorklogMends, VersionsUpTo9999FillTheirColumns) {
    struct Row {
        const char* lastVersion;
        const char* typed;   // nullptr: the last line's version stays
        const char* columns;
    } rows[] = {
        {"1.60", "9.99", "9.99"},
        {"1.60", "10", "10.00"},
        {"1.60", "99.99", "99.99"},
        {"9.995", nullptr, "10.00"},   // by hand: rounded before its width is chosen
        {"9.999", "up", "10.01"},      // 10.009: wider than the columns, written as checked
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.columns);
        Folder f;
        std::string last = Entry("Version", row.lastVersion, "0041", " ! 12/02/26  900 -- ", "");
        std::string lastComment =
            Entry("!Version", row.lastVersion, "0041", " ! 12/02/26  900 -- ", "");
        WriteFileBytes(f.File("Version.kvi"), last + "\r\n");
        std::string before = AddedNow();   // the entry is dated when it is prepared
        Utility u;
        ASSERT_TRUE(u.Start(f));
        EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
        if (row.typed) Enter(u, kVer, row.typed);
        if (row.typed && std::string(row.typed) == "up") Sleep(300);
        u.Click(kOk);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        std::string file = ReadFileBytes(f.File("Version.kvi"));
        std::string added = AddedEither(file, before, AddedNow());
        EXPECT_EQ(lastComment + "\r\n" + Entry("Version", row.columns, "0042", added, "") + "\r\n",
                  file);
    }
}

// A value that its columns cannot show is refused with a message that names
// it and the largest (or smallest) that fits; nothing is appended and the
// window stays for a correction. A build too wide is shown whole, never cut.
TEST(WorklogMends, ValuesThatDoNotFitAreRefusedUntilCorrected) {
    struct Row {
        const char* title;
        const char* lastVersion;
        const char* lastBuild;
        int field;            // 0: the value as preparing made it
        const char* entered;
        const char* named;
        const char* bound;
        int correctField;
        const char* correction;
        const char* ver;
        const char* build;
    } rows[] = {
        {"version 100", "1.60", "0041", kVer, "100", "100", "99.99", kVer, "2.5", "2.50", "0042"},
        {"version rounded to 100", "1.60", "0041", kVer, "99.996", "100", "99.99", kVer, "99.99",
         "99.99", "0042"},
        {"version too wide to hold", "1.60", "0041", kVer, "123.456", "123.46", "99.99", kVer, "3",
         "3.00", "0042"},
        {"hand-written negative version", "-1.5", "0041", 0, "", "-1.5", "0.00", kVer, "4",
         "4.00", "0042"},
        {"negative version", "1.60", "0041", kVer, "-10", "-10", "0.00", kVer, "1.7", "1.70",
         "0042"},
        {"prepared build 10000", "1.60", "9999", 0, "", "10000", "9999", kBuild, "5", "1.60",
         "0005"},
        {"typed build 10000", "1.60", "0041", kBuild, "10000", "10000", "9999", kBuild, "6", "1.60",
         "0006"},
        {"stepped build 10000", "1.60", "9998", kBuild, "up", "10000", "9999", kBuild, "down",
         "1.60", "9999"},
        {"hand-written huge build", "1.60", "9e20", 0, "", "2147483647", "9999", kBuild, "7",
         "1.60", "0007"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        Folder f;
        std::string last = Entry("Version", row.lastVersion, row.lastBuild, " ! 12/02/26  900 -- ", "");
        std::string lastComment =
            Entry("!Version", row.lastVersion, row.lastBuild, " ! 12/02/26  900 -- ", "");
        WriteFileBytes(f.File("Version.kvi"), last + "\r\n");
        std::string before = AddedNow();   // the entry is dated when it is prepared
        Utility u;
        ASSERT_TRUE(u.Start(f));
        Sleep(300);
        if (row.field) Enter(u, row.field, row.entered);
        if (row.field == kBuild || (!row.field && row.correctField == kBuild)) {
            EXPECT_EQ(row.named, u.WaitText(kBuild, row.named)) << "shown whole";
        }
        u.Click(kOk);
        std::string message = MessageText(u);
        EXPECT_NE(std::string::npos, message.find(std::string(" ") + row.named + " ")) << message;
        EXPECT_NE(std::string::npos, message.find(std::string(" ") + row.bound + ".")) << message;
        Sleep(300);
        ASSERT_TRUE(u.Running()) << "the window closed after the refusal";
        EXPECT_EQ(lastComment + "\r\n", ReadFileBytes(f.File("Version.kvi")));
        Enter(u, row.correctField, row.correction);
        if (std::string(row.correction) == "down") {
            EXPECT_EQ(row.build, u.WaitText(kBuild, row.build));
        }
        u.Click(kOk);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        std::string file = ReadFileBytes(f.File("Version.kvi"));
        std::string added = AddedEither(file, before, AddedNow());
        EXPECT_EQ(lastComment + "\r\n" + Entry("Version", row.ver, row.build, added, "") + "\r\n",
                  file);
    }
}

// A file that cannot be opened for writing is neither created nor truncated,
// and nothing is created for it: the window opens as for an empty file and
// OK says why nothing was written, with the error text and the file's name.
class WorklogUnopenable : public ::testing::TestWithParam<const char*> {};

TEST_P(WorklogUnopenable, KeepsItsContentAndOkSaysWhy) {
    const std::string how = GetParam();
    Folder f;
    std::string path = f.File("Version.kvi");
    std::string errorText = "Access Denied";
    HANDLE held = INVALID_HANDLE_VALUE;
    if (how == "missing folder") {
        f.SetIni("DOVE60.ini", "FileName", "Name", "nofolder\\Version.kvi");
        errorText = "Path Not Found";
    } else {
        WriteFileBytes(path, kLast + "\r\n");
    }
    if (how == "locked") {
        held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        errorText = "";   // the platform's answer: a sharing violation, or access denied under Wine
    }
    if (how == "read-only") {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            CloseHandle(probe);
            GTEST_SKIP() << "this user may write a read-only file";
        }
    }
    Utility u;
    ASSERT_TRUE(u.Start(f));
    EXPECT_EQ("0001", u.WaitText(kBuild, "0001"));
    EXPECT_EQ(" 1.00", u.Text(kVer));
    u.Click(kOk);
    std::string message = MessageText(u);
    EXPECT_NE(std::string::npos, message.find(errorText)) << message;
    EXPECT_NE(std::string::npos, message.find("Version.kvi")) << message;
    EXPECT_EQ(0, u.WaitExit()) << u.Error();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    if (how == "missing folder") {
        EXPECT_FALSE(FileExists(f.File("nofolder")));
    } else {
        EXPECT_EQ(kLast + "\r\n", ReadFileBytes(path));
    }
}

INSTANTIATE_TEST_SUITE_P(Worklog, WorklogUnopenable,
                         ::testing::Values("locked", "read-only", "missing folder"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name) c = c == ' ' || c == '-' ? '_' : c;
                             return name;
                         });

TEST(WorklogMends, TwoCopiesOnOneFile) {
    Folder f;
    WriteFileBytes(f.File("Version.kvi"), kLast + "\r\n");
    Utility first;
    ASSERT_TRUE(first.Start(f));
    EXPECT_EQ("0042", first.WaitText(kBuild, "0042"));
    Utility second;
    ASSERT_TRUE(second.Start(f));
    EXPECT_EQ("0001", second.WaitText(kBuild, "0001"));
    second.Click(kOk);
    std::string message = MessageText(second);
    EXPECT_NE(std::string::npos, message.find("Version.kvi")) << message;
    EXPECT_EQ(0, second.WaitExit()) << second.Error();
    EXPECT_EQ(kLastComment + "\r\n", ReadFileBytes(f.File("Version.kvi")));
    first.Click(kCancel);
    EXPECT_EQ(0, first.WaitExit()) << first.Error();
    EXPECT_EQ(kLast + "\r\n", ReadFileBytes(f.File("Version.kvi")));
}

}  // namespace
}  // namespace worklog_e2e
