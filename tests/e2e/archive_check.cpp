// Runs from archive_test.sh on the unpacked release archive: the programs in
// it are the right ones, carry the archive's version, and the x64 program
// runs from the unpacked folder as a person would start it there.
//   DOVE_ARCHIVE_DIR      the unpacked folder (a Windows path)
//   DOVE_ARCHIVE_VERSION  the version in the archive's name
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string FileVersion(const std::string& exe) {
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!size || !GetFileVersionInfoA(exe.c_str(), 0, size, &block[0]) ||
        !VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&info), &len))
        return "<none>";
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionLS));
}

TEST(Archive, EachFolderHoldsItsOwnBuildWithTheArchivesVersion) {
    const std::string dir = Env("DOVE_ARCHIVE_DIR");
    ASSERT_FALSE(dir.empty()) << "run by archive_test.sh";
    struct Case { const char* exe; DWORD type; } cases[] = {
        {"\\x86\\DOVE60.exe", SCS_32BIT_BINARY}, {"\\x64\\DOVE60.exe", SCS_64BIT_BINARY}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exe);
        DWORD type = 99;
        EXPECT_TRUE(GetBinaryTypeA((dir + c.exe).c_str(), &type));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(Env("DOVE_ARCHIVE_VERSION"), FileVersion(dir + c.exe));
    }
}

TEST(Archive, X64ProgramFromTheUnpackedFolderShowsTheCommandsOnCmd) {
    const std::string dir = Env("DOVE_ARCHIVE_DIR");
    ASSERT_FALSE(dir.empty()) << "run by archive_test.sh";
    ide_test::WinIniIde ide(ide_test::Plain, "C:\\TV6\\", ide_test::StandInPath());
    gui::Shown box;
    ASSERT_TRUE(gui::OpenDialog(&box, gui::Quote(dir + "\\x64\\DOVE60.exe") + " CMD", 10000));
    EXPECT_EQ("DOVidovur", box.d.caption);
    ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
    EXPECT_EQ(0u, box.d.staticTexts[0].find("Command Line Parameters are:")) << box.d.Describe();
    ASSERT_TRUE(gui::Press(box.dlg, IDOK));
    EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
}

}  // namespace
