#include "runtime/errors/error_record.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace err = dove::err;

namespace {

// Every test starts on a fresh record with the portable sources.
class ErrorRecord : public ::testing::Test {
protected:
    void SetUp() override {
        err::SetTextSource(nullptr);
        err::SetOsErrorAccess(nullptr, nullptr);
        err::SetFileNameProvider(nullptr);
        err::SetMonitorAttached(false);
        err::ResetThreadRecord();
        err::SetOsError(0);
    }
    void TearDown() override { SetUp(); }
};

std::string Field(const char* field, size_t n) { return std::string(field, n); }

TEST_F(ErrorRecord, PostTakesCodeAndTextAndOsError) {
    struct Row {
        int os, posted, code;
        const char* text;
    } rows[] = {
        {0, 2, 2, "File Not Found"},
        {32, 0, 332, "Sharing Violation"},
        {5, 0, 305, "Access Denied"},
        {0, 0, 300, "Unknown Error Posted : 300"},
        {0, 1450, 1450, "Unknown Error Posted : 1450"},
        {0, 81, 81, "Unknown Error Posted"},
        {0, 350, 350, "Not Supported"},
        {0, 501, 501, "Internal error 01"},
        {0, 515, 515, "Internal error 15"},
        {0, 605, 605, "DDE transaction timed out"},
        {0, -7, -7, "Unknown Error Posted : -7"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "os " << row.os << ", post " << row.posted);
        err::SetOsError(row.os);
        err::Post(row.posted);
        EXPECT_EQ(err::Code(), row.code);
        EXPECT_EQ(err::Text(), row.text);
        EXPECT_EQ(err::OsError(), row.os) << "posting must leave the OS error as it was";
        err::Snapshot s;
        err::TakeSnapshot(&s);
        EXPECT_EQ(s.savedOsError, row.os);
    }
}

TEST_F(ErrorRecord, PostWithHugeOsErrorDoesNotOverflow) {
    err::SetOsError(0x7FFFFFFF);
    err::Post(0);   // 300 + 0x7FFFFFFF wraps; under UBSan a signed overflow would abort
    EXPECT_EQ(static_cast<uint32_t>(err::Code()), 0x7FFFFFFFu + 300u);
}

TEST_F(ErrorRecord, PostClearsErrorFileButKeepsFileError) {
    int fileObject = 0;
    err::PostFileError("42", "Disk gone");
    err::SetFile(&fileObject);
    EXPECT_EQ(err::File(), &fileObject);
    err::Post(5);
    EXPECT_EQ(err::File(), nullptr);
    EXPECT_EQ(err::FileErrorCode(), "42");
    EXPECT_EQ(err::FileErrorText(), "Disk gone");
}

TEST_F(ErrorRecord, FieldsStayBlankPadded) {
    err::Post(2);
    err::PostFileError("42", nullptr);
    err::Snapshot s;
    err::TakeSnapshot(&s);
    EXPECT_EQ(Field(s.text, err::kTextSize), "File Not Found" + std::string(256 - 14, ' '));
    EXPECT_EQ(Field(s.fileCode, err::kFileCodeSize), "42" + std::string(78, ' '));
    std::string fileText = "File System Error : 42";
    EXPECT_EQ(Field(s.fileText, err::kTextSize), fileText + std::string(256 - fileText.size(), ' '));
}

std::string g_longText;
bool LongSource(int id, std::string* out) {
    *out = g_longText;
    return true;
}

TEST_F(ErrorRecord, TextsAreCutAt255AfterLeadingBlanks) {
    g_longText = "   " + std::string(300, 'x');
    err::SetTextSource(&LongSource);
    err::Post(2);   // the message itself is cut at 255, then loses its blanks
    EXPECT_EQ(err::Text(), std::string(252, 'x'));
    err::PostFileError(std::string(100, 'c'), ("  " + std::string(300, 'm')).c_str());
    EXPECT_EQ(err::FileErrorCode(), std::string(80, 'c'));
    EXPECT_EQ(err::FileErrorText(), std::string(255, 'm'));
}

TEST_F(ErrorRecord, PostFileError) {
    struct Row {
        const char* code;
        const char* message;
        const char* wantCode;
        const char* wantText;
    } rows[] = {
        {"42", nullptr, "42", "File System Error : 42"},
        {"42", "", "42", "File System Error : 42"},
        {"42", "   ", "42", "File System Error : 42"},
        {"  7  ", nullptr, "7", "File System Error : 7"},
        {"E12", "  Volume not mounted", "E12", "Volume not mounted"},
        {"", nullptr, "", "File System Error :"},   // queries clip
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "code \"" << row.code << "\", message "
                                        << (row.message ? row.message : "(null)"));
        err::Post(33);
        err::PostFileError(row.code, row.message);
        EXPECT_EQ(err::FileErrorCode(), row.wantCode);
        EXPECT_EQ(err::FileErrorText(), row.wantText);
        EXPECT_EQ(err::Code(), 33) << "a file error leaves the error code alone";
    }
}

TEST_F(ErrorRecord, AppendText) {
    struct Row {
        int post;       // 0: cleared record
        std::string appended;
        std::string want;
    } rows[] = {
        {2, " : C:\\DATA\\X.TXT", "File Not Found : C:\\DATA\\X.TXT"},
        {350, "!", "Not Supported!"},   // after the last non-blank, not after the field's blank
        {-1, "abc", "abc"},
        {2, std::string(300, 'y'), "File Not Found" + std::string(255 - 14, 'y')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "post " << row.post << ", append " << row.appended.size());
        if (row.post == -1) err::Clear();
        else err::Post(row.post);
        err::AppendText(row.appended);
        EXPECT_EQ(err::Text(), row.want);
    }
    err::AppendText("more");
    EXPECT_EQ(err::Text().size(), 255u) << "a full text takes no more";
}

TEST_F(ErrorRecord, ClearEmptiesCodeFileAndTexts) {
    int fileObject = 0;
    err::Post(2);
    err::SetFile(&fileObject);
    err::PostFileError("42", "x");
    err::Clear();
    EXPECT_EQ(err::Code(), 0);
    EXPECT_EQ(err::File(), nullptr);
    EXPECT_EQ(err::Text(), "");
    EXPECT_EQ(err::FileErrorCode(), "");
    EXPECT_EQ(err::FileErrorText(), "");
}

TEST_F(ErrorRecord, SaveAndRestoreNest) {
    int fileA = 0;
    err::SetOsError(32);
    err::Post(0);
    err::SetFile(&fileA);
    err::PostFileError("A", "first");
    err::SetOsError(5);
    err::SaveState();   // captures OS error 5 into the saved copy

    err::Post(2);
    err::PostFileError("B", "second");
    err::SetOsError(6);
    err::SaveState();

    err::Clear();
    err::SetOsError(0);
    err::RestoreState();
    EXPECT_EQ(err::Code(), 2);
    EXPECT_EQ(err::FileErrorCode(), "B");
    EXPECT_EQ(err::File(), nullptr);
    EXPECT_EQ(err::OsError(), 6);

    err::RestoreState();
    EXPECT_EQ(err::Code(), 332);
    EXPECT_EQ(err::Text(), "Sharing Violation");
    EXPECT_EQ(err::FileErrorCode(), "A");
    EXPECT_EQ(err::FileErrorText(), "first");
    EXPECT_EQ(err::File(), &fileA);
    EXPECT_EQ(err::OsError(), 5);

    err::Post(4);
    err::RestoreState();   // nothing saved any more: no change
    EXPECT_EQ(err::Code(), 4);
}

// What a message dialog does between a failing statement and the test of
// ERRORCODE: save, post its own errors, restore.
TEST_F(ErrorRecord, BracketedWorkLeavesTheQueriesAsTheyWere) {
    err::Post(37);
    err::SaveState();
    err::Clear();
    err::Post(529);
    err::PostFileError("9", nullptr);
    err::RestoreState();
    EXPECT_EQ(err::Code(), 37);
    EXPECT_EQ(err::Text(), "File Not Open");
    EXPECT_EQ(err::FileErrorCode(), "");
}

TEST_F(ErrorRecord, ReleasedRecordAnswersBadError) {
    err::Post(2);
    err::SaveState();
    err::ReleaseThreadRecord();   // the saved copy goes with it
    err::Post(5);
    EXPECT_EQ(err::Code(), 99);
    EXPECT_EQ(err::Text(), "");
    EXPECT_FALSE(err::HasThreadRecord());
    err::Snapshot s;
    err::TakeSnapshot(&s);
    EXPECT_EQ(s.code, 0);
    EXPECT_EQ(Field(s.text, err::kTextSize), std::string(256, ' '));
    err::RestoreState();
    EXPECT_EQ(err::Code(), 99);

    err::ResetThreadRecord();
    EXPECT_EQ(err::Code(), 0);
}

TEST_F(ErrorRecord, EachThreadHasItsOwnRecord) {
    err::Post(2);
    int otherCode = -1, afterPost = -1;
    std::string otherText = "unset";
    std::thread t([&] {
        otherCode = err::Code();
        otherText = err::Text();
        err::Post(5);
        afterPost = err::Code();
        err::SaveState();   // left for the end of the thread to free
    });
    t.join();
    EXPECT_EQ(otherCode, 0) << "a new thread starts with code 0";
    EXPECT_EQ(otherText, "");
    EXPECT_EQ(afterPost, 5);
    EXPECT_EQ(err::Code(), 2);
}

// A slot that, like the platform's, starts empty on every thread.
thread_local void* t_slot = nullptr;
thread_local int t_slotReads = 0;
void* ReadSlot() { ++t_slotReads; return t_slot; }
void WriteSlot(void* value) { t_slot = value; }

TEST_F(ErrorRecord, InstalledSlotFindsTheSameRecordOnEveryThread) {
    err::Post(2);
    err::SetThreadSlot(&ReadSlot, &WriteSlot);
    EXPECT_EQ(err::Code(), 2) << "a record made before the slot stays the thread's";
    EXPECT_GT(t_slotReads, 0) << "the installed slot is used";
    int otherCode = -1, afterPost = -1;
    std::thread t([&] {
        otherCode = err::Code();
        err::Post(5);
        afterPost = err::Code();
    });
    t.join();
    EXPECT_EQ(otherCode, 0);
    EXPECT_EQ(afterPost, 5);
    EXPECT_EQ(err::Code(), 2);
    err::SetThreadSlot(nullptr, nullptr);
    EXPECT_EQ(err::Code(), 2) << "the default finds the same record again";
}

bool NameOf(const void* file, std::string* out) {
    *out = std::string("named ") + static_cast<const char*>(file);
    return true;
}

TEST_F(ErrorRecord, ErrorFileNameComesFromTheProvider) {
    static const char kFile[] = "VERSION.KVI";
    err::SetFile(kFile);
    EXPECT_EQ(err::ErrorFileName(), "") << "no provider";
    err::SetFileNameProvider(&NameOf);
    EXPECT_EQ(err::ErrorFileName(), "named VERSION.KVI");
    err::Clear();
    EXPECT_EQ(err::ErrorFileName(), "") << "no file";
}

TEST_F(ErrorRecord, NumberDisplay) {
    struct Row {
        const char* name;
        int32_t value;
        const char* want;
    } rows[] = {
        {nullptr, 2, "2 (02H)"},
        {nullptr, 255, "255 (0FFH)"},
        {nullptr, -1, "-1 (0FFFFFFFFH)"},
        {"EVENT:Accepted", 1, "EVENT:Accepted (1 (01H))"},
        {"EVENT:Timer", 523, "EVENT:Timer (523 (020BH))"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.want);
        EXPECT_EQ(err::NumberDisplay(row.name, row.value), row.want);
    }
}

std::string MonitorLines() { return "Event: EVENT:Accepted (1 (01H))\n"; }

TEST_F(ErrorRecord, MonitorSnapshotFollowsPostsWhileAttached) {
    err::SetMonitorStateProvider(&MonitorLines);
    err::SetMonitorAttached(true);
    err::Post(32);
    EXPECT_EQ(err::MonitorState(),
              "Event: EVENT:Accepted (1 (01H))\nError code: 32 (020H)\nError text: File Is Already Locked\n");
    err::SetMonitorAttached(false);
    err::Post(2);
    EXPECT_NE(err::MonitorState().find("32 (020H)"), std::string::npos) << "detached: not refreshed";
    err::SetMonitorStateProvider(nullptr);
}

}  // namespace
