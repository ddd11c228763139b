// The stand-in IDE itself: it must register and run as the tests and the
// demo expect of the IDE.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dde/ide_names.h"
#include "support/gui_harness.h"
#include "support/ide_setup.h"

namespace {

std::string WinIni(const char* section, const char* entry) {
    char buf[512] = {};
    GetProfileStringA(section, entry, "<none>", buf, sizeof buf);
    return buf;
}

std::string StandIn(const std::string& args) { return gui::Quote(ide_test::StandInPath()) + args; }

TEST(StandInIde, InstallWritesWinIniAndTheIniFileUninstallRemovesTheSection) {
    ide_test::WinIniIde clean;
    ide_test::TempDir root("standin_root");
    ASSERT_EQ(0, ide_test::RunToEnd(StandIn(" --install " + root.path)));
    EXPECT_EQ(root.path + "\\", WinIni(dove::ide::kWinIniSection, "root"));
    EXPECT_EQ(ide_test::StandInPath(), WinIni(dove::ide::kWinIniSection, "exename"));
    EXPECT_EQ("", ide_test::ReadFile(root.path + "\\Bin\\T60ee.ini"));
    // An existing ini file is kept.
    ASSERT_TRUE(ide_test::WriteFile(root.path + "\\Bin\\T60ee.ini", "[Paths]\r\n"));
    ASSERT_EQ(0, ide_test::RunToEnd(StandIn(" --install " + root.path + "\\ --enterprise")));
    EXPECT_EQ(root.path + "\\", WinIni(dove::ide::kWinIniEnterpriseSection, "root"));
    EXPECT_EQ("[Paths]\r\n", ide_test::ReadFile(root.path + "\\Bin\\T60ee.ini"));
    ASSERT_EQ(0, ide_test::RunToEnd(StandIn(" --uninstall")));
    EXPECT_EQ("<none>", WinIni(dove::ide::kWinIniSection, "root"));
    EXPECT_EQ(root.path + "\\", WinIni(dove::ide::kWinIniEnterpriseSection, "root"));
    EXPECT_EQ(2, ide_test::RunToEnd(StandIn(" --install")));
}

TEST(StandInIde, LogsEveryStartAndRunsOnceUntilQuit) {
    ide_test::QuitStandIn();
    ide_test::ClearStandInLog();
    gui::App first = gui::Start(gui::Quote(ide_test::StandInPath()), {}, false);
    HWND window = first.WaitWindow(nullptr, 10000);
    ASSERT_TRUE(window) << first.Error();
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("Tovaro stand-in IDE", title);
    // A second start logs and leaves at once; the first stays.
    EXPECT_EQ(0, ide_test::RunToEnd(StandIn(" second")));
    EXPECT_TRUE(first.Running());
    std::vector<std::string> log = ide_test::StandInLog();
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ(0u, log[0].find("pid=" + std::to_string(first.Pid()) + "\tcwd="));
    EXPECT_NE(std::string::npos, log[1].find("\tcmdline=" + gui::Quote(ide_test::StandInPath()) + " second"));
    EXPECT_EQ(0, ide_test::RunToEnd(StandIn(" --quit")));
    EXPECT_EQ(0, first.WaitExit(10000)) << first.Error();
    EXPECT_EQ(2u, ide_test::StandInLog().size());
}

// The rows of a list view in another process: the item buffer must live in
// that process, so it is copied there and back.
std::vector<std::vector<std::string>> ListRows(HWND list, int columns) {
    std::vector<std::vector<std::string>> rows;
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return rows;
    const SIZE_T kText = 512;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; remote && i < count; ++i) {
        std::vector<std::string> row;
        for (int c = 0; c < columns; ++c) {
            LVITEMA item = {};
            item.iSubItem = c;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = kText;
            char text[kText] = {};
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kText - 1, nullptr);
            row.push_back(text);
        }
        rows.push_back(row);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return rows;
}

// Each row as "From|Entry|Value|Answer", DDE rows without their time.
std::vector<std::string> Shown(HWND list) {
    std::vector<std::string> out;
    for (auto& r : ListRows(list, 4))
        out.push_back(r[0] + "|" + (r[0] == "DDE execute" ? "" : r[1]) + "|" + r[2] + "|" + r[3]);
    return out;
}

TEST(StandInIde, WindowListsExecutesNewestFirstAndTheIniEntriesReadOnShowAndF5) {
    ide_test::QuitStandIn();
    ide_test::TempDir root("standin_view");
    ide_test::WinIniIde ide(ide_test::Plain, root.path + "\\", ide_test::StandInPath());
    const std::string ini = root.path + "\\Bin\\T60ee.ini";
    CreateDirectoryA((root.path + "\\Bin").c_str(), nullptr);
    ASSERT_TRUE(ide_test::WriteFile(ini,
        "[User Menus]\r\n1=Tools/My App|App\r\n\r\n[User Applications]\r\nApp=c:\\app.exe -q\r\n"
        "[Paths]\r\nLibsrc=C:\\LIB\r\n"));
    ASSERT_TRUE(ide_test::WriteFile(root.path + "\\one.tpl", "#TEMPLATE(One)\r\n"));
    ASSERT_TRUE(ide_test::WriteFile(root.path + "\\two.tpl", "#TEMPLATE(Two)\r\n"));
    gui::App standIn = gui::Start(gui::Quote(ide_test::StandInPath()), {}, false);
    HWND window = standIn.WaitWindow("TovaroStandInIde", 10000);
    ASSERT_TRUE(window) << standIn.Error();
    HWND list = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
    ASSERT_TRUE(list);
    const std::vector<std::string> iniRows = {"User Menus|1|Tools/My App|App|",
                                              "User Applications|App|c:\\app.exe -q|",
                                              "Paths|Libsrc|C:\\LIB|"};
    EXPECT_EQ(iniRows, Shown(list));

    // Two registrations through the program, as a person runs them.
    for (const char* name : {"one.tpl", "two.tpl"}) {
        gui::App reg = gui::Start(ide_test::ExeRaw(std::string("REG ") + name), root.path, false);
        ASSERT_EQ(0, reg.WaitExit(30000)) << reg.Error();
    }
    std::vector<std::string> expected = {
        "DDE execute||[RegisterTemplateChain(two.tpl,0)]|acknowledged",
        "DDE execute||[RegisterTemplateChain(one.tpl,0)]|acknowledged"};
    expected.insert(expected.end(), iniRows.begin(), iniRows.end());
    EXPECT_EQ(expected, Shown(list));
    gui::Screenshot(window, "standin_ide_after_reg");

    // A changed file shows only when refreshed.
    ASSERT_TRUE(ide_test::WriteFile(ini, "[User Menus]\r\n2=Help/About|Ab\r\n"));
    EXPECT_EQ(expected, Shown(list));
    PostMessageA(list, WM_KEYDOWN, VK_F5, 0);
    SendMessageA(list, WM_NULL, 0, 0);
    EXPECT_EQ((std::vector<std::string>{expected[0], expected[1], "User Menus|2|Help/About|Ab|"}),
              Shown(list));
    ide_test::QuitStandIn();
    EXPECT_EQ(0, standIn.WaitExit(10000)) << standIn.Error();
}

}  // namespace
