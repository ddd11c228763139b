// Windows that a module declares at start live until the runtime shuts down;
// declaring one puts nothing on the screen.
#include <gtest/gtest.h>

#include "windows/definitions/window_def.h"

#include <windows.h>

#include "runtime/lifecycle.h"
#include "windows/definitions/module_windows_win32.h"
#include "windows/loop/runtime_window_win32.h"

namespace dove::win {
namespace {

TEST(ModuleWindows, LiveFromDeclarationToShutDown) {
  lifecycle::Start();
  RuntimeWindow* w = DeclareModuleWindow("Install$WorkLog", "WORKLOG$NOWINDOW");
  ASSERT_TRUE(w);
  EXPECT_EQ(ModuleWindow("worklog$nowindow"), w);
  EXPECT_EQ(w->hwnd(), nullptr) << "declared, never opened";
  EXPECT_EQ(ModuleWindow("P2$W"), nullptr);
  lifecycle::Shutdown();
  EXPECT_EQ(ModuleWindow("WORKLOG$NOWINDOW"), nullptr);
}

}  // namespace
}  // namespace dove::win
