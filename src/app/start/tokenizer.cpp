#include "app/start/tokenizer.h"

#include "runtime/strings/strings.h"

namespace dove::app {
namespace {

struct Splitter {
    std::vector<TokenEntry> entries;
    int start = 0;  // 0: no parameter open

    void Close(int x) {
        if (start == 0) return;
        entries.push_back({static_cast<int16_t>(start), static_cast<int16_t>(x - 1)});
        start = 0;
    }
};

}  // namespace

std::vector<TokenEntry> Tokenise(std::string_view text) {
    // Positions are 16-bit; TEXT never exceeds 254 characters.
    if (text.size() > 32766) text = text.substr(0, 32766);
    size_t len = text.size();
    while (len > 0 && text[len - 1] == ' ') --len;
    Splitter s;
    bool inQuotes = false;
    for (size_t i = 0; i < len; ++i) {
        int x = static_cast<int>(i) + 1;
        char c = text[i];
        if (c == ' ') {
            if (!inQuotes) s.Close(x);
        } else if (c == '"') {
            if (inQuotes) {
                s.Close(x);
                inQuotes = false;
            } else {
                inQuotes = true;
            }
        } else if (s.start == 0) {
            s.start = x;
        }
    }
    s.Close(static_cast<int>(len) + 1);
    return s.entries;
}

void TokeniseCommandLine(std::string_view argumentText) {
    ProgramGlobals& g = Globals();
    str::AssignZ(g.text, sizeof g.text, argumentText);
    std::vector<TokenEntry> entries = Tokenise(g.text);
    if (!g.tokenQ) g.tokenQ = std::make_unique<std::deque<TokenEntry>>();
    g.tokenQ->assign(entries.begin(), entries.end());
    g.tokens = static_cast<int32_t>(entries.size());
}

}  // namespace dove::app
