#include "files/text_names.h"

#include "files/os_file.h"

namespace dove::files {

namespace {

constexpr size_t kLongestName = 259;

bool EndsWithSeparator(std::string_view s) {
    return !s.empty() && (s.back() == '\\' || s.back() == '/' || s.back() == ':');
}

// A target that names a directory receives the source's file name.
int TargetName(std::string_view source, std::string_view target, std::string* out) {
    std::string t(target);
    if (os::IsDirectory(t)) {
        size_t cut = source.find_last_of("\\/:");
        std::string_view leaf = cut == std::string_view::npos ? source : source.substr(cut + 1);
        // Native names use "/", the system's own "\\".
        bool slashes = t.find('/') != std::string::npos && t.find('\\') == std::string::npos;
        if (!EndsWithSeparator(t)) t += slashes ? '/' : '\\';
        t += leaf;
        if (t.size() >= os::kMaxPath) return os::kFileInvalidFilename;
    }
    return ResolveDataName(t, out);
}

}  // namespace

int ResolveDataName(std::string_view name, std::string* out) {
    if (name.size() > kLongestName) return os::kFileInvalidFilename;
    if (int e = os::FullPathName(name, out)) return e == os::kErrInvalidName ? 45 : e;
    return 0;
}

int RenameDataFile(std::string_view source, std::string_view target) {
    if (source.size() >= os::kMaxPath) return os::kFileInvalidFilename;
    std::string to;
    if (int e = TargetName(source, target, &to)) return e;
    int e = os::Rename(source, to);
    if (e == 0 || e == 2 || e == 3) return e;
    return 5;
}

int CopyDataFile(std::string_view source, std::string_view target) {
    if (source.size() >= os::kMaxPath) return os::kFileInvalidFilename;
    std::string to;
    if (int e = TargetName(source, target, &to)) return e;
    return os::Copy(source, to);
}

}  // namespace dove::files
