#include "app/start/argument.h"

#include <atomic>
#include <cstdlib>
#include <thread>

#include "runtime/locale/char_tables.h"
#include "runtime/strings/strings.h"
#include "runtime/strings/value_stack.h"

namespace dove::app {
namespace {

CommandLineSource g_source{nullptr, nullptr};
std::atomic<int> g_lock{0};  // 0 free, -1 taken
bool g_haveTail = false;
std::string g_tail;

// Calls may come from any thread; the section is short, so spin.
class ArgumentLock {
public:
    ArgumentLock() {
        while (g_lock.exchange(-1, std::memory_order_acquire) < 0) std::this_thread::yield();
    }
    ~ArgumentLock() { g_lock.store(0, std::memory_order_release); }
};

bool IsWhite(char c) {
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ';
}

// Control characters, the blank and every byte 0x80..0xFF end an argument.
bool EndsArgument(char c) { return static_cast<signed char>(c) <= 0x20; }

enum class Mode { Position, Switch, Named };

struct Selection {
    Mode mode = Mode::Position;
    long position = 0;
    std::string key;
};

uint8_t UpperOf(unsigned char c) {
    const chartab::Tables& t = chartab::Current();
    return t.cls[c] == 2 ? t.partner[c] : c;
}

bool SameIgnoringCase(char a, char b) {
    uint8_t ua = UpperOf(static_cast<unsigned char>(a));
    uint8_t ub = UpperOf(static_cast<unsigned char>(b));
    const chartab::Tables& t = chartab::Current();
    return ua == ub || t.weight[ua] == t.weight[ub];
}

bool StartsWithKey(const std::string& arg, const std::string& key) {
    if (arg.size() < key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i)
        if (!SameIgnoringCase(arg[i], key[i])) return false;
    return true;
}

// Reads one argument at pos; quotes are not copied, a doubled quote is one.
std::string ReadArgument(std::string_view tail, size_t& pos) {
    std::string arg;
    bool quoted = false;
    while (pos < tail.size()) {
        char c = tail[pos];
        if (c == '"') {
            if (pos + 1 < tail.size() && tail[pos + 1] == '"') {
                arg += '"';
                pos += 2;
            } else {
                quoted = !quoted;
                ++pos;
            }
            continue;
        }
        if (!quoted && (c == ',' || EndsArgument(c) || (c == '/' && !arg.empty()))) break;
        arg += c;
        ++pos;
    }
    return arg;
}

void SkipAfterArgument(std::string_view tail, size_t& pos) {
    while (pos < tail.size() && EndsArgument(tail[pos])) ++pos;
    if (pos < tail.size() && tail[pos] == ',') ++pos;
}

std::string Scan(std::string_view tail, const Selection& sel) {
    size_t pos = 0;
    long count = 0;
    for (;;) {
        while (pos < tail.size() && IsWhite(tail[pos])) ++pos;
        if (pos >= tail.size()) return {};
        std::string arg = ReadArgument(tail, pos);
        if (sel.mode != Mode::Position && StartsWithKey(arg, sel.key))
            return sel.mode == Mode::Switch ? arg.substr(1) : arg.substr(sel.key.size());
        ++count;
        if (sel.mode == Mode::Position && count == sel.position) return arg;
        SkipAfterArgument(tail, pos);
    }
}

Selection Classify(const std::string& selector) {
    Selection sel;
    sel.position = std::strtol(selector.c_str(), nullptr, 10);
    if (sel.position != 0) return sel;
    sel.mode = selector[0] == '/' ? Mode::Switch : Mode::Named;
    sel.key = sel.mode == Mode::Switch ? selector : selector + "=";
    return sel;
}

const std::string& Tail() {
    if (!g_haveTail) {
        g_tail = g_source.rawCommandLine ? CommandTailOf(g_source.rawCommandLine()) : std::string();
        g_haveTail = true;
    }
    return g_tail;
}

std::string ProgramFileName() {
    return g_source.programFileName ? g_source.programFileName() : std::string();
}

}  // namespace

void SetCommandLineSource(const CommandLineSource& source) {
    ArgumentLock hold;
    g_source = source;
    g_haveTail = false;
}

std::string CommandTailOf(std::string_view raw) {
    size_t pos = 0;
    while (pos < raw.size() && IsWhite(raw[pos])) ++pos;
    bool quoted = false;
    for (; pos < raw.size(); ++pos) {
        if (raw[pos] == '"') quoted = !quoted;
        else if (!quoted && IsWhite(raw[pos])) break;
    }
    while (pos < raw.size() && IsWhite(raw[pos])) ++pos;
    return std::string(raw.substr(pos));
}

FirstOfTail FirstArgumentOf(std::string_view tail) {
    FirstOfTail first;
    size_t pos = 0;
    while (pos < tail.size() && IsWhite(tail[pos])) ++pos;
    first.argument = ReadArgument(tail, pos);
    SkipAfterArgument(tail, pos);
    first.restAt = pos;
    return first;
}

std::string SelectArgument(std::string_view tail, std::string_view selector,
                           const std::string& programFileName) {
    std::string clipped = str::Clip(selector);
    if (clipped.empty()) return std::string(tail);
    if (clipped == "0") return programFileName;
    return Scan(tail, Classify(clipped));
}

void ARGUMENT() {
    std::string selector = vstack::PopString();
    std::string result;
    {
        ArgumentLock hold;
        result = SelectArgument(Tail(), selector, ProgramFileName());
    }
    vstack::PushText(result.c_str());  // a private copy: result dies here
}

void ARGUMENT_Omitted() {
    std::string tail;
    {
        ArgumentLock hold;
        tail = Tail();
    }
    vstack::PushText(tail.c_str());
}

std::string Argument(std::string_view selector) {
    vstack::PushRef(selector.data(), selector.size());
    ARGUMENT();
    return vstack::PopString();
}

}  // namespace dove::app
