#include "app/start/unattended.h"

#include "app/start/argument.h"

namespace dove::app::unattended {

const char kSwitch[] = "/UNATTENDED";
const char kEnvironmentVariable[] = "DOVE60_UNATTENDED";

namespace {

bool g_on = false;

// The white space that ARGUMENT skips between the program name and the
// arguments.
bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != prefix[i]) return false;
    return true;
}

}  // namespace

bool BeginsWithSwitch(std::string_view tail) {
    const std::string_view key(kSwitch);
    if (!StartsWithNoCase(tail, key)) return false;
    return tail.size() == key.size() || IsWhiteSpace(tail[key.size()]);
}

std::string WithoutSwitch(std::string_view rawCommandLine) {
    const std::string tail = CommandTailOf(rawCommandLine);
    if (!BeginsWithSwitch(tail)) return std::string(rawCommandLine);
    // The tail is the end of the raw line, so what comes before it is the
    // program name and the white space after it, kept as they were.
    std::string_view head = rawCommandLine.substr(0, rawCommandLine.size() - tail.size());
    size_t rest = std::string_view(kSwitch).size();
    while (rest < tail.size() && IsWhiteSpace(tail[rest])) ++rest;
    return std::string(head) + tail.substr(rest);
}

bool EnvironmentAsks(const char* valueOrNull) {
    if (valueOrNull == nullptr) return false;
    std::string_view value(valueOrNull);
    return !value.empty() && value != "0";
}

void SetOn(bool on) { g_on = on; }

bool On() { return g_on; }

}  // namespace dove::app::unattended
