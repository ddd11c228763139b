// The environment file's reader. Input: the file's bytes. Beyond finding
// crashes and undefined behaviour it checks what must hold for any file:
// - the case tables stay two-way (every letter's partner is a letter of the
//   other case whose partner is that letter), with A..Z and a..z untouched;
// - the collating sequence gives every byte a weight of its own;
// - a line the reader cannot use changes nothing: the same text followed by
//   a line of rubbish reads to the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/locale/char_tables.h"
#include "runtime/locale/locale_settings.h"

namespace {

namespace ct = dove::chartab;
namespace loc = dove::locale;

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckTables(const ct::Tables& t) {
    const ct::Tables d = ct::Defaults();
    bool weighed[256] = {};
    for (int c = 0; c < 256; ++c) {
        const bool asciiLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (asciiLetter) Check(t.cls[c] == d.cls[c] && t.partner[c] == d.partner[c]);
        if (t.cls[c] != ct::kOther) {
            Check(t.cls[c] == ct::kUpper || t.cls[c] == ct::kLower);
            Check(t.partner[t.partner[c]] == c);
            Check(t.cls[t.partner[c]] == 3 - t.cls[c]);
        }
        Check(!weighed[t.weight[c]]);
        weighed[t.weight[c]] = true;
    }
}

bool SameSettings(const loc::Settings& a, const loc::Settings& b) {
    for (int c = 0; c < 256; ++c) {
        if (a.tables.cls[c] != b.tables.cls[c] || a.tables.partner[c] != b.tables.partner[c] ||
            a.tables.weight[c] != b.tables.weight[c])
            return false;
    }
    return a.monthNames == b.monthNames && a.monthAbbrevs == b.monthAbbrevs && a.amText == b.amText &&
           a.pmText == b.pmText && a.digraphs == b.digraphs && a.buttons == b.buttons &&
           a.messages == b.messages && a.charset == b.charset && a.systemCharset == b.systemCharset &&
           a.longFileNames == b.longFileNames && a.rightToLeft == b.rightToLeft;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const loc::Settings read = loc::Parse(loc::IntlValues{}, text);
    CheckTables(read.tables);

    // Rubbish of every kind the reader rejects, after a line end of its own
    // so that it cannot join the input's last line.
    const std::string spoiled = std::string(text) +
                                "\nTOVCASE=Xm\nTOVCOLSEQ=aa\nTOVMONTH=a,b\nTOVMSG=x,y\nno equals sign\nTOVUNKNOWN=1\n";
    Check(SameSettings(read, loc::Parse(loc::IntlValues{}, spoiled)));
    return 0;
}
