// The error record over the real platform: the string table linked into the
// test program (the one DOVE60.exe has) and the thread's last-error value.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/errors/error_record.h"
#include "runtime/errors/error_texts.h"

namespace err = dove::err;

namespace {

class ErrorSourcesWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        err::InstallWin32Sources();
        err::ResetThreadRecord();
    }
    void TearDown() override {
        err::SetTextSource(nullptr);
        err::SetOsErrorAccess(nullptr, nullptr);
    }
};

TEST_F(ErrorSourcesWin32, StringTableHoldsEveryTextOfTheList) {
    size_t count = 0;
    const err::TextEntry* table = err::BuiltInTable(&count);
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "string " << table[i].id);
        char buf[300];
        int n = LoadStringA(GetModuleHandleA(nullptr), UINT(table[i].id), buf, sizeof buf);
        ASSERT_GT(n, 0) << "not in the string table";
        EXPECT_EQ(std::string(buf, size_t(n)), table[i].text);
        EXPECT_EQ(err::MessageOf(table[i].id), table[i].text);
    }
    EXPECT_EQ(err::MessageOf(1450), "Unknown Error Posted : 1450");
    EXPECT_EQ(err::MessageOf(70000), "Unknown Error Posted : 70000");
}

TEST_F(ErrorSourcesWin32, PostZeroTakesTheLastErrorAndKeepsIt) {
    SetLastError(ERROR_SHARING_VIOLATION);
    err::Post(0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(err::Code(), 332);
    EXPECT_EQ(err::Text(), "Sharing Violation");

    // A real failure, as a driver would post it.
    HANDLE h = CreateFileA("Z:\\no\\such\\dir\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(h, INVALID_HANDLE_VALUE);
    err::Post(0);
    EXPECT_EQ(err::Code(), 303);
    EXPECT_EQ(err::Text(), "Path Not Found");
}

TEST_F(ErrorSourcesWin32, RestoreSetsTheLastErrorBack) {
    SetLastError(ERROR_ACCESS_DENIED);
    err::SaveState();
    SetLastError(0);
    err::Post(2);
    err::RestoreState();
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(err::Code(), 0);
}

DWORD WINAPI PostOnOtherThread(void* param) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    err::Post(0);
    *static_cast<int*>(param) = err::Code();
    return 0;
}

TEST_F(ErrorSourcesWin32, RecordsArePerThread) {
    err::Post(37);
    int other = 0;
    HANDLE t = CreateThread(nullptr, 0, &PostOnOtherThread, &other, 0, nullptr);
    ASSERT_NE(t, nullptr);
    WaitForSingleObject(t, 5000);
    CloseHandle(t);
    EXPECT_EQ(other, 302);
    EXPECT_EQ(err::Code(), 37);
}

}  // namespace
