// An in-memory settings store behind GETINI and PUTINI, for native unit
// tests only: files, sections and entries match without regard to case, as
// the platform's profile functions match them, and every write is recorded.
//
//   test::ProfileFake fake;                 // installed until destroyed
//   fake.Set("T60ee.ini", "User Menus", "1", "Tools/X|X");
//   ... run the command ...
//   EXPECT_EQ("a", fake.Get("T60ee.ini", "User Applications", "X"));
#pragma once

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "runtime/profile/profile.h"

namespace test {

class ProfileFake {
public:
    struct Write {
        std::string file, section;
        bool entryNull, valueNull;
        std::string entry, value;
    };

    ProfileFake() {
        Current() = this;
        dove::profile::SetPlatform({&ReadWinIni, &ReadPrivate, &WriteWinIni, &WritePrivate});
    }
    ~ProfileFake() {
        dove::profile::SetPlatform(dove::profile::DefaultPlatform());
        Current() = nullptr;
    }

    void Set(const std::string& file, const std::string& section, const std::string& entry,
             const std::string& value) {
        store_[Key(file)][Key(section)][Key(entry)] = value;
    }
    // "" for WIN.INI. Missing entries read as "<none>".
    std::string Get(const std::string& file, const std::string& section,
                    const std::string& entry) const {
        auto f = store_.find(Key(file));
        if (f == store_.end()) return "<none>";
        auto s = f->second.find(Key(section));
        if (s == f->second.end()) return "<none>";
        auto e = s->second.find(Key(entry));
        return e == s->second.end() ? "<none>" : e->second;
    }
    bool HasSection(const std::string& file, const std::string& section) const {
        auto f = store_.find(Key(file));
        return f != store_.end() && f->second.count(Key(section)) > 0;
    }

    std::vector<Write> writes;
    std::vector<std::string> readFiles;   // file of every read, "" for WIN.INI

private:
    using Entries = std::map<std::string, std::string>;
    std::map<std::string, std::map<std::string, Entries>> store_;

    static ProfileFake*& Current() {
        static ProfileFake* current = nullptr;
        return current;
    }
    static std::string Key(const std::string& s) {
        std::string k = s;
        for (char& c : k) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return k;
    }
    static uint32_t Read(const char* file, const char* section, const char* entry,
                         const char* def, char* buf, uint32_t size) {
        ProfileFake* self = Current();
        self->readFiles.push_back(file);
        std::string value = self->Get(file, section, entry);
        if (value == "<none>") value = def;
        if (value.size() >= size) value.resize(size - 1);
        std::memcpy(buf, value.c_str(), value.size() + 1);
        return static_cast<uint32_t>(value.size());
    }
    static bool Store(const char* file, const char* section, const char* entry,
                      const char* value) {
        ProfileFake* self = Current();
        self->writes.push_back({file, section, entry == nullptr, value == nullptr,
                                entry ? entry : "", value ? value : ""});
        auto& sections = self->store_[Key(file)];
        if (!entry)
            sections.erase(Key(section));
        else if (!value)
            sections[Key(section)].erase(Key(entry));
        else
            sections[Key(section)][Key(entry)] = value;
        return true;
    }
    static uint32_t ReadWinIni(const char* s, const char* e, const char* d, char* b, uint32_t n) {
        return Read("", s, e, d, b, n);
    }
    static uint32_t ReadPrivate(const char* s, const char* e, const char* d, char* b, uint32_t n,
                                const char* f) {
        return Read(f, s, e, d, b, n);
    }
    static bool WriteWinIni(const char* s, const char* e, const char* v) { return Store("", s, e, v); }
    static bool WritePrivate(const char* s, const char* e, const char* v, const char* f) {
        return Store(f, s, e, v);
    }
};

}  // namespace test
