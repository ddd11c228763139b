// The floor of opening the utility's window under Wine: a bare program that
// makes the window the platform's way, with as many controls of the same
// platform classes as P2$W has (tab control, edits with up-down arrows,
// group boxes, buttons, check boxes, texts, an icon, a status bar) and the
// same two fonts, shows it, lets it paint, and ends. What the utility takes
// beyond this is its own: the stored definition, its classes, pictures,
// the version file.
#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(hwnd, msg, wp, lp);
}

struct Child {
    const char* cls;
    DWORD style;
    const char* text;
};

// P2$W's controls in definition order, by the platform class that does the
// work inside each.
const Child kChildren[] = {
    {"STATIC", SS_ICON, ""}, {"STATIC", 0, "Veltrano Commandline Utility"},
    {WC_TABCONTROLA, 0, ""}, {"STATIC", 0, ""}, {"STATIC", 0, "***"},
    {"BUTTON", BS_GROUPBOX, "V&ersion Information"}, {"BUTTON", BS_ICON, ""},
    {"STATIC", 0, "&Note:"}, {"EDIT", WS_BORDER | ES_AUTOHSCROLL, "note"},
    {"STATIC", 0, "&Version:"}, {"EDIT", WS_BORDER, "1.60"}, {UPDOWN_CLASSA, UDS_ALIGNRIGHT, ""},
    {"STATIC", 0, "&Build Number:"}, {"EDIT", WS_BORDER, "0001"}, {UPDOWN_CLASSA, UDS_ALIGNRIGHT, ""},
    {"BUTTON", BS_GROUPBOX, "&Setup"}, {"BUTTON", BS_AUTOCHECKBOX, "&Enable Updates"},
    {"BUTTON", BS_AUTOCHECKBOX, "&Auto Increment Build"}, {"STATIC", 0, "&File:"},
    {"EDIT", WS_BORDER | ES_AUTOHSCROLL, "Version.kvi"}, {"BUTTON", BS_DEFPUSHBUTTON, "&Ok"},
    {"BUTTON", BS_PUSHBUTTON, "&Cancel"}, {"STATIC", 0, ""}, {"STATIC", 0, "***"},
    {"BUTTON", BS_ICON, ""}, {"BUTTON", BS_GROUPBOX, "Command Line Options"},
    {"STATIC", 0, "Run DOVE60 with CMD as a command line parameter."},
    {"BUTTON", BS_GROUPBOX, "Log/Version Utility"}, {"STATIC", 0, "This procedure creates an equate."},
    {"STATIC", 0, "If added to the end of a project."}, {STATUSCLASSNAMEA, 0, ""},
};

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "FloorWin";
    RegisterClassA(&wc);
    HWND top = CreateWindowA("FloorWin", "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 380, 330,
                             nullptr, nullptr, inst, nullptr);
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HFONT bold = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    int y = 0, id = 10;
    for (const Child& c : kChildren) {
        HWND child = CreateWindowA(c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, 6, y, 200, 18, top,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), inst, nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(id % 5 ? font : bold), FALSE);
        y += 9;
    }
    ShowWindow(top, SW_SHOW);
    UpdateWindow(top);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    DestroyWindow(top);
    DeleteObject(font);
    DeleteObject(bold);
    return 0;
}
