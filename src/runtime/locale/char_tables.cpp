#include "runtime/locale/char_tables.h"

namespace dove::chartab {
namespace {

Tables& Installed() {
    static Tables tables = Defaults();
    return tables;
}

}  // namespace

Tables Defaults() {
    Tables t{};
    for (int c = 0; c < 256; ++c) {
        t.cls[c] = kOther;
        t.partner[c] = static_cast<uint8_t>(c);
        t.weight[c] = static_cast<uint8_t>(c);
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        const int lower = c - 'A' + 'a';
        t.cls[c] = kUpper;
        t.cls[lower] = kLower;
        t.partner[c] = static_cast<uint8_t>(lower);
        t.partner[lower] = static_cast<uint8_t>(c);
    }
    return t;
}

const Tables& Current() { return Installed(); }

void Install(const Tables& tables) { Installed() = tables; }

uint8_t UpperOf(uint8_t c) {
    const Tables& t = Current();
    return t.cls[c] == kLower ? t.partner[c] : c;
}

uint8_t LowerOf(uint8_t c) {
    const Tables& t = Current();
    return t.cls[c] == kUpper ? t.partner[c] : c;
}

bool SameIgnoringCase(uint8_t a, uint8_t b) {
    const uint8_t ua = UpperOf(a);
    const uint8_t ub = UpperOf(b);
    return ua == ub || Current().weight[ua] == Current().weight[ub];
}

}  // namespace dove::chartab
