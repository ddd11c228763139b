// Numbers as digit strings while a picture formats or reads them.
#include "runtime/pictures/picture_internal.h"

namespace dove::pic::detail {
namespace {

void StripLeadingZeros(std::string* ints) {
    size_t n = 0;
    while (n < ints->size() && (*ints)[n] == '0') ++n;
    ints->erase(0, n);
}

// Adds one unit in the last place of ints + decs.
void Increment(Digits* d) {
    for (size_t i = d->decs.size(); i-- > 0;) {
        if (d->decs[i] != '9') return void(++d->decs[i]);
        d->decs[i] = '0';
    }
    for (size_t i = d->ints.size(); i-- > 0;) {
        if (d->ints[i] != '9') return void(++d->ints[i]);
        d->ints[i] = '0';
    }
    d->ints.insert(d->ints.begin(), '1');
}

}  // namespace

bool IsZero(const Digits& d) {
    return d.ints.find_first_not_of('0') == std::string::npos &&
           d.decs.find_first_not_of('0') == std::string::npos;
}

// Half away from zero: 1.005 at two places is 1.01 and -1.005 is -1.01,
// which is what a person rounding by hand writes down.
void RoundDigits(Digits* d, int decimals) {
    const size_t keep = static_cast<size_t>(decimals);
    const bool up = d->decs.size() > keep && d->decs[keep] >= '5';
    if (d->decs.size() > keep) d->decs.resize(keep);
    d->decs.append(keep - d->decs.size(), '0');
    if (up) Increment(d);
    StripLeadingZeros(&d->ints);
    if (IsZero(*d)) d->negative = false;
}

Digits Rounded(const Decimal& value, int decimals) {
    Digits d;
    d.negative = value.negative;
    for (int i = 0; i < value.intCount && i < kDecimalIntDigits; ++i) d.ints += static_cast<char>('0' + value.intDigits[i]);
    for (int i = 0; i < value.decCount && i < kDecimalDecDigits; ++i) d.decs += static_cast<char>('0' + value.decDigits[i]);
    RoundDigits(&d, decimals);
    return d;
}

bool ToDecimal(Digits d, Decimal* out) {
    *out = Decimal{};
    StripLeadingZeros(&d.ints);
    if (d.ints.size() > static_cast<size_t>(kDecimalIntDigits)) return false;
    if (d.decs.size() > static_cast<size_t>(kDecimalDecDigits)) d.decs.resize(kDecimalDecDigits);
    while (!d.decs.empty() && d.decs.back() == '0') d.decs.pop_back();
    out->intCount = static_cast<int>(d.ints.size());
    for (int i = 0; i < out->intCount; ++i) out->intDigits[i] = static_cast<uint8_t>(d.ints[i] - '0');
    out->decCount = static_cast<int>(d.decs.size());
    for (int i = 0; i < out->decCount; ++i) out->decDigits[i] = static_cast<uint8_t>(d.decs[i] - '0');
    out->negative = d.negative && (out->intCount > 0 || out->decCount > 0);
    return true;
}

bool ToInt32(const Decimal& value, int32_t* out) {
    int64_t v = 0;
    if (value.intCount > 10) return false;
    for (int i = 0; i < value.intCount; ++i) v = v * 10 + value.intDigits[i];
    if (value.negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    *out = static_cast<int32_t>(v);
    return true;
}

}  // namespace dove::pic::detail
