// The reading rules of the text driver on golden files: each input file in
// text_golden/ is read with SET and NEXT to the end, and every record, its
// position and its size are compared with the expected listing byte for
// byte. DOVE_UPDATE_GOLDEN=1 rewrites the listings (review them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "files/object/file_statements.h"
#include "text_file_fixture.h"

namespace dove::files::testing {
namespace {

struct GoldenCase {
    const char* input;      // text_golden/<input>.txt
    const char* expected;   // text_golden/<expected>.expected
    uint32_t recordLength;
    const char* driverString;
    int32_t mode;
};

const GoldenCase kCases[] = {
    {"crlf", "crlf", 16, "", 0x42},
    {"crlf", "crlf_quickscan", 16, "", 0x22},
    {"lf_only", "lf_only", 16, "", 0x42},
    {"lf_only", "lf_only_eor10", 16, "/ENDOFRECORD=1,10", 0x42},
    {"cr_only", "cr_only", 16, "", 0x42},
    {"cr_only", "cr_only_eor13", 16, "/ENDOFRECORD=1,13", 0x42},
    {"no_final_delimiter", "no_final_delimiter", 16, "", 0x42},
    {"no_final_delimiter", "no_final_delimiter_ctrlz_off", 16, "/CTRLZISEOF=OFF", 0x42},
    {"ctrlz_middle", "ctrlz_middle", 16, "", 0x42},
    {"ctrlz_middle", "ctrlz_middle_off", 16, "/CTRLZISEOF=OFF", 0x42},
    {"ctrlz_end", "ctrlz_end", 16, "", 0x22},
    {"long_lines", "long_lines", 8, "", 0x42},
    {"long_lines", "long_lines_quickscan", 8, "/QUICKSCAN=ON", 0x42},
    {"tabs", "tabs_8", 16, "", 0x42},
    {"tabs", "tabs_0", 16, "/TAB=0", 0x42},
    {"tabs", "tabs_keep", 16, "/TAB=-100", 0x42},
    {"tabs", "tabs_minus3", 16, "/TAB=-3", 0x42},
    {"tabs", "tabs_4", 16, "/TAB=4", 0x42},
    {"tabs", "tabs_8_short_record", 6, "", 0x42},
    {"empty", "empty", 16, "", 0x42},
    {"semicolons", "semicolons", 16, "/ENDOFRECORD=1,59", 0x42},
    {"three_byte_delimiter", "three_byte_delimiter", 16, "/ENDOFRECORD=3,60,61,62", 0x42},
    {"crlf", "crlf_tiny_buffer", 16, "/FILEBUFFERS=0", 0x42},
};

std::string GoldenDir() { return std::string(DOVE_SOURCE_DIR) + "/tests/files/text/text_golden/"; }

// Control bytes are shown so that the listing stays readable text.
std::string Shown(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == 26) out += "^Z";
        else out += c;
    }
    return out;
}

std::string Listing(TempDir& dir, const GoldenCase& c) {
    std::string path = dir.File(std::string(c.input) + ".txt");
    WriteBytes(path, ReadBytes(GoldenDir() + c.input + ".txt"));
    TextFile file(path, c.recordLength, kAttrCreate, c.driverString);
    Open(file.F(), c.mode);
    std::string out = "open " + std::to_string(err::Code()) + "\n";
    Set(file.F());
    for (int guard = 0; guard < 100; ++guard) {
        Next(file.F());
        if (err::Code()) break;
        out += "[" + Shown(file.Record()) + "] at " + std::to_string(Pointer(file.F()));
        out += " next eof " + std::to_string(Eof(file.F())) + "\n";
    }
    out += "end " + std::to_string(err::Code()) + "\n";
    Close(file.F());
    return out;
}

TEST(TextReadGolden, RecordsMatchTheListings) {
    bool update = std::getenv("DOVE_UPDATE_GOLDEN") != nullptr;
    for (const GoldenCase& c : kCases) {
        SCOPED_TRACE(c.expected);
        err::ResetThreadRecord();
        TempDir dir;
        std::string got = Listing(dir, c);
        std::string expectedPath = GoldenDir() + c.expected + ".expected";
        if (update) WriteBytes(expectedPath, got);
        EXPECT_EQ(ReadBytes(expectedPath), got);
    }
}

}  // namespace
}  // namespace dove::files::testing
