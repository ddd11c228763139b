// The command run's parameter splitter and GetToken.
#include "app/start/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dove::app {
namespace {

std::vector<std::string> Params(const std::string& text) {
    TokeniseCommandLine(text);
    std::vector<std::string> out;
    for (int n = 1; n <= Globals().tokens; ++n) out.push_back(GetToken(static_cast<uint8_t>(n)));
    return out;
}

using P = std::vector<std::string>;

TEST(Tokeniser, SplitsOnBlanksAndGroupsWithQuotes) {
    EXPECT_EQ((P{"REG", "file.tpl"}), Params("REG file.tpl"));
    EXPECT_EQ((P{"REG", "My File.tpl"}), Params("REG \"My File.tpl\""));
    EXPECT_EQ((P{"REG,file.tpl"}), Params("REG,file.tpl"));  // commas are ordinary
    EXPECT_EQ((P{"a/b", "c"}), Params("a/b   c   "));
    EXPECT_EQ((P{"a\tb"}), Params("a\tb"));  // a tab is an ordinary character
    EXPECT_EQ(P{}, Params(""));
    EXPECT_EQ(P{}, Params("    "));
}

TEST(Tokeniser, QuoteRulesThatTheCommandsRelyOn) {
    // An empty pair of quotes gives no parameter: later ones move down.
    EXPECT_EQ((P{"INCLUDE", "b.inc"}), Params("INCLUDE \"\" b.inc"));
    // Leading blanks inside quotes come before the parameter starts.
    EXPECT_EQ((P{"x", "a b "}), Params("x \"  a b \""));
    // A quote opened inside a word stays in it with its blanks; the closing
    // quote ends the parameter.
    EXPECT_EQ((P{"ab\"c d", "e"}), Params("ab\"c d\"e"));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ((P{"x", "a b c"}), Params("x \"a b c"));
}

TEST(Tokeniser, TextIsCutTo254Characters) {
    std::string text = "CMD " + std::string(247, 'a') + " tail";  // "tail" starts at 253
    P params = Params(text);
    ASSERT_EQ(3u, params.size());
    EXPECT_EQ("ta", params[2]);
    EXPECT_EQ(254u, std::string(Globals().text).size());
}

TEST(GetToken, MissingParametersReadAsEmpty) {
    Params("REG x");
    EXPECT_EQ("REG", GetToken(1));
    EXPECT_EQ("", GetToken(0));
    EXPECT_EQ("", GetToken(3));
    EXPECT_EQ("", GetToken(255));
    Globals().tokenQ.reset();  // the queue is gone after a command run
    EXPECT_EQ("", GetToken(1));
}

TEST(Tokeniser, PositionsAreOneBasedAndInclusive) {
    std::vector<TokenEntry> e = Tokenise(" ab  \"c d\"");
    ASSERT_EQ(2u, e.size());
    EXPECT_EQ(2, e[0].left);
    EXPECT_EQ(3, e[0].right);
    EXPECT_EQ(7, e[1].left);
    EXPECT_EQ(9, e[1].right);
}

}  // namespace
}  // namespace dove::app
