#include "runtime/strings/value_stack.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <thread>

#include "runtime/locale/char_tables.h"

namespace vs = dove::vstack;

namespace {

// Every test must leave the stack as it found it: an entry left behind is a
// fault of the operation under test.
class ValueStack : public ::testing::Test {
protected:
    void SetUp() override { vs::Reset(); }
    void TearDown() override {
        EXPECT_EQ(vs::Depth(), 0);
        vs::Reset();
        dove::chartab::Install(dove::chartab::Defaults());
    }
};

void Push(const std::string& s) { vs::PushRef(s.data(), s.size()); }

const std::string kLong(40, 'x');

TEST_F(ValueStack, PushIntegerText) {
    const struct { int32_t v; const char* text; } rows[] = {
        {-5, "-5"}, {0, "0"}, {2147483647, "2147483647"}, {INT32_MIN, "-2147483648"},
    };
    for (const auto& row : rows) {
        vs::PushInt(row.v);
        EXPECT_EQ(vs::PopString(), row.text) << row.v;
    }
}

TEST_F(ValueStack, PushRealText) {
    const struct { double v; const char* text; } rows[] = {
        {1.5, "1.5"},
        {100, "100"},
        {-2.25, "-2.25"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345678.0, "123456789012346000"},
        {1e20, "100000000000000000000"},
        {1e40, "1e+40"},
    };
    for (const auto& row : rows) {
        vs::PushReal(row.v);
        EXPECT_EQ(vs::PopString(), row.text) << row.v;
    }
}

TEST_F(ValueStack, PopIntoFixedPadsAndCuts) {
    const struct { const char* value; size_t n; const char* want; } rows[] = {
        {"abc", 5, "abc  "}, {"abcdef", 3, "abc"}, {"", 2, "  "}, {"ab", 2, "ab"},
    };
    for (const auto& row : rows) {
        char field[8];
        std::memset(field, '#', sizeof field);
        vs::PushText(row.value);
        vs::PopFixed(field, row.n);
        EXPECT_EQ(std::string(field, row.n), row.want) << row.value << " into " << row.n;
        EXPECT_EQ(field[row.n], '#') << "wrote past the field: " << row.value;
    }
}

TEST_F(ValueStack, PopIntoFixedOfZeroWritesNothing) {
    char field = '#';
    vs::PushText("abc");
    vs::PopFixed(&field, 0);
    EXPECT_EQ(field, '#');
}

TEST_F(ValueStack, ValueWithoutCharactersFillsByDirection) {
    const struct { int direction; char fixedFill; size_t zLength; } rows[] = {
        {0, ' ', 0}, {-1, '\0', 0}, {1, '\xFF', 3},
    };
    for (const auto& row : rows) {
        char fixed[4] = {'#', '#', '#', '#'};
        vs::PushFill(row.direction);
        vs::PopFixed(fixed, 3);
        EXPECT_EQ(std::string(fixed, 4), std::string(3, row.fixedFill) + "#") << row.direction;

        char z[5] = {'#', '#', '#', '#', '#'};
        vs::PushFill(row.direction);
        vs::PopZ(z, 4);
        EXPECT_EQ(std::strlen(z), row.zLength) << row.direction;
        EXPECT_EQ(z[4], '#') << row.direction;
        if (row.zLength > 0) {
            EXPECT_EQ(z[0], '\xFF');
        }

        vs::PushFill(row.direction);
        EXPECT_EQ(vs::PopLength(), 0u) << "elsewhere it reads as empty: " << row.direction;
    }
}

TEST_F(ValueStack, PopIntoZeroTerminatedCuts) {
    const struct { const char* value; size_t n; const char* want; } rows[] = {
        {"abc", 3, "ab"}, {"abc", 4, "abc"}, {"abc", 10, "abc"}, {"abc", 1, ""},
    };
    for (const auto& row : rows) {
        char z[12];
        std::memset(z, '#', sizeof z);
        vs::PushText(row.value);
        vs::PopZ(z, row.n);
        EXPECT_STREQ(z, row.want) << row.value << " into " << row.n;
        EXPECT_EQ(z[row.n], '#') << "wrote past the buffer: " << row.value;
    }
    char untouched = '#';
    vs::PushText("abc");
    vs::PopZ(&untouched, 0);
    EXPECT_EQ(untouched, '#');
}

TEST_F(ValueStack, AssignmentMayOverlapItsSource) {
    char field[12];
    std::memcpy(field, "hello world!", 12);
    vs::PushRef(field + 6, 6);
    vs::PopFixed(field, 12);
    EXPECT_EQ(std::string(field, 12), "world!      ");

    char z[] = "abcdefgh";
    vs::PushRef(z + 2, 6);
    vs::PopZ(z, sizeof z);
    EXPECT_STREQ(z, "cdefgh");
}

TEST_F(ValueStack, PushedTextIsPrivateAndReferenceBorrows) {
    for (const std::string& original : {std::string("short"), kLong}) {
        std::string source = original;
        vs::PushText(source.c_str());
        vs::PushRef(source.data(), source.size());
        source[0] = '!';
        EXPECT_EQ(vs::PopString()[0], '!') << "a reference reads its source";
        EXPECT_EQ(vs::PopString(), original) << "pushed text is a copy";
    }
}

TEST_F(ValueStack, NullAddressesPushTheEmptyString) {
    vs::PushRef(nullptr, 5);
    vs::PushText(nullptr);
    EXPECT_EQ(vs::Depth(), 2);
    EXPECT_EQ(vs::PopLength(), 0u);
    EXPECT_EQ(vs::PopString(), "");
    std::string growable = "kept";
    vs::PushEmpty();
    vs::PopAppend(growable);
    EXPECT_EQ(growable, "kept");
    vs::PushText(" more");
    vs::PopAppend(growable);
    EXPECT_EQ(growable, "kept more");
}

TEST_F(ValueStack, PopTestClipsBlanksOnly) {
    const struct { const char* value; bool want; } rows[] = {
        {"", false}, {"   ", false}, {" a", true}, {"\t", true}, {"0", true},
    };
    for (const auto& row : rows) {
        vs::PushText(row.value);
        EXPECT_EQ(vs::PopTest(), row.want) << '"' << row.value << '"';
    }
}

TEST_F(ValueStack, ClipRemovesTrailingBlanksOnly) {
    const struct { std::string value; std::string want; } rows[] = {
        {"   ", ""}, {"a\t ", "a\t"}, {" a b  ", " a b"}, {"ab", "ab"}, {kLong + "  ", kLong},
    };
    for (const auto& row : rows) {
        Push(row.value);
        vs::Clip();
        EXPECT_EQ(vs::PopString(), row.want) << '"' << row.value << '"';
        Push(row.value);
        EXPECT_EQ(vs::PopLength(), row.value.size()) << "length is not clipped";
    }
}

TEST_F(ValueStack, ConcatenationInBothOrders) {
    const struct { std::string a, b; } rows[] = {
        {"ab", "cd"}, {"", "cd"}, {std::string(20, 'a'), "bcdefgh"}, {kLong, "yz"}, {"yz", kLong},
    };
    for (const auto& row : rows) {
        Push(row.a);
        Push(row.b);
        vs::Concat();
        EXPECT_EQ(vs::PopString(), row.a + row.b) << row.a << " + " << row.b;
        Push(row.a);
        Push(row.b);
        vs::ConcatReversed();
        EXPECT_EQ(vs::PopString(), row.b + row.a) << row.a << " reversed + " << row.b;
    }
}

TEST_F(ValueStack, ConcatenationResultDoesNotBorrow) {
    std::string source = "abc";
    Push(source);
    vs::PushText("def");
    vs::Concat();
    source[0] = '!';
    EXPECT_EQ(vs::PopString(), "abcdef");
}

TEST_F(ValueStack, EmptyRightOperandLeavesLeftUnchanged) {
    std::string source = "borrowed";
    Push(source);
    vs::PushEmpty();
    vs::Concat();
    source[0] = 'B';
    EXPECT_EQ(vs::PopString(), "Borrowed") << "the left entry still borrows its source";
}

TEST_F(ValueStack, RepeatedConcatenationGrowsOneValue) {
    vs::PushText("x");
    std::string want = "x";
    for (int i = 0; i < 200; ++i) {
        vs::PushInt(i);
        vs::Concat();
        want += std::to_string(i);
    }
    EXPECT_EQ(vs::Depth(), 1);
    EXPECT_EQ(vs::PopString(), want);
}

TEST_F(ValueStack, RotateBringsAnEntryUp) {
    const struct { int k; const char* order; } rows[] = {
        {0, "4321"}, {1, "3421"}, {2, "2431"}, {3, "1432"},
    };
    for (const auto& row : rows) {
        vs::PushText("1");
        vs::PushText(kLong.c_str());   // a heap entry among inline ones
        vs::PushRef("3", 1);
        vs::PushInt(4);
        vs::Rotate(row.k);
        std::string order;
        while (vs::Depth() > 0) {
            std::string v = vs::PopString();
            order += v == kLong ? "2" : v;
        }
        EXPECT_EQ(order, row.order) << "k = " << row.k;
    }
}

TEST_F(ValueStack, CompareIsBlankPaddedThroughWeights) {
    const struct { const char* a; const char* b; int sign; } rows[] = {
        {"word", "word   ", 0}, {"word   ", "word", 0}, {"", "  ", 0},
        {"abc", "abd", -1}, {"abd", "abc", 1}, {"ab", "ab!", -1}, {"ab", "ab\x01", 1},
        {"Zebra", "apple", -1}, {"\xE9", "z", 1},
    };
    for (const auto& row : rows) {
        vs::PushText(row.a);
        vs::PushText(row.b);
        const int result = vs::Compare();
        EXPECT_EQ((result > 0) - (result < 0), row.sign) << '"' << row.a << "\" vs \"" << row.b << '"';
    }
    vs::PushText("abc");
    vs::PushText("abd");
    EXPECT_EQ(vs::Compare(), 'c' - 'd') << "the difference of the weights";
}

TEST_F(ValueStack, BytesOfEqualWeightDoNotEndTheComparison) {
    dove::chartab::Tables t = dove::chartab::Defaults();
    for (int c = 'a'; c <= 'z'; ++c) t.weight[c] = static_cast<uint8_t>(c - 'a' + 'A');
    dove::chartab::Install(t);
    const struct { const char* a; const char* b; int sign; } rows[] = {
        {"aX", "AX", 0}, {"aX", "AY", -1}, {"bA", "Ab", 1}, {"abc", "ABC  ", 0},
    };
    for (const auto& row : rows) {
        vs::PushText(row.a);
        vs::PushText(row.b);
        const int result = vs::Compare();
        EXPECT_EQ((result > 0) - (result < 0), row.sign) << row.a << " vs " << row.b;
    }
}

TEST_F(ValueStack, CaseChangesThroughTheTables) {
    vs::PushText("abcXYZ19\xE9\xC9_");
    vs::Upper();
    EXPECT_EQ(vs::PopString(), "ABCXYZ19\xE9\xC9_") << "0x80..0xFF unchanged by default";
    vs::PushText("abcXYZ19\xE9\xC9_");
    vs::Lower();
    EXPECT_EQ(vs::PopString(), "abcxyz19\xE9\xC9_");

    dove::chartab::Tables t = dove::chartab::Defaults();
    t.cls[0xE9] = dove::chartab::kLower;
    t.partner[0xE9] = 0xC9;
    t.cls[0xC9] = dove::chartab::kUpper;
    t.partner[0xC9] = 0xE9;
    dove::chartab::Install(t);
    vs::PushText("\xE9t\xC9");
    vs::Upper();
    EXPECT_EQ(vs::PopString(), "\xC9T\xC9");
}

TEST_F(ValueStack, CaseChangeLeavesTheBorrowedSourceAlone) {
    for (const std::string original : {"mixed Case", "long mixed Case text beyond the inline room"}) {
        std::string source = original;
        Push(source);
        vs::Upper();
        std::string upper = original;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(vs::PopString(), upper);
        EXPECT_EQ(source, original) << "the source was written through";
    }
}

TEST_F(ValueStack, SubstringReferencesPartOfTheTop) {
    const struct { long start, len; const char* want; } rows[] = {
        {-3, 2, "de"}, {10, 1, ""}, {0, 2, "ab"}, {1, 2, "ab"}, {-10, 2, "ab"},
        {2, 100, "bcdef"}, {6, 1, "f"}, {7, 1, ""}, {-1, 5, "f"}, {2, 0, ""}, {2, -1, ""},
    };
    for (const auto& row : rows) {
        vs::PushRef("abcdef", 6);   // borrowed
        vs::Substring(row.start, row.len);
        EXPECT_EQ(vs::PopString(), row.want) << "borrowed, start " << row.start << " len " << row.len;
        vs::PushText("abcdef");     // inline
        vs::Substring(row.start, row.len);
        EXPECT_EQ(vs::PopString(), row.want) << "inline, start " << row.start << " len " << row.len;
    }
}

TEST_F(ValueStack, SubstringOfAnOwnedBlock) {
    const std::string text = std::string(30, '-') + "abcdef";
    const struct { long start, len; const char* want; } rows[] = {
        {31, 3, "abc"}, {-3, 2, "de"}, {-100, 3, "---"}, {37, 1, ""}, {30, 100, "-abcdef"},
    };
    for (const auto& row : rows) {
        vs::PushText(text.c_str());
        vs::Substring(row.start, row.len);
        EXPECT_EQ(vs::PopString(), row.want) << "start " << row.start << " len " << row.len;
    }
}

TEST_F(ValueStack, SubstringOfSubstring) {
    vs::PushText("the quick brown fox jumps");
    vs::Substring(5, 15);   // "quick brown fox"
    vs::Substring(-3, 3);
    EXPECT_EQ(vs::PopString(), "fox");
}

TEST_F(ValueStack, Justification) {
    using J = vs::Justify;
    const struct { const char* value; J how; long width; const char* want; } rows[] = {
        {"  ab  ", J::Left, 5, "ab   "},
        {"  ab  ", J::Right, 5, "   ab"},
        {"  ab  ", J::Center, 5, "  ab "},
        {"  ab  ", J::Center, 6, "  ab  "},
        {"abcdef", J::Left, 3, "abc"},
        {"abcdef", J::Right, 3, "def"},
        {"abcdef", J::Center, 3, "cde"},
        {"abcdef", J::Center, 4, "bcde"},
        {"", J::Right, 3, "   "},
        {"    ", J::Left, 2, "  "},
        {"abc", J::Left, 0, ""},
        {"  ab  ", J::Left, -1, "ab    "},
        {"  ab  ", J::Right, -1, "    ab"},
        {"ab", J::Right, 30, "                            ab"},
    };
    for (const auto& row : rows) {
        vs::PushText(row.value);
        vs::JustifyTop(row.how, row.width);
        EXPECT_EQ(vs::PopString(), row.want)
            << '"' << row.value << "\" how " << static_cast<int>(row.how) << " width " << row.width;
    }
}

TEST_F(ValueStack, InStringTakesItsOperandsFromTheStack) {
    vs::PushText("keep");
    vs::PushText("ABCDEFGHI");
    vs::PushText("DEF");
    EXPECT_EQ(vs::InString(1, 1), 4);
    EXPECT_EQ(vs::Depth(), 1);
    vs::Drop();
}

TEST_F(ValueStack, PopNumberReadsTheValue) {
    vs::PushText("  12.5  ");
    EXPECT_EQ(dove::DecimalToText(vs::PopNumber()), "12.5");
}

TEST_F(ValueStack, EachThreadHasItsOwnStack) {
    vs::PushText("main");
    int otherDepth = -1;
    std::string otherTop;
    std::thread other([&] {
        otherDepth = vs::Depth();
        for (int i = 0; i < vs::kCapacity; ++i) vs::PushInt(i);
        otherTop = vs::PopString();
        vs::Reset();
    });
    other.join();
    EXPECT_EQ(otherDepth, 0);
    EXPECT_EQ(otherTop, "31");
    EXPECT_EQ(vs::PopString(), "main");
}

using ValueStackDeathTest = ValueStack;

TEST_F(ValueStackDeathTest, MisuseRaisesTheInternalFault) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            for (int i = 0; i <= vs::kCapacity; ++i) vs::PushInt(i);
        },
        ::testing::ExitedWithCode(2), "Value stack overflow");
    EXPECT_EXIT(vs::PopString(), ::testing::ExitedWithCode(2), "Value stack underflow");
    EXPECT_EXIT(
        {
            vs::PushText("a");
            vs::Concat();
        },
        ::testing::ExitedWithCode(2), "Value stack underflow");
    EXPECT_EXIT(
        {
            vs::PushText("a");
            vs::PushText("b");
            vs::Rotate(2);
        },
        ::testing::ExitedWithCode(2), "rotated beyond its depth");
}

TEST_F(ValueStack, ThirtyTwoEntriesFit) {
    for (int i = 0; i < vs::kCapacity; ++i) vs::PushInt(i);
    EXPECT_EQ(vs::Depth(), vs::kCapacity);
    vs::Rotate(vs::kCapacity - 1);
    EXPECT_EQ(vs::PopString(), "0");
    vs::Reset();
}

}  // namespace
