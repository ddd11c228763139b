// The runtime error box over the portable platform: the text goes to stderr,
// the answer is No unless a test's platform says otherwise.
#include "runtime/errors/fault.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "runtime/errors/error_record.h"
#include "runtime/lifecycle.h"

namespace {

class ErrorBox : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        dove::err::SetTextSource(nullptr);
        dove::err::ResetThreadRecord();
    }
};

TEST_F(ErrorBox, Text) {
    struct Row {
        int code;
        const char* detail;
        std::string want;
    } rows[] = {
        {501, "Make UFO Error", "Internal error 01 : Make UFO Error"},
        {501, nullptr, "Internal error 01"},
        {501, "", "Internal error 01"},
        {0, "Only the detail", "Only the detail"},
        {0, nullptr, ""},
        {1450, "x", "Unknown Error Posted : 1450 : x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.code << ", " << (row.detail ? row.detail : "(null)"));
        dove::err::Clear();
        EXPECT_EQ(dove::fault::BuildText(row.code, row.detail), row.want);
        EXPECT_EQ(dove::err::Code(), row.code) << "a non-zero code is posted, 0 posts nothing";
    }
}

TEST_F(ErrorBox, TextIsCutAt1000) {
    std::string detail(2000, 'd');
    std::string text = dove::fault::BuildText(404, detail.c_str());
    EXPECT_EQ(text.size(), 1000u);
    EXPECT_EQ(text.substr(0, 22), "Arithmetic Overflow : ");
}

void Finaliser() { std::fprintf(stderr, "[finaliser]"); }

[[noreturn]] void FatalAfterStart(int code, const char* detail) {
    dove::lifecycle::Start();
    dove::lifecycle::AddFinaliser(&Finaliser);
    dove::FatalError(code, detail);
}

TEST_F(ErrorBox, NoShutsDownAndExitsWithCode2) {
    EXPECT_EXIT(FatalAfterStart(501, "Make UFO Error"), testing::ExitedWithCode(2),
                "^Runtime error: Internal error 01 : Make UFO Error\nDo you want to GPF\\?\n"
                "\\[finaliser\\]$");
    EXPECT_EXIT(dove::InternalFault(15, nullptr), testing::ExitedWithCode(2),
                "Internal error 15\nDo you want to GPF");
}

bool AnswerYes(const std::string&) { return true; }

[[noreturn]] void FatalAnsweredYes() {
    dove::fault::Platform p = dove::fault::DefaultPlatform();
    p.askStop = &AnswerYes;
    dove::fault::SetPlatform(p);
    FatalAfterStart(501, "x");
}

TEST_F(ErrorBox, YesStopsAbnormallyWithoutShutDown) {
    EXPECT_EXIT(FatalAnsweredYes(), testing::KilledBySignal(SIGABRT), "^$");
}

void PrintingHook(int code, const char* text) { std::fprintf(stderr, "[hook %d %s]", code, text); }

[[noreturn]] void FatalWithHook(bool start) {
    dove::fault::SetHook(&PrintingHook);
    if (start) FatalAfterStart(501, "Make UFO Error");
    dove::FatalError(0, "not active");
}

TEST_F(ErrorBox, HookReplacesTheBox) {
    EXPECT_EXIT(FatalWithHook(true), testing::ExitedWithCode(2),
                "^\\[hook 501 Internal error 01 : Make UFO Error\\]\\[finaliser\\]$");
    EXPECT_EXIT(FatalWithHook(false), testing::ExitedWithCode(2), "^$")
        << "without an active runtime the hook is not called";
}

void FatalFinaliser() { dove::FatalError(502, "while shutting down"); }

[[noreturn]] void NestedFatal() {
    dove::lifecycle::Start();
    dove::lifecycle::AddFinaliser(&Finaliser);
    dove::lifecycle::AddFinaliser(&FatalFinaliser);
    dove::FatalError(501, "first");
}

TEST_F(ErrorBox, FatalErrorDuringItsShutDownEndsWithoutASecondBox) {
    EXPECT_EXIT(NestedFatal(), testing::ExitedWithCode(2),
                "^Runtime error: Internal error 01 : first\nDo you want to GPF\\?\n\\[finaliser\\]$");
}

}  // namespace
