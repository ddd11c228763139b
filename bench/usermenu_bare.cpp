// The bare program of bench/usermenu: the profile calls that one USERMENU run
// makes against an ini file whose first 99 slots are taken (99 slot reads
// that match nothing, the read of the free slot 100, the menu entry and the
// application entry), and nothing else.
//
//   usermenu_bare.exe INIFILE
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const char* ini = argv[1];
    char value[1024];
    char slot[8];
    for (int n = 1; n <= 100; ++n) {
        std::snprintf(slot, sizeof slot, "%d", n);
        lstrcpyA(value, "");
        GetPrivateProfileStringA("User Menus", slot, value, value, sizeof value, ini);
        if (value[0] == 0) {
            WritePrivateProfileStringA("User Menus", slot, "Tools/Bench|Bench", ini);
            break;
        }
    }
    WritePrivateProfileStringA("User Applications", "Bench", "bench.exe", ini);
    return 0;
}
