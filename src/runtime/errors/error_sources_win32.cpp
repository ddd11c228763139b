// The Windows sources of the error record: the thread's last-error value and
// the string table of the running module.
#include <windows.h>

#include "runtime/errors/error_record.h"
#include "runtime/errors/fault.h"

namespace dove::err {
namespace {

int GetOsError() { return static_cast<int>(GetLastError()); }

void PutOsError(int value) { SetLastError(static_cast<DWORD>(value)); }

// TlsGetValue and TlsSetValue reset the last-error value on success.
DWORD g_recordSlot = TLS_OUT_OF_INDEXES;

void* GetRecordSlot() {
    DWORD lastError = GetLastError();
    void* value = TlsGetValue(g_recordSlot);
    SetLastError(lastError);
    return value;
}

void SetRecordSlot(void* value) {
    DWORD lastError = GetLastError();
    TlsSetValue(g_recordSlot, value);
    SetLastError(lastError);
}

void InstallRecordSlot() {
    if (g_recordSlot == TLS_OUT_OF_INDEXES) g_recordSlot = TlsAlloc();
    if (g_recordSlot != TLS_OUT_OF_INDEXES) SetThreadSlot(&GetRecordSlot, &SetRecordSlot);
}

// LoadStringA converts from the table's UTF-16 through the ANSI code page and
// keeps at most 255 characters, the length of every error text field. A
// look-up leaves the last-error value as it found it: callers of MessageOf
// may still want to read it.
bool LoadFromStringTable(int id, std::string* out) {
    if (id < 0 || id > 0xFFFF) return false;
    char buf[kTextLimit + 1];
    DWORD lastError = GetLastError();
    int n = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buf, sizeof buf);
    SetLastError(lastError);
    if (n <= 0) return false;
    out->assign(buf, static_cast<size_t>(n));
    return true;
}

}  // namespace

void InstallWin32Sources() {
    SetOsErrorAccess(&GetOsError, &PutOsError);
    InstallRecordSlot();
    SetTextSource(&LoadFromStringTable);
    fault::InstallWin32Platform();
}

}  // namespace dove::err
