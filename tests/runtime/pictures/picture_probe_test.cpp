// The picture probe as other tests drive it: commands on standard input,
// one result line for each.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string RunProbe(const std::string& input) {
    const std::string in = ::testing::TempDir() + "picture_probe_input.txt";
    std::FILE* f = std::fopen(in.c_str(), "wb");
    if (f == nullptr) return "cannot write " + in;
    std::fputs(input.c_str(), f);
    std::fclose(f);
    const std::string command = std::string(DOVE_NATIVE_TESTS_DIR) + "/picture_probe < " + in;
    std::FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return "cannot start " + command;
    std::string out;
    char buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, got);
    const int status = pclose(p);
    std::remove(in.c_str());
    return status == 0 ? out : out + "exit status " + std::to_string(status);
}

}  // namespace

TEST(PictureProbeTest, EveryCommandGivesOneLine) {
    const std::string input =
        "format\t7\tn04\n"
        "format\t1.6\tn5.2\n"
        "format\t82523\td1\n"
        "format\t5\tbad\n"
        "deformat\t 1.60\tn5.2\n"
        "deformat\tabc\tn5.2\n"
        "deformat\t\ts120\n"
        "deformat\t 905\tt2\n"
        "date\t1801\t1\t1\n"
        "date\t1900\t2\t29\n"
        "day\t2994626\n"
        "day\t3\n"
        "time\t23\t59\t59\t99\r\n"
        "time\t24\t0\t0\t0\n"
        "nonsense\n";
    const std::string expected =
        "[0007]\n"
        "[ 1.60]\n"
        "[12/06/26]\n"
        "[]\n"
        "1.6\n"
        "invalid\n"
        "\n"
        "3270001\n"
        "4\n"
        "-1\n"
        "9999 12 31\n"
        "invalid\n"
        "8640000\n"
        "-1\n"
        "error: nonsense\n";
    EXPECT_EQ(expected, RunProbe(input));
}
