// INCLUDE through DOVE60.exe as an installation script runs it: the template
// is compared byte for byte with include_golden/, and a missing target or
// missing parameters leave everything as it was, with no window shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/include_cases.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"
#include "test_paths.h"

namespace {

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string Golden(const std::string& leaf) {
    return ReadFileBytes(std::string(DOVE_SOURCE_DIR) + "\\tests\\e2e\\include_golden\\" + leaf);
}

// A fresh folder under the prefix's temporary folder, removed afterwards.
class Folder {
public:
    Folder() {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        path_ = std::string(tmp) + "dove_include_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(counter_++);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Folder() {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((path_ + "\\" + fd.cFileName).c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string File(const std::string& leaf) const { return path_ + "\\" + leaf; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    static int counter_;
};
int Folder::counter_ = 0;

void RunExe(const std::vector<std::string>& args, const std::string& cwd) {
    gui::App app = gui::Start(gui::ExeCommand(args), cwd);
    ASSERT_TRUE(app.Started()) << app.Error();
    EXPECT_EQ(0, app.WaitExit(20000)) << app.Error();
}

// Every command run looks for the IDE first; INCLUDE does not use what it finds.
class IncludeCommand : public ::testing::Test {
    ide_test::WinIniIde ide_{ide_test::Plain, "C:\\TV6\\", ide_test::StandInPath()};
};

TEST_F(IncludeCommand, AppendsToTemplatesAsTheGoldenFilesShow) {
    for (const dove::include_cases::Case& c : dove::include_cases::kCases) {
        SCOPED_TRACE(std::string(c.name) + " x" + std::to_string(c.runs));
        Folder folder;
        WriteFileBytes(folder.File("target.tpl"), Golden(std::string(c.name) + ".before"));
        for (int i = 0; i < c.runs; ++i) {
            RunExe({"INCLUDE", "target.tpl", dove::include_cases::kIncludeName}, folder.Path());
        }
        EXPECT_EQ(Golden(std::string(c.name) + ".after"), ReadFileBytes(folder.File("target.tpl")));
    }
}

TEST_F(IncludeCommand, LowerCaseWordAndFullPathWork) {
    Folder folder;
    WriteFileBytes(folder.File("t.tpl"), "A\r\n");
    RunExe({"include", folder.File("t.tpl"), "x.tpl"}, folder.Path());
    EXPECT_EQ("A\r\n\r\n#INCLUDE('x.tpl')\r\n", ReadFileBytes(folder.File("t.tpl")));
}

TEST_F(IncludeCommand, MissingTargetCreatesNothing) {
    Folder folder;
    RunExe({"INCLUDE", "missing.tpl", "x.tpl"}, folder.Path());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.File("missing.tpl").c_str()));
}

TEST_F(IncludeCommand, MissingParametersChangeNothing) {
    Folder folder;
    WriteFileBytes(folder.File("t.tpl"), "A\r\n");
    RunExe({"INCLUDE", "t.tpl"}, folder.Path());
    RunExe({"INCLUDE"}, folder.Path());
    EXPECT_EQ("A\r\n", ReadFileBytes(folder.File("t.tpl")));
}

// An include line longer than a template line is not written cut (without
// its closing "')", and again on every run): a message says so and the
// template stays as it was. The names are typed raw, relative to the
// current folder, so that the longest name fits on the command line.
TEST_F(IncludeCommand, ALineLongerThanATemplateLineWritesNothingAndSaysSo) {
    Folder folder;
    WriteFileBytes(folder.File("t"), "A\r\n");
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const std::string tooLong(244, 'g');   // with "#INCLUDE('" and "')": 256
    gui::Shown box;
    bool opened = gui::OpenDialog(&box, ide_test::ExeRaw("INCLUDE t " + tooLong));
    SetCurrentDirectoryA(cwd);
    ASSERT_TRUE(opened);
    EXPECT_EQ("Add Include to Template", box.d.caption);
    ASSERT_EQ(1u, box.d.staticTexts.size()) << box.d.Describe();
    EXPECT_EQ("The #INCLUDE line for this file is longer than the 255 characters of a template "
              "line.  Nothing was written.\r\n   File: t\r\n   FileToInclude: " + tooLong,
              box.d.staticTexts[0]);
    EXPECT_TRUE(gui::ShowsIcon(box.d, LoadIconA(nullptr, IDI_EXCLAMATION)));
    EXPECT_EQ((std::vector<std::string>{"OK"}), box.d.ButtonTexts());
    gui::Screenshot(box.dlg, "include_line_too_long");
    ASSERT_TRUE(gui::Press(box.dlg, IDOK));
    EXPECT_EQ(0, box.app.WaitExit(10000)) << box.app.Error();
    EXPECT_EQ("A\r\n", ReadFileBytes(folder.File("t")));
}

}  // namespace
