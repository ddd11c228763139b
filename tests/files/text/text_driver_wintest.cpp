// The text driver over the Win32 file functions, between real processes:
// sharing modes, the byte-0 lock of deny-none writes, LOCK with and without
// a time-out, IMPORTFILE's message box, and the refusal of a 4 GB file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/errors/error_record.h"
#include "files/object/file_statements.h"
#include "files/text/text_driver.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace dove::files {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string TempFile(const char* leaf) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    return std::string(tmp) + leaf + std::to_string(GetCurrentProcessId()) + ".txt";
}

// The file as this process holds it through the text driver.
class Held {
public:
    explicit Held(const std::string& path) {
        snprintf(name_, sizeof name_, "%s", path.c_str());
        def_ = MakeDefinition(TextDriverEntry(), name_, kNameZeroTerminated, record_,
                              sizeof record_, nullptr, kAttrCreate);
    }
    ~Held() { Destroy(&def_.pattern, 0); }
    FileObject* F() { return &def_.pattern; }

private:
    char name_[MAX_PATH];
    char record_[32];
    FileDefinition def_;
};

// Runs file_probe on path and returns what it printed.
std::string Probe(const std::string& path, const std::vector<std::string>& words) {
    std::vector<std::string> args = {path};
    args.insert(args.end(), words.begin(), words.end());
    gui::App app = gui::Start(gui::ProbeCommand("file_probe", args));
    EXPECT_EQ(0, app.WaitExit(20000)) << app.Error();
    return app.Output();
}

class TextDriverWin : public ::testing::Test {
protected:
    void SetUp() override {
        err::InstallWin32Sources();
        err::ResetThreadRecord();
        path = TempFile("dove_share_");
        Put(path, "a\r\n");
    }
    void TearDown() override { DeleteFileA(path.c_str()); }
    std::string path;
};

TEST_F(TextDriverWin, SharingModesBetweenTwoProcesses) {
    {
        Held held(path);
        Open(held.F(), 0x22);   // read and write, deny write
        ASSERT_EQ(0, err::Code());
        EXPECT_EQ("open 5\n", Probe(path, {"open", "0x42"})) << "a sharing violation reads 5";
        EXPECT_EQ("open 0\n", Probe(path, {"open", "0x40"}));
        Close(held.F());
        Open(held.F(), 0x12);   // deny all
        EXPECT_EQ("open 5\n", Probe(path, {"open", "0x40"}));
    }
    EXPECT_EQ("open 0\n", Probe(path, {"open", "0x42"}));
}

TEST_F(TextDriverWin, DenyNoneWritesTakeTheByte0Lock) {
    Held held(path);
    Open(held.F(), 0x42);
    Lock(held.F());
    ASSERT_EQ(0, err::Code());
    EXPECT_EQ("open 0\nadd 5\n", Probe(path, {"open", "0x42", "add", "B"}));
    EXPECT_EQ("a\r\n", Bytes(path));
    Unlock(held.F());
    EXPECT_EQ("open 0\nadd 0\n", Probe(path, {"open", "0x42", "add", "B"}));
    EXPECT_EQ("a\r\nB\r\n", Bytes(path));
}

int MillisecondsOf(const std::string& out, const char* prefix) {
    size_t at = out.find(prefix);
    if (at == std::string::npos) return -1;
    return std::atoi(out.c_str() + at + std::strlen(prefix));
}

TEST_F(TextDriverWin, LockWithATimeOutGivesUpWith32) {
    Held held(path);
    Open(held.F(), 0x42);
    Lock(held.F());
    std::string out = Probe(path, {"open", "0x42", "lock", "2"});
    EXPECT_NE(std::string::npos, out.find("lock 32 ")) << out;
    int ms = MillisecondsOf(out, "lock 32 ");
    EXPECT_GE(ms, 1500) << out;
    EXPECT_LT(ms, 6000) << out;
}

TEST_F(TextDriverWin, LockWithoutATimeOutWaitsForTheOtherProcess) {
    Held held(path);
    Open(held.F(), 0x42);
    Lock(held.F());
    gui::App app = gui::Start(gui::ProbeCommand("file_probe", {path, "open", "0x42", "lock"}));
    Sleep(1500);
    EXPECT_TRUE(app.Running()) << "still waiting for the lock";
    Unlock(held.F());
    EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
    std::string out = app.Output();
    EXPECT_NE(std::string::npos, out.find("lock 0 ")) << out;
    EXPECT_GE(MillisecondsOf(out, "lock 0 "), 1000) << out;
}

// Two processes append to one file at the same moment. Every line that an
// ADD reported as written must be in the file once, whatever the sharing
// mode and QUICKSCAN: an append that wrote at the end this handle remembered
// would overwrite the other's lines. A mode that denies the second open
// leaves that process adding nothing.
struct AppendRace {
    const char* mode;
    const char* quickScan;
    bool bothWrite;
};

const AppendRace kAppendRaces[] = {
    {"0x02", "QUICKSCAN=ON", true},  {"0x02", "QUICKSCAN=OFF", true},
    {"0x42", "QUICKSCAN=ON", true},  {"0x42", "QUICKSCAN=OFF", true},
    {"0x31", "QUICKSCAN=ON", true},  {"0x01", "QUICKSCAN=ON", true},
    {"0x12", "QUICKSCAN=ON", false}, {"0x22", "QUICKSCAN=OFF", false},
    {"0x32", "QUICKSCAN=ON", false},
};

// The count at the end of "addfor <code> <count>".
int AddedBy(const std::string& out) {
    size_t at = out.find("addfor ");
    if (at == std::string::npos) return -1;
    size_t blank = out.find(' ', at + 7);
    return blank == std::string::npos ? -1 : std::atoi(out.c_str() + blank + 1);
}

std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

TEST_F(TextDriverWin, TwoProcessesAppendingLoseNoLineInAnySharingMode) {
    for (const AppendRace& race : kAppendRaces) {
        SCOPED_TRACE(std::string(race.mode) + " " + race.quickScan);
        Put(path, "a\r\n");
        std::string event = "dove_append_go_" + std::to_string(GetCurrentProcessId());
        HANDLE go = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
        ASSERT_NE(nullptr, go);
        std::vector<gui::App> apps;
        for (const char* prefix : {"A", "B"}) {
            apps.push_back(gui::Start(gui::ProbeCommand(
                "file_probe", {path, "open", race.mode, "send", race.quickScan, "go", event,
                               "addfor", "700", prefix})));
        }
        for (gui::App& app : apps) {
            for (int i = 0; i < 200 && app.Output().find("send ") == std::string::npos; ++i) Sleep(100);
        }
        SetEvent(go);
        std::string outA, outB;
        ASSERT_EQ(0, apps[0].WaitExit(30000)) << apps[0].Error();
        ASSERT_EQ(0, apps[1].WaitExit(30000)) << apps[1].Error();
        CloseHandle(go);
        outA = apps[0].Output();
        outB = apps[1].Output();
        int a = AddedBy(outA), b = AddedBy(outB);
        ASSERT_GE(a, 0) << outA;
        ASSERT_GE(b, 0) << outB;
        if (race.bothWrite) {
            EXPECT_GT(a, 0) << outA;
            EXPECT_GT(b, 0) << outB;
        } else {
            EXPECT_EQ(0, std::min(a, b)) << outA << outB;
        }
        std::vector<std::string> lines = LinesOf(Bytes(path));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ("a", lines[0]);
        EXPECT_EQ(size_t(1 + a + b), lines.size()) << outA << outB;
        int nextA = 0, nextB = 0;
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            int& next = line[0] == 'A' ? nextA : nextB;
            EXPECT_EQ(std::string(1, line[0]) + std::to_string(next), line) << "line " << i;
            if (line != std::string(1, line[0]) + std::to_string(next)) break;
            ++next;
        }
        EXPECT_EQ(a, nextA);
        EXPECT_EQ(b, nextB);
    }
}

// Nothing to write, nothing refused: FLUSH of a file opened for reading.
// A blank name names no file: 45, as the system's own invalid-name error.
TEST_F(TextDriverWin, FlushOfAReadOnlyFileAndOpenOfABlankName) {
    Held held(path);
    Open(held.F(), 0x40);
    ASSERT_EQ(0, err::Code());
    Flush(held.F());
    EXPECT_EQ(0, err::Code()) << err::Text();
    Close(held.F());
    Open(held.F(), 0x42);
    Flush(held.F());
    EXPECT_EQ(0, err::Code()) << err::Text();
    Close(held.F());
    for (const char* blank : {"", "   "}) {
        Held unnamed(blank);
        Open(unnamed.F(), 0x42);
        EXPECT_EQ(45, err::Code()) << "'" << blank << "': " << err::Text();
    }
}

TEST_F(TextDriverWin, ImportFileShowsTheSystemBoxWhenClosed) {
    gui::App app = gui::Start(gui::ProbeCommand("file_probe", {path, "send", "IMPORTFILE"}));
    HWND box = app.WaitWindow("#32770", 10000);
    ASSERT_NE(nullptr, box) << app.Error();
    gui::Dialog d = gui::Read(box);
    EXPECT_EQ("File Import", d.caption);
    ASSERT_FALSE(d.staticTexts.empty()) << d.Describe();
    EXPECT_NE(std::string::npos, d.Describe().find("File Driver does not support File Import"))
        << d.Describe();
    gui::Screenshot(box, "text_driver_import_box");
    ASSERT_TRUE(gui::Press(box, IDOK));
    EXPECT_EQ(0, app.WaitExit(10000)) << app.Error();
    EXPECT_EQ("send 37\n", app.Output());
}

TEST_F(TextDriverWin, AFileOf4GBIsRefusedAndNothingIsWritten) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER four;
    four.QuadPart = 0x100000000LL;
    ASSERT_TRUE(SetFilePointerEx(h, four, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
    Held held(path);
    Open(held.F(), 0x42);
    EXPECT_EQ(90, err::Code());
    EXPECT_EQ("4GB", err::FileErrorCode());
    Add(held.F());
    EXPECT_EQ(37, err::Code());
    ide_test::WinIniIde ide(ide_test::Plain, "C:\\TV6\\", ide_test::StandInPath());
    gui::App app = gui::Start(gui::ExeCommand({"INCLUDE", path, "x.tpl"}));
    EXPECT_EQ(0, app.WaitExit(20000)) << app.Error();
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(1u, data.nFileSizeHigh);
    EXPECT_EQ(0u, data.nFileSizeLow);
}

}  // namespace
}  // namespace dove::files
