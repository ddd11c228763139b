// The per-thread error record: posting, queries, nested save and restore.
#include "runtime/errors/error_record.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

namespace dove::err {

// Fields 1 to 8 of the record, one saved copy.
struct SavedState {
    int32_t savedOsError;
    int32_t code;
    int32_t libraryError;
    const void* file;
    char text[kTextSize];
    char fileText[kTextSize];
    char fileCode[kFileCodeSize];
    SavedState* saved;
};

namespace {

// --- OS error access ------------------------------------------------------

thread_local int t_osError = 0;
int DefaultGetOsError() { return t_osError; }
void DefaultSetOsError(int value) { t_osError = value; }

std::atomic<int (*)()> g_getOsError{&DefaultGetOsError};
std::atomic<void (*)(int)> g_setOsError{&DefaultSetOsError};
std::atomic<bool (*)(const void*, std::string*)> g_fileName{nullptr};

// --- The thread's record ---------------------------------------------------

// Plain thread-locals, so that they stay readable while other thread-local
// objects are destroyed; the reaper frees the record at thread end.
enum class State : uint8_t { Fresh, Live, Gone };
struct ThreadErrors {
    Record* record = nullptr;
    State state = State::Fresh;
    // Saves that failed for want of memory; their restores must not pop.
    uint32_t lostSaves = 0;
};
thread_local ThreadErrors t_errors;
std::atomic<uint32_t> g_nextTag{1};

// Every file statement clears and tests the record, so finding it is on the
// hot path. With the Windows toolchain a thread_local costs a library call
// that takes a lock; the shell installs a plain slot of the platform instead,
// which points at the same thread_local.
std::atomic<void* (*)()> g_slotGet{nullptr};
std::atomic<void (*)(void*)> g_slotSet{nullptr};

ThreadErrors& Mine() {
    auto get = g_slotGet.load(std::memory_order_relaxed);
    if (!get) return t_errors;
    if (void* p = get()) return *static_cast<ThreadErrors*>(p);
    ThreadErrors* mine = &t_errors;
    g_slotSet.load()(mine);
    return *mine;
}

void FreeRecord(ThreadErrors& te) {
    if (!te.record) return;
    for (SavedState* s = te.record->saved; s;) {
        SavedState* next = s->saved;
        delete s;
        s = next;
    }
    delete te.record;
    te.record = nullptr;
    te.lostSaves = 0;
}

struct Reaper {
    bool armed = false;
    ~Reaper() {
        FreeRecord(t_errors);
        t_errors.state = State::Gone;
    }
};
thread_local Reaper t_reaper;

void Blank(char* field, size_t n) { std::memset(field, ' ', n); }

Record* MakeRecord() {
    Record* r = new (std::nothrow) Record;
    if (!r) return nullptr;
    Blank(r->text, kTextSize);
    Blank(r->fileText, kTextSize);
    Blank(r->fileCode, kFileCodeSize);
    Blank(r->scratch, kTextSize);
    r->textsBlank = true;
    r->threadTag = g_nextTag++;
    t_reaper.armed = true;
    return r;
}

// The calling thread's record, made on first use; null once released.
// Making it allocates, which may change the OS error (on Windows, the
// thread-local and heap functions reset the last-error value), so the value
// is kept across.
Record* Current() {
    ThreadErrors& te = Mine();
    if (te.record || te.state == State::Gone) return te.record;
    int os = OsError();
    te.record = MakeRecord();
    SetOsError(os);
    if (te.record) te.state = State::Live;
    return te.record;
}

// --- Fixed fields ----------------------------------------------------------

std::string_view SkipLeadingBlanks(std::string_view v) {
    size_t first = v.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : v.substr(first);
}

void Assign(char* field, size_t size, size_t keep, std::string_view v) {
    size_t n = std::min(v.size(), keep);
    if (n > 0) std::memcpy(field, v.data(), n);
    Blank(field + n, size - n);
}

size_t ClippedLength(const char* field, size_t size) {
    while (size > 0 && field[size - 1] == ' ') --size;
    return size;
}

std::string Clipped(const char* field, size_t size) {
    return std::string(field, ClippedLength(field, size));
}

// Fields 1 to 7, between the record, its saved copies and snapshots.
template <class To, class From>
void CopyFields1To7(To* to, const From& from) {
    to->savedOsError = from.savedOsError;
    to->code = from.code;
    to->libraryError = from.libraryError;
    to->file = from.file;
    std::memcpy(to->text, from.text, kTextSize);
    std::memcpy(to->fileText, from.fileText, kTextSize);
    std::memcpy(to->fileCode, from.fileCode, kFileCodeSize);
}

// --- Debugging monitor -----------------------------------------------------

std::atomic<bool> g_monitorAttached{false};
std::atomic<std::string (*)()> g_monitorLines{nullptr};
std::mutex g_monitorLock;
std::string g_monitorState;

void RefreshMonitor(const Record& r) {
    std::string state;
    if (auto lines = g_monitorLines.load()) state = lines();
    state += "Error code: " + NumberDisplay(nullptr, r.code) + "\n";
    state += "Error text: " + Clipped(r.text, kTextSize) + "\n";
    std::lock_guard<std::mutex> hold(g_monitorLock);
    g_monitorState = std::move(state);
}

}  // namespace

// --- OS error ---------------------------------------------------------------

void SetThreadSlot(void* (*get)(), void (*set)(void*)) {
    if (!get || !set) get = nullptr, set = nullptr;
    g_slotSet = set;
    g_slotGet = get;
}

void SetOsErrorAccess(int (*get)(), void (*set)(int)) {
    g_getOsError = get ? get : &DefaultGetOsError;
    g_setOsError = set ? set : &DefaultSetOsError;
}

int OsError() { return g_getOsError.load()(); }

void SetOsError(int value) { g_setOsError.load()(value); }

// --- Posting ----------------------------------------------------------------

void Post(int code) {
    int os = OsError();
    Record* r = Current();
    if (!r) return;
    r->savedOsError = os;
    if (code == 0) code = static_cast<int32_t>(uint32_t(kOsErrorBase) + uint32_t(os));
    r->code = code;
    r->file = nullptr;
    r->textsBlank = false;
    Assign(r->text, kTextSize, kTextLimit, SkipLeadingBlanks(MessageOf(code)));
    if (g_monitorAttached) RefreshMonitor(*r);
    SetOsError(os);   // the message look-up may have disturbed it
}

void SetFile(const void* fileObject) {
    if (Record* r = Current()) r->file = fileObject;
}

void PostFileError(std::string_view codeText, const char* messageOrNull) {
    Record* r = Current();
    if (!r) return;
    r->textsBlank = false;
    Assign(r->fileCode, kFileCodeSize, kFileCodeSize, SkipLeadingBlanks(codeText));
    std::string_view message = SkipLeadingBlanks(messageOrNull ? messageOrNull : "");
    std::string fallback;
    if (message.empty()) {
        fallback = MessageOf(kFileSystemError) + " : " + Clipped(r->fileCode, kFileCodeSize);
        message = fallback;
    }
    Assign(r->fileText, kTextSize, kTextLimit, message);
}

void AppendText(std::string_view text) {
    Record* r = Current();
    if (!r) return;
    r->textsBlank = false;
    size_t used = ClippedLength(r->text, kTextLimit);
    size_t n = std::min(text.size(), kTextLimit - used);
    if (n > 0) std::memcpy(r->text + used, text.data(), n);
}

void Clear() {
    Record* r = Current();
    if (!r) return;
    r->code = 0;
    r->file = nullptr;
    if (r->textsBlank) return;
    Blank(r->text, kTextSize);
    Blank(r->fileText, kTextSize);
    Blank(r->fileCode, kFileCodeSize);
    r->textsBlank = true;
}

void SetLibraryError(int value) {
    if (Record* r = Current()) r->libraryError = value;
}

int LibraryError() {
    Record* r = Current();
    return r ? r->libraryError : 0;
}

// --- Queries ----------------------------------------------------------------

int Code() {
    Record* r = Current();
    return r ? r->code : kBadError;
}

std::string Text() {
    Record* r = Current();
    return r ? Clipped(r->text, kTextSize) : std::string();
}

std::string FileErrorCode() {
    Record* r = Current();
    return r ? Clipped(r->fileCode, kFileCodeSize) : std::string();
}

std::string FileErrorText() {
    Record* r = Current();
    return r ? Clipped(r->fileText, kTextSize) : std::string();
}

const void* File() {
    Record* r = Current();
    return r ? r->file : nullptr;
}

void SetFileNameProvider(bool (*name)(const void* fileObject, std::string* out)) {
    g_fileName = name;
}

std::string ErrorFileName() {
    const void* file = File();
    auto provider = g_fileName.load();
    std::string name;
    if (!file || !provider || !provider(file, &name)) name.clear();
    return name;
}

// --- Nesting ----------------------------------------------------------------

void SaveState() {
    int os = OsError();
    Record* r = Current();
    if (!r) return;
    r->savedOsError = os;
    SavedState* s = new (std::nothrow) SavedState;
    if (!s) {
        ++Mine().lostSaves;
        return;
    }
    CopyFields1To7(s, *r);
    s->saved = r->saved;
    r->saved = s;
    SetOsError(os);
}

void RestoreState() {
    Record* r = Current();
    if (!r) return;
    uint32_t& lostSaves = Mine().lostSaves;
    if (lostSaves > 0) {
        --lostSaves;
        return;
    }
    SavedState* s = r->saved;
    if (!s) return;
    CopyFields1To7(r, *s);
    r->textsBlank = false;
    r->saved = s->saved;
    delete s;
    SetOsError(r->savedOsError);
}

void TakeSnapshot(Snapshot* out) {
    *out = Snapshot();
    Blank(out->text, kTextSize);
    Blank(out->fileText, kTextSize);
    Blank(out->fileCode, kFileCodeSize);
    // Only an existing record is copied: a snapshot never makes one.
    const Record* r = Mine().record;
    if (!r) return;
    CopyFields1To7(out, *r);
}

// --- Thread lifetime --------------------------------------------------------

bool HasThreadRecord() { return Current() != nullptr; }

void ReleaseThreadRecord() {
    ThreadErrors& te = Mine();
    FreeRecord(te);
    te.state = State::Gone;
}

void ResetThreadRecord() {
    int os = OsError();
    ThreadErrors& te = Mine();
    FreeRecord(te);
    te.record = MakeRecord();
    SetOsError(os);
    te.state = te.record ? State::Live : State::Gone;
}

// --- Debugging monitor ------------------------------------------------------

void SetMonitorAttached(bool attached) { g_monitorAttached = attached; }

void SetMonitorStateProvider(std::string (*lines)()) { g_monitorLines = lines; }

std::string MonitorState() {
    std::lock_guard<std::mutex> hold(g_monitorLock);
    return g_monitorState;
}

std::string NumberDisplay(const char* nameOrNull, int32_t value) {
    char buf[160];
    if (nameOrNull)
        std::snprintf(buf, sizeof buf, "%.100s (%d (0%XH))", nameOrNull, value, uint32_t(value));
    else
        std::snprintf(buf, sizeof buf, "%d (0%XH)", value, uint32_t(value));
    return buf;
}

}  // namespace dove::err
