// file_probe: a second process that uses a text file through the file layer,
// for the Windows tests of sharing and locking between processes.
//
//   file_probe PATH WORD...   runs the words left to right on one text file
//                              (record of 32 characters):
//     open MODE        OPEN with MODE (decimal or 0x..); prints "open <code>"
//     add TEXT         ADD a record; prints "add <code>"
//     lock [SECONDS]   LOCK; prints "lock <code> <milliseconds taken>"
//     unlock | close   UNLOCK, CLOSE
//     send TEXT        SEND; prints "send <code> <reply>"
//     wait MS          sleeps
//     go EVENT         waits (up to 20 s) until the named event is set, so
//                      that several probes start their next word together
//     addfor MS PREFIX ADDs records PREFIX0, PREFIX1, ... for MS milliseconds
//                      (at most 20,000), stopping at the first failure;
//                      prints "addfor <code> <records added>"
//   Exit code 0 after the last word, 3 for a word it does not know.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/errors/error_record.h"
#include "files/object/file_statements.h"
#include "files/text/text_driver.h"

namespace {

char g_name[MAX_PATH];
char g_record[32];

void Print(const char* word, const std::string& rest = "") {
    std::printf("%s %d%s%s\n", word, dove::err::Code(), rest.empty() ? "" : " ", rest.c_str());
    std::fflush(stdout);
}

void SetRecord(const char* text) {
    std::memset(g_record, ' ', sizeof g_record);
    std::memcpy(g_record, text, std::min(std::strlen(text), sizeof g_record));
}

}  // namespace

int main(int argc, char** argv) {
    using namespace dove::files;
    if (argc < 2) return 3;
    dove::err::InstallWin32Sources();
    std::snprintf(g_name, sizeof g_name, "%s", argv[1]);
    FileDefinition def = MakeDefinition(TextDriverEntry(), g_name, kNameZeroTerminated, g_record,
                                        sizeof g_record, nullptr, kAttrCreate);
    FileObject* f = &def.pattern;
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        const char* arg = i + 1 < argc ? argv[i + 1] : nullptr;
        if (word == "open" && arg) {
            Open(f, static_cast<int32_t>(std::strtol(argv[++i], nullptr, 0)));
            Print("open");
        } else if (word == "add" && arg) {
            SetRecord(argv[++i]);
            Add(f);
            Print("add");
        } else if (word == "lock") {
            DWORD start = GetTickCount();
            if (arg && std::isdigit(static_cast<unsigned char>(arg[0]))) {
                Lock(f, std::atoi(argv[++i]));
            } else {
                Lock(f);
            }
            Print("lock", std::to_string(GetTickCount() - start));
        } else if (word == "unlock") {
            Unlock(f);
        } else if (word == "close") {
            Close(f);
        } else if (word == "send" && arg) {
            std::string reply = Send(f, argv[++i]);
            Print("send", reply);
        } else if (word == "go" && arg) {
            HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, argv[++i]);
            if (go) {
                WaitForSingleObject(go, 20000);
                CloseHandle(go);
            }
        } else if (word == "addfor" && arg && i + 2 < argc) {
            DWORD ms = static_cast<DWORD>(std::atoi(argv[++i]));
            std::string prefix = argv[++i];
            DWORD start = GetTickCount();
            int added = 0;
            while (added < 20000 && GetTickCount() - start < ms) {
                SetRecord((prefix + std::to_string(added)).c_str());
                Add(f);
                if (dove::err::Code()) break;
                ++added;
            }
            Print("addfor", std::to_string(added));
        } else if (word == "wait" && arg) {
            Sleep(static_cast<DWORD>(std::atoi(argv[++i])));
        } else {
            return 3;
        }
    }
    Destroy(f, 0);
    return 0;
}
