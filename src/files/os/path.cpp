// File names as the runtime completes them. Both separators are understood,
// so the rules run unchanged over Windows and POSIX paths.
#include "files/os/path.h"

#include <mutex>

#include "runtime/errors/error_record.h"
#include "files/os/os_file.h"
#include "runtime/strings/value_stack.h"

namespace dove::path {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(std::string_view s) {
    return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

std::string_view ClippedArgument(std::string_view name) {
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name.substr(0, kMaxPath);
}

// The text of the argument, or the current directory for an empty one.
int ArgumentOrCurrent(std::string_view name, std::string* out) {
    name = ClippedArgument(name);
    if (!name.empty()) {
        *out = std::string(name);
        return 0;
    }
    return os::CurrentDirectory(out);
}

// Length of the part of a full path that is not looked up: "\\server\share\",
// "C:\" or "/".
size_t RootLength(const std::string& p) {
    if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
        size_t i = 2, parts = 0;
        while (i < p.size() && parts < 2) {
            if (IsSeparator(p[i])) ++parts;
            ++i;
        }
        return i;
    }
    if (HasDrive(p)) return p.size() > 2 && IsSeparator(p[2]) ? 3 : 2;
    return !p.empty() && IsSeparator(p[0]) ? 1 : 0;
}

std::string ExpandComponents(const std::string& full) {
    size_t at = RootLength(full);
    std::string out = full.substr(0, at);
    while (at < full.size()) {
        size_t end = at;
        while (end < full.size() && !IsSeparator(full[end])) ++end;
        std::string found;
        if (end == at || os::FindName(out + full.substr(at, end - at), &found) != 0) {
            out += full.substr(at);
            break;
        }
        out += found;
        if (end < full.size()) out += full[end];
        at = end + 1;
    }
    return out;
}

std::mutex gDataDirLock;
std::string gDataDir;

std::string Joined(const std::string& dir, std::string_view name) {
    if (dir.empty()) return std::string(name);
    const char last = dir.back();
    if (IsSeparator(last) || last == ':') return dir + std::string(name);
    const char sep = dir.find('\\') == std::string::npos && dir.find('/') != std::string::npos ? '/' : '\\';
    return dir + sep + std::string(name);
}

// "D:x.txt" while the current directory is on another drive.
bool IsRelativeOnAnotherDrive(std::string_view name, const std::string& current) {
    if (!HasDrive(name) || (name.size() > 2 && IsSeparator(name[2]))) return false;
    return !HasDrive(current) || (current[0] & ~0x20) != (name[0] & ~0x20);
}

// The completed name, held to a path buffer as the system's own call is: a
// longer one reads as the system's "name too long" on every platform.
int FullPathInBuffer(std::string_view name, std::string* out) {
    std::string full;
    if (int e = os::FullPathName(name, &full)) return e;
    if (full.size() >= kMaxPath) return os::kErrNameTooLong;
    *out = std::move(full);
    return 0;
}

int FullPathOnItsDrive(std::string_view name, std::string* out) {
    std::string current;
    if (os::CurrentDirectory(&current) != 0 || !IsRelativeOnAnotherDrive(name, current))
        return FullPathInBuffer(name, out);
    // That drive's current directory is known only to the system, so go there
    // and come back.
    if (int e = os::ChangeDirectory(name.substr(0, 2))) return e;
    const int e = FullPathInBuffer(name, out);
    os::ChangeDirectory(current);
    return e;
}

// A name that completes to more than a path buffer holds is a bad file name,
// not a system fault: the file layer's 45, never 300 + 206.
int AsFileNameError(int e) { return e == os::kErrNameTooLong ? os::kFileInvalidFilename : e; }

// Completing a data file's name looks at no disk: when the system cannot
// complete it (an invalid name, or a refusal without a number, which reads
// as a general failure) the name is at fault, as when opening it fails with
// the system's invalid-name error.
int AsDataFileNameError(int e) {
    if (e == os::kErrInvalidName || e == os::kErrGeneralFailure) return os::kFileInvalidFilename;
    return AsFileNameError(e);
}

std::string_view FileNameOf(std::string_view path) {
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The target of COPY and RENAME: a folder receives the source's file name.
int TargetOf(std::string_view source, std::string_view target, std::string* out) {
    std::string t(target);
    if (os::IsDirectory(t)) t = Joined(t, FileNameOf(source));
    if (t.size() >= kMaxPath) return os::kFileInvalidFilename;
    return ResolveDataFileName(t, out);
}

int Endpoints(std::string_view source, std::string_view target, std::string* from, std::string* to) {
    if (source.size() >= kMaxPath) return os::kFileInvalidFilename;
    if (int e = ResolveDataFileName(source, from)) return e;
    return TargetOf(*from, target, to);
}

}  // namespace

int LongPath(std::string_view name, std::string* out) {
    err::Clear();
    std::string text;
    if (int e = ArgumentOrCurrent(name, &text)) {
        *out = std::string(ClippedArgument(name));
        return e;
    }
    std::string full;
    if (int e = FullPathInBuffer(text, &full)) {
        *out = text;
        return e;
    }
    *out = ExpandComponents(full);
    return 0;
}

std::string ShortPath(std::string_view name) {
    err::Clear();
    std::string text;
    if (ArgumentOrCurrent(name, &text) != 0) text = std::string(ClippedArgument(name));
    std::string result;
    const int e = os::ShortPathName(text, &result);
    if (e == os::kErrInvalidParameter) result = EightDotThree(text);
    else if (e != 0) result = text;
    if (result.size() == 2 && HasDrive(result)) result += '\\';
    return result;
}

std::string EightDotThree(std::string_view text) {
    std::string s(text.substr(0, 143));
    for (size_t i = 0; i < s.size(); ++i) {
        char& c = s[i];
        if (c == '/') c = '\\';
        else if (c == ' ' || c == '+' || c == ',' || c == ';' || c == '=' || c == '[' || c == ']') c = '_';
        else if (c == ':' && i != 1) c = '_';
    }
    std::string out;
    size_t at = 0;
    while (at <= s.size()) {
        size_t end = s.find('\\', at);
        if (end == std::string::npos) end = s.size();
        const std::string part = s.substr(at, end - at);
        const size_t dot = part.rfind('.');
        if (dot == std::string::npos) out += part.substr(0, 8);
        else out += part.substr(0, dot).substr(0, 8) + "." + part.substr(dot + 1, 3);
        if (end < s.size()) out += '\\';
        at = end + 1;
    }
    return out;
}

void LONGPATH() {
    const std::string name = vstack::PopString();
    std::string result;
    const int e = LongPath(name, &result);
    if (e == os::kErrNameTooLong) err::Post(os::kFileInvalidFilename);
    else if (e) err::Post(err::kOsErrorBase + e);
    vstack::PushCopy(result.data(), result.size());
}

void SHORTPATH() {
    const std::string result = ShortPath(vstack::PopString());
    vstack::PushCopy(result.data(), result.size());
}

void SetDataDirectory(std::string_view dir) {
    std::lock_guard<std::mutex> hold(gDataDirLock);
    gDataDir = std::string(dir);
}

std::string DataDirectory() {
    std::lock_guard<std::mutex> hold(gDataDirLock);
    return gDataDir;
}

int ResolveDataFileName(std::string_view name, std::string* out) {
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);  // fixed-length name fields
    // A blank name names no file; completing it would name the data folder
    // or fail without a reason. Either way it is a bad file name.
    if (name.empty()) return os::kFileInvalidFilename;
    std::string placed(name);
    if (!HasDrive(name) && !(name.size() > 0 && IsSeparator(name[0]))) placed = Joined(DataDirectory(), name);
    if (placed.size() > kMaxPath - 1) return os::kFileInvalidFilename;
    return AsDataFileNameError(FullPathOnItsDrive(placed, out));
}

int CopyDataFile(std::string_view source, std::string_view target) {
    std::string from, to;
    if (int e = Endpoints(source, target, &from, &to)) return e;
    return os::Copy(from, to);
}

int RenameDataFile(std::string_view source, std::string_view target) {
    std::string from, to;
    if (int e = Endpoints(source, target, &from, &to)) return e;
    const int e = os::Rename(from, to);
    if (e == 0 || e == os::kErrFileNotFound || e == os::kErrPathNotFound) return e;
    return os::kErrAccessDenied;
}

}  // namespace dove::path
