#include "app/start/unattended_log.h"

#include "app/start/program_globals.h"
#include "runtime/strings/strings.h"

namespace dove::app::unattended {

const char kLogVariable[] = "DOVE60_LOG";
const char kDefaultLogName[] = "DOVE60.log";

namespace {

void DropLine(std::string_view) {}

LogWriter g_writer = &DropLine;

std::string CommandWord() {
    std::string word = str::Clip(Globals().cmd);
    return word.empty() ? "(none)" : OneLine(word);
}

void Write(const std::string& text) { g_writer(CommandWord() + " " + text); }

std::string Quoted(std::string_view text) { return "\"" + OneLine(text) + "\""; }

}  // namespace

void SetLogWriter(LogWriter writer) { g_writer = writer ? writer : &DropLine; }

std::string OneLine(std::string_view text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;   // CR LF is one break
        if (c == '|' || c == '\r' || c == '\n') line += " | ";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) line += ' ';
        else line += c;
    }
    return line;
}

void LogBox(std::string_view caption, std::string_view text,
            const std::vector<std::string>& buttons, std::string_view answer) {
    std::string shown;
    for (const std::string& b : buttons) shown += (shown.empty() ? "" : "/") + OneLine(b);
    Write(Quoted(caption) + " " + Quoted(text) + " [" + shown + "] -> " + OneLine(answer));
}

void LogNote(std::string_view text) { Write(OneLine(text)); }

void LogExit(int code, std::string_view reason) {
    std::string text = "exit " + std::to_string(code);
    if (!reason.empty()) text += ": " + OneLine(reason);
    Write(text);
}

}  // namespace dove::app::unattended
