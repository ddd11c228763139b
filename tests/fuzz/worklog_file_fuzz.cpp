// The version file's preparation and Cancel over any file content: after
// commenting out and restoring, the file keeps its size, and every line
// break and end-of-data mark stays where it was with no new one among the
// old content.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/worklog_file.h"
#include "files/error_record.h"
#include "runtime/value_stack.h"

using namespace dove::app::worklog;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool IsMark(char c) { return c == '\r' || c == '\n' || c == 26; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string path = "/tmp/dove_worklog_fuzz_" + std::to_string(getpid()) + ".kvi";
    std::string before(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(before.data(), static_cast<std::streamsize>(before.size()));
    }
    dove::err::ResetThreadRecord();
    dove::vstack::Reset();
    char name[kFileNameSize];
    std::snprintf(name, sizeof name, "%s", path.c_str());
    VersionRecord record;
    {
        VersionFile file(name, &record);
        if (!file.Open()) std::abort();
        PreparedFile p = file.CommentOutAll();
        if (p.hadLines) file.RestoreLine(p.lastPosition);
        file.Close();
    }
    std::string after = ReadAll(path);
    if (after.size() != before.size()) std::abort();
    for (size_t i = 0; i < before.size(); ++i) {
        if (IsMark(before[i]) != IsMark(after[i])) std::abort();
        if (IsMark(before[i]) && before[i] != after[i]) std::abort();
    }
    return 0;
}
