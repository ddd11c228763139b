// Finding stored window definitions in the program's modules under Wine,
// the fatal errors of a window without one, and units against the platform.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/errors/fault.h"
#include "runtime/lifecycle.h"
#include "support/gui_harness.h"
#include "test_paths.h"
#include "runtime/runtime_record.h"
#include "windows/definitions/window_def_find_win32.h"
#include "windows/definitions/window_def_units.h"
#include "windows/definitions/window_def_units_win32.h"

namespace {

using namespace dove::wdef;

TEST(WindowDefinitionFind, BothBlocksFromTheMainModule) {
  struct Row {
    const char* procedure;
    const char* label;
    const char* title;
    size_t controls;
  } rows[] = {
      {"Install$WorkLog", "P2$W", "", 28},
      {"Install$WorkLog", "p2$w", "", 28},
      {"install$worklog", "WORKLOG$NOWINDOW", "MakeVer", 0},
      {"ascmeta$ascmeon", "P3$BUILDERWINDOW", "ASCII Driver String Builder", 14},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.procedure << " " << row.label);
    FoundWindow found;
    ASSERT_TRUE(FindWindowDefinition(row.procedure, row.label, &found));
    EXPECT_EQ(found.module, GetModuleHandleA(nullptr));
    EXPECT_EQ(found.window.title, row.title);
    EXPECT_EQ(found.window.controls.size(), row.controls);
    EXPECT_NE(FindWindowRecordOffset(row.procedure, row.label), 0u);
  }
}

TEST(WindowDefinitionFind, AbsentDefinitionsGiveNothing) {
  struct Row {
    const char* procedure;
    const char* label;
    const char* why;
  } rows[] = {
      {"Install$WorkLog", "P9$W", "no such window in the block"},
      {"Other$WorkLog", "P2$W", "WORKLOG_RSC belongs to another procedure"},
      {"Install$Nothing", "P2$W", "no NOTHING_RSC"},
      {"ascmeta$ascmeon", "P2$W", "a window of another module"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    FoundWindow found;
    EXPECT_FALSE(FindWindowDefinition(row.procedure, row.label, &found));
    EXPECT_EQ(found.module, nullptr);
    EXPECT_EQ(FindWindowRecordOffset(row.procedure, row.label), 0u);
  }
}

TEST(WindowDefinitionFind, MainModuleComesBeforeOtherModules) {
  HMODULE other = LoadLibraryExA(DOVE_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(other) << "DOVE60.exe as a module of data, error " << GetLastError();
  AddProgramModule(other);
  FoundWindow found;
  EXPECT_TRUE(FindWindowDefinition("Install$WorkLog", "P2$W", &found));
  EXPECT_EQ(found.module, GetModuleHandleA(nullptr)) << "the same block in both: main wins";
  EXPECT_FALSE(FindWindowDefinition("Install$WorkLog", "P9$W", &found))
      << "a label in neither module";
  RemoveProgramModule(other);
  FreeLibrary(other);
}

// The child half of the fatal-error test: runs only when its parent asks.
void PrintingHook(int code, const char* text) {
  std::printf("fatal %d %s\n", code, text);
  std::fflush(stdout);
}

TEST(WindowDefinitionFatal, Child) {
  char mode[16] = {};
  if (!GetEnvironmentVariableA("DOVE_WDEF_FATAL_CHILD", mode, sizeof mode))
    GTEST_SKIP() << "runs as a child of WindowDefinitionFatal.AbsentWindow";
  dove::lifecycle::Start();   // the hook is called only while the runtime runs
  dove::fault::SetHook(&PrintingHook);
  if (std::string(mode) == "record") dove::win::ThreadRecord();
  PrepareWindowDefinition("Install$WorkLog", "P9$W");
  std::printf("returned\n");
}

TEST(WindowDefinitionFatal, AbsentWindowIsFatal) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  struct Row {
    const char* mode;
    const char* want;
  } rows[] = {
      {"record", "fatal 502 "},
      {"none", "fatal 504 "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    SetEnvironmentVariableA("DOVE_WDEF_FATAL_CHILD", row.mode);
    gui::App app = gui::Start(gui::Quote(self) + " --gtest_filter=WindowDefinitionFatal.Child");
    SetEnvironmentVariableA("DOVE_WDEF_FATAL_CHILD", nullptr);
    ASSERT_TRUE(app.Started()) << app.Error();
    EXPECT_EQ(app.WaitExit(20000), 2) << app.Output();
    std::string out = app.Output();
    EXPECT_NE(out.find(row.want), std::string::npos) << out;
    EXPECT_NE(out.find("WSLDIAL"), std::string::npos) << out;
    EXPECT_EQ(out.find("returned"), std::string::npos) << out;
  }
}

TEST(WindowDefinitionUnits, RoundsAsThePlatformMulDiv) {
  const int values[] = {0, 1, -1, 2, 3, 5, 7, -7, 13, 250, -250, 1000, 46341, INT32_MAX, -INT32_MAX};
  const int divisors[] = {1, 2, 3, 4, 8, -2, 25, 72, 1000, 0};
  for (int a : values) {
    for (int b : {1, 3, 6, 13, -5, 96}) {
      for (int c : divisors) {
        ASSERT_EQ(MulDivRound(a, b, c), MulDiv(a, b, c)) << a << " * " << b << " / " << c;
      }
    }
  }
}

TEST(WindowDefinitionUnits, ArialEightOnThisScreen) {
  FoundWindow found;
  ASSERT_TRUE(FindWindowDefinition("Install$WorkLog", "P2$W", &found));
  HFONT font = CreateDefinitionFont(found.window.font, Font{});
  ASSERT_TRUE(font);
  LOGFONTA lf = {};
  GetObjectA(font, sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfWeight, 400);
  UnitScale s = MeasureUnitScale(font);
  EXPECT_GE(s.bx, 4);
  EXPECT_LE(s.bx, 8);
  EXPECT_GE(s.by, 11);
  EXPECT_LE(s.by, 16);
  EXPECT_GT(s.logPixelsX, 0);
  DeleteObject(font);

  const Control* prompt = found.window.FindControl("?PROMPT4");
  ASSERT_TRUE(prompt);
  HFONT bold = CreateDefinitionFont(prompt->font, found.window.font);
  ASSERT_TRUE(bold);
  GetObjectA(bold, sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial") << "the window's face";
  EXPECT_EQ(lf.lfWeight, 700);
  DeleteObject(bold);
  EXPECT_EQ(CreateDefinitionFont(Font{}, found.window.font), nullptr);
}

}  // namespace
