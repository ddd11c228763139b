// The text driver through the file statements, on real files: the rule
// check and status word, writing compared as whole files, SEND and driver
// strings, snapshots, THREAD files and the 4 GB limit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "files/object/file_codes.h"
#include "files/object/driver_frame.h"
#include "files/object/file_dispatch.h"
#include "files/text/text_platform.h"
#include "runtime/strings/strings.h"
#include "text_file_fixture.h"

namespace dove::files::testing {
namespace {

using TextDriver = FilesTest;

TEST_F(TextDriver, OpenAndCreateFailures) {
    TextFile missing(dir.File("missing.txt"), 16);
    Open(missing.F(), 0x42);
    EXPECT_EQ(2, err::Code());
    EXPECT_EQ("File Not Found", err::Text());
    EXPECT_EQ(missing.F(), err::File());
    TextFile noDir(dir.File("nodir/a.txt"), 16);
    Open(noDir.F(), 0x42);
    EXPECT_EQ(3, err::Code());
    TextFile noCreate(dir.File("c.txt"), 16, 0);
    Create(noCreate.F());
    EXPECT_EQ(54, err::Code());
    EXPECT_FALSE(Exists(dir.File("c.txt")));
    for (const char* blank : {"", "   "}) {
        TextFile unnamed(blank, 16);
        Open(unnamed.F(), 0x42);
        EXPECT_EQ(45, err::Code()) << "a blank name is a bad file name: '" << blank << "'";
    }
}

TEST_F(TextDriver, CreateTruncatesAndIsRefusedWhileOpen) {
    WriteBytes(dir.File("a.txt"), "old\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Create(f.F());
    EXPECT_EQ(0, err::Code());
    EXPECT_EQ("", ReadBytes(dir.File("a.txt")));
    Open(f.F(), 0x42);
    Create(f.F());
    EXPECT_EQ(52, err::Code());
    Open(f.F(), 0x42);
    EXPECT_EQ(52, err::Code());
}

TEST_F(TextDriver, RuleCheckThroughTheStatements) {
    WriteBytes(dir.File("a.txt"), "one\r\ntwo\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Next(f.F());
    EXPECT_EQ(37, err::Code());
    Open(f.F(), 0x42);
    EXPECT_EQ(0, Pointer(f.F()));
    EXPECT_EQ(33, err::Code()) << "POINTER before any read";
    EXPECT_EQ("", Position(f.F()));
    EXPECT_EQ(33, err::Code());
    Next(f.F());
    EXPECT_EQ(33, err::Code()) << "NEXT without SET";
    Put(f.F());
    EXPECT_EQ(33, err::Code()) << "PUT without a current record";
    Empty(f.F());
    EXPECT_EQ(63, err::Code()) << "EMPTY of a shared file";
    Reset(f.F(), "    ");
    EXPECT_EQ(35, err::Code());
}

TEST_F(TextDriver, PositionsPointerRegetAndReset) {
    WriteBytes(dir.File("a.txt"), "one\r\ntwo\r\nthree\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x42);
    Set(f.F());
    Next(f.F());
    Next(f.F());
    EXPECT_EQ(6, Pointer(f.F()));
    std::string pos = Position(f.F());
    ASSERT_EQ(4u, pos.size());
    Next(f.F());
    EXPECT_EQ("three", str::Clip(f.Record()));
    Reget(f.F(), pos);
    EXPECT_EQ(0, err::Code());
    EXPECT_EQ("two", str::Clip(f.Record()));
    Reset(f.F(), pos);
    Next(f.F());
    EXPECT_EQ("two", str::Clip(f.Record()));
    Get(f.F(), 1);
    EXPECT_EQ("one", str::Clip(f.Record()));
    Get(f.F(), 100);
    EXPECT_EQ(33, err::Code());
}

TEST_F(TextDriver, GetAtZeroReadsNothingAndLeavesNoRecord) {
    WriteBytes(dir.File("a.txt"), "one\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x42);
    f.SetRecord("untouched");
    err::Post(2);
    Get(f.F(), 0);
    EXPECT_EQ(0, err::Code());
    EXPECT_EQ("untouched", str::Clip(f.Record()));
    Put(f.F());
    EXPECT_EQ(33, err::Code());
}

TEST_F(TextDriver, EofAfterEachRecord) {
    WriteBytes(dir.File("a.txt"), "one\r\ntwo\r\n\x1a");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x42);
    Set(f.F());
    EXPECT_FALSE(Eof(f.F()));
    Next(f.F());
    EXPECT_FALSE(Eof(f.F()));
    Next(f.F());
    EXPECT_TRUE(Eof(f.F())) << "Ctrl-Z follows";
    Send(f.F(), "CTRLZISEOF=OFF");
    EXPECT_FALSE(Eof(f.F()));
}

// Another handle on the same file adds the line "o".
void AppendThroughAnotherHandle(TextFile& f, int32_t mode) {
    TextFile other(Name(f.F()), 8);
    Open(other.F(), mode);
    other.SetRecord("o");
    Add(other.F());
    Close(other.F());
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* options;
    int32_t mode;
    void (*act)(TextFile&);
    const char* after;
};

const WriteCase kWrites[] = {
    {"add clips", "a\r\n", "", 0x42,
     [](TextFile& f) { f.SetRecord("new   "); Add(f.F()); }, "a\r\nnew\r\n"},
    {"add without clip", "a\r\n", "/CLIP=OFF", 0x42,
     [](TextFile& f) { f.SetRecord("new"); Add(f.F()); }, "a\r\nnew     \r\n"},
    {"blank record is an empty line", "a\r\n", "", 0x42,
     [](TextFile& f) { f.SetRecord(""); Append(f.F()); }, "a\r\n\r\n"},
    {"add over trailing Ctrl-Z once", "a\r\n\x1a", "", 0x42,
     [](TextFile& f) { f.SetRecord("b"); Add(f.F()); f.SetRecord("c"); Add(f.F()); },
     "a\r\nb\r\nc\r\n"},
    {"Ctrl-Z kept when it is data", "a\r\n\x1a", "/CTRLZISEOF=OFF", 0x42,
     [](TextFile& f) { f.SetRecord("b"); Add(f.F()); }, "a\r\n\x1a" "b\r\n"},
    {"no final delimiter: the empty record completes the line", "a", "", 0x42,
     [](TextFile& f) { f.SetRecord(""); Add(f.F()); f.SetRecord("b"); Add(f.F()); },
     "a\r\nb\r\n"},
    {"put in place", "one\r\ntwo\r\nsix\r\n", "", 0x42,
     [](TextFile& f) { Set(f.F()); Next(f.F()); Next(f.F()); f.SetRecord("TWO"); Put(f.F()); },
     "one\r\nTWO\r\nsix\r\n"},
    {"put at a position", "one\r\ntwo\r\n", "", 0x42,
     [](TextFile& f) { f.SetRecord("ONE"); Put(f.F(), 1); }, "ONE\r\ntwo\r\n"},
    {"append with a length", "", "", 0x42,
     [](TextFile& f) { f.SetRecord("abcdef"); Append(f.F(), 3); }, "abc\r\n"},
    {"put with length 0 truncates", "one\r\ntwo\r\n", "", 0x42,
     [](TextFile& f) { Put(f.F(), 6, 0); }, "one\r\n"},
    {"a negative length is no 0: it writes the record", "one\r\ntwo\r\n", "", 0x42,
     [](TextFile& f) { f.SetRecord("ONE"); Put(f.F(), 1, -1); }, "ONE\r\ntwo\r\n"},
    {"append with a negative length", "a\r\n", "", 0x42,
     [](TextFile& f) { f.SetRecord("bcd"); Append(f.F(), -5); }, "a\r\nbcd\r\n"},
    {"QUICKSCAN appends after a line another handle appended", "a\r\n", "/QUICKSCAN=ON", 0x42,
     [](TextFile& f) { AppendThroughAnotherHandle(f, 0x42); f.SetRecord("b"); Add(f.F()); },
     "a\r\no\r\nb\r\n"},
    {"sharing 0 appends after a line another handle appended", "a\r\n", "", 0x02,
     [](TextFile& f) { AppendThroughAnotherHandle(f, 0x02); f.SetRecord("b"); Add(f.F()); },
     "a\r\no\r\nb\r\n"},
    {"other delimiter", "a;", "/ENDOFRECORD=1,59", 0x42,
     [](TextFile& f) { f.SetRecord("b"); Add(f.F()); }, "a;b;"},
    {"read only refuses", "a\r\n", "", 0x40,
     [](TextFile& f) { f.SetRecord("b"); Add(f.F()); EXPECT_EQ(5, err::Code()); }, "a\r\n"},
    {"exclusive empty", "a\r\nb\r\n", "", 0x12,
     [](TextFile& f) { Empty(f.F()); EXPECT_EQ(0, err::Code()); }, ""},
};

TEST_F(TextDriver, WritesComparedAsWholeFiles) {
    for (const WriteCase& c : kWrites) {
        SCOPED_TRACE(c.name);
        std::string path = dir.File("w.txt");
        WriteBytes(path, c.before);
        TextFile f(path, 8, kAttrCreate, c.options);
        Open(f.F(), c.mode);
        ASSERT_EQ(0, err::Code());
        c.act(f);
        Close(f.F());
        EXPECT_EQ(std::string(c.after), ReadBytes(path));
    }
}

// A stand-in OEM set: 'a' on disk is 'A' in the program.
void FakeOemToAnsi(char* t, uint32_t n) { for (uint32_t i = 0; i < n; ++i) if (t[i] == 'a') t[i] = 'A'; }
void FakeAnsiToOem(char* t, uint32_t n) { for (uint32_t i = 0; i < n; ++i) if (t[i] == 'A') t[i] = 'a'; }

TEST_F(TextDriver, OemFilesConvertOnReadAndOnAWriteCopy) {
    SetTextPlatform({&FakeOemToAnsi, &FakeAnsiToOem, nullptr});
    WriteBytes(dir.File("o.txt"), "banana\r\n");
    TextFile f(dir.File("o.txt"), 8, kAttrCreate | kAttrOem);
    Open(f.F(), 0x42);
    Set(f.F());
    Next(f.F());
    EXPECT_EQ("bAnAnA", str::Clip(f.Record()));
    f.SetRecord("JAVA");
    Add(f.F());
    EXPECT_EQ("JAVA", str::Clip(f.Record())) << "the caller's record is not touched";
    Close(f.F());
    SetTextPlatform({nullptr, nullptr, nullptr});
    EXPECT_EQ("banana\r\nJaVa\r\n", ReadBytes(dir.File("o.txt")));
}

TEST_F(TextDriver, OemConversionLeavesBinaryFieldsAlone) {
    static const FieldDesc kFields[] = {{kString, "O:TEXT", 0, 3}, {kLong, "O:COUNT", 3, 4},
                                        {kPString, "O:NAME", 7, 3}};
    static const RecordType kType = {kGroup, 10, 3, kFields};
    SetTextPlatform({&FakeOemToAnsi, &FakeAnsiToOem, nullptr});
    WriteBytes(dir.File("o.txt"), "banaaaaaaa\r\n");
    TextFile f(dir.File("o.txt"), 10, kAttrCreate | kAttrOem, "", &kType);
    Open(f.F(), 0x42);
    Set(f.F());
    Next(f.F());
    EXPECT_EQ("bAnaaaaaAA", f.Record()) << "a PSTRING's length byte is not text";
    f.SetRecord("AAAAAAAAAA");
    Add(f.F());
    Close(f.F());
    SetTextPlatform({nullptr, nullptr, nullptr});
    EXPECT_EQ("banaaaaaaa\r\naaaAAAAAaa\r\n", ReadBytes(dir.File("o.txt")));
}

TEST_F(TextDriver, SendRepliesWithTheSettingBeforeTheCommand) {
    WriteBytes(dir.File("a.txt"), "");
    TextFile f(dir.File("a.txt"), 255);
    Open(f.F(), 0x42);
    EXPECT_EQ("512", Send(f.F(), "FILEBUFFERS=4"));
    EXPECT_EQ("2048", Send(f.F(), "filebuffers"));
    EXPECT_EQ("OFF", Send(f.F(), "QUICKSCAN=ON"));
    EXPECT_EQ("ON", Send(f.F(), "QUICKSCAN"));
    EXPECT_EQ("8", Send(f.F(), "TAB=-3"));
    EXPECT_EQ("-3", Send(f.F(), "TAB"));
    EXPECT_EQ("\r\n", Send(f.F(), "ENDOFRECORD=1,10"));
    EXPECT_EQ("\n", Send(f.F(), "ENDOFRECORD"));
    EXPECT_EQ("ON", Send(f.F(), "CLIP=OFF"));
    EXPECT_EQ("OFF", Send(f.F(), "CLIP=MAYBE"));
    EXPECT_EQ("ON", Send(f.F(), "CTRLZISEOF=NO"));
    EXPECT_EQ("ON", Send(f.F(), "CTRLZISEOF=OFF"));
    EXPECT_EQ("OFF", Send(f.F(), "CTRLZISEOF"));
    EXPECT_EQ("", Send(f.F(), "NONSENSE=1"));
    EXPECT_EQ(0, err::Code());
}

TEST_F(TextDriver, OpenResetsClipTabAndBufferButKeepsTheDelimiter) {
    WriteBytes(dir.File("a.txt"), "");
    TextFile f(dir.File("a.txt"), 600, kAttrCreate, "/TAB=4");
    Open(f.F(), 0x22);
    EXPECT_EQ("1200", Send(f.F(), "FILEBUFFERS")) << "twice the record length";
    EXPECT_EQ("ON", Send(f.F(), "QUICKSCAN"));
    EXPECT_EQ("4", Send(f.F(), "TAB=2"));
    Send(f.F(), "CLIP=OFF");
    Send(f.F(), "ENDOFRECORD=1,10");
    Close(f.F());
    Open(f.F(), 0x42);
    EXPECT_EQ("4", Send(f.F(), "TAB"));
    EXPECT_EQ("ON", Send(f.F(), "CLIP"));
    EXPECT_EQ("OFF", Send(f.F(), "QUICKSCAN"));
    EXPECT_EQ("\n", Send(f.F(), "ENDOFRECORD"));
}

TEST_F(TextDriver, RegisterRebuildsAClosedFilesBlock) {
    WriteBytes(dir.File("a.txt"), "");
    TextFile f(dir.File("a.txt"), 16);
    Send(f.F(), "ENDOFRECORD=1,10");
    EXPECT_EQ(std::to_string(TextDriverIdentity()), Send(f.F(), "REGISTER"));
    EXPECT_EQ("\r\n", Send(f.F(), "ENDOFRECORD")) << "a fresh block";
    Open(f.F(), 0x42);
    Send(f.F(), "ENDOFRECORD=1,10");
    Send(f.F(), "REGISTER");
    EXPECT_EQ("\n", Send(f.F(), "ENDOFRECORD")) << "open: kept";
}

TEST_F(TextDriver, ImportFileFailsWith37AndShowsTheBoxOnlyWhenClosed) {
    static int boxes;
    boxes = 0;
    SetTextPlatform({nullptr, nullptr, [] { ++boxes; }});
    WriteBytes(dir.File("a.txt"), "");
    TextFile f(dir.File("a.txt"), 16);
    Send(f.F(), "IMPORTFILE");
    EXPECT_EQ(37, err::Code());
    EXPECT_EQ(1, boxes);
    Open(f.F(), 0x42);
    Send(f.F(), "importfile");
    EXPECT_EQ(37, err::Code());
    EXPECT_EQ(1, boxes);
    SetTextPlatform({nullptr, nullptr, nullptr});
}

TEST_F(TextDriver, UnsupportedOperationsPost80) {
    WriteBytes(dir.File("a.txt"), "a\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x42);
    Set(f.F());
    Previous(f.F());
    EXPECT_EQ(80, err::Code());
    EXPECT_EQ("Unsupported File Driver Function", err::Text());
    OpArgs none;
    Dispatch(kRebuildProbe, f.F(), &none);
    EXPECT_EQ(80, err::Code());
    err::Clear();
    Dispatch(kInternal108, f.F(), &none);
    EXPECT_EQ(0, err::Code());
}

TEST_F(TextDriver, LockNestsAndUnlockAtDepthZeroDoesNothing) {
    WriteBytes(dir.File("a.txt"), "");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x42);
    Lock(f.F());
    EXPECT_EQ(0, err::Code());
    f.SetRecord("x");
    Add(f.F());                       // takes the lock again inside
    EXPECT_EQ(0, err::Code());
    Unlock(f.F());
    EXPECT_EQ(0, err::Code());
    err::Post(2);
    Unlock(f.F());                    // not locked: silent
    EXPECT_EQ(2, err::Code());
    Lock(f.F(), 1);
    EXPECT_EQ(0, err::Code());
}

TEST_F(TextDriver, SnapshotRestoresPositionRecordAndOpenMode) {
    WriteBytes(dir.File("a.txt"), "one\r\ntwo\r\nthree\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x42);
    Set(f.F());
    Next(f.F());
    int32_t state = GetState(f.F());
    ASSERT_NE(0, state);
    Next(f.F());
    Close(f.F());
    RestoreState(f.F(), state);
    EXPECT_EQ(0, err::Code());
    EXPECT_EQ("one", str::Clip(f.Record()));
    EXPECT_EQ(1, Pointer(f.F()));
    Next(f.F());
    EXPECT_EQ("two", str::Clip(f.Record()));
    FreeState(f.F(), state);
}

TEST_F(TextDriver, RestoreStateReportsWhyTheReopenFailed) {
    std::string folder = dir.File("gone");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0700));
    WriteBytes(folder + "/a.txt", "one\r\n");
    TextFile f(folder + "/a.txt", 16);
    Open(f.F(), 0x42);
    int32_t state = GetState(f.F());
    Close(f.F());
    std::remove((folder + "/a.txt").c_str());
    rmdir(folder.c_str());
    RestoreState(f.F(), state);
    EXPECT_EQ(3, err::Code()) << "the folder is gone: the reopen's own error, not 2";
    FreeState(f.F(), state);
}

// Another handle cuts the file while this one reads with the size it cached
// at OPEN (QUICKSCAN). The skip of an over-long line's rest with a delimiter
// of three bytes must end; a child process with an alarm shows a hang.
TEST_F(TextDriver, AFileCutUnderTheReaderEndsTheReadInsteadOfLooping) {
    std::string path = dir.File("cut.txt");
    WriteBytes(path, "abcdefghijXYZklmXYZ");
    TextFile f(path, 4, kAttrCreate, "/ENDOFRECORD=3,88,89,90 /CTRLZISEOF=OFF /QUICKSCAN=ON");
    Open(f.F(), 0x42);
    ASSERT_EQ(0, err::Code());
    ASSERT_EQ(0, truncate(path.c_str(), 5));
    EXPECT_EXIT(
        {
            alarm(20);
            Set(f.F());
            Next(f.F());
            bool first = err::Code() == 0 && f.Record() == "abcd";
            Next(f.F());
            std::_Exit(first && err::Code() == 33 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(TextDriver, VetoLeavesRecordAndDriverStateUnchanged) {
    struct No : Trigger {
        bool Before(const OperationContext&, char*, char*) override { return false; }
        bool After(const OperationContext&, char*, char*) override { return true; }
    } no;
    WriteBytes(dir.File("a.txt"), "one\r\ntwo\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x42);
    Set(f.F());
    Next(f.F());
    AddTrigger(f.F(), &no);
    Next(f.F());
    RemoveTrigger(f.F(), &no);
    EXPECT_EQ(100, err::Code());
    EXPECT_EQ("one", str::Clip(f.Record()));
    Next(f.F());
    EXPECT_EQ("two", str::Clip(f.Record()));
}

TEST_F(TextDriver, DestroyClosesAnOpenFile) {
    WriteBytes(dir.File("a.txt"), "");
    TextFile f(dir.File("a.txt"), 16);
    Open(f.F(), 0x12);
    Destroy(f.F(), 0);
    EXPECT_EQ(nullptr, f.F()->block);
    Open(f.F(), 0x12);
    EXPECT_EQ(0, err::Code());
}

TEST_F(TextDriver, RemoveRenameAndCopyByName) {
    WriteBytes(dir.File("a.txt"), "x\r\n");
    TextFile f(dir.File("a.txt"), 16);
    Copy(f.F(), dir.File("b.txt"));
    EXPECT_EQ(0, err::Code());
    EXPECT_EQ("x\r\n", ReadBytes(dir.File("b.txt")));
    mkdir(dir.File("sub").c_str(), 0755);
    Rename(f.F(), dir.File("sub"));
    EXPECT_EQ(0, err::Code());
    EXPECT_TRUE(Exists(dir.File("sub/a.txt")));
    Remove(f.F());
    EXPECT_EQ(2, err::Code());
    f.SetName(dir.File("b.txt"));
    Remove(f.F());
    EXPECT_EQ(0, err::Code());
    EXPECT_FALSE(Exists(dir.File("b.txt")));
}

TEST_F(TextDriver, ThreadFilesHaveOneObjectPerThread) {
    WriteBytes(dir.File("a.txt"), "one\r\n");
    WriteBytes(dir.File("b.txt"), "two\r\n");
    static char name[260];
    static char record[8];
    static FileDefinition def = MakeDefinition(TextDriverEntry(), name, kNameZeroTerminated,
                                               record, 8, nullptr, kAttrThread);
    snprintf(name, sizeof name, "%s", dir.File("a.txt").c_str());
    FileObject* mine = ThreadInstance(def);
    EXPECT_EQ(mine, ThreadInstance(def));
    EXPECT_NE(&def.pattern, mine);
    Open(mine, 0x42);
    Set(mine);
    Next(mine);
    std::string otherRecord;
    FileObject* other = nullptr;
    std::thread t([&] {
        other = ThreadInstance(def);
        snprintf(name, sizeof name, "%s", dir.File("b.txt").c_str());
        Open(other, 0x42);
        Set(other);
        Next(other);
        otherRecord.assign(other->record, 8);
        DestroyThreadInstances();
    });
    t.join();
    EXPECT_NE(mine, other);
    EXPECT_EQ("two     ", otherRecord);
    EXPECT_EQ("one     ", std::string(mine->record, 8));
    DestroyThreadInstances();
}

std::vector<std::string> g_traced;
void Collect(const std::string& line) { g_traced.push_back(line); }

TEST_F(TextDriver, TraceLogAndErrorFileName) {
    WriteBytes(dir.File("a.txt"), "one\r\n");
    g_traced.clear();
    SetTraceSink(&Collect);
    {
        TextFile f(dir.File("a.txt"), 16);
        Open(f.F(), 0x42);
        Next(f.F());
        EXPECT_EQ(33, err::Code());
        EXPECT_EQ(dir.File("a.txt"), err::ErrorFileName());
        OpArgs off;
        off.n[0] = kPropertyTrace;
        off.n[1] = 0;
        Dispatch(kSetProperty, f.F(), &off);
        Set(f.F());
    }
    SetTraceSink(nullptr);
    std::string name = dir.File("a.txt");
    EXPECT_EQ((std::vector<std::string>{"ASCII OPEN " + name, "ASCII NEXT " + name,
                                        "ASCII SET_PROPERTY " + name}),
              g_traced);
}

TEST_F(TextDriver, FilesOf4GBAreRefusedAndWritesStopBelowIt) {
    std::string big = dir.File("big.txt");
    WriteBytes(big, "");
    ASSERT_EQ(0, truncate(big.c_str(), 0x100000000LL));
    TextFile f(big, 16);
    Open(f.F(), 0x42);
    EXPECT_EQ(90, err::Code());
    EXPECT_EQ("4GB", err::FileErrorCode());
    Set(f.F());
    EXPECT_EQ(37, err::Code()) << "the file is not open";

    ASSERT_EQ(0, truncate(big.c_str(), 0xFFFFFFFDLL));
    Open(f.F(), 0x42);
    ASSERT_EQ(0, err::Code());
    f.SetRecord("x");
    Add(f.F());
    EXPECT_EQ(90, err::Code());
    Close(f.F());
    struct stat st;
    ASSERT_EQ(0, stat(big.c_str(), &st));
    EXPECT_EQ(0xFFFFFFFDLL, st.st_size) << "nothing written";
}

}  // namespace
}  // namespace dove::files::testing
