// The version file's preparation and Cancel over any file content: after
// commenting out and restoring, the file keeps its size, and every line
// break and end-of-data mark stays where it was with no new one among the
// old content. And OK over any content: afterwards exactly one line that
// can hold an entry is active, the new entry, and it is the last one read
// and the one VERSION /SHOW finds; the append finds the file's end alike
// whether it takes it from preparing or reads the file again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/worklog/worklog_file.h"
#include "runtime/errors/error_record.h"
#include "runtime/strings/value_stack.h"

using namespace dove::app::worklog;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool IsMark(char c) { return c == '\r' || c == '\n' || c == 26; }

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The lines as a reader finds them, told apart here without the driver: a
// line ends at LF (a CR before it belongs to the ending) or at an
// end-of-data mark; a line that begins with the mark ends the data.
std::vector<std::string> ReadLines(const std::string& f) {
    std::vector<std::string> lines;
    size_t i = 0;
    while (i < f.size() && f[i] != 26) {
        size_t j = f.find_first_of(std::string("\n\x1A", 2), i);
        if (j == std::string::npos) j = f.size();
        std::string text = f.substr(i, j - i);
        bool cut = j < f.size() ? f[j] == '\n' : true;
        if (cut && !text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(text);
        i = j + 1;
    }
    return lines;
}

bool CanHoldEntry(const std::string& text) {
    if (text.size() < 8 || text.size() > kRecordSize) return false;
    if (text.find('\r') != std::string::npos) return false;
    return text.find_first_not_of(" \t") != std::string::npos;
}

// Prepares the file as the window does and appends a new entry with the
// build 7777 as OK does. With `reopen` the file is closed and opened again
// in between, so that the append reads the file afresh instead of taking
// where the data ends from what preparing found.
bool PrepareAndAppend(const std::string& path, bool reopen) {
    char name[kFileNameSize];
    std::snprintf(name, sizeof name, "%s", path.c_str());
    VersionRecord record;
    VersionFile file(name, &record);
    if (!file.Open()) std::abort();
    file.CommentOutAll();
    if (reopen) {
        file.Close();
        if (!file.Open()) std::abort();
    }
    record.Clear();
    record.Set(kVer, "1.60");
    record.Set(kBuild, "7777");
    FillEntry(&record, 4, 2, true);
    bool appended = file.Append();
    file.Close();
    return appended;
}

// What VERSION /SHOW finds: the entry just appended.
void TheActiveEntryIsTheNewOne(const std::string& path) {
    char name[kFileNameSize];
    std::snprintf(name, sizeof name, "%s", path.c_str());
    VersionRecord record;
    VersionFile file(name, &record);
    if (!file.OpenToLook() || !file.FindActiveEntry()) std::abort();
    if (record.Get(kBuild) != "7777") std::abort();
}

// OK, and what the next run will read.
void OkLeavesOneActiveEntry(const std::string& path, const std::string& before) {
    WriteAll(path, before);
    bool appended = PrepareAndAppend(path, false);
    std::string after = ReadAll(path);
    WriteAll(path, before);
    if (PrepareAndAppend(path, true) != appended || ReadAll(path) != after) std::abort();
    if (!appended) {
        // Refused only for text hidden behind a mark, and then untouched
        // but for the labels of the lines it prepared.
        if (after.size() != before.size()) std::abort();
        return;
    }
    TheActiveEntryIsTheNewOne(path);
    std::vector<std::string> lines = ReadLines(after);
    std::string last;
    for (const std::string& line : lines) {
        if (!CanHoldEntry(line)) continue;
        if (!last.empty() && last[0] != '!') std::abort();   // an earlier entry left active
        last = line;
    }
    if (last.size() < 38 || last.compare(0, 8, "Version ") != 0) std::abort();
    if (last.compare(34, 4, "7777") != 0) std::abort();
}

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
    OkLeavesOneActiveEntry(path, before);
    return 0;
}
