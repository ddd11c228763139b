// What the Log/Version utility never does to a version file: move a byte
// outside the line it rewrites, write a number that does not fit its
// columns, or create or truncate a file it could not open.
#include "e2e/worklog_session.h"

namespace worklog_e2e {
namespace {

const std::string kLast = Entry("Version", "1.60", "0041", " ! 12/02/26  900 -- ", "last");
const std::string kLastComment = Entry("!Version", "1.60", "0041", " ! 12/02/26  900 -- ", "last");

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
    return actual.find(before) != std::string::npos ? before : after;
}

TEST(WorklogMends, CancelKeepsEveryByteOutsideTheRewrittenLines) {
    std::string lfOnly;
    for (int i = 0; i < 50; ++i) lfOnly += kLast + "\n";
    struct Row {
        const char* title;
        std::string before;
        std::string after;
    } rows[] = {
        {"empty lines", "\r\n\r\n" + kLast + "\r\n\r\n", "\r\n\r\n" + kLastComment + "\r\n\r\n"},
        {"short lines", "abc\r\nVersion 2\r\n" + kLast + "\r\nVer\r\n",
         "abc\r\n!Version \r\n" + kLastComment + "\r\nVer\r\n"},
        {"short last line", kLast + "\r\nVersion 1.2\r\n", kLastComment + "\r\nVersion    \r\n"},
        {"long LF-only file", lfOnly, lfOnly},
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

TEST(WorklogMends, VersionsUpTo9999FillTheirColumns) {
    struct Row {
        const char* typed;
        const char* columns;
    } rows[] = {{"9.99", "9.99"}, {"10", "10.00"}, {"99.99", "99.99"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        Folder f;
        WriteFileBytes(f.File("Version.kvi"), kLast + "\r\n");
        Utility u;
        ASSERT_TRUE(u.Start(f));
        EXPECT_EQ("0042", u.WaitText(kBuild, "0042"));
        std::string before = AddedNow();
        u.Type(kVer, row.typed);
        u.Click(kOk);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        std::string file = ReadFileBytes(f.File("Version.kvi"));
        std::string added = AddedEither(file, before, AddedNow());
        EXPECT_EQ(kLastComment + "\r\n" + Entry("Version", row.columns, "0042", added, "") + "\r\n",
                  file);
    }
}

// A value too wide is refused with a message that names it and the largest
// that fits; nothing is appended and the window stays for a correction.
TEST(WorklogMends, TooLargeVersionOrBuildIsRefusedUntilCorrected) {
    struct Row {
        const char* title;
        const char* last;
        const char* typedVersion;
        const char* named;
        const char* largest;
        int correctField;
        const char* correction;
        const char* ver;
        const char* build;
    } rows[] = {
        {"version 100", "0041", "100", "100", "99.99", kVer, "2.5", "2.50", "0042"},
        {"build 10000", "9999", nullptr, "10000", "9999", kBuild, "5", "1.60", "0005"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        Folder f;
        std::string last = Entry("Version", "1.60", row.last, " ! 12/02/26  900 -- ", "");
        std::string lastComment = Entry("!Version", "1.60", row.last, " ! 12/02/26  900 -- ", "");
        WriteFileBytes(f.File("Version.kvi"), last + "\r\n");
        Utility u;
        ASSERT_TRUE(u.Start(f));
        Sleep(300);
        if (row.typedVersion) u.Type(kVer, row.typedVersion);
        u.Click(kOk);
        std::string message = MessageText(u);
        EXPECT_NE(std::string::npos, message.find(row.named)) << message;
        EXPECT_NE(std::string::npos, message.find(row.largest)) << message;
        Sleep(300);
        ASSERT_TRUE(u.Running()) << "the window closed after the refusal";
        EXPECT_EQ(lastComment + "\r\n", ReadFileBytes(f.File("Version.kvi")));
        std::string before = AddedNow();
        u.Type(row.correctField, row.correction);
        u.Click(kOk);
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        std::string file = ReadFileBytes(f.File("Version.kvi"));
        std::string added = AddedEither(file, before, AddedNow());
        EXPECT_EQ(lastComment + "\r\n" + Entry("Version", row.ver, row.build, added, "") + "\r\n",
                  file);
    }
}

// A file that cannot be opened for writing is neither created nor truncated:
// the window opens as for an empty file and OK says why nothing was written.
TEST(WorklogMends, AFileThatCannotBeOpenedKeepsItsContent) {
    for (const char* how : {"locked", "read-only"}) {
        SCOPED_TRACE(how);
        Folder f;
        std::string path = f.File("Version.kvi");
        WriteFileBytes(path, kLast + "\r\n");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (std::string(how) == "locked") {
            held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
            HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                       nullptr);
            if (probe != INVALID_HANDLE_VALUE) {
                // The superuser may write a read-only file: nothing to check here.
                CloseHandle(probe);
                continue;
            }
        }
        Utility u;
        ASSERT_TRUE(u.Start(f));
        EXPECT_EQ("0001", u.WaitText(kBuild, "0001"));
        EXPECT_EQ(" 1.00", u.Text(kVer));
        u.Click(kOk);
        std::string message = MessageText(u);
        EXPECT_NE(std::string::npos, message.find("Version.kvi")) << message;
        EXPECT_EQ(0, u.WaitExit()) << u.Error();
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(kLast + "\r\n", ReadFileBytes(path));
    }
}

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
