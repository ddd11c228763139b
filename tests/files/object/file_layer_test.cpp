// The file layer without a real driver: trace names, the rule check, and the
// dispatcher's triggers around a recording driver.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/object/driver_frame.h"
#include "runtime/errors/error_record.h"
#include "files/object/file_codes.h"
#include "files/object/file_dispatch.h"
#include "files/object/file_rules.h"
#include "files/object/file_statements.h"

namespace dove::files {
namespace {

TEST(FileCodes, NamesOfOperationsAndFieldTypes) {
    EXPECT_STREQ("ADD", OperationName(1));
    EXPECT_STREQ("NEXT", OperationName(24));
    EXPECT_STREQ("(101)", OperationName(101));
    EXPECT_STREQ("DESTROY", OperationName(104));
    for (int32_t outside : {0, -1, 105, 107, 1000}) EXPECT_STREQ("(0)", OperationName(outside));
    EXPECT_STREQ("END", FieldTypeName(0));
    EXPECT_STREQ("(17)", FieldTypeName(17));
    EXPECT_STREQ("STRING", FieldTypeName(18));
    EXPECT_STREQ("STDNUM", FieldTypeName(30));
    for (int32_t outside : {-1, 31, 255}) EXPECT_STREQ("UNKNOWN", FieldTypeName(outside));
}

TEST(FileObjectDeathTest, AFieldTypeTheRuntimeCannotHandleIsFatal) {
    char record[4];
    const FieldDesc fields[] = {{kDum1, "X:ODD", 0, 4}};
    const RecordType type = {kGroup, 4, 1, fields};
    FileObject file;
    file.record = record;
    file.recordLength = 4;
    file.recordType = &type;
    EXPECT_EXIT(ClearRecord(file), ::testing::ExitedWithCode(2),
                "Internal error 01 : Make UFO Error");
}

TEST(FileObject, ClearRecordBlanksStringsAndZeroesNumbers) {
    char record[8];
    std::memset(record, 'x', sizeof record);
    const FieldDesc fields[] = {{kGroup, "G", 0, 8}, {kString, "G:S", 0, 4}, {kLong, "G:N", 4, 4}};
    const RecordType type = {kGroup, 8, 3, fields};
    FileObject file;
    file.record = record;
    file.recordLength = 8;
    file.recordType = &type;
    ClearRecord(file);
    EXPECT_EQ(std::string("    \0\0\0\0", 8), std::string(record, 8));
}

TEST(FileRules, EveryCodeFrom1To104HasARow) {
    for (int32_t op = 1; op <= kLastOp; ++op) EXPECT_NE(nullptr, RuleOf(op)) << op;
    EXPECT_EQ(nullptr, RuleOf(0));
    EXPECT_EQ(nullptr, RuleOf(105));
}

TEST(FileRules, GivenRowsAreKept) {
    struct Row { int32_t op; OpRule rule; };
    const Row rows[] = {
        {kAdd, {17, 65, 0, 2, 5120, 0}},      {kAppend, {17, 65, 0, 0, 0, 0}},
        {kClose, {3, 1, 4, 0, 257, 0}},       {kCreate, {1, 0, 1, 0, 0, 0}},
        {kEmpty, {1, 193, 4, 0, 0, 0}},       {kEof, {0, 33, 0, 0, 0, 0}},
        {kGetFilePtr, {17, 1, 0, 2, 2560, 2}}, {kLockFile, {1, 1, 16, 144, 0, 0}},
        {kNext, {21, 33, 0, 2, 2560, 8226}},  {kOpen, {1, 0, 1, 1, 0, 0}},
        {kPut, {17, 67, 0, 0, 5120, 0}},      {kSetFile, {37, 1, 0, 8224, 0, 8224}},
        {kUnlock, {1, 17, 4, 0, 16, 0}},      {kPositionFile, {1, 3, 0, 0, 0, 0}},
        {kResetFile, {37, 1, 0, 8224, 0, 8224}}, {kRegetFile, {17, 1, 0, 2, 2560, 0}},
        {kName, {}}, {kStartTran, {}}, {kEndTran, {}}, {kClear, {}}, {kGetState, {}},
        {kDestroy, {}},
    };
    for (const Row& r : rows) {
        const OpRule* got = RuleOf(r.op);
        SCOPED_TRACE(OperationName(r.op));
        EXPECT_EQ(r.rule.post, got->post);
        EXPECT_EQ(r.rule.requires, got->requires);
        EXPECT_EQ(r.rule.forbids, got->forbids);
        EXPECT_EQ(r.rule.setOnSuccess, got->setOnSuccess);
        EXPECT_EQ(r.rule.clearOnSuccess, got->clearOnSuccess);
        EXPECT_EQ(r.rule.clearOnFailure, got->clearOnFailure);
    }
    for (int32_t op : {kBuildFile, kBuildKey, kPack}) EXPECT_EQ(193u, RuleOf(op)->requires);
    for (int32_t op : {kShare, kRemove, kRename, kCopy}) EXPECT_EQ(1u, RuleOf(op)->forbids);
}

TEST(FileRules, CheckGivesTheErrorOfTheFirstMissingOrForbiddenBit) {
    struct Row { int32_t op; uint32_t status; bool otherKey; int expected; };
    const Row rows[] = {
        {kNext, 0, false, 37},                       // not open
        {kNext, kStOpen, false, 33},                 // no SET
        {kNext, kStOpen | kStSequence, false, 0},
        {kPut, kStOpen | kStWriteAccess, false, 33}, // no current record
        {kPut, kStOpen | kStCurrent, false, 5},      // read only
        {kEmpty, kStOpen | kStWriteAccess, false, 63},
        {kInView, 0, false, 37},
        {kOpen, kStOpen, false, 52},
        {kLogout, kStOpen | kStLogout, false, 56},
        {kLockFile, kStOpen | kStLocked, false, kSilent},
        {kClose, kStOpen | kStLogout, false, 56},
        {kNext, kStOpen | kStSequence | kStBuilding, false, 92},
        {kClose, kStOpen | kStBuilding, false, 0},
        {kGetFilePtr, kStOpen, true, 38},
        {0, 0, false, 80},
        {105, 0, false, 80},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.expected, CheckRules(r.op, r.status, r.otherKey)) << OperationName(r.op);
    }
    // A missing bit other than 1 and 256 on a closed file fails silently.
    EXPECT_EQ(37, CheckRules(kUnlock, 0, false));
    EXPECT_EQ(kSilent, CheckRules(kUnlock, kStOpen, false));
}

TEST(FileRules, StatusAfterSuccessAndFailure) {
    uint32_t s = kStOpen | kStSequence | kStCurrent | kStWatchPending;
    EXPECT_EQ(kStOpen | kStSequence | kStCurrent, StatusAfter(kNext, s, true));
    EXPECT_EQ(kStOpen, StatusAfter(kNext, s, false));
    EXPECT_EQ(0u, StatusAfter(kClose, s | kStWriteAccess, true));
    EXPECT_EQ(kStOpen | kStLocked | kStDenyWrite, StatusAfter(kLockFile, kStOpen, true));
}

// A driver that records what reaches it and fails what it is told to.
struct RecordingDriver {
    static std::vector<int32_t> calls;
    static int failWith;
    static OpResult Perform(DriverBlock*, int32_t op, const OpArgs*) {
        calls.push_back(op);
        return OpResult{failWith, 7};
    }
    static DriverBlock* Make(FileObject*) { return new DriverBlock; }
    static int32_t Entry(int32_t op, FileObject* f, const OpArgs* a) {
        static std::mutex lock;
        static const DriverOps ops = {"REC", &lock, &Make, &Perform, nullptr};
        return RunOperation(ops, op, f, a);
    }
};
std::vector<int32_t> RecordingDriver::calls;
int RecordingDriver::failWith = 0;

struct Veto : Trigger {
    bool vetoBefore = false;
    bool vetoAfter = false;
    std::vector<std::string> seen;
    bool Before(const OperationContext& ctx, char* text, char* code) override {
        seen.push_back(std::string("before ") + OperationName(ctx.op) + " " + ctx.text);
        if (!vetoBefore) return true;
        snprintf(text, kTriggerTextSize, "not now");
        snprintf(code, kTriggerCodeSize, "V1");
        return false;
    }
    bool After(const OperationContext& ctx, char* text, char* code) override {
        seen.push_back(std::string("after ") + OperationName(ctx.op));
        if (!vetoAfter) return true;
        snprintf(text, kTriggerTextSize, "too late");
        snprintf(code, kTriggerCodeSize, "V2");
        return false;
    }
};

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override {
        err::ResetThreadRecord();
        RecordingDriver::calls.clear();
        RecordingDriver::failWith = 0;
        file.driver = &RecordingDriver::Entry;
    }
    void TearDown() override {
        RemoveTrigger(&file, &first);
        RemoveTrigger(&file, &second);
        Destroy(&file, 0);
    }
    FileObject file;
    Veto first, second;
};

TEST_F(Dispatcher, VetoSkipsTheDriverAndPosts100WithTheTriggersTexts) {
    AddTrigger(&file, &first);
    AddTrigger(&file, &second);
    first.vetoBefore = true;
    Open(&file, 0x22);
    EXPECT_TRUE(RecordingDriver::calls.empty());
    EXPECT_EQ(100, err::Code());
    EXPECT_EQ("Trigger Error", err::Text());
    EXPECT_EQ("not now", err::FileErrorText());
    EXPECT_EQ("V1", err::FileErrorCode());
    EXPECT_EQ(&file, err::File());
    // The second trigger is not asked before, but both are told after.
    EXPECT_EQ((std::vector<std::string>{"before OPEN ", "after OPEN"}), first.seen);
    EXPECT_EQ((std::vector<std::string>{"after OPEN"}), second.seen);
}

TEST_F(Dispatcher, AfterVetoPostsOnlyWhenNothingWasPosted) {
    AddTrigger(&file, &first);
    first.vetoBefore = true;
    first.vetoAfter = true;
    Open(&file, 0x22);
    EXPECT_EQ("V1", err::FileErrorCode());
    first.vetoBefore = false;
    Open(&file, 0x22);
    EXPECT_EQ(1u, RecordingDriver::calls.size());
    EXPECT_EQ(100, err::Code());
    EXPECT_EQ("V2", err::FileErrorCode());
}

TEST_F(Dispatcher, TriggersSeeCopiedTextAndQueriesBypassThem) {
    AddTrigger(&file, &first);
    Send(&file, "CLIP=OFF");
    Dispatch(kCountRecords, &file, nullptr);
    EXPECT_EQ((std::vector<std::string>{"before SEND CLIP=OFF", "after SEND"}), first.seen);
    EXPECT_EQ((std::vector<int32_t>{kSend, kCountRecords}), RecordingDriver::calls);
}

TEST_F(Dispatcher, ViewsUseTheTriggersOfTheirPrimaryFile) {
    FileObject view;
    view.kind = kKindView;
    view.primary = &file;
    view.driver = &RecordingDriver::Entry;
    AddTrigger(&file, &first);
    first.vetoBefore = true;
    Open(&view, 0x22);
    EXPECT_EQ(100, err::Code());
    EXPECT_EQ(nullptr, err::File());   // the error file is set for files only
    Destroy(&view, 0);
}

TEST_F(Dispatcher, PendingHookRunsOnceBeforeTheNextOperation) {
    static int hookCalls;
    hookCalls = 0;
    file.pendingHook = [](FileObject*) { ++hookCalls; };
    Open(&file, 0x22);
    Close(&file);
    EXPECT_EQ(1, hookCalls);
    EXPECT_EQ(nullptr, file.pendingHook);
}

TEST_F(Dispatcher, SuccessClearsErrorsExceptForPureQueries) {
    Open(&file, 0x22);
    Set(&file);
    err::Post(35);
    Eof(&file);                        // a query: the error stays
    EXPECT_EQ(35, err::Code());
    Next(&file);
    EXPECT_EQ(0, err::Code());
    RecordingDriver::failWith = 90;
    Next(&file);
    EXPECT_EQ(90, err::Code());
    EXPECT_EQ(&file, err::File());
    EXPECT_TRUE(Eof(&file)) << "EOF answers 1 on failure";
}

TEST_F(Dispatcher, CloseWithoutABlockDoesNothingAndAClosedBlockGives37) {
    err::Post(2);
    Close(&file);
    EXPECT_EQ(2, err::Code());
    EXPECT_EQ(nullptr, file.block);
    Set(&file);
    EXPECT_EQ(37, err::Code());
    err::Clear();
    Close(&file);
    EXPECT_EQ(37, err::Code());
}

TEST(FileErrors, PostingZeroAfterOsErrorAndEmptyFileErrorText) {
    err::ResetThreadRecord();
    err::SetOsError(2);
    PostDriverError(0, nullptr);
    EXPECT_EQ(302, err::Code());
    EXPECT_EQ("File Not Found", err::Text());
    err::PostFileError("42", nullptr);
    EXPECT_EQ("File System Error : 42", err::FileErrorText());
    err::SetOsError(0);
}

}  // namespace
}  // namespace dove::files
