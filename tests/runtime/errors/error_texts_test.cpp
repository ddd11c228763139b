#include "runtime/errors/error_texts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/errors/error_record.h"
#include "runtime/locale/locale_settings.h"

namespace err = dove::err;

namespace {

class ErrorTexts : public ::testing::Test {
protected:
    void TearDown() override { err::SetTextSource(nullptr); }
};

TEST_F(ErrorTexts, BuiltInTableIsSortedAndWellFormed) {
    size_t count = 0;
    const err::TextEntry* table = err::BuiltInTable(&count);
    ASSERT_GT(count, 100u);
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "id " << table[i].id);
        if (i > 0) {
            EXPECT_LT(table[i - 1].id, table[i].id);
        }
        std::string text = table[i].text;
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text[0], ' ');
        EXPECT_LE(text.size(), err::kTextLimit);
        EXPECT_EQ(err::MessageOf(table[i].id), text);
    }
}

TEST_F(ErrorTexts, ChosenEntries) {
    struct Row {
        int id;
        const char* text;
    } rows[] = {
        {2, "File Not Found"},
        {81, "Unknown Error Posted"},
        {90, "File System Error"},
        {99, "Bad Error"},
        {350, "Not Supported "},   // the trailing blank is part of the text
        {403, "Termination caused by signal.  (User break or Floating point)"},
        {532, "Unable to open MDI window on APPLICATION's thread"},
        {1014, "Unknown evaluation context"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(err::MessageOf(row.id), row.text);
    }
    for (int n = 1; n <= 15; ++n) {
        char want[32];
        std::snprintf(want, sizeof want, "Internal error %02d", n);
        EXPECT_EQ(err::MessageOf(500 + n), want);
    }
    std::string text520;
    EXPECT_TRUE(err::BuiltInText(520, &text520)) << "520 has a text of its own";
}

TEST_F(ErrorTexts, NumbersWithoutText) {
    struct Row {
        int id;
        const char* text;
    } rows[] = {
        {0, "Unknown Error Posted"},
        {1, "Unknown Error Posted : 1"},
        {314, "Unknown Error Posted : 314"},
        {1450, "Unknown Error Posted : 1450"},
        {65536 + 2, "Unknown Error Posted : 65538"},
        {-2147483647 - 1, "Unknown Error Posted : -2147483648"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(err::MessageOf(row.id), row.text);
    }
}

// A source that knows a few numbers only, and answers 7 with an empty text.
bool SparseSource(int id, std::string* out) {
    if (id == 2) *out = "From the source";
    else if (id == 81) *out = "Nothing known";
    else if (id == 7) out->clear();
    else if (id == 9) *out = std::string(400, 'z');
    else return false;
    return true;
}

bool EmptySource(int, std::string*) { return false; }

TEST_F(ErrorTexts, TextSourceIsReplaceable) {
    err::SetTextSource(&SparseSource);
    EXPECT_EQ(err::MessageOf(2), "From the source");
    EXPECT_EQ(err::MessageOf(0), "Nothing known");
    EXPECT_EQ(err::MessageOf(3), "Nothing known : 3");
    EXPECT_EQ(err::MessageOf(7), "Nothing known : 7") << "an empty text counts as none";
    EXPECT_EQ(err::MessageOf(9), std::string(255, 'z'));

    err::SetTextSource(&EmptySource);   // not even 81: the fall-back must not recurse
    EXPECT_EQ(err::MessageOf(81), "Unknown Error Posted");
    EXPECT_EQ(err::MessageOf(5), "Unknown Error Posted : 5");

    err::SetTextSource(nullptr);
    EXPECT_EQ(err::MessageOf(5), "Access Denied");
}

TEST_F(ErrorTexts, LocaleReplacementsWin) {
    dove::locale::Load(dove::locale::IntlValues{},
                       "TOVMSG=2,Datei nicht gefunden\nTOVMSG=81,Unbekannter Fehler\n"
                       "TOVMSG=90,  Dateisystemfehler\n");
    EXPECT_EQ(err::MessageOf(2), "Datei nicht gefunden");
    EXPECT_EQ(err::MessageOf(0), "Unbekannter Fehler");
    EXPECT_EQ(err::MessageOf(1450), "Unbekannter Fehler : 1450");
    EXPECT_EQ(err::MessageOf(3), "Path Not Found");
    err::ResetThreadRecord();
    err::Post(90);
    EXPECT_EQ(err::Text(), "Dateisystemfehler");
    dove::locale::Load(dove::locale::IntlValues{}, "");
    EXPECT_EQ(err::MessageOf(2), "File Not Found");
}

}  // namespace
