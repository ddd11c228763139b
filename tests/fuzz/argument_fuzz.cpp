// ARGUMENT's rules and the command run's tokeniser over untrusted command
// lines. Input: a selector, a line break, then a raw command line (program
// name and arguments). Beyond crashes and undefined behaviour it checks what
// must hold for any command line:
// - the tail is the end of the raw line, without leading white space;
// - an empty selector gives the whole tail, "0" the program's file name;
// - no argument is longer than the tail; in a tail without double quotes
//   every argument, switch and named value is the text as typed;
// - the tokeniser's parameters are ordered, inside TEXT, never start with a
//   blank or a quote, and GetToken returns exactly their text;
// - taking the unattended switch out changes nothing but the switch: the
//   program name stays, and what follows the switch is the new tail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/start/argument.h"
#include "app/start/program_globals.h"
#include "app/start/tokenizer.h"
#include "app/start/unattended.h"

namespace {

using namespace dove::app;

const std::string kProgram = "C:\\TOOLS\\DOVE60.EXE";

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsWhite(char c) { return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' '; }

bool EndsArgument(char c) { return static_cast<signed char>(c) <= 0x20; }

void CheckTail(std::string_view raw, const std::string& tail) {
    Check(tail.size() <= raw.size());
    Check(raw.substr(raw.size() - tail.size()) == tail);
    Check(tail.empty() || !IsWhite(tail[0]));
}

// Without quotes an argument is a run of the tail as typed: no comma, no
// byte that ends an argument, and a slash only in front.
void CheckPlainArgument(const std::string& tail, const std::string& arg) {
    if (arg.empty()) return;
    Check(tail.find(arg) != std::string::npos);
    for (size_t i = 0; i < arg.size(); ++i) {
        Check(arg[i] != ',' && !EndsArgument(arg[i]));
        Check(arg[i] != '/' || i == 0);
    }
}

void CheckSelectors(const std::string& tail, std::string_view selector) {
    Check(SelectArgument(tail, "", kProgram) == tail);
    Check(SelectArgument(tail, "   ", kProgram) == tail);
    Check(SelectArgument(tail, "0 ", kProgram) == kProgram);

    const std::string picked = SelectArgument(tail, selector, kProgram);
    const bool plain = tail.find('"') == std::string::npos;
    if (picked != kProgram) Check(picked.size() <= tail.size());
    if (plain && picked != kProgram) Check(tail.find(picked) != std::string::npos);
    if (plain && !selector.empty() && selector[0] == '/' && !picked.empty()) {
        Check(tail.find("/" + picked) != std::string::npos);
    }
    for (int n = 1; n <= 6; ++n) {
        const std::string arg = SelectArgument(tail, std::to_string(n), kProgram);
        Check(arg.size() <= tail.size());
        if (plain) CheckPlainArgument(tail, arg);
    }
}

void CheckTokens(const std::string& tail) {
    TokeniseCommandLine(tail);
    const ProgramGlobals& g = Globals();
    const std::string text = g.text;
    Check(text.size() <= 254);
    Check(g.tokens >= 0 && static_cast<size_t>(g.tokens) == g.tokenQ->size());
    int previousRight = 0;
    for (int32_t n = 1; n <= g.tokens; ++n) {
        const TokenEntry& e = (*g.tokenQ)[static_cast<size_t>(n - 1)];
        Check(e.left > previousRight && e.left <= e.right && static_cast<size_t>(e.right) <= text.size());
        Check(text[e.left - 1] != ' ' && text[e.left - 1] != '"');
        previousRight = e.right;
        if (n <= 255) {
            Check(GetToken(static_cast<uint8_t>(n)) ==
                  text.substr(static_cast<size_t>(e.left - 1), static_cast<size_t>(e.right - e.left + 1)));
        }
    }
    if (g.tokens < 255) Check(GetToken(static_cast<uint8_t>(g.tokens + 1)).empty());
    Check(GetToken(0).empty());
}

void CheckSwitchRemoval(std::string_view raw, const std::string& tail) {
    using namespace dove::app::unattended;
    const std::string without = WithoutSwitch(raw);
    if (!BeginsWithSwitch(tail)) {
        Check(without == raw);
        return;
    }
    const std::string newTail = CommandTailOf(without);
    Check(!BeginsWithSwitch(newTail) || newTail.size() < tail.size());
    Check(without.size() < raw.size());
    // The program name and what separates it stay; only white space may
    // stand between them and the new tail (the rest after a comma).
    const std::string_view head = raw.substr(0, raw.size() - tail.size());
    Check(without.compare(0, head.size(), head) == 0);
    for (size_t i = head.size(); i < without.size() - newTail.size(); ++i) Check(IsWhite(without[i]));
    Check(tail.size() >= newTail.size() && tail.substr(tail.size() - newTail.size()) == newTail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string_view selector = input.substr(0, newline);
    const std::string_view raw = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    const std::string tail = CommandTailOf(raw);
    CheckTail(raw, tail);
    CheckSelectors(tail, selector);
    CheckTokens(tail);
    CheckSwitchRemoval(raw, tail);
    // The tokeniser over any text, not only TEXT's 254 characters.
    const std::vector<TokenEntry> all = Tokenise(raw);
    for (size_t i = 0; i < all.size(); ++i) {
        Check(all[i].left >= 1 && all[i].left <= all[i].right);
        Check(i == 0 || all[i].left > all[i - 1].right);
    }
    return 0;
}
