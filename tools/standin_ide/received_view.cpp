#include "received_view.h"

#include <commctrl.h>

#include <vector>

#include "dde/ide_names.h"

namespace standin {
namespace {

struct Row {
    std::string from, entry, value, answer;
};

HWND gList = nullptr;
std::vector<Row> gExecutes;  // newest first
std::vector<Row> gIniRows;

const char* const kColumns[] = {"From", "Entry", "Value", "Answer"};
const int kColumnWidths[] = {110, 70, 330, 90};

std::string IdeIniPath() {
    char root[MAX_PATH] = {};
    for (const char* section : {dove::ide::kWinIniEnterpriseSection, dove::ide::kWinIniSection}) {
        GetProfileStringA(section, dove::ide::kWinIniRootEntry, "", root, sizeof root);
        if (root[0]) return std::string(root) + dove::ide::kDefaultIniFile;
    }
    return std::string();
}

// Entries of one section as "name=value" pairs, in the file's order.
std::vector<std::pair<std::string, std::string>> SectionEntries(const std::string& ini,
                                                                const char* section) {
    std::vector<char> buf(32768);
    DWORD n = GetPrivateProfileSectionA(section, buf.data(), static_cast<DWORD>(buf.size()),
                                        ini.c_str());
    std::vector<std::pair<std::string, std::string>> entries;
    for (DWORD i = 0; i < n;) {
        std::string line(&buf[i]);
        i += static_cast<DWORD>(line.size()) + 1;
        if (line.empty()) continue;
        size_t eq = line.find('=');
        entries.emplace_back(line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 1));
    }
    return entries;
}

void InsertRow(int index, const Row& row) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(row.from.c_str());
    int at = static_cast<int>(SendMessageA(gList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    const std::string* cells[] = {&row.entry, &row.value, &row.answer};
    for (int c = 0; c < 3; ++c) {
        LVITEMA sub = {};
        sub.iSubItem = c + 1;
        sub.pszText = const_cast<char*>(cells[c]->c_str());
        SendMessageA(gList, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&sub));
    }
}

void ShowRows() {
    if (!gList) return;
    SendMessageA(gList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(gList, LVM_DELETEALLITEMS, 0, 0);
    int i = 0;
    for (const Row& row : gExecutes) InsertRow(i++, row);
    for (const Row& row : gIniRows) InsertRow(i++, row);
    SendMessageA(gList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(gList, nullptr, TRUE);
}

std::string TimeNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[16];
    wsprintfA(text, "%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace

bool CreateReceivedView(HWND parent) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    gList = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                            0, 0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!gList) return false;
    SendMessageA(gList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int c = 0; c < 4; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = const_cast<char*>(kColumns[c]);
        col.cx = kColumnWidths[c];
        SendMessageA(gList, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    ResizeReceivedView(parent);
    return true;
}

void ResizeReceivedView(HWND parent) {
    RECT r;
    if (gList && GetClientRect(parent, &r)) MoveWindow(gList, 0, 0, r.right, r.bottom, TRUE);
}

void AddReceivedExecute(const std::string& text, const std::string& answer) {
    gExecutes.insert(gExecutes.begin(), Row{"DDE execute", TimeNow(), text, answer});
    ShowRows();
}

void RefreshIniEntries() {
    gIniRows.clear();
    std::string ini = IdeIniPath();
    if (ini.empty()) {  // not installed: an empty name would read WIN.INI
        ShowRows();
        return;
    }
    for (const char* section : {dove::ide::kUserMenusSection, dove::ide::kUserApplicationsSection})
        for (auto& [name, value] : SectionEntries(ini, section))
            gIniRows.push_back(Row{section, name, value, ""});
    char libsrc[1024] = {};
    GetPrivateProfileStringA(dove::ide::kPathsSection, dove::ide::kLibsrcEntry, "", libsrc,
                             sizeof libsrc, ini.c_str());
    if (libsrc[0]) gIniRows.push_back(Row{dove::ide::kPathsSection, dove::ide::kLibsrcEntry, libsrc, ""});
    ShowRows();
}

}  // namespace standin
