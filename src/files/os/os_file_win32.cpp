// Operating-system file access over CreateFileA and its family.
//
// Each primitive clears the last error, makes its call, and on failure takes
// the error number and clears the last error again, so that the number is
// reported once, through the result.
#include <windows.h>

#include "runtime/errors/error_record.h"
#include "files/os/os_file.h"

namespace dove::os {

namespace {

HANDLE H(Handle h) { return reinterpret_cast<HANDLE>(h); }

int Done() {
    SetLastError(0);
    return 0;
}

int Failed() {
    const DWORD e = GetLastError();
    SetLastError(0);
    return e ? int(e) : 31;  // a failure without a number is a general failure
}

int Result(BOOL ok) { return ok ? Done() : Failed(); }

// A name as the file functions take it: converted to the OEM character set
// while they run in OEM mode.
class SystemName {
public:
    explicit SystemName(std::string_view name) : text_(name) {
        if (!AreFileApisANSI() && !text_.empty()) CharToOemBuffA(text_.data(), text_.data(), DWORD(text_.size()));
    }
    const char* c_str() const { return text_.c_str(); }

private:
    std::string text_;
};

// A name the system gave back, in the program's character set.
std::string ProgramName(const char* fromSystem) {
    std::string s(fromSystem);
    if (!AreFileApisANSI() && !s.empty()) OemToCharBuffA(s.data(), s.data(), DWORD(s.size()));
    return s;
}

int Opened(HANDLE h, Handle* out) {
    if (h == INVALID_HANDLE_VALUE) return MapOpenError(Failed());
    *out = reinterpret_cast<Handle>(h);
    return Done();
}

}  // namespace

int Open(std::string_view name, uint32_t mode, Handle* out) {
    *out = kNoHandle;
    const OpenRights r = RightsOf(mode);
    const DWORD access = (r.read ? GENERIC_READ : 0) | (r.write ? GENERIC_WRITE : 0);
    const DWORD share = (r.shareRead ? FILE_SHARE_READ : 0) | (r.shareWrite ? FILE_SHARE_WRITE : 0);
    const SystemName n(name);
    SetLastError(0);
    return Opened(CreateFileA(n.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr),
                  out);
}

int Create(std::string_view name, uint32_t attributeCode, Handle* out) {
    *out = kNoHandle;
    DWORD access = GENERIC_READ | GENERIC_WRITE, attributes = FILE_ATTRIBUTE_NORMAL;
    switch (attributeCode & 3) {
    case kCreateReadOnly: access = GENERIC_READ; attributes = FILE_ATTRIBUTE_READONLY; break;
    case kCreateHidden: attributes = FILE_ATTRIBUTE_HIDDEN; break;
    case kCreateSystem: attributes = FILE_ATTRIBUTE_SYSTEM; break;
    default: break;
    }
    const SystemName n(name);
    SetLastError(0);
    return Opened(CreateFileA(n.c_str(), access, 0, nullptr, CREATE_ALWAYS, attributes | FILE_FLAG_RANDOM_ACCESS,
                              nullptr),
                  out);
}

int Close(Handle h) {
    SetLastError(0);
    return Result(CloseHandle(H(h)));
}

int Read(Handle h, void* buffer, uint32_t count, uint32_t* bytesRead) {
    DWORD n = 0;
    SetLastError(0);
    const BOOL ok = ReadFile(H(h), buffer, count, &n, nullptr);
    *bytesRead = n;
    return Result(ok);
}

int Write(Handle h, const void* buffer, uint32_t count, uint32_t* bytesWritten) {
    DWORD n = 0;
    SetLastError(0);
    const BOOL ok = WriteFile(H(h), buffer, count, &n, nullptr);
    *bytesWritten = n;
    return Result(ok);
}

int Seek(Handle h, uint32_t offset, SeekFrom from, uint32_t* newPosition) {
    static const DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LONG high = 0;
    SetLastError(0);
    const DWORD low = SetFilePointer(H(h), LONG(offset), &high, kMethod[int(from)]);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return Failed();
    if (newPosition) *newPosition = low;
    return Done();
}

int Position(Handle h, uint32_t* position) { return Seek(h, 0, SeekFrom::Current, position); }

int Size(Handle h, uint64_t* size) {
    DWORD high = 0;
    SetLastError(0);
    const DWORD low = GetFileSize(H(h), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return Failed();
    *size = uint64_t(high) << 32 | low;
    return Done();
}

int SetEnd(Handle h) {
    SetLastError(0);
    return Result(SetEndOfFile(H(h)));
}

int Flush(Handle h) {
    SetLastError(0);
    return Result(FlushFileBuffers(H(h)));
}

int Lock(Handle h, uint32_t offset, uint32_t length) {
    SetLastError(0);
    return Result(LockFile(H(h), offset, 0, length, 0));
}

int Unlock(Handle h, uint32_t offset, uint32_t length) {
    SetLastError(0);
    return Result(UnlockFile(H(h), offset, 0, length, 0));
}

int GetDosTime(Handle h, uint32_t* dosDateTime) {
    FILETIME written, local;
    WORD date = 0, time = 0;
    SetLastError(0);
    if (!GetFileTime(H(h), nullptr, nullptr, &written) || !FileTimeToLocalFileTime(&written, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time))
        return Failed();
    *dosDateTime = uint32_t(date) << 16 | time;
    return Done();
}

int SetDosTime(Handle h, uint32_t dosDateTime) {
    FILETIME local, utc;
    SetLastError(0);
    if (!DosDateTimeToFileTime(WORD(dosDateTime >> 16), WORD(dosDateTime), &local) ||
        !LocalFileTimeToFileTime(&local, &utc) || !SetFileTime(H(h), &utc, &utc, &utc))
        return Failed();
    return Done();
}

int Delete(std::string_view name) {
    const SystemName n(name);
    SetLastError(0);
    return Result(DeleteFileA(n.c_str()));
}

int Rename(std::string_view oldName, std::string_view newName) {
    const SystemName from(oldName), to(newName);
    SetLastError(0);
    return Result(MoveFileA(from.c_str(), to.c_str()));
}

int Copy(std::string_view oldName, std::string_view newName) {
    const SystemName from(oldName), to(newName);
    SetLastError(0);
    return Result(CopyFileA(from.c_str(), to.c_str(), FALSE));
}

int32_t Attributes(std::string_view name) {
    const SystemName n(name);
    const DWORD a = GetFileAttributesA(n.c_str());
    SetLastError(0);
    return a == INVALID_FILE_ATTRIBUTES ? -1 : int32_t(a & 127);
}

int CurrentDirectory(std::string* out) {
    char buf[kMaxPath];
    SetLastError(0);
    const DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    if (n == 0) return Failed();
    if (n >= sizeof buf) {
        err::SetLibraryError(34);  // the result does not fit a path buffer
        SetLastError(0);
        return ERROR_FILENAME_EXCED_RANGE;
    }
    *out = ProgramName(buf);
    return Done();
}

int ChangeDirectory(std::string_view dir) {
    const SystemName n(dir);
    SetLastError(0);
    return Result(SetCurrentDirectoryA(n.c_str()));
}

namespace {

// Runs one of the path-returning calls into a path buffer.
template <typename Call>
int PathInto(std::string* out, Call call) {
    char buf[kMaxPath];
    SetLastError(0);
    const DWORD n = call(buf, DWORD(sizeof buf));
    if (n == 0) return Failed();
    if (n >= sizeof buf) {
        SetLastError(0);
        return ERROR_FILENAME_EXCED_RANGE;
    }
    *out = ProgramName(buf);
    return Done();
}

}  // namespace

int FullPathName(std::string_view name, std::string* out) {
    const SystemName n(name);
    return PathInto(out, [&n](char* buf, DWORD size) {
        char* filePart = nullptr;
        return GetFullPathNameA(n.c_str(), size, buf, &filePart);
    });
}

int ShortPathName(std::string_view name, std::string* out) {
    const SystemName n(name);
    return PathInto(out, [&n](char* buf, DWORD size) { return GetShortPathNameA(n.c_str(), buf, size); });
}

int FindName(std::string_view path, std::string* out) {
    // A search pattern would answer with some other name.
    if (path.find_first_of("*?") != std::string_view::npos) return kErrInvalidName;
    const SystemName n(path);
    WIN32_FIND_DATAA found;
    SetLastError(0);
    const HANDLE h = FindFirstFileA(n.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return Failed();
    FindClose(h);
    *out = ProgramName(found.cFileName);
    return Done();
}

}  // namespace dove::os
