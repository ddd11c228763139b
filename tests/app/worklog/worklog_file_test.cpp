// The version file on real files: commenting out, restoring and appending
// compared byte for byte, and what an open that fails leaves behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/worklog/worklog_file.h"
#include "files/text/text_file_fixture.h"

namespace dove::app::worklog {
namespace {

using files::testing::ReadBytes;
using files::testing::WriteBytes;

std::string Entry(const std::string& label, const std::string& build, const std::string& note) {
    std::string line = label;
    line.resize(20, ' ');
    return line + "EQUATE('1.60  " + build + "')  ! 12/08/26 2315 -- " + note;
}

class WorklogFile : public files::testing::FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        path = dir.File("Version.kvi");
        snprintf(name, sizeof name, "%s", path.c_str());
    }
    std::string path;
    char name[kFileNameSize] = {};
    VersionRecord record;
};

struct Case {
    const char* title;
    std::string before;
    std::string prepared;   // after commenting out
    std::string restored;   // after Cancel's restore
};

std::vector<Case> Cases() {
    const std::string e1 = Entry("Version", "0001", "first"), e2 = Entry("Version", "0002", "");
    const std::string c1 = Entry("!Version", "0001", "first"), c2 = Entry("!Version", "0002", "");
    const std::string longLine(300, 'x');
    std::string lfOnly, lfPrepared;
    for (int i = 0; i < 40; ++i) lfOnly += Entry("Version", "0001", "lf") + "\n";
    for (int i = 0; i < 40; ++i) lfPrepared += Entry("!Version", "0001", "lf") + "\n";
    const std::string lfLast = Entry("Version", "0001", "lf") + "\n";
    const std::string lfRestored = lfPrepared.substr(0, lfPrepared.size() - lfLast.size()) + lfLast;
    return {
        {"two entries", e1 + "\r\n" + e2 + "\r\n", c1 + "\r\n" + c2 + "\r\n",
         c1 + "\r\n" + e2 + "\r\n"},
        {"empty and short lines", "\r\nabc\r\nVersion 1\r\n" + e2 + "\r\n",
         "\r\nabc\r\n!Version \r\n" + c2 + "\r\n", "\r\nabc\r\n!Version \r\n" + e2 + "\r\n"},
        {"short last line", e1 + "\r\nVersion 1.2\r\n", c1 + "\r\n!Version   \r\n",
         c1 + "\r\nVersion    \r\n"},
        {"a line longer than the record", longLine + "\r\n" + e2 + "\r\n",
         longLine + "\r\n" + c2 + "\r\n", longLine + "\r\n" + e2 + "\r\n"},
        {"LF line ends only", lfOnly, lfPrepared, lfRestored},
        {"LF and CR LF mixed", e1 + "\n" + e2 + "\r\n", c1 + "\n" + c2 + "\r\n", c1 + "\n" + e2 + "\r\n"},
        {"CR LF then LF", e1 + "\r\n" + e2 + "\n", c1 + "\r\n" + c2 + "\n", c1 + "\r\n" + e2 + "\n"},
        {"trailing empty lines", e1 + "\r\n" + e2 + "\r\n\r\n\r\n", c1 + "\r\n" + c2 + "\r\n\r\n\r\n",
         c1 + "\r\n" + e2 + "\r\n\r\n\r\n"},
        {"trailing empty LF line", e2 + "\n\n", c2 + "\n\n", e2 + "\n\n"},
        {"trailing blanks and short text", e2 + "\r\n          \r\nVer\r\n  ",
         c2 + "\r\n          \r\nVer\r\n  ", e2 + "\r\n          \r\nVer\r\n  "},
        {"trailing over-long line", e2 + "\r\n" + longLine, c2 + "\r\n" + longLine, e2 + "\r\n" + longLine},
        {"two end-of-data marks", e1 + "\r\n" + e2 + "\r\n\x1A\x1A", c1 + "\r\n" + c2 + "\r\n\x1A\x1A",
         c1 + "\r\n" + e2 + "\r\n\x1A\x1A"},
        {"a mark right after the text, then another", e2 + "\x1A\x1A", c2 + "\x1A\x1A", e2 + "\x1A\x1A"},
        {"a CR before the mark", e2 + "\r\x1A", c2 + "\r\x1A", e2 + "\r\x1A"},
        {"last line already a comment", e1 + "\r\n" + c2 + "\r\n", c1 + "\r\n" + c2 + "\r\n",
         c1 + "\r\n" + e2 + "\r\n"},
        {"TAB characters stay", "Version\tEQUATE('1.60  0007')\tx\r\n",
         "!Version              0007')\tx\r\n", "Version               0007')\tx\r\n"},
        {"no line break at the end", e1 + "\r\n" + e2, c1 + "\r\n" + c2, c1 + "\r\n" + e2},
        {"short last line without a break", e1 + "\r\nVersion 1.2", c1 + "\r\n!Version   ",
         c1 + "\r\nVersion    "},
        {"end-of-data mark right after the text", e1 + "\r\n" + e2 + "\x1A",
         c1 + "\r\n" + c2 + "\x1A", c1 + "\r\n" + e2 + "\x1A"},
        {"mixed line ends", "ab\nVersion 1.2 x\r\n", "ab\n!Version     \r\n",
         "ab\nVersion      \r\n"},
        {"a lone CR inside is left alone", e2 + "\r\nVersion\r1.2 x\r\n", c2 + "\r\nVersion\r1.2 x\r\n",
         e2 + "\r\nVersion\r1.2 x\r\n"},
        {"end-of-data mark", e2 + "\r\n\x1A", c2 + "\r\n\x1A", e2 + "\r\n\x1A"},
    };
}

TEST_F(WorklogFile, CommentOutAndRestoreKeepEveryOtherByte) {
    for (const Case& c : Cases()) {
        WriteBytes(path, c.before);
        VersionFile file(name, &record);
        ASSERT_TRUE(file.Open()) << c.title << ": " << file.OpenErrorText();
        PreparedFile p = file.CommentOutAll();
        EXPECT_TRUE(p.hadLines) << c.title;
        EXPECT_EQ(c.prepared, ReadBytes(path)) << c.title;
        EXPECT_EQ("Version", record.Get(kLabel).substr(0, 7)) << c.title;
        EXPECT_EQ(VersionFile::Restore::Done, file.RestoreLine(p.lastPosition)) << c.title;
        file.Close();
        EXPECT_EQ(c.restored, ReadBytes(path)) << c.title;
    }
}

// The last line that holds an entry gives the version and the build, and
// its line ending never stands among the record's columns.
TEST_F(WorklogFile, LastEntryStaysInTheRecord) {
    const std::string first = Entry("Version", "0001", "") + "\r\n";
    const std::string last = Entry("Version", "0041", "last");
    const std::string shortLast = "Version             EQUATE('1.6";   // ends in the version
    for (const std::string& tail : {std::string("\r\n\x1A"), std::string("\r\n\r\n"),
                                    std::string("\n\n"), std::string("\r\nVer\r\n"),
                                    std::string("\x1A\x1A"), std::string("\r\n" + std::string(300, 'x'))}) {
        WriteBytes(path, first + last + tail);
        VersionFile file(name, &record);
        ASSERT_TRUE(file.Open());
        EXPECT_TRUE(file.CommentOutAll().hadLines);
        EXPECT_EQ(41, BuildOf(record)) << tail;
        EXPECT_EQ("last ", record.Get(kNote).substr(0, 5)) << tail;
    }
    WriteBytes(path, first + shortLast + "\r\n");
    VersionFile file(name, &record);
    ASSERT_TRUE(file.Open());
    file.CommentOutAll();
    EXPECT_EQ("1.6  ", record.Get(kVer));
}

TEST_F(WorklogFile, AFileWithoutAnEntryIsTreatedAsEmpty) {
    for (const char* content : {"\r\n\r\n", "\n", "abc\r\n", "          \r\n", "\x1A\x1A"}) {
        WriteBytes(path, content);
        VersionFile file(name, &record);
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(file.CommentOutAll().hadLines) << content;
        file.Close();
        EXPECT_EQ(content, ReadBytes(path));
    }
}

TEST_F(WorklogFile, AppendPutsTheEntryOnALineOfItsOwn) {
    const std::string c2 = Entry("!Version", "0002", "hand");
    const std::string e3 = Entry("Version", "0003", "new");
    struct Row {
        std::string before;
        std::string after;
    } rows[] = {
        {"", e3 + "\r\n"},
        {c2 + "\r\n", c2 + "\r\n" + e3 + "\r\n"},
        {c2, c2 + "\r\n" + e3 + "\r\n"},          // a comment line without its break
        {c2 + "\r\n\x1A", c2 + "\r\n" + e3 + "\r\n"},  // the mark is written over
        {c2 + "\x1A", c2 + "\r\n" + e3 + "\r\n"},
        {c2 + "\n", c2 + "\n" + e3 + "\n"},  // LF only: the file's own line end
        {c2 + "\r\n" + c2 + "\n\n", c2 + "\r\n" + c2 + "\n\n" + e3 + "\n"},
        {c2 + "\n" + c2, c2 + "\n" + c2 + "\n" + e3 + "\n"},
        // Reading stops at a line that begins with a mark: the entry goes there.
        {c2 + "\r\n\x1A\x1A", c2 + "\r\n" + e3 + "\r\n"},
        {c2 + "\n\x1A\x1A\x1A", c2 + "\n" + e3 + "\n"},
        {c2 + "\x1A\x1A", c2 + "\r\n" + e3 + "\r\n"},
        {"\x1A\x1A", e3 + "\r\n"},
        {c2 + "\r", c2 + "\r\n" + e3 + "\r\n"},   // a lone CR is completed
    };
    for (const Row& row : rows) {
        WriteBytes(path, row.before);
        VersionFile file(name, &record);
        ASSERT_TRUE(file.Open());
        file.CommentOutAll();
        record.Clear();
        std::string line = e3;
        std::copy(line.begin(), line.end(), record.bytes);
        EXPECT_TRUE(file.Append()) << err::Text();
        file.Close();
        EXPECT_EQ(row.after, ReadBytes(path)) << row.before;
    }
}

TEST_F(WorklogFile, TextHiddenBehindAMarkIsNeitherOverwrittenNorAppendedTo) {
    const std::string content = Entry("!Version", "0002", "") + "\r\n\x1A" + "hidden\r\n";
    WriteBytes(path, content);
    VersionFile file(name, &record);
    ASSERT_TRUE(file.Open());
    file.CommentOutAll();
    EXPECT_FALSE(file.Append());
    EXPECT_EQ(90, err::Code());
    file.Close();
    EXPECT_EQ(content, ReadBytes(path));
}

TEST_F(WorklogFile, OnlyAMissingFileIsCreated) {
    {
        VersionFile file(name, &record);
        EXPECT_TRUE(file.Open());
        EXPECT_FALSE(file.CommentOutAll().hadLines);
    }
    EXPECT_EQ("", ReadBytes(path));

    std::string inMissingFolder = dir.File("nowhere/Version.kvi");
    snprintf(name, sizeof name, "%s", inMissingFolder.c_str());
    VersionFile nowhere(name, &record);
    EXPECT_FALSE(nowhere.Open());
    EXPECT_EQ(3, nowhere.OpenError());
    EXPECT_NE(std::string::npos, nowhere.OpenErrorText().find(inMissingFolder));
    EXPECT_FALSE(files::testing::Exists(dir.File("nowhere")));
}

TEST_F(WorklogFile, AReadOnlyFileKeepsItsContent) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
    const std::string content = Entry("Version", "0005", "keep") + "\r\n";
    WriteBytes(path, content);
    chmod(path.c_str(), 0444);
    VersionFile file(name, &record);
    EXPECT_FALSE(file.Open());
    EXPECT_FALSE(file.CommentOutAll().hadLines);
    EXPECT_EQ(content, ReadBytes(path));
}

}  // namespace
}  // namespace dove::app::worklog
