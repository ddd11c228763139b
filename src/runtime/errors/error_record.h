// The per-thread error record and the numbered errors of the runtime.
//
// Runtime operations never fail by exception: they post a numbered error into
// the calling thread's record and return; the caller asks Code() afterwards.
// A posting replaces everything the previous one left, a Clear() empties it.
//
//   dove::err::Clear();
//   if (!WriteSomething()) { dove::err::Post(0); return false; }  // 300 + OS error
//   ...
//   if (dove::err::Code() == 32) ...        // ERRORCODE
//   std::string why = dove::err::Text();    // ERROR
//
// Numbers: 2..100 file layer, 301..391 operating system (300 + its number),
// 401..412 run-time faults, 501..515 internal, 520..545 windows, 601..605 DDE,
// 1010..1014 evaluator. Their texts come from MessageOf().
//
// The record is made on a thread's first use of any function here and lives
// until ReleaseThreadRecord() or the end of the thread. A thread whose record
// is gone posts nothing and answers Code() with 99 ("Bad Error").
//
// Texts are kept blank-padded in fixed fields; every query returns them
// clipped of trailing blanks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dove::err {

constexpr size_t kTextSize = 256;      // error text and file error text
constexpr size_t kFileCodeSize = 80;   // file error code
constexpr size_t kTextLimit = 255;     // characters kept of any text

constexpr int kBadError = 99;          // Code() of a thread without a record
constexpr int kUnknownError = 81;      // "Unknown Error Posted"
constexpr int kFileSystemError = 90;   // "File System Error"
constexpr int kOsErrorBase = 300;      // Post(0) posts kOsErrorBase + OS error

struct SavedState;

// The record's fields in their fixed order.
struct Record {
    int32_t savedOsError = 0;          // OS error when posted or saved
    int32_t code = 0;
    int32_t libraryError = 0;          // error slot of the C-level stream functions
    const void* file = nullptr;        // file object whose operation failed
    char text[kTextSize];              // blank-padded
    char fileText[kTextSize];          // blank-padded
    char fileCode[kFileCodeSize];      // blank-padded
    SavedState* saved = nullptr;       // newest saved copy, see SaveState()
    uint32_t threadTag = 0;            // unique per record, set on creation
    char scratch[kTextSize];           // message look-ups
    // Every successful file statement clears the record; while nothing has
    // been written to the three texts since, they need no blanking again.
    bool textsBlank = false;
};

// Fields 1 to 7 of the record, as TakeSnapshot() copies them.
struct Snapshot {
    int32_t savedOsError = 0;
    int32_t code = 0;
    int32_t libraryError = 0;
    const void* file = nullptr;
    char text[kTextSize];
    char fileText[kTextSize];
    char fileCode[kFileCodeSize];
};

// --- Posting -------------------------------------------------------------

// Captures the OS error, then code := n (0 gives 300 + the OS error), error
// file := null, error text := MessageOf(code) without leading blanks, cut at
// 255 characters. The file error fields are left alone.
void Post(int code);

// Records the file object of the failing operation (ERRORFILE).
void SetFile(const void* fileObject);

// File error code := codeText without leading blanks (at most 80 characters);
// file error text := messageOrNull without leading blanks (at most 255), or,
// when null, MessageOf(90) + " : " + codeText.
void PostFileError(std::string_view codeText, const char* messageOrNull);

// Appends after the last non-blank character of the error text, keeping at
// most 255 characters in all.
void AppendText(std::string_view text);

// Code 0, error file null, both texts and the file error code blank.
void Clear();

// The C-level stream functions' error slot (field 3).
void SetLibraryError(int value);
int LibraryError();

// --- Queries -------------------------------------------------------------

int Code();                    // ERRORCODE; 99 without a record
std::string Text();            // ERROR
std::string FileErrorCode();   // FILEERRORCODE
std::string FileErrorText();   // FILEERROR
const void* File();            // the recorded error file, or null
std::string ErrorFileName();   // ERRORFILE: the name the file provider gives, "" when none

// The file layer tells how a file object names itself; without a provider,
// or when it answers false, ErrorFileName() is empty.
void SetFileNameProvider(bool (*name)(const void* fileObject, std::string* out));

// --- Nesting -------------------------------------------------------------

// SaveState captures the OS error into field 1 and pushes a copy of fields 1
// to 8; RestoreState pops the newest copy back into the record and sets the
// OS error to the restored field 1. Saves nest. A restore without a matching
// save changes nothing.
void SaveState();
void RestoreState();

// Copies fields 1 to 7; without a record: code 0 and blank texts.
void TakeSnapshot(Snapshot* out);

// --- Texts ---------------------------------------------------------------

// The text of a number: 0 is read as 81; a locale replacement wins, then the
// text source, else MessageOf(81) + " : " + n. At most 255 characters.
std::string MessageOf(int code);

// --- Thread lifetime -----------------------------------------------------

bool HasThreadRecord();
// Frees this thread's record (and its saved copies); afterwards the thread
// has no record until ResetThreadRecord().
void ReleaseThreadRecord();
// Gives this thread a fresh record (code 0, blank texts) in any case.
void ResetThreadRecord();

// --- Platform seams ------------------------------------------------------

// OS error access (GetLastError/SetLastError on Windows). The portable
// default is a per-thread variable that SetOsError() writes. nullptrs
// reinstall the default.
void SetOsErrorAccess(int (*get)(), void (*set)(int));
int OsError();
void SetOsError(int value);

// A per-thread pointer slot cheaper than the toolchain's thread_local (a TLS
// index on Windows). get answers null on a thread that has not set it; both
// must leave the OS error as they found it. nullptrs reinstall the default.
void SetThreadSlot(void* (*get)(), void (*set)(void*));

// Where MessageOf() finds the texts (LoadStringA on Windows). The portable
// default is the table generated from the source list of error texts;
// nullptr reinstalls it. The loader answers false for a number without text.
void SetTextSource(bool (*load)(int id, std::string* out));
// The generated table itself, for sources that want to fall back to it.
bool BuiltInText(int id, std::string* out);

// --- Debugging monitor ---------------------------------------------------

// While a monitor is attached, every Post() refreshes a process-wide state
// text for it: the lines the state provider gives (window, field, event, key)
// followed by the error code and text.
void SetMonitorAttached(bool attached);
void SetMonitorStateProvider(std::string (*lines)());
std::string MonitorState();
// "%s (%d (0%XH))" with a name, "%d (0%XH)" without one.
std::string NumberDisplay(const char* nameOrNull, int32_t value);

// --- Windows shell -------------------------------------------------------

// Installs GetLastError/SetLastError, a TLS index for the thread's record,
// LoadStringA over the module's string table and the system message box of the fatal error. Called once at start-up
// (defined only in the Windows shell library).
void InstallWin32Sources();

}  // namespace dove::err
