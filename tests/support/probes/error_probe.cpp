// error_probe: drives the error record and the runtime error box of the
// Windows build from the command line, for the end-to-end tests.
//
//   error_probe WORD...    runs the words left to right:
//     start              the runtime starts (lifecycle); a finaliser prints
//                        "finaliser" when the runtime shuts down
//     os N               the last-error value for the next word (0 for the first)
//     post N             posts error N
//     file N TEXT        posts file error code N with TEXT ("-" for none)
//     append TEXT        appends to the error text
//     clear | save | restore
//     show               prints code=, text=, filecode=, filetext=, and os=
//                        (the last error as the word before left it)
//     message N          prints message=<MessageOf(N)>
//     dialog TEXT        shows TEXT with MESSAGE (caption "error_probe", OK)
//                        and prints "dialog <result>"
//     hook               installs a fatal-error hook that prints
//                        "hook <code> <text>"
//     fatal N TEXT       FatalError(N, TEXT); TEXT "-" passes null
//     internal N TEXT    InternalFault(N, TEXT)
//   Exit code 0 after the last word, 3 for a word it does not know.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/errors/error_record.h"
#include "runtime/errors/fault.h"
#include "runtime/message/message_dialog.h"
#include "runtime/lifecycle.h"

namespace {

void Finaliser() {
    std::printf("finaliser\n");
    std::fflush(stdout);
}

void Hook(int code, const char* text) {
    std::printf("hook %d %s\n", code, text);
    std::fflush(stdout);
}

void Show(DWORD lastError) {
    int os = static_cast<int>(lastError);
    std::printf("code=%d\ntext=%s\nfilecode=%s\nfiletext=%s\nos=%d\n", dove::err::Code(),
                dove::err::Text().c_str(), dove::err::FileErrorCode().c_str(),
                dove::err::FileErrorText().c_str(), os);
}

const char* TextArg(const char* arg) { return std::strcmp(arg, "-") == 0 ? nullptr : arg; }

// "os N" takes effect just before the next word runs, and "show" reports the
// last-error value as the previous word left it: the C runtime between two
// words may change it.
DWORD g_pendingLastError = 0;
bool g_pending = true;   // the first word starts from 0
DWORD g_lastErrorAfterWord = 0;

bool Is(const char* word, const char* name) { return std::strcmp(word, name) == 0; }

// Runs the word at argv[i]; returns how many arguments it took, 0 if unknown.
int Run(int argc, char** argv, int i) {
    const char* word = argv[i];
    bool one = i + 1 < argc, two = i + 2 < argc;
    if (g_pending) SetLastError(g_pendingLastError);
    g_pending = false;
    if (Is(word, "start")) {
        dove::lifecycle::Start();
        dove::lifecycle::AddFinaliser(&Finaliser);
    } else if (Is(word, "clear")) {
        dove::err::Clear();
    } else if (Is(word, "save")) {
        dove::err::SaveState();
    } else if (Is(word, "restore")) {
        dove::err::RestoreState();
    } else if (Is(word, "show")) {
        Show(g_lastErrorAfterWord);
    } else if (Is(word, "hook")) {
        dove::fault::SetHook(&Hook);
    } else if (Is(word, "os") && one) {
        g_pendingLastError = static_cast<DWORD>(std::atoi(argv[i + 1]));
        g_pending = true;
        return 2;
    } else if (Is(word, "post") && one) {
        dove::err::Post(std::atoi(argv[i + 1]));
        return 2;
    } else if (Is(word, "append") && one) {
        dove::err::AppendText(argv[i + 1]);
        return 2;
    } else if (Is(word, "message") && one) {
        std::printf("message=%s\n", dove::err::MessageOf(std::atoi(argv[i + 1])).c_str());
        return 2;
    } else if (Is(word, "dialog") && one) {
        std::printf("dialog %d\n", static_cast<int>(dove::Message(argv[i + 1], "error_probe", "", "1")));
        return 2;
    } else if (Is(word, "file") && two) {
        dove::err::PostFileError(argv[i + 1], TextArg(argv[i + 2]));
        return 3;
    } else if (Is(word, "fatal") && two) {
        std::fflush(stdout);
        dove::FatalError(std::atoi(argv[i + 1]), TextArg(argv[i + 2]));
    } else if (Is(word, "internal") && two) {
        std::fflush(stdout);
        dove::InternalFault(std::atoi(argv[i + 1]), TextArg(argv[i + 2]));
    } else {
        return 0;
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    dove::err::InstallWin32Sources();
    for (int i = 1; i < argc;) {
        int used = Run(argc, argv, i);
        g_lastErrorAfterWord = GetLastError();
        if (used == 0) {
            std::printf("unknown word: %s\n", argv[i]);
            return 3;
        }
        i += used;
    }
    std::fflush(stdout);
    return 0;
}
