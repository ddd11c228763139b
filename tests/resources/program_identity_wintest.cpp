// The program's identity as the shell and the loader read it from the built
// DOVE60.exe: its first icon, its version information and its manifest, and
// that the manifest brings the version 6 common controls into a process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "runtime/message/icon_loader_win32.h"
#include "support/gui_harness.h"
#include "test_paths.h"

namespace {

// An entry point of a system library, typed.
template <typename F>
F Proc(HMODULE lib, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

// DOVE60.exe loaded as data: its resources, none of its code.
class ProgramImage {
 public:
  ProgramImage() : module_(LoadLibraryExA(DOVE_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramImage() {
    if (module_) FreeLibrary(module_);
  }
  ProgramImage(const ProgramImage&) = delete;
  ProgramImage& operator=(const ProgramImage&) = delete;
  HMODULE get() const { return module_; }

  std::string Resource(LPCSTR name, LPCSTR type) const {
    HRSRC res = FindResourceA(module_, name, type);
    HGLOBAL data = res ? LoadResource(module_, res) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(module_, res)) : std::string();
  }

 private:
  HMODULE module_;
};

std::string NameOf(LPCSTR name) {
  return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
  reinterpret_cast<std::vector<std::string>*>(list)->push_back(NameOf(name));
  return TRUE;
}

// The version resource read through the platform's version functions.
class VersionInfo {
 public:
  explicit VersionInfo(const char* path) {
    lib_ = LoadLibraryA("version.dll");
    if (!lib_) return;
    auto size = Proc<DWORD(WINAPI*)(LPCSTR, LPDWORD)>(lib_, "GetFileVersionInfoSizeA");
    auto get = Proc<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>(lib_, "GetFileVersionInfoA");
    query_ = Proc<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>(lib_, "VerQueryValueA");
    DWORD handle = 0;
    DWORD n = size && get && query_ ? size(path, &handle) : 0;
    data_.resize(n);
    if (n == 0 || !get(path, 0, n, data_.data())) data_.clear();
  }
  ~VersionInfo() {
    if (lib_) FreeLibrary(lib_);
  }
  VersionInfo(const VersionInfo&) = delete;
  VersionInfo& operator=(const VersionInfo&) = delete;

  bool ok() const { return !data_.empty(); }

  const VS_FIXEDFILEINFO* Fixed() const {
    return static_cast<const VS_FIXEDFILEINFO*>(Query("\\"));
  }

  std::string String(const char* name) const {
    const char* s = static_cast<const char*>(Query((std::string("\\StringFileInfo\\040904E4\\") + name).c_str()));
    return s ? s : "(missing)";
  }

 private:
  const void* Query(const char* path) const {
    void* value = nullptr;
    UINT length = 0;
    if (!ok() || !query_(data_.data(), path, &value, &length) || length == 0) return nullptr;
    return value;
  }

  HMODULE lib_ = nullptr;
  BOOL(WINAPI* query_)(LPCVOID, LPCSTR, LPVOID*, PUINT) = nullptr;
  std::vector<char> data_;
};

}  // namespace

TEST(ProgramIdentityTest, EmblemIsTheFirstIconAndTheArrowsFollow) {
  ProgramImage exe;
  ASSERT_NE(exe.get(), nullptr) << DOVE_EXE_PATH;
  std::vector<std::string> names;
  EnumResourceNamesA(exe.get(), RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names));
  const std::vector<std::string> expected = {"ZERU.ICO", "#32518", "#32642"};
  EXPECT_EQ(names, expected);

  // Each icon holds a 16 x 16 and a 32 x 32 image with alpha.
  const LPCSTR icons[] = {"ZERU.ICO", MAKEINTRESOURCEA(32518), MAKEINTRESOURCEA(32642)};
  for (LPCSTR name : icons) {
    SCOPED_TRACE(NameOf(name));
    const std::string group = exe.Resource(name, RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u + 2 * 14);
    ASSERT_EQ(group[4], 2) << "image count";
    for (int i = 0; i < 2; ++i) {
      const unsigned char* entry = reinterpret_cast<const unsigned char*>(group.data()) + 6 + 14 * i;
      EXPECT_EQ(entry[0], i == 0 ? 16 : 32);
      EXPECT_EQ(entry[6], 32) << "bits per pixel";
    }
  }
}

TEST(ProgramIdentityTest, TheShellShowsTheEmblem) {
  HMODULE shell = LoadLibraryA("shell32.dll");
  ASSERT_NE(shell, nullptr);
  auto extract = Proc<UINT(WINAPI*)(LPCSTR, int, HICON*, HICON*, UINT)>(shell, "ExtractIconExA");
  ASSERT_NE(extract, nullptr);
  HICON large = nullptr, small = nullptr;
  ASSERT_GE(extract(DOVE_EXE_PATH, 0, &large, &small, 1), 1u);
  ASSERT_NE(large, nullptr);
  // This test program carries the same resources, so its own emblem is the
  // reference.
  dove::LoadedIcon emblem = dove::LoadNamedIcon("ZERU.Ico");
  ASSERT_TRUE(emblem);
  const int n = GetSystemMetrics(SM_CXICON);
  gui::Pixels shown, expected;
  ASSERT_TRUE(gui::RenderIcon(large, n, n, RGB(255, 255, 255), &shown));
  ASSERT_TRUE(gui::RenderIcon(emblem.handle(), n, n, RGB(255, 255, 255), &expected));
  EXPECT_EQ(gui::CountDifferent(shown, expected), 0);
  DestroyIcon(large);
  if (small) DestroyIcon(small);
  FreeLibrary(shell);
}

TEST(ProgramIdentityTest, VersionInformation) {
  VersionInfo info(DOVE_EXE_PATH);
  ASSERT_TRUE(info.ok()) << DOVE_EXE_PATH;
  const VS_FIXEDFILEINFO* fixed = info.Fixed();
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x0001003Cu);  // 1.60
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);  // .0.1
  EXPECT_EQ(fixed->dwProductVersionMS, 0x0001003Cu);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(info.String("FileVersion"), "1.60.0.1");
  EXPECT_EQ(info.String("ProductVersion"), "1.60.0.1");
  EXPECT_EQ(info.String("Comments"), "Version: 1.60  0001");
  EXPECT_EQ(info.String("ProductName"), "DOVE60");
  EXPECT_EQ(info.String("OriginalFilename"), "DOVE60.exe");
  EXPECT_EQ(info.String("FileDescription"), "Veltrano Commandline Utility");
}

TEST(ProgramIdentityTest, ManifestAsksForNothingMoreAndCommonControlsSix) {
  ProgramImage exe;
  ASSERT_NE(exe.get(), nullptr);
  const std::string manifest = exe.Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos)
      << manifest;

  // This test program links the same manifest, so the loader takes the
  // common controls from the version 6 assembly (whose DLL under Wine still
  // calls itself 5.81, so its file name is what tells).
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(comctl, path, MAX_PATH);
  std::string lower = path;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
  FreeLibrary(comctl);
}
