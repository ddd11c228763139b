// The parts of operating-system file access that every platform shares: what
// an open mode asks for, how open errors read, and the packed DOS date and
// time.
#include "files/os/os_file.h"

namespace dove::os {

OpenRights RightsOf(uint32_t mode) {
    OpenRights r;
    switch (mode & kAccessMask) {
    case kAccessWrite: r.write = true; break;
    case kAccessReadWrite: r.read = r.write = true; break;
    default: r.read = true; break;  // 0, and 3 which no caller means as more
    }
    switch (mode & kShareMask) {
    case 0:
    case kDenyNone: r.shareRead = r.shareWrite = true; break;
    case kDenyWrite: r.shareRead = true; break;
    case kDenyRead: r.shareWrite = true; break;
    default: break;  // deny all, and 80, 96, 112
    }
    return r;
}

int MapOpenError(int osError) {
    switch (osError) {
    case kErrSharingViolation: return kErrAccessDenied;
    case kErrBadPathName: return kErrPathNotFound;
    case kErrInvalidName: return kFileInvalidFilename;
    default: return osError;
    }
}

uint32_t PackDosDateTime(const DosFields& f) {
    const uint32_t date = uint32_t(((f.year - 1980) & 0x7F) << 9 | (f.month & 0x0F) << 5 | (f.day & 0x1F));
    const uint32_t time = uint32_t((f.hour & 0x1F) << 11 | (f.minute & 0x3F) << 5 | ((f.second / 2) & 0x1F));
    return date << 16 | time;
}

DosFields UnpackDosDateTime(uint32_t v) {
    DosFields f;
    const uint32_t date = v >> 16, time = v & 0xFFFF;
    f.year = int(1980 + (date >> 9));
    f.month = int(date >> 5 & 0x0F);
    f.day = int(date & 0x1F);
    f.hour = int(time >> 11);
    f.minute = int(time >> 5 & 0x3F);
    f.second = int(time & 0x1F) * 2;
    return f;
}

}  // namespace dove::os
