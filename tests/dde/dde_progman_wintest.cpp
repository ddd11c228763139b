// A peer that nobody here wrote: the shell of the system serves "Progman",
// whose CreateGroup command makes a folder under the Start Menu's Programs.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "dde/dde_channel.h"
#include "runtime/errors/error_record.h"

namespace dove::dde {
namespace {

std::string ProgramsFolder() {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, path))) return {};
  return path;
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(DdeProgman, CreateGroupMakesTheFolder) {
  std::string programs = ProgramsFolder();
  ASSERT_FALSE(programs.empty());
  std::string group = "DoveDdeGroup" + std::to_string(GetCurrentProcessId());
  std::string folder = programs + "\\" + group;
  RemoveDirectoryA(folder.c_str());

  SetDDETimeOut(500);
  Channel ch = DDEopen("Progman", "Progman");
  ASSERT_NE(ch, 0) << "the shell's Progman service did not answer";
  DDEexecute(ch, "[CreateGroup(" + group + ")]");
  EXPECT_EQ(err::Code(), 0) << err::Text();
  EXPECT_TRUE(IsFolder(folder)) << folder;

  DDEexecute(ch, "[DeleteGroup(" + group + ")]");
  EXPECT_EQ(err::Code(), 0) << err::Text();
  DDEclose(ch);
  EXPECT_EQ(err::Code(), 0);
  EXPECT_EQ(OpenChannelCount(), 0u);
  EXPECT_FALSE(IsFolder(folder)) << folder;
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace dove::dde
