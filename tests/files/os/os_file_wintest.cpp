// File access over the real Win32 file functions under Wine: sharing between
// two real processes (os_file_probe is the second one), byte-range locks,
// 64-bit sizes, DOS times, the path forms, copy and rename into a folder and
// OEM file names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/errors/error_record.h"
#include "files/os/os_file.h"
#include "files/os/path.h"
#include "runtime/strings/value_stack.h"
#include "support/gui_harness.h"

namespace os = dove::os;
namespace path = dove::path;

namespace {

class OsFileWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(sizeof tmp, tmp);
        dir_ = std::string(tmp) + "dove_os_file_" + std::to_string(GetCurrentProcessId());
        RemoveTree(dir_);
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr)) << dir_;
        GetCurrentDirectoryA(sizeof tmp, tmp);
        cwd_ = tmp;
    }
    void TearDown() override {
        SetFileApisToANSI();
        SetCurrentDirectoryA(cwd_.c_str());
        RemoveTree(dir_);
    }

    std::string In(const std::string& name) const { return dir_ + "\\" + name; }

    void WriteFile(const std::string& name, const std::string& bytes) {
        HANDLE h = CreateFileA(In(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
        DWORD n = 0;
        ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &n, nullptr);
        CloseHandle(h);
    }

    std::string ReadWhole(const std::string& full) {
        HANDLE h = CreateFileA(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<missing>";
        char buf[4096];
        DWORD n = 0;
        ReadFile(h, buf, sizeof buf, &n, nullptr);
        CloseHandle(h);
        return std::string(buf, n);
    }

    static void RemoveTree(const std::string& d) {
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((d + "\\*").c_str(), &f);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = f.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = d + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
                else DeleteFileA(full.c_str());
            } while (FindNextFileA(h, &f));
            FindClose(h);
        }
        RemoveDirectoryA(d.c_str());
    }

    static int Probe(const std::vector<std::string>& args) {
        gui::App app = gui::Start(gui::ProbeCommand("os_file_probe", args), {}, false);
        EXPECT_TRUE(app.Started()) << app.Error();
        return app.WaitExit(10000);
    }

    std::string dir_, cwd_;
};

TEST_F(OsFileWin32, SharingModesBetweenTwoProcesses) {
    WriteFile("shared.txt", "line\r\n");
    const std::string file = In("shared.txt");
    struct Row {
        uint32_t first, second;
        int expected;
    };
    const Row rows[] = {
        {0x20, 0x40, 0},  // deny write, a reader that shares all
        {0x20, 0x42, 5},  // deny write, a writer: 5, never 32
        {0x42, 0x42, 0},  // deny none twice, as every station of a shared file
        {0x42, 0x22, 5},  // a second opener may not deny write to a writer
        {0x40, 0x22, 0},  // ... but may to a reader
        {0x12, 0x40, 5},  // deny all
        {0x30, 0x41, 0},  // deny read lets a writer in
        {0x30, 0x40, 5},  // ... and keeps a reader out
        {0x70, 0x40, 5},  // 112: no sharing
        {0x50, 0x40, 5},  // 80: no sharing
        {0x02, 0x40, 0},  // sharing 0 shares all
        {0x03, 0x20, 0},  // access 3 reads only
        {0x02, 0x20, 5},
        {0x01, 0x20, 5},  // write only
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "held with 0x" << std::hex << r.first << ", opened with 0x" << r.second);
        os::Handle h;
        ASSERT_EQ(os::Open(file, r.first, &h), 0);
        os::File held(h);
        EXPECT_EQ(Probe({"open", std::to_string(r.second), file}), r.expected);
    }
    EXPECT_EQ(Probe({"open", "66", file}), 0) << "nothing holds the file any more";
}

TEST_F(OsFileWin32, OpenAndCreateErrorsAndLastErrorCleared) {
    os::Handle h;
    SetLastError(1234);
    EXPECT_EQ(os::Open(In("missing.txt"), 0x42, &h), 2);
    EXPECT_EQ(h, os::kNoHandle);
    EXPECT_EQ(GetLastError(), 0u) << "the number is reported once, through the result";
    EXPECT_EQ(os::Open(In("no folder\\a.txt"), 0x42, &h), 3);
    EXPECT_EQ(os::Create(In("no folder\\a.txt"), os::kCreateNormal, &h), 3);
    EXPECT_EQ(os::Open(In("bad<name>.txt"), 0x42, &h), 45);
    EXPECT_EQ(os::Open(dir_, 0x40, &h), 5) << "a folder";

    // Creating over an existing file leaves it empty.
    WriteFile("full.txt", "some bytes");
    ASSERT_EQ(os::Create(In("full.txt"), os::kCreateNormal, &h), 0);
    os::Close(h);
    EXPECT_EQ(ReadWhole(In("full.txt")), "");

    // Read-only attribute code: the file is read-only and the handle only reads.
    ASSERT_EQ(os::Create(In("ro.txt"), os::kCreateReadOnly, &h), 0);
    uint32_t n = 99;
    EXPECT_EQ(os::Write(h, "x", 1, &n), 5);
    EXPECT_EQ(n, 0u);
    os::Close(h);
    EXPECT_EQ(os::Attributes(In("ro.txt")) & os::kAttrReadOnly, os::kAttrReadOnly);
    EXPECT_EQ(os::Attributes(In("none.txt")), -1);
    EXPECT_TRUE(os::IsDirectory(dir_));
}

TEST_F(OsFileWin32, ReadWriteSeekAndTruncate) {
    os::Handle h;
    ASSERT_EQ(os::Create(In("rw.txt"), os::kCreateNormal, &h), 0);
    os::File f(h);
    uint32_t n = 0, at = 0;
    ASSERT_EQ(os::Write(h, "abcdef", 6, &n), 0);
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(os::Seek(h, 2, os::SeekFrom::Begin, &at), 0);
    EXPECT_EQ(at, 2u);
    char buf[8] = {};
    EXPECT_EQ(os::Read(h, buf, 8, &n), 0);
    EXPECT_EQ(std::string(buf, n), "cdef") << "a short read is no error";
    EXPECT_EQ(os::Read(h, buf, 8, &n), 0);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(os::Seek(h, 3, os::SeekFrom::Begin), 0);
    EXPECT_EQ(os::SetEnd(h), 0);
    EXPECT_EQ(os::Position(h, &at), 0);
    EXPECT_EQ(at, 3u);
    uint64_t size = 0;
    EXPECT_EQ(os::Size(h, &size), 0);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(os::Flush(h), 0);
    f.Reset();
    EXPECT_EQ(ReadWhole(In("rw.txt")), "abc");
}

TEST_F(OsFileWin32, SizeBeyondFourGiBIsReportedWhole) {
    os::Handle h;
    ASSERT_EQ(os::Create(In("sparse.bin"), os::kCreateNormal, &h), 0);
    os::File f(h);
    LONG high = 1;
    SetFilePointer(HANDLE(h), 10, &high, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(HANDLE(h)));
    uint64_t size = 0;
    ASSERT_EQ(os::Size(h, &size), 0);
    EXPECT_EQ(size, 0x10000000Aull);
    EXPECT_FALSE(os::FitsIn32(size));
    EXPECT_TRUE(os::FitsIn32(0xFFFFFFFFull));
}

TEST_F(OsFileWin32, ByteRangeLockHeldByAnotherProcess) {
    WriteFile("locked.txt", "x\r\n");
    const std::string file = In("locked.txt");
    os::Handle h;
    ASSERT_EQ(os::Open(file, 0x42, &h), 0);
    os::File f(h);
    ASSERT_EQ(os::Lock(h, 0, 1), 0);
    const int other = Probe({"trylock", file});
    EXPECT_EQ(other, os::kErrLockViolation);
    EXPECT_TRUE(os::IsHeldByAnother(other));
    ASSERT_EQ(os::Unlock(h, 0, 1), 0);
    EXPECT_EQ(Probe({"trylock", file}), 0);
    EXPECT_NE(os::Unlock(h, 0, 1), 0) << "not locked";
}

TEST_F(OsFileWin32, LockRetriedUntilTheOtherProcessLetsGo) {
    WriteFile("timed.txt", "x\r\n");
    const std::string file = In("timed.txt");
    gui::App holder = gui::Start(gui::ProbeCommand("os_file_probe", {"lock", file, "1500"}), {}, false);
    ASSERT_TRUE(holder.Started()) << holder.Error();
    for (int i = 0; i < 100 && !os::Exists(file + ".locked"); ++i) Sleep(50);
    ASSERT_TRUE(os::Exists(file + ".locked"));

    os::Handle h;
    ASSERT_EQ(os::Open(file, 0x42, &h), 0);
    os::File f(h);
    const DWORD start = GetTickCount();
    int result = os::Lock(h, 0, 1);
    EXPECT_EQ(result, os::kErrLockViolation);
    while (result != 0 && GetTickCount() - start < 8000) {
        Sleep(100);
        result = os::Lock(h, 0, 1);
    }
    EXPECT_EQ(result, 0);
    EXPECT_GE(GetTickCount() - start, 800u) << "the lock was free too early";
    os::Unlock(h, 0, 1);
    EXPECT_EQ(holder.WaitExit(5000), 0);
}

TEST_F(OsFileWin32, DosDateAndTimeAsLocalTime) {
    os::Handle h;
    ASSERT_EQ(os::Create(In("dated.txt"), os::kCreateNormal, &h), 0);
    os::File f(h);
    os::DosFields when;
    when.year = 2024, when.month = 2, when.day = 29, when.hour = 13, when.minute = 45, when.second = 30;
    const uint32_t packed = os::PackDosDateTime(when);
    ASSERT_EQ(os::SetDosTime(h, packed), 0);
    uint32_t back = 0;
    ASSERT_EQ(os::GetDosTime(h, &back), 0);
    EXPECT_EQ(back, packed);

    FILETIME created, accessed, written, local;
    ASSERT_TRUE(GetFileTime(HANDLE(h), &created, &accessed, &written));
    EXPECT_EQ(CompareFileTime(&created, &written), 0);
    EXPECT_EQ(CompareFileTime(&accessed, &written), 0);
    FileTimeToLocalFileTime(&written, &local);
    SYSTEMTIME st;
    FileTimeToSystemTime(&local, &st);
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wHour, 13) << "kept as local time";
    EXPECT_EQ(st.wSecond, 30);
}

TEST_F(OsFileWin32, LongPathExpandsEachComponent) {
    ASSERT_TRUE(CreateDirectoryA(In("A Long Folder Name").c_str(), nullptr));
    WriteFile("A Long Folder Name\\Some Long File.text", "x");
    const std::string full = In("A Long Folder Name\\Some Long File.text");
    char shortForm[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(full.c_str(), shortForm, sizeof shortForm), 0u);
    std::string longDir;
    ASSERT_EQ(path::LongPath(dir_, &longDir), 0);

    std::string out;
    EXPECT_EQ(path::LongPath(shortForm, &out), 0);
    EXPECT_EQ(out, longDir + "\\A Long Folder Name\\Some Long File.text");
    EXPECT_EQ(path::LongPath(std::string(shortForm) + "   ", &out), 0) << "trailing blanks";
    EXPECT_EQ(out, longDir + "\\A Long Folder Name\\Some Long File.text");
    EXPECT_EQ(path::LongPath(In("a long folder name\\missing\\x.txt"), &out), 0);
    EXPECT_EQ(out, longDir + "\\A Long Folder Name\\missing\\x.txt") << "the rest is kept";
    EXPECT_EQ(path::LongPath(In("*.text"), &out), 0);
    EXPECT_EQ(out, longDir + "\\*.text") << "a pattern is not a name";
    EXPECT_EQ(path::LongPath("\\\\server\\share\\dir\\x.txt", &out), 0);
    EXPECT_EQ(out, "\\\\server\\share\\dir\\x.txt");

    ASSERT_TRUE(SetCurrentDirectoryA(In("A Long Folder Name").c_str()));
    EXPECT_EQ(path::LongPath("", &out), 0);
    EXPECT_EQ(out, longDir + "\\A Long Folder Name") << "empty: the current directory";
    EXPECT_EQ(path::LongPath("some long file.text", &out), 0);
    EXPECT_EQ(out, longDir + "\\A Long Folder Name\\Some Long File.text");
}

TEST_F(OsFileWin32, ShortPathForms) {
    WriteFile("A Long File Name.text", "x");
    const std::string full = In("A Long File Name.text");
    char expected[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(full.c_str(), expected, sizeof expected), 0u);
    EXPECT_EQ(path::ShortPath(full), expected);
    EXPECT_EQ(path::ShortPath(In("missing file name.text")), In("missing file name.text"));
    EXPECT_FALSE(os::Exists(In("missing file name.text"))) << "nothing is created";
    EXPECT_EQ(path::ShortPath("C:"), "C:\\");
    EXPECT_EQ(path::ShortPath("c:  "), "c:\\");

    // Through the value stack, as procedures call it.
    dove::vstack::PushText("C:");
    path::SHORTPATH();
    EXPECT_EQ(dove::vstack::PopString(), "C:\\");
    dove::vstack::PushText(In("missing").c_str());
    path::LONGPATH();
    EXPECT_EQ(dove::vstack::PopString(), In("missing"));
}

TEST_F(OsFileWin32, DataFileNamesAndOtherDrives) {
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
    std::string out;
    EXPECT_EQ(path::ResolveDataFileName("data.txt  ", &out), 0);
    EXPECT_EQ(out, dir_ + "\\data.txt");

    path::SetDataDirectory("C:\\windows");
    EXPECT_EQ(path::ResolveDataFileName("data.txt", &out), 0);
    EXPECT_EQ(out, "C:\\windows\\data.txt");
    EXPECT_EQ(path::ResolveDataFileName("\\rooted.txt", &out), 0);
    EXPECT_EQ(out.substr(1), ":\\rooted.txt") << "a rooted name stays on the current drive";
    path::SetDataDirectory("");

    const std::string longest = dir_ + "\\" + std::string(259 - dir_.size() - 1, 'a');
    EXPECT_EQ(path::ResolveDataFileName(longest, &out), 0);
    EXPECT_EQ(out, longest);
    EXPECT_EQ(path::ResolveDataFileName(longest + "a", &out), 45);
    const std::string relative(259 - dir_.size(), 'a');   // completes to 260 characters
    EXPECT_EQ(path::ResolveDataFileName(relative, &out), 45) << "too long once completed";
    dove::vstack::PushCopy(relative.data(), relative.size());
    path::LONGPATH();
    EXPECT_EQ(dove::err::Code(), 45) << "not 300 + 206";
    EXPECT_EQ(dove::vstack::PopString(), relative);

    // A relative name on another drive: that drive's current directory,
    // and ours is the same afterwards.
    ASSERT_TRUE(SetEnvironmentVariableA("=C:", "C:\\windows"));
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\"));
    EXPECT_EQ(path::ResolveDataFileName("C:x.txt", &out), 0);
    EXPECT_EQ(out, "C:\\windows\\x.txt");
    char now[MAX_PATH];
    GetCurrentDirectoryA(sizeof now, now);
    EXPECT_STREQ(now, "Z:\\");
}

TEST_F(OsFileWin32, CopyAndRenameIntoAFolder) {
    ASSERT_TRUE(CreateDirectoryA(In("target").c_str(), nullptr));
    WriteFile("one.txt", "first\r\n");
    EXPECT_EQ(path::CopyDataFile(In("one.txt"), In("target")), 0);
    EXPECT_EQ(ReadWhole(In("target\\one.txt")), "first\r\n");
    WriteFile("one.txt", "second\r\n");
    EXPECT_EQ(path::CopyDataFile(In("one.txt"), In("target\\")), 0) << "overwrites";
    EXPECT_EQ(ReadWhole(In("target\\one.txt")), "second\r\n");
    EXPECT_EQ(path::CopyDataFile(In("one.txt"), In("copy.txt")), 0);
    EXPECT_EQ(ReadWhole(In("copy.txt")), "second\r\n");
    EXPECT_EQ(path::CopyDataFile(In("nothing.txt"), In("target")), 2);

    EXPECT_EQ(path::RenameDataFile(In("one.txt"), In("target")), 5) << "target\\one.txt exists";
    EXPECT_EQ(ReadWhole(In("one.txt")), "second\r\n");
    ASSERT_TRUE(DeleteFileA(In("target\\one.txt").c_str()));
    EXPECT_EQ(path::RenameDataFile(In("one.txt"), In("target")), 0);
    EXPECT_EQ(ReadWhole(In("target\\one.txt")), "second\r\n");
    EXPECT_FALSE(os::Exists(In("one.txt")));
    EXPECT_EQ(path::RenameDataFile(In("one.txt"), In("two.txt")), 2);
    EXPECT_EQ(path::RenameDataFile(In("no folder\\one.txt"), In("two.txt")), 3);
    EXPECT_EQ(path::RenameDataFile(std::string(260, 'a'), In("two.txt")), 45);
    EXPECT_EQ(path::CopyDataFile(In("copy.txt"), In("target\\") + std::string(250, 'b')), 45);
}

TEST_F(OsFileWin32, OemFileNamesWhenTheFileFunctionsRunInOemMode) {
    // 0xE9 is e-acute in the ANSI code page; in OEM mode the system would read
    // that byte as another letter unless the name is converted.
    const std::string ansiName = "caf\xE9.txt";
    SetFileApisToOEM();
    os::Handle h;
    ASSERT_EQ(os::Create(In(ansiName), os::kCreateNormal, &h), 0);
    os::Close(h);
    EXPECT_TRUE(os::Exists(In(ansiName)));
    std::string out;
    EXPECT_EQ(path::LongPath(In("CAF\xC9.TXT"), &out), 0);
    EXPECT_EQ(out.substr(out.size() - ansiName.size()), ansiName) << "names come back in ANSI";
    SetFileApisToANSI();
    const std::wstring wide = L"caf\u00e9.txt";
    std::wstring wideDir(dir_.begin(), dir_.end());
    EXPECT_NE(GetFileAttributesW((wideDir + L"\\" + wide).c_str()), INVALID_FILE_ATTRIBUTES)
        << "the file on disk carries the letter the program meant";
    EXPECT_EQ(os::Delete(In(ansiName)), 0);
}

}  // namespace
