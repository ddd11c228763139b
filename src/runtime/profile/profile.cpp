#include "runtime/profile/profile.h"

#include <cstring>
#include <mutex>

#include "runtime/strings/value_stack.h"

namespace dove {
namespace profile {
namespace {

uint32_t CopyDefault(const char*, const char*, const char* def, char* buf, uint32_t size) {
    if (size == 0) return 0;
    size_t n = std::strlen(def);
    if (n >= size) n = size - 1;
    std::memmove(buf, def, n);
    buf[n] = 0;
    return static_cast<uint32_t>(n);
}
uint32_t CopyDefaultPrivate(const char* s, const char* e, const char* def, char* buf,
                            uint32_t size, const char*) {
    return CopyDefault(s, e, def, buf, size);
}
bool DropWinIni(const char*, const char*, const char*) { return false; }
bool DropPrivate(const char*, const char*, const char*, const char*) { return false; }

std::mutex g_lock;
Platform g_platform = DefaultPlatform();

}  // namespace

Platform DefaultPlatform() { return {&CopyDefault, &CopyDefaultPrivate, &DropWinIni, &DropPrivate}; }

void SetPlatform(const Platform& platform) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_platform = platform;
}

Platform CurrentPlatform() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_platform;
}

}  // namespace profile

namespace {

// One argument as the operations use it: popped, clipped and cut. The
// buffer sizes are those of the platform calls (value 1024, file 260).
std::string PopClipped(size_t limit) {
    vstack::Clip();
    std::string s = vstack::PopString();
    if (s.size() > limit) s.resize(limit);
    return s;
}

// Section and entry are not cut: the platform takes them whole.
struct ProfileArgs {
    std::string section, entry, value, file;
};

ProfileArgs PopArgs() {
    ProfileArgs a;
    a.file = PopClipped(kIniFileLimit);
    a.value = PopClipped(kIniValueLimit);
    a.entry = PopClipped(std::string::npos);
    a.section = PopClipped(std::string::npos);
    return a;
}

void Push(std::string_view s) { vstack::PushCopy(s.data(), s.size()); }

// An ini file holds one entry a line. A line break inside a name or value
// would be written as it is and start a line of its own: a new entry or
// section that nobody asked for, in a file that other programs read (the
// argument text of a command run can carry one). Each break character
// becomes a blank, so the entry stays whole on its one line, and the
// result is clipped again.
void BlankLineBreaks(std::string* s) {
    size_t brk = s->find_first_of("\r\n");
    if (brk == std::string::npos) return;
    for (size_t i = brk; i < s->size(); ++i)
        if ((*s)[i] == '\r' || (*s)[i] == '\n') (*s)[i] = ' ';
    s->resize(s->find_last_not_of(' ') + 1);
}

// The white space that the profile functions trim from the ends of a line,
// a name and a value; Ctrl-Z counts as white space there too.
bool IsIniSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' ||
           c == '\x1A';
}

std::string_view TrimIniSpace(std::string_view s) {
    while (!s.empty() && IsIniSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsIniSpace(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

bool IniEntryNameReadsBack(std::string_view entry) {
    std::string_view name = TrimIniSpace(entry);
    return !name.empty() && name.front() != '[' && name.front() != ';' &&
           name.find('=') == std::string_view::npos;
}

bool IniSectionNameReadsBack(std::string_view section) {
    return section.find(']') == std::string_view::npos;
}

std::string IniValueAsReadBack(std::string_view value) {
    std::string blanked(value);
    BlankLineBreaks(&blanked);
    std::string_view v = TrimIniSpace(blanked);
    if (v.size() >= 2 && (v.front() == '\'' || v.front() == '"') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

std::string GETINI() {
    ProfileArgs a = PopArgs();
    profile::Platform p = profile::CurrentPlatform();
    // The default is copied into the buffer that receives the value, as the
    // platform may leave the buffer alone when it finds nothing.
    char buf[kIniValueLimit + 1];
    std::memcpy(buf, a.value.c_str(), a.value.size() + 1);
    uint32_t size = sizeof buf;
    if (a.file.empty())
        p.readWinIni(a.section.c_str(), a.entry.c_str(), a.value.c_str(), buf, size);
    else
        p.readPrivate(a.section.c_str(), a.entry.c_str(), a.value.c_str(), buf, size,
                      a.file.c_str());
    buf[kIniValueLimit] = 0;
    return std::string(buf);
}

bool PUTINI(bool entryOmitted, bool valueOmitted) {
    ProfileArgs a = PopArgs();
    BlankLineBreaks(&a.section);
    BlankLineBreaks(&a.entry);
    BlankLineBreaks(&a.value);
    if (!IniSectionNameReadsBack(a.section)) return false;
    if (!entryOmitted && !IniEntryNameReadsBack(a.entry)) return false;
    const char* entry = entryOmitted ? nullptr : a.entry.c_str();
    const char* value = valueOmitted ? nullptr : a.value.c_str();
    profile::Platform p = profile::CurrentPlatform();
    if (a.file.empty()) return p.writeWinIni(a.section.c_str(), entry, value);
    return p.writePrivate(a.section.c_str(), entry, value, a.file.c_str());
}

std::string GetIni(std::string_view section, std::string_view entry, std::string_view def,
                   std::string_view file) {
    Push(section);
    Push(entry);
    Push(def);
    Push(file);
    return GETINI();
}

bool PutIni(std::string_view section, std::optional<std::string_view> entry,
            std::optional<std::string_view> value, std::string_view file) {
    Push(section);
    Push(entry.value_or(std::string_view()));
    Push(value.value_or(std::string_view()));
    Push(file);
    return PUTINI(!entry.has_value(), !value.has_value());
}

}  // namespace dove
