// Operating-system file access: the primitives the file drivers stand on.
//
// Every primitive makes one system call and returns 0 on success or the
// operating-system error number on failure (Win32 numbering on every
// platform: 2 file not found, 3 path not found, 5 access denied, 32 sharing
// violation, 33 lock violation, 87 invalid parameter, ...). After reporting,
// the thread's last operating-system error is left cleared, so a later
// err::Post(0) never picks up a stale number. A short read or write is not an
// error: the caller compares the byte count.
//
//   os::Handle h;
//   if (int e = os::Open("C:\\data\\a.txt", os::kAccessReadWrite | os::kDenyNone, &h)) return e;
//   os::File file(h);                       // closes on scope exit
//   uint64_t size = 0;
//   os::Size(h, &size);
//   if (!os::FitsIn32(size)) ...            // positions of the file layer are 32-bit
//
// Positions are 32-bit unsigned byte offsets, as the file layer keeps them;
// only Size() reports the true 64-bit size, so that a caller can refuse a file
// it could not address.
//
// Names are the program's ANSI text. When the process's file functions run in
// OEM mode the Windows implementation converts them on the way in and the
// names the system returns on the way out.
//
// Windows: os_file_win32.cpp (CreateFileA and its family). Native builds and
// fuzzing: os_file_posix.cpp, where sharing modes are accepted but not
// enforced and byte-range locks are advisory and per process.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove::os {

// An open file: the system's handle value. kNoHandle is never a valid one.
using Handle = intptr_t;
constexpr Handle kNoHandle = -1;

// Path buffers of the system hold 260 characters, the terminator included.
constexpr size_t kMaxPath = 260;

// --- Open mode (the access mode of OPEN) ---------------------------------

// Low two bits: access.
constexpr uint32_t kAccessMask = 0x03;
constexpr uint32_t kAccessRead = 0;
constexpr uint32_t kAccessWrite = 1;
constexpr uint32_t kAccessReadWrite = 2;
// Bits of value 0x70: sharing.
constexpr uint32_t kShareMask = 0x70;
constexpr uint32_t kDenyAll = 0x10;
constexpr uint32_t kDenyWrite = 0x20;
constexpr uint32_t kDenyRead = 0x30;
constexpr uint32_t kDenyNone = 0x40;

// What an open mode asks of the system.
struct OpenRights {
    bool read = false;
    bool write = false;
    bool shareRead = false;    // others may read
    bool shareWrite = false;   // others may write
};
OpenRights RightsOf(uint32_t mode);

// Attribute code of Create (low two bits).
constexpr uint32_t kCreateNormal = 0;     // read and write access
constexpr uint32_t kCreateReadOnly = 1;   // read-only attribute, read access
constexpr uint32_t kCreateHidden = 2;
constexpr uint32_t kCreateSystem = 3;

// Error numbers as the file layer reports them after Open and Create:
// 32 (sharing violation) becomes 5, 161 (bad path name) 3, 123 (invalid
// name) 45; every other number stays.
int MapOpenError(int osError);

// A few system error numbers that callers test.
constexpr int kErrFileNotFound = 2;
constexpr int kErrPathNotFound = 3;
constexpr int kErrAccessDenied = 5;
constexpr int kErrGeneralFailure = 31;   // also what a failure without a number reads as
constexpr int kErrSharingViolation = 32;
constexpr int kErrLockViolation = 33;
constexpr int kErrInvalidParameter = 87;
constexpr int kErrInvalidName = 123;
constexpr int kErrBadPathName = 161;
constexpr int kErrNameTooLong = 206;   // a path that does not fit a path buffer

// File-layer numbers the name functions give.
constexpr int kFileInvalidFilename = 45;

// --- Handles ---------------------------------------------------------------

// Opens an existing file. On failure *out is kNoHandle and the result is
// mapped by MapOpenError().
int Open(std::string_view name, uint32_t mode, Handle* out);
// Creates a file, truncating an existing one; no sharing. Errors as Open().
int Create(std::string_view name, uint32_t attributeCode, Handle* out);
int Close(Handle h);

int Read(Handle h, void* buffer, uint32_t count, uint32_t* bytesRead);
int Write(Handle h, const void* buffer, uint32_t count, uint32_t* bytesWritten);

enum class SeekFrom { Begin = 0, Current = 1, End = 2 };
// Moves by an unsigned 32-bit distance (high part 0). *newPosition, when not
// null, receives the low 32 bits of the new position.
int Seek(Handle h, uint32_t offset, SeekFrom from, uint32_t* newPosition = nullptr);
int Position(Handle h, uint32_t* position);
// The true size, all 64 bits of it.
int Size(Handle h, uint64_t* size);
constexpr bool FitsIn32(uint64_t size) { return size <= 0xFFFFFFFFull; }
// Truncates or extends the file at the current position.
int SetEnd(Handle h);
int Flush(Handle h);

// Byte-range locks, high parts 0. A range that another handle holds fails at
// once; nothing here waits. The system reports that as 33 (lock violation),
// not 32, so a caller that waits for a lock tests IsHeldByAnother().
int Lock(Handle h, uint32_t offset, uint32_t length);
int Unlock(Handle h, uint32_t offset, uint32_t length);
constexpr bool IsHeldByAnother(int osError) {
    return osError == kErrSharingViolation || osError == kErrLockViolation;
}

// DOS date in the high 16 bits, DOS time in the low 16, as local time. Get
// reads the last-write time; Set writes creation, last-access and last-write.
int GetDosTime(Handle h, uint32_t* dosDateTime);
int SetDosTime(Handle h, uint32_t dosDateTime);

// The fields of a packed DOS date and time (year from 1980 to 2107, seconds
// in steps of two).
struct DosFields {
    int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
uint32_t PackDosDateTime(const DosFields& f);
DosFields UnpackDosDateTime(uint32_t dosDateTime);

// Closes the handle it holds when it goes out of scope.
class File {
public:
    File() = default;
    explicit File(Handle h) : h_(h) {}
    ~File() { Reset(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& o) noexcept : h_(o.Release()) {}
    File& operator=(File&& o) noexcept { if (this != &o) { Reset(); h_ = o.Release(); } return *this; }

    Handle Get() const { return h_; }
    bool IsOpen() const { return h_ != kNoHandle; }
    Handle Release() { Handle h = h_; h_ = kNoHandle; return h; }
    void Reset(Handle h = kNoHandle) { if (h_ != kNoHandle) Close(h_); h_ = h; }

private:
    Handle h_ = kNoHandle;
};

// --- Names -----------------------------------------------------------------

int Delete(std::string_view name);
int Rename(std::string_view oldName, std::string_view newName);
// Overwrites an existing target.
int Copy(std::string_view oldName, std::string_view newName);

// Attribute bits of the system masked with 127, or -1 when the name does not
// exist.
constexpr int32_t kAttrReadOnly = 0x01;
constexpr int32_t kAttrHidden = 0x02;
constexpr int32_t kAttrSystem = 0x04;
constexpr int32_t kAttrDirectory = 0x10;
int32_t Attributes(std::string_view name);
inline bool Exists(std::string_view name) { return Attributes(name) != -1; }
inline bool IsDirectory(std::string_view name) {
    int32_t a = Attributes(name);
    return a != -1 && (a & kAttrDirectory) != 0;
}

// The current directory (converted back from OEM when the file functions run
// in OEM mode). The second form changes it.
int CurrentDirectory(std::string* out);
int ChangeDirectory(std::string_view dir);

// The system's full path of a name, nothing looked up on disk.
int FullPathName(std::string_view name, std::string* out);
// The system's short (8.3) form of an existing name; 87 when the system
// refuses the text as such, 2 or 3 when it does not exist.
int ShortPathName(std::string_view name, std::string* out);
// The name on disk of the last component of path (its long form), found by
// a directory search for exactly that path; 2 or 3 when nothing matches.
int FindName(std::string_view path, std::string* out);

}  // namespace dove::os
