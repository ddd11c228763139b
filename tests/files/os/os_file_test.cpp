// The file interface over POSIX, on real files in a temporary folder, and the
// rules every platform shares (open mode, open errors, DOS date and time).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "files/os/os_file.h"

namespace os = dove::os;

namespace {

TEST(OsFileRules, OpenModeAsksForAccessAndSharing) {
    struct Row {
        uint32_t mode;
        bool read, write, shareRead, shareWrite;
    };
    const Row rows[] = {
        {0x00, true, false, true, true},   {0x01, false, true, true, true},
        {0x02, true, true, true, true},    {0x03, true, false, true, true},
        {0x12, true, true, false, false},  {0x22, true, true, true, false},
        {0x32, true, true, false, true},   {0x42, true, true, true, true},
        {0x50, true, false, false, false}, {0x60, true, false, false, false},
        {0x70, true, false, false, false}, {0x142, true, true, true, true},  // bits above 0x70 are not sharing
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode 0x" << std::hex << r.mode);
        const os::OpenRights got = os::RightsOf(r.mode);
        EXPECT_EQ(got.read, r.read);
        EXPECT_EQ(got.write, r.write);
        EXPECT_EQ(got.shareRead, r.shareRead);
        EXPECT_EQ(got.shareWrite, r.shareWrite);
    }
}

TEST(OsFileRules, OpenErrorsAsTheFileLayerReadsThem) {
    EXPECT_EQ(os::MapOpenError(32), 5);
    EXPECT_EQ(os::MapOpenError(161), 3);
    EXPECT_EQ(os::MapOpenError(123), 45);
    for (int same : {2, 3, 4, 5, 33, 87, 206}) EXPECT_EQ(os::MapOpenError(same), same);
}

TEST(OsFileRules, DosDateAndTimePacking) {
    os::DosFields f;
    f.year = 2024, f.month = 2, f.day = 29, f.hour = 13, f.minute = 45, f.second = 31;
    const uint32_t v = os::PackDosDateTime(f);
    EXPECT_EQ(v >> 16, uint32_t((2024 - 1980) << 9 | 2 << 5 | 29));
    EXPECT_EQ(v & 0xFFFF, uint32_t(13 << 11 | 45 << 5 | 15));
    const os::DosFields back = os::UnpackDosDateTime(v);
    EXPECT_EQ(back.year, 2024);
    EXPECT_EQ(back.day, 29);
    EXPECT_EQ(back.minute, 45);
    EXPECT_EQ(back.second, 30) << "seconds in steps of two";
    EXPECT_EQ(os::UnpackDosDateTime(0x00210000).year, 1980);
}

class OsFilePosix : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/dove_os_file_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string In(const std::string& name) const { return dir_ + "/" + name; }
    void Put(const std::string& name, const std::string& bytes) { std::ofstream(In(name), std::ios::binary) << bytes; }
    std::string Get(const std::string& full) {
        std::ifstream in(full, std::ios::binary);
        if (!in) return "<missing>";
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string dir_;
};

TEST_F(OsFilePosix, OpenAndCreateErrors) {
    os::Handle h;
    EXPECT_EQ(os::Open(In("missing.txt"), 0x42, &h), 2);
    EXPECT_EQ(h, os::kNoHandle);
    EXPECT_EQ(os::Open(In("no/a.txt"), 0x42, &h), 3);
    EXPECT_EQ(os::Create(In("no/a.txt"), os::kCreateNormal, &h), 3);
    EXPECT_EQ(os::Open(dir_, 0x40, &h), 5) << "a folder";

    Put("full.txt", "some bytes");
    ASSERT_EQ(os::Create(In("full.txt"), os::kCreateNormal, &h), 0);
    os::Close(h);
    EXPECT_EQ(Get(In("full.txt")), "") << "creating over a file leaves it empty";

    ASSERT_EQ(os::Create(In("ro.txt"), os::kCreateReadOnly, &h), 0);
    os::Close(h);
    EXPECT_EQ(os::Attributes(In("ro.txt")) & os::kAttrReadOnly, os::kAttrReadOnly);
    EXPECT_EQ(os::Attributes(In("nothing")), -1);
    EXPECT_FALSE(os::Exists(In("nothing")));
    EXPECT_TRUE(os::IsDirectory(dir_));
}

TEST_F(OsFilePosix, ReadWriteSeekTruncateAndSize) {
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
    EXPECT_EQ(os::Seek(h, 1, os::SeekFrom::End, &at), 0);
    EXPECT_EQ(at, 7u);
    EXPECT_EQ(os::Seek(h, 3, os::SeekFrom::Begin), 0);
    EXPECT_EQ(os::SetEnd(h), 0);
    EXPECT_EQ(os::Position(h, &at), 0);
    EXPECT_EQ(at, 3u);
    uint64_t size = 0;
    EXPECT_EQ(os::Size(h, &size), 0);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(os::Lock(h, 0, 1), 0);
    EXPECT_EQ(os::Unlock(h, 0, 1), 0);
    f.Reset();
    EXPECT_EQ(Get(In("rw.txt")), "abc");

    // Read-only access refuses writes.
    ASSERT_EQ(os::Open(In("rw.txt"), 0x40, &h), 0);
    f.Reset(h);
    EXPECT_NE(os::Write(h, "x", 1, &n), 0);
}

TEST_F(OsFilePosix, SizeBeyondFourGiBIsReportedWhole) {
    os::Handle h;
    ASSERT_EQ(os::Create(In("sparse.bin"), os::kCreateNormal, &h), 0);
    os::File f(h);
    ASSERT_EQ(ftruncate(int(h), off_t(0x10000000A)), 0);
    uint64_t size = 0;
    ASSERT_EQ(os::Size(h, &size), 0);
    EXPECT_EQ(size, 0x10000000Aull);
    EXPECT_FALSE(os::FitsIn32(size));
}

TEST_F(OsFilePosix, DosTimeRoundTrip) {
    os::Handle h;
    ASSERT_EQ(os::Create(In("dated.txt"), os::kCreateNormal, &h), 0);
    os::File f(h);
    os::DosFields when;
    when.year = 2001, when.month = 7, when.day = 4, when.hour = 23, when.minute = 59, when.second = 58;
    ASSERT_EQ(os::SetDosTime(h, os::PackDosDateTime(when)), 0);
    uint32_t back = 0;
    ASSERT_EQ(os::GetDosTime(h, &back), 0);
    EXPECT_EQ(back, os::PackDosDateTime(when));
}

TEST_F(OsFilePosix, DeleteRenameAndCopy) {
    Put("a.txt", "alpha");
    Put("b.txt", "beta");
    EXPECT_EQ(os::Rename(In("a.txt"), In("b.txt")), 183) << "never replaces the target";
    EXPECT_EQ(Get(In("b.txt")), "beta");
    EXPECT_EQ(os::Copy(In("a.txt"), In("b.txt")), 0) << "copy overwrites";
    EXPECT_EQ(Get(In("b.txt")), "alpha");
    EXPECT_EQ(os::Rename(In("a.txt"), In("c.txt")), 0);
    EXPECT_EQ(Get(In("c.txt")), "alpha");
    EXPECT_EQ(os::Rename(In("a.txt"), In("d.txt")), 2);
    EXPECT_EQ(os::Copy(In("a.txt"), In("d.txt")), 2);
    EXPECT_EQ(os::Delete(In("c.txt")), 0);
    EXPECT_EQ(os::Delete(In("c.txt")), 2);
    EXPECT_EQ(os::Delete(dir_), 5);
}

}  // namespace
