// The error-text generator, run as the build runs it. The string table it
// writes is put through windres when the host has it, and the strings are
// read back from the compiled resource.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kTool = std::string(DOVE_NATIVE_TESTS_DIR) + "/../tools/gen_error_texts";

struct GenResult {
    int exitCode = -1;
    std::string rc, inc, err;
    bool rcExists = false, incExists = false;
};

std::string Slurp(const std::string& path, bool* exists = nullptr) {
    std::ifstream in(path, std::ios::binary);
    if (exists) *exists = bool(in);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

GenResult Generate(const std::string& input) {
    std::string dir = testing::TempDir() + "gen_error_texts_" + std::to_string(getpid());
    std::string in = dir + "_in.txt", rc = dir + ".rc", inc = dir + ".inc", err = dir + ".err";
    Spit(in, input);
    std::remove(rc.c_str());
    std::remove(inc.c_str());
    std::string cmd = kTool + " " + in + " " + rc + " " + inc + " 2>" + err;
    GenResult run;
    int status = std::system(cmd.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.rc = Slurp(rc, &run.rcExists);
    run.inc = Slurp(inc, &run.incExists);
    run.err = Slurp(err);
    return run;
}

// The input, as bytes: quotes, backslashes, a tab, code-page-1252 letters and
// a trailing blank, all of which must arrive unchanged.
const std::string kAwkward = "a\"b \\ c\\\\d \\\"e\\\" \tz \xE9\xFC end ";

TEST(GenErrorTexts, WritesBothTablesSortedAndEscaped) {
    GenResult run = Generate("# comment\n\n605\t\"DDE transaction timed out\"\r\n"
                       "2 \"" + kAwkward + "\"\n"
                       "  350   \"Not Supported \"  \n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.rc.find("#pragma code_page(1252)\nSTRINGTABLE\nBEGIN\n"
                          "    2, \"a\"\"b \\\\ c\\\\\\\\d \\\\\"\"e\\\\\"\" \\tz \xE9\xFC end \"\n"
                          "    350, \"Not Supported \"\n"
                          "    605, \"DDE transaction timed out\"\nEND\n"),
              std::string::npos)
        << run.rc;
    EXPECT_NE(run.inc.find("\n{2, \"a\\\"b \\\\ c\\\\\\\\d \\\\\\\"e\\\\\\\" \\011z \\351\\374 end \"},\n"
                           "{350, \"Not Supported \"},\n"
                           "{605, \"DDE transaction timed out\"},\n"),
              std::string::npos)
        << run.inc;
}

TEST(GenErrorTexts, RejectsBadInputAndLeavesNoOutput) {
    struct Row {
        std::string input;
        std::string reason;
    } rows[] = {
        {"2 \"a\"\n2 \"b\"\n", ":2: number 2 given twice"},
        {"x \"a\"\n", ":1: expected a number"},
        {"\n7 a\n", ":2: expected white space and a quoted text"},
        {"7\"a\"\n", ":1: expected white space and a quoted text"},
        {"7 \"a\n", ":1: expected white space and a quoted text"},
        {"65536 \"a\"\n", ":1: number outside 0..65535"},
        {"7 \"a\" x\n", ":1: characters after the closing quote"},
        {"7 \"" + std::string(256, 'x') + "\"\n", ":1: text longer than 255"},
        {"7 \"a\x01\"\n", ":1: control character"},
        {"# nothing\n", ": no texts"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.input);
        GenResult run = Generate(row.input);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(row.reason), std::string::npos) << run.err;
        EXPECT_FALSE(run.rcExists || run.incExists);
    }
}

// Reads the first string table block of a .res file: returns the 16 strings
// of the block that holds ids 0..15 (type 6, name 1).
std::vector<std::string> FirstStringBlock(const std::string& res) {
    std::vector<std::string> strings;
    size_t pos = 0;
    auto u32 = [&](size_t at) {
        return uint32_t(uint8_t(res[at])) | uint32_t(uint8_t(res[at + 1])) << 8 |
               uint32_t(uint8_t(res[at + 2])) << 16 | uint32_t(uint8_t(res[at + 3])) << 24;
    };
    auto u16 = [&](size_t at) { return uint16_t(uint8_t(res[at]) | uint8_t(res[at + 1]) << 8); };
    while (pos + 32 <= res.size()) {
        uint32_t dataSize = u32(pos), headerSize = u32(pos + 4);
        bool isBlock1 = u16(pos + 8) == 0xFFFF && u16(pos + 10) == 6 && u16(pos + 12) == 0xFFFF &&
                        u16(pos + 14) == 1;
        if (isBlock1) {
            size_t at = pos + headerSize, end = at + dataSize;
            while (at + 2 <= end) {
                uint16_t len = u16(at);
                at += 2;
                std::string s;
                for (uint16_t i = 0; i < len; ++i, at += 2) s += char(u16(at));   // Latin-1 range only
                strings.push_back(s);
            }
            return strings;
        }
        pos += (headerSize + dataSize + 3) & ~size_t(3);
    }
    return strings;
}

TEST(GenErrorTexts, WindresReadsTheTextsBack) {
    if (std::system("x86_64-w64-mingw32-windres --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no windres on this host";
    GenResult run = Generate("2 \"" + kAwkward + "\"\n3 \"Not Supported \"\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string base = testing::TempDir() + "gen_error_texts_windres_" + std::to_string(getpid());
    Spit(base + ".rc", run.rc);
    std::string cmd = "x86_64-w64-mingw32-windres -i " + base + ".rc -O res -o " + base + ".res";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << run.rc;
    std::vector<std::string> strings = FirstStringBlock(Slurp(base + ".res"));
    ASSERT_EQ(strings.size(), 16u);
    EXPECT_EQ(strings[2], kAwkward);
    EXPECT_EQ(strings[3], "Not Supported ");
}

}  // namespace
