// The environment file: one NAME=value setting a line. The syntax is in
// docs/environment-file.md; every rule here that rejects a line leaves the
// earlier value in place, so a damaged file never stops the program.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/locale/locale_settings.h"

namespace dove::locale {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::vector<std::string> SplitList(std::string_view value) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t comma = value.find(',', start);
        items.emplace_back(Trim(value.substr(start, comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return items;
}

// A decimal number of at most 9 digits, nothing else.
bool ParseNumber(std::string_view s, int* out) {
    if (s.empty() || s.size() > 9) return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *out = v;
    return true;
}

bool ParseSwitch(std::string_view value, bool* out) {
    const std::string v = UpperAscii(value);
    if (v == "1" || v == "ON" || v == "YES" || v == "TRUE") return *out = true, true;
    if (v == "0" || v == "OFF" || v == "NO" || v == "FALSE") return *out = false, true;
    return false;
}

bool ParseCharset(std::string_view value, int* out) {
    const std::string v = UpperAscii(value);
    if (v == "ANSI") return *out = 0, true;
    if (v == "DEFAULT") return *out = 1, true;
    if (v == "SYMBOL") return *out = 2, true;
    if (v == "OEM") return *out = 255, true;
    int n = 0;
    if (!ParseNumber(v, &n) || n > 255) return false;
    *out = n;
    return true;
}

template <size_t N>
bool ParseNames(std::string_view value, std::array<std::string, N>* out) {
    const std::vector<std::string> items = SplitList(value);
    if (items.size() != N) return false;
    for (const std::string& item : items) {
        if (item.empty()) return false;
    }
    for (size_t i = 0; i < N; ++i) (*out)[i] = items[i];
    return true;
}

bool ParseAmPm(std::string_view value, Settings* s) {
    const std::vector<std::string> items = SplitList(value);
    if (items.size() != 2 || items[0].empty() || items[1].empty()) return false;
    s->amText = items[0];
    s->pmText = items[1];
    return true;
}

bool ParseButtons(std::string_view value, Settings* s) {
    const std::vector<std::string> items = SplitList(value);
    if (items.size() > static_cast<size_t>(kButtonCount)) return false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].empty()) s->buttons[i] = items[i];
    }
    return true;
}

// "302,Text, which may hold commas".
bool ParseMessage(std::string_view value, Settings* s) {
    const size_t comma = value.find(',');
    if (comma == std::string_view::npos) return false;
    int code = 0;
    if (!ParseNumber(Trim(value.substr(0, comma)), &code)) return false;
    const std::string_view text = Trim(value.substr(comma + 1));
    if (text.empty()) return false;
    s->messages[code] = std::string(text);
    return true;
}

// A byte that may join a case pair: no control character, and none of the
// built-in letters, whose pairs every command word and switch relies on.
bool MayBecomeLetter(uint8_t b) {
    const bool asciiLetter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    return b >= 0x20 && !asciiLetter;
}

// Pairs of an upper-case letter and its lower-case partner: "Àà,Éé".
// Upper-casing and lower-casing must undo each other, so a pair that would
// give a letter a second partner (or re-pair one of A..Z, a..z) makes the
// whole line unusable; repeating a pair that already holds is harmless. The
// pairs are tried on a copy of the two case tables, which are small, so that
// a rejected line changes nothing.
bool ParseCase(std::string_view value, chartab::Tables* t) {
    chartab::Tables trial = *t;
    for (const std::string& item : SplitList(value)) {
        if (item.size() != 2) return false;
        const uint8_t upper = static_cast<uint8_t>(item[0]);
        const uint8_t lower = static_cast<uint8_t>(item[1]);
        if (upper == lower || !MayBecomeLetter(upper) || !MayBecomeLetter(lower)) return false;
        const bool upperFree = trial.cls[upper] == chartab::kOther;
        const bool lowerFree = trial.cls[lower] == chartab::kOther;
        const bool samePair = trial.cls[upper] == chartab::kUpper && trial.partner[upper] == lower &&
                              trial.cls[lower] == chartab::kLower && trial.partner[lower] == upper;
        if (samePair) continue;
        if (!upperFree || !lowerFree) return false;
        trial.cls[upper] = chartab::kUpper;
        trial.cls[lower] = chartab::kLower;
        trial.partner[upper] = lower;
        trial.partner[lower] = upper;
    }
    std::copy(std::begin(trial.cls), std::end(trial.cls), std::begin(t->cls));
    std::copy(std::begin(trial.partner), std::end(trial.partner), std::begin(t->partner));
    return true;
}

// Characters in ascending order. They take consecutive weights at the place
// of the lowest of them; every other byte keeps its relative order.
bool ParseCollation(std::string_view value, chartab::Tables* t) {
    bool listed[256] = {};
    uint8_t sequence[256];
    int count = 0;
    for (char c : value) {
        const uint8_t b = static_cast<uint8_t>(c);
        if (c == ' ' || c == '\t') continue;
        if (listed[b]) return false;
        listed[b] = true;
        sequence[count++] = b;
    }
    if (count == 0) return false;
    // The weights are a permutation of 0..255 (the defaults are, and every
    // line below gives each byte a weight of its own), so the order of all
    // bytes by weight is its inverse; the sequence is spliced into that order.
    // No search and no allocation: a file of many such lines still reads in
    // a fraction of a second.
    uint8_t order[256];
    for (int b = 0; b < 256; ++b) order[t->weight[b]] = static_cast<uint8_t>(b);
    int next = 0;
    bool placed = false;
    for (uint8_t b : order) {
        if (!listed[b]) {
            t->weight[b] = static_cast<uint8_t>(next++);
        } else if (!placed) {
            for (int i = 0; i < count; ++i) t->weight[sequence[i]] = static_cast<uint8_t>(next++);
            placed = true;
        }
    }
    return true;
}

bool ParseDigraphs(std::string_view value, Settings* s) {
    const std::vector<std::string> items = SplitList(value);
    for (const std::string& item : items) {
        if (item.size() != 2) return false;
    }
    s->digraphs = items;
    return true;
}

bool ApplySetting(const std::string& name, std::string_view value, Settings* s) {
    if (name == "TOVMONTH") return ParseNames(value, &s->monthNames);
    if (name == "TOVMON") return ParseNames(value, &s->monthAbbrevs);
    if (name == "TOVAMPM") return ParseAmPm(value, s);
    if (name == "TOVBUTTON") return ParseButtons(value, s);
    if (name == "TOVMSG") return ParseMessage(value, s);
    if (name == "TOVCASE") return ParseCase(value, &s->tables);
    if (name == "TOVCOLSEQ") return ParseCollation(value, &s->tables);
    if (name == "TOVDIGRAPH") return ParseDigraphs(value, s);
    if (name == "TOVCHARSET") return ParseCharset(value, &s->charset);
    if (name == "TOVSYSTEMCHARSET") return ParseCharset(value, &s->systemCharset);
    if (name == "TOVLFN") return ParseSwitch(value, &s->longFileNames);
    if (name == "TOVLAYOUT") {
        const std::string v = UpperAscii(value);
        if (v == "RTL" || v == "1") return s->rightToLeft = true, true;
        if (v == "LTR" || v == "0") return s->rightToLeft = false, true;
        return false;
    }
    return false;
}

// Every parser above checks its whole value before it changes anything, so a
// rejected line leaves the settings as they were without a copy of them: a
// copy per line made reading grow with the square of the file's size.
void ApplyLine(std::string_view line, Settings* s) {
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') return;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string name = UpperAscii(Trim(line.substr(0, eq)));
    ApplySetting(name, Trim(line.substr(eq + 1)), s);
}

// The end of the line that starts at `start`, and where the next one begins.
// A lone CR ends a line as well as LF and CR LF do: files saved with the
// old Macintosh line end would otherwise make the rest of the file one line.
size_t LineEnd(std::string_view text, size_t start, size_t* next) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
        *next = text.size();
        return text.size();
    }
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    *next = end + (crlf ? 2 : 1);
    return end;
}

// Editors that save in UTF-8 put a byte-order mark before the first line;
// it is no part of the first setting's name.
std::string_view WithoutByteOrderMark(std::string_view text) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    return text;
}

}  // namespace

void ApplyEnvironment(std::string_view text, Settings* s) {
    text = WithoutByteOrderMark(text);
    size_t start = 0;
    while (start < text.size()) {
        size_t next = 0;
        const size_t end = LineEnd(text, start, &next);
        ApplyLine(text.substr(start, end - start), s);
        start = next;
    }
}

}  // namespace dove::locale
