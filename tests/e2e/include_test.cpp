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

TEST(IncludeCommand, AppendsToTemplatesAsTheGoldenFilesShow) {
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

TEST(IncludeCommand, LowerCaseWordAndFullPathWork) {
    Folder folder;
    WriteFileBytes(folder.File("t.tpl"), "A\r\n");
    RunExe({"include", folder.File("t.tpl"), "x.tpl"}, folder.Path());
    EXPECT_EQ("A\r\n\r\n#INCLUDE('x.tpl')\r\n", ReadFileBytes(folder.File("t.tpl")));
}

TEST(IncludeCommand, MissingTargetCreatesNothing) {
    Folder folder;
    RunExe({"INCLUDE", "missing.tpl", "x.tpl"}, folder.Path());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.File("missing.tpl").c_str()));
}

TEST(IncludeCommand, MissingParametersChangeNothing) {
    Folder folder;
    WriteFileBytes(folder.File("t.tpl"), "A\r\n");
    RunExe({"INCLUDE", "t.tpl"}, folder.Path());
    RunExe({"INCLUDE"}, folder.Path());
    EXPECT_EQ("A\r\n", ReadFileBytes(folder.File("t.tpl")));
}

}  // namespace
