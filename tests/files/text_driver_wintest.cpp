// The text driver over the Win32 file functions, between real processes:
// sharing modes, the byte-0 lock of deny-none writes, LOCK with and without
// a time-out, IMPORTFILE's message box, and the refusal of a 4 GB file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "files/error_record.h"
#include "files/file_statements.h"
#include "files/text_driver.h"
#include "support/gui_harness.h"

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
    gui::App app = gui::Start(gui::ExeCommand({"INCLUDE", path, "x.tpl"}));
    EXPECT_EQ(0, app.WaitExit(20000)) << app.Error();
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(1u, data.nFileSizeHigh);
    EXPECT_EQ(0u, data.nFileSizeLow);
}

}  // namespace
}  // namespace dove::files
