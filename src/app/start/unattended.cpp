#include "app/start/unattended.h"

#include "app/start/argument.h"
#include "runtime/strings/strings.h"

namespace dove::app::unattended {

const char kSwitch[] = "/UNATTENDED";
const char kEnvironmentVariable[] = "DOVE60_UNATTENDED";

namespace {

bool g_on = false;

bool IsSwitch(std::string_view argument) { return str::EqualNoCase(argument, kSwitch); }

}  // namespace

// The switch is read as ARGUMENT reads the first argument (in quotes, ended
// by a comma), since that is what would otherwise take it for the command.
bool BeginsWithSwitch(std::string_view tail) { return IsSwitch(FirstArgumentOf(tail).argument); }

std::string WithoutSwitch(std::string_view rawCommandLine) {
    const std::string tail = CommandTailOf(rawCommandLine);
    FirstOfTail first = FirstArgumentOf(tail);
    if (!IsSwitch(first.argument)) return std::string(rawCommandLine);
    // The tail is the end of the raw line, so what comes before it is the
    // program name and the white space after it, kept as they were.
    std::string_view head = rawCommandLine.substr(0, rawCommandLine.size() - tail.size());
    return std::string(head) + tail.substr(first.restAt);
}

bool EnvironmentAsks(const char* valueOrNull) {
    if (valueOrNull == nullptr) return false;
    std::string_view value(valueOrNull);
    return !value.empty() && value != "0";
}

void SetOn(bool on) { g_on = on; }

bool On() { return g_on; }

}  // namespace dove::app::unattended
