// Reading the text driver's options: the run-time reading of one command and
// the option builder's stricter reading of a whole driver string.
#include "files/text/text_driver_options.h"

#include <cstddef>

namespace dove::textopt {

namespace {

struct Named {
    Option option;
    const char* name;
};

constexpr Named kNames[] = {
    {Option::FileBuffers, "FILEBUFFERS"}, {Option::QuickScan, "QUICKSCAN"},
    {Option::EndOfRecord, "ENDOFRECORD"}, {Option::CtrlZIsEof, "CTRLZISEOF"},
    {Option::Clip, "CLIP"},               {Option::Tab, "TAB"},
    {Option::Register, "REGISTER"},       {Option::ImportFile, "IMPORTFILE"},
};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// The first run of digits at or after `from`; npos when there is none.
// *value saturates at 0xFFFFFFFF.
size_t ReadNumber(std::string_view s, size_t from, uint32_t* value, size_t* end) {
    size_t i = from;
    while (i < s.size() && !IsDigit(s[i])) ++i;
    if (i == s.size()) return std::string_view::npos;
    uint64_t v = 0;
    size_t j = i;
    for (; j < s.size() && IsDigit(s[j]); ++j) {
        v = v * 10 + uint64_t(s[j] - '0');
        if (v > 0xFFFFFFFFull) v = 0xFFFFFFFFull;
    }
    *value = uint32_t(v);
    *end = j;
    return i;
}

// The first word after the name: "=" and blanks before it are skipped.
std::string_view ReadWord(std::string_view rest) {
    size_t i = 0;
    while (i < rest.size() && (IsBlank(rest[i]) || rest[i] == '=')) ++i;
    size_t j = i;
    while (j < rest.size() && !IsBlank(rest[j]) && rest[j] != '/') ++j;
    return rest.substr(i, j - i);
}

void ReadOnOff(std::string_view rest, bool anyWordIsOn, Command* c) {
    const std::string_view word = ReadWord(rest);
    if (word == "ON" || word == "OFF") {
        c->hasValue = true;
        c->on = word == "ON";
    } else if (anyWordIsOn && !word.empty()) {
        c->hasValue = true;
        c->on = true;
    }
}

void ReadTab(std::string_view rest, Command* c) {
    uint32_t n = 0;
    size_t end = 0;
    const size_t at = ReadNumber(rest, 0, &n, &end);
    if (at == std::string_view::npos) return;
    const bool negative = at > 0 && rest[at - 1] == '-';
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    const int64_t v = int64_t(n) > limit ? limit : int64_t(n);
    c->tab = int32_t(negative ? -v : v);
    c->hasValue = true;
}

// n,b1,...,bn: each code is the first number after the next ",". Codes that
// are missing shorten the delimiter; a code above 255, or no code at all,
// leaves the option unapplied.
void ReadEndOfRecord(std::string_view rest, Command* c) {
    uint32_t count = 0;
    size_t end = 0;
    if (ReadNumber(rest, 0, &count, &end) == std::string_view::npos) return;
    std::string bytes;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t comma = rest.find(',', end);
        if (comma == std::string_view::npos) break;
        uint32_t code = 0;
        if (ReadNumber(rest, comma + 1, &code, &end) == std::string_view::npos) break;
        if (code > 255) return;
        bytes.push_back(char(code));
    }
    if (bytes.empty()) return;
    c->delimiter = bytes;
    c->hasValue = true;
}

}  // namespace

const char* NameOf(Option option) {
    for (const Named& n : kNames)
        if (n.option == option) return n.name;
    return "";
}

Command ParseCommand(std::string_view text) {
    Command c;
    const std::string up = Upper(Trimmed(text));
    for (const Named& n : kNames) {
        if (!StartsWith(up, n.name)) continue;
        c.option = n.option;
        const std::string_view rest = std::string_view(up).substr(std::char_traits<char>::length(n.name));
        size_t end = 0;
        switch (n.option) {
        case Option::FileBuffers:
            c.hasValue = ReadNumber(rest, 0, &c.number, &end) != std::string_view::npos;
            break;
        case Option::QuickScan:
        case Option::Clip: ReadOnOff(rest, false, &c); break;
        case Option::CtrlZIsEof: ReadOnOff(rest, true, &c); break;
        case Option::Tab: ReadTab(rest, &c); break;
        case Option::EndOfRecord: ReadEndOfRecord(rest, &c); break;
        default: break;
        }
        break;
    }
    return c;
}

std::vector<std::string_view> SplitSwitches(std::string_view driverString) {
    std::vector<std::string_view> out;
    size_t slash = driverString.find('/');
    while (slash != std::string_view::npos) {
        const size_t next = driverString.find('/', slash + 1);
        const size_t end = next == std::string_view::npos ? driverString.size() : next;
        out.push_back(driverString.substr(slash + 1, end - slash - 1));
        slash = next;
    }
    return out;
}

// --- Option builder --------------------------------------------------------

namespace {

constexpr const char* kPoorlyFormed = "Poorly formed driver string.  ";

struct Switch {
    std::string shown;       // "/" and the name as written
    std::string name;        // upper-cased
    bool hasEquals = false;
    std::string value;       // trimmed, as written
};

Switch SplitSwitch(std::string_view text) {
    Switch s;
    const size_t eq = text.find('=');
    const std::string_view name = Trimmed(text.substr(0, eq));
    s.shown = "/" + std::string(name);
    s.name = Upper(name);
    if (eq != std::string_view::npos) {
        s.hasEquals = true;
        s.value = std::string(Trimmed(text.substr(eq + 1)));
    }
    return s;
}

bool ReadBuilderOnOff(const Switch& s, bool* out, std::vector<std::string>* messages) {
    const std::string word = Upper(s.value);
    if (word == "ON" || word == "OFF") {
        *out = word == "ON";
        return true;
    }
    messages->push_back(s.shown + " has an incorrect value of " + s.value + ".  Value ignored,");
    return false;
}

void ApplyBuilderSwitch(const Switch& s, BuilderResult* r) {
    SwitchTable& t = r->table;
    bool on = false;
    if (s.name == "FILEBUFFERS") t.buffers = s.value;
    else if (s.name == "TAB") t.tab = s.value;
    else if (s.name == "ENDOFRECORD") t.endOfRecord = s.value;
    else if (s.name == "CLIP") { if (ReadBuilderOnOff(s, &on, &r->messages)) t.clip = on; }
    else if (s.name == "CTRLZISEOF") { if (ReadBuilderOnOff(s, &on, &r->messages)) t.ctrlZIsEof = on; }
    else if (s.name == "QUICKSCAN") {
        if (ReadBuilderOnOff(s, &on, &r->messages)) t.quickScan = on ? QuickScanChoice::On : QuickScanChoice::Off;
    }
}

bool IsBuilderSwitch(const std::string& name) {
    return name == "FILEBUFFERS" || name == "QUICKSCAN" || name == "ENDOFRECORD" || name == "CTRLZISEOF" ||
           name == "CLIP" || name == "TAB";
}

void CheckSwitch(std::string_view text, BuilderResult* r) {
    const Switch s = SplitSwitch(text);
    if (!IsBuilderSwitch(s.name)) {
        r->messages.push_back(kPoorlyFormed + s.shown + " is not a valid switch");
    } else if (!s.hasEquals) {
        r->messages.push_back(kPoorlyFormed + s.shown + " has no value");
    } else if (s.value.empty()) {
        r->messages.push_back(kPoorlyFormed + s.shown + " has missing value");
    } else {
        ApplyBuilderSwitch(s, r);
    }
}

}  // namespace

BuilderResult ParseDriverString(std::string_view text) {
    BuilderResult r;
    // Text before the first switch is no switch at all.
    const std::string_view lead = Trimmed(text.substr(0, text.find('/')));
    if (!lead.empty()) r.messages.push_back(kPoorlyFormed + std::string(lead) + " is not a valid switch");
    for (std::string_view piece : SplitSwitches(text)) {
        if (Trimmed(piece).empty()) continue;
        CheckSwitch(piece, &r);
    }
    return r;
}

std::string ComposeDriverString(const SwitchTable& t) {
    std::string out;
    auto add = [&out](const std::string& text) {
        if (!out.empty()) out += ' ';
        out += text;
    };
    if (!Trimmed(t.buffers).empty()) add("/FILEBUFFERS=" + std::string(Trimmed(t.buffers)));
    if (t.quickScan != QuickScanChoice::Default)
        add(std::string("/QUICKSCAN=") + (t.quickScan == QuickScanChoice::On ? "ON" : "OFF"));
    if (!Trimmed(t.endOfRecord).empty()) add("/ENDOFRECORD=" + std::string(Trimmed(t.endOfRecord)));
    if (!t.ctrlZIsEof) add("/CTRLZISEOF=OFF");
    if (!t.clip) add("/CLIP=OFF");
    if (!Trimmed(t.tab).empty()) add("/TAB=" + std::string(Trimmed(t.tab)));
    return out;
}

}  // namespace dove::textopt
