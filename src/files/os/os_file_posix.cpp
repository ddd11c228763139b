// Operating-system file access over POSIX, for the native tests and the fuzz
// targets. Errors are reported in the Windows numbering, so that the drivers
// above see the same numbers on every platform. Sharing modes are accepted
// but not enforced; locks are advisory fcntl locks, which a process never
// holds against itself.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>

#include "runtime/errors/error_record.h"
#include "files/os/os_file.h"

namespace dove::os {

namespace {

int WindowsNumberOf(int e) {
    switch (e) {
    case 0: return 0;
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return kErrAccessDenied;
    case EBADF: return 6;
    case ENOMEM: return 8;
    case EAGAIN: return kErrLockViolation;
    case EEXIST: return 183;
    case ENOSPC: return 112;
    case ENAMETOOLONG: return kErrNameTooLong;
    case EINVAL: return kErrInvalidParameter;
    case EXDEV: return 17;
    default: return 31;  // general failure
    }
}

// Reports errno as the result and leaves the thread's last error cleared.
int Failed() {
    const int e = WindowsNumberOf(errno);
    err::SetOsError(0);
    return e;
}

int Done() {
    err::SetOsError(0);
    return 0;
}

std::string Z(std::string_view s) { return std::string(s); }

int FdOf(Handle h) { return int(h); }

int OpenFlagsOf(uint32_t mode) {
    const OpenRights r = RightsOf(mode);
    if (r.read && r.write) return O_RDWR;
    return r.write ? O_WRONLY : O_RDONLY;
}

// An fd of a directory reads as access denied, as on Windows.
int RefuseDirectory(int fd, Handle* out) {
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        return kErrAccessDenied;
    }
    *out = Handle(fd);
    return 0;
}

bool ParentIsMissing(const std::string& name) {
    const size_t slash = name.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return false;
    struct stat st;
    return stat(name.substr(0, slash).c_str(), &st) != 0;
}

// Windows tells a missing folder from a missing file.
int FailedFor(const std::string& name) {
    const int e = Failed();
    return e == kErrFileNotFound && ParentIsMissing(name) ? kErrPathNotFound : e;
}

int OpenFailure(const std::string& name) { return MapOpenError(FailedFor(name)); }

}  // namespace

int Open(std::string_view name, uint32_t mode, Handle* out) {
    *out = kNoHandle;
    const std::string z = Z(name);
    const int fd = open(z.c_str(), OpenFlagsOf(mode) | O_CLOEXEC);
    if (fd < 0) return OpenFailure(z);
    if (int e = RefuseDirectory(fd, out)) return e;
    return Done();
}

int Create(std::string_view name, uint32_t attributeCode, Handle* out) {
    *out = kNoHandle;
    const std::string z = Z(name);
    const bool readOnly = (attributeCode & 3) == kCreateReadOnly;
    struct stat st;
    if (stat(z.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR))) return kErrAccessDenied;
    const int fd = open(z.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return OpenFailure(z);
    if (readOnly) fchmod(fd, 0444);
    *out = Handle(fd);
    return Done();
}

int Close(Handle h) { return close(FdOf(h)) == 0 ? Done() : Failed(); }

int Read(Handle h, void* buffer, uint32_t count, uint32_t* bytesRead) {
    *bytesRead = 0;
    ssize_t n;
    do n = read(FdOf(h), buffer, count); while (n < 0 && errno == EINTR);
    if (n < 0) return Failed();
    *bytesRead = uint32_t(n);
    return Done();
}

int Write(Handle h, const void* buffer, uint32_t count, uint32_t* bytesWritten) {
    *bytesWritten = 0;
    ssize_t n;
    do n = write(FdOf(h), buffer, count); while (n < 0 && errno == EINTR);
    if (n < 0) return Failed();
    *bytesWritten = uint32_t(n);
    return Done();
}

int Seek(Handle h, uint32_t offset, SeekFrom from, uint32_t* newPosition) {
    const int whence = from == SeekFrom::Begin ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
    const off_t at = lseek(FdOf(h), off_t(offset), whence);
    if (at < 0) return Failed();
    if (newPosition) *newPosition = uint32_t(uint64_t(at));
    return Done();
}

int Position(Handle h, uint32_t* position) { return Seek(h, 0, SeekFrom::Current, position); }

int Size(Handle h, uint64_t* size) {
    struct stat st;
    if (fstat(FdOf(h), &st) != 0) return Failed();
    *size = uint64_t(st.st_size);
    return Done();
}

int SetEnd(Handle h) {
    const off_t at = lseek(FdOf(h), 0, SEEK_CUR);
    if (at < 0 || ftruncate(FdOf(h), at) != 0) return Failed();
    return Done();
}

int Flush(Handle h) { return fsync(FdOf(h)) == 0 ? Done() : Failed(); }

namespace {

int RangeLock(Handle h, uint32_t offset, uint32_t length, short type) {
    if (length == 0) return Done();
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = off_t(length);
    if (fcntl(FdOf(h), F_SETLK, &fl) == 0) return Done();
    if (type != F_UNLCK && errno == EBADF) {  // a read-only handle takes a read lock
        fl.l_type = F_RDLCK;
        if (fcntl(FdOf(h), F_SETLK, &fl) == 0) return Done();
    }
    if (errno == EACCES) errno = EAGAIN;
    return Failed();
}

}  // namespace

int Lock(Handle h, uint32_t offset, uint32_t length) { return RangeLock(h, offset, length, F_WRLCK); }
int Unlock(Handle h, uint32_t offset, uint32_t length) { return RangeLock(h, offset, length, F_UNLCK); }

int GetDosTime(Handle h, uint32_t* dosDateTime) {
    struct stat st;
    if (fstat(FdOf(h), &st) != 0) return Failed();
    struct tm t {};
    const time_t when = st.st_mtime;
    localtime_r(&when, &t);
    DosFields f;
    f.year = t.tm_year + 1900;
    f.month = t.tm_mon + 1;
    f.day = t.tm_mday;
    f.hour = t.tm_hour;
    f.minute = t.tm_min;
    f.second = t.tm_sec;
    if (f.year < 1980 || f.year > 2107) return kErrInvalidParameter;
    *dosDateTime = PackDosDateTime(f);
    return Done();
}

int SetDosTime(Handle h, uint32_t dosDateTime) {
    const DosFields f = UnpackDosDateTime(dosDateTime);
    struct tm t {};
    t.tm_year = f.year - 1900;
    t.tm_mon = f.month - 1;
    t.tm_mday = f.day;
    t.tm_hour = f.hour;
    t.tm_min = f.minute;
    t.tm_sec = f.second;
    t.tm_isdst = -1;
    const time_t when = mktime(&t);
    if (when == time_t(-1)) return kErrInvalidParameter;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = when;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    return futimens(FdOf(h), times) == 0 ? Done() : Failed();
}

int Delete(std::string_view name) {
    const std::string z = Z(name);
    struct stat st;
    if (stat(z.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return kErrAccessDenied;
    return unlink(z.c_str()) == 0 ? Done() : FailedFor(z);
}

int Rename(std::string_view oldName, std::string_view newName) {
    const std::string from = Z(oldName), to = Z(newName);
    struct stat st;
    if (stat(from.c_str(), &st) != 0) return FailedFor(from);
    if (lstat(to.c_str(), &st) == 0) return 183;  // the target is never replaced
    return rename(from.c_str(), to.c_str()) == 0 ? Done() : FailedFor(to);
}

int Copy(std::string_view oldName, std::string_view newName) {
    const std::string from = Z(oldName), to = Z(newName);
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return FailedFor(from);
    File source{Handle(in)};
    struct stat st;
    if (fstat(in, &st) != 0) return Failed();
    if (S_ISDIR(st.st_mode)) return kErrAccessDenied;
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) return FailedFor(to);
    File target{Handle(out)};
    char buf[65536];
    for (;;) {
        uint32_t got = 0, put = 0;
        if (int e = Read(source.Get(), buf, sizeof buf, &got)) return e;
        if (got == 0) break;
        if (int e = Write(target.Get(), buf, got, &put)) return e;
        if (put != got) return 112;  // disk full
    }
    return Done();
}

int32_t Attributes(std::string_view name) {
    struct stat st;
    if (stat(Z(name).c_str(), &st) != 0) {
        err::SetOsError(0);
        return -1;
    }
    int32_t a = S_ISDIR(st.st_mode) ? kAttrDirectory : 0x20;  // files carry the archive bit
    if (!(st.st_mode & S_IWUSR)) a |= kAttrReadOnly;
    return a & 127;
}

int CurrentDirectory(std::string* out) {
    char buf[PATH_MAX];
    if (!getcwd(buf, sizeof buf)) return Failed();
    *out = buf;
    return Done();
}

int ChangeDirectory(std::string_view dir) { return chdir(Z(dir).c_str()) == 0 ? Done() : Failed(); }

namespace {

// "." and ".." resolved by the text alone, as the system's full path does.
std::string Normalised(const std::string& absolute) {
    std::string out;
    size_t i = 0;
    while (i < absolute.size()) {
        size_t j = absolute.find('/', i);
        if (j == std::string::npos) j = absolute.size();
        const std::string part = absolute.substr(i, j - i);
        if (part == "..") {
            const size_t cut = out.find_last_of('/');
            out.erase(cut == std::string::npos ? 0 : cut);
        } else if (!part.empty() && part != ".") {
            out += '/';
            out += part;
        }
        i = j + 1;
    }
    if (out.empty()) out = "/";
    if (absolute.size() > 1 && absolute.back() == '/' && out != "/") out += '/';
    return out;
}

}  // namespace

int FullPathName(std::string_view name, std::string* out) {
    if (name.empty()) return kErrInvalidName;
    std::string absolute(name);
    if (absolute[0] != '/') {
        std::string cwd;
        if (int e = CurrentDirectory(&cwd)) return e;
        absolute = cwd + "/" + absolute;
    }
    *out = Normalised(absolute);
    return Done();
}

int ShortPathName(std::string_view name, std::string* out) {
    // No short names here: an existing name is its own short form.
    struct stat st;
    const std::string z = Z(name);
    if (stat(z.c_str(), &st) != 0) return Failed();
    *out = z;
    return Done();
}

int FindName(std::string_view path, std::string* out) {
    const std::string z = Z(path);
    if (z.find_first_of("*?") != std::string::npos) return kErrInvalidName;
    struct stat st;
    if (stat(z.c_str(), &st) != 0) return Failed();
    const size_t slash = z.find_last_of('/');
    *out = slash == std::string::npos ? z : z.substr(slash + 1);
    return Done();
}

}  // namespace dove::os
