// Message of (n): the locale's replacement, else the text source, else
// "Unknown Error Posted : n". The text source is the generated table until
// the Windows shell installs the string-table loader.
#include "runtime/errors/error_texts.h"

#include <algorithm>
#include <atomic>

#include "runtime/errors/error_record.h"
#include "runtime/locale/locale_settings.h"

namespace dove::err {
namespace {

const TextEntry kTable[] = {
#include "error_texts_table.inc"
};

// Used only if 81 itself has no text anywhere, so that the fall-back cannot
// recurse and a message is never empty.
const char kLastResort[] = "Unknown Error Posted";

using Loader = bool (*)(int, std::string*);
std::atomic<Loader> g_source{&BuiltInText};

std::string Cut(std::string text) {
    if (text.size() > kTextLimit) text.resize(kTextLimit);
    return text;
}

bool LoadNonEmpty(int id, std::string* out) {
    out->clear();
    return g_source.load()(id, out) && !out->empty();
}

}  // namespace

const TextEntry* BuiltInTable(size_t* count) {
    *count = sizeof kTable / sizeof kTable[0];
    return kTable;
}

bool BuiltInText(int id, std::string* out) {
    auto end = std::end(kTable);
    auto it = std::lower_bound(std::begin(kTable), end, id,
                               [](const TextEntry& e, int key) { return e.id < key; });
    if (it == end || it->id != id) return false;
    *out = it->text;
    return true;
}

void SetTextSource(bool (*load)(int id, std::string* out)) {
    g_source = load ? load : &BuiltInText;
}

std::string MessageOf(int code) {
    if (code == 0) code = kUnknownError;
    const std::string* replacement = locale::MessageOverride(code);
    if (replacement && !replacement->empty()) return Cut(*replacement);
    std::string text;
    if (LoadNonEmpty(code, &text)) return Cut(text);
    if (code == kUnknownError) return kLastResort;
    return Cut(MessageOf(kUnknownError) + " : " + std::to_string(code));
}

}  // namespace dove::err
