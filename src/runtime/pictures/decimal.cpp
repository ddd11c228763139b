#include "runtime/pictures/decimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dove {
namespace {

constexpr size_t kTextLimit = 99;
constexpr int kSignificantDigits = 15;
constexpr int kExponentCap = 1000;   // far beyond any digit that can be kept

bool IsWhite(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits of a number, most significant first, and how many of them stand
// before the decimal point (may be negative or beyond the count).
struct DigitRun {
    uint8_t digit[128] = {};
    int count = 0;
    int intLen = 0;
};

void Normalise(Decimal* d) {
    while (d->decCount > 0 && d->decDigits[d->decCount - 1] == 0) --d->decCount;
    if (d->intCount == 0 && d->decCount == 0) d->negative = false;
}

// Places a run into the accumulator; false when the integer part is too long.
bool Place(bool negative, DigitRun run, Decimal* out) {
    *out = Decimal{};
    int first = 0;
    while (run.intLen > 0 && first < run.count && run.digit[first] == 0) {
        ++first;
        --run.intLen;
    }
    if (first == run.count) run.intLen = 0;   // only zeros before the point
    if (run.intLen > kDecimalIntDigits) return false;
    out->negative = negative;
    for (int i = 0; i < run.intLen; ++i) {
        const int pos = first + i;
        out->intDigits[i] = pos < run.count ? run.digit[pos] : 0;
    }
    out->intCount = run.intLen > 0 ? run.intLen : 0;
    for (int pos = first + out->intCount; pos < run.count; ++pos) {
        const int index = pos - first - run.intLen;   // 0-based decimal place
        if (index >= kDecimalDecDigits) break;
        out->decDigits[index] = run.digit[pos];
        out->decCount = index + 1;
    }
    Normalise(out);
    return true;
}

// Reads "[E|e][+|-]digits" at text[*i]; leaves *i alone when it is no exponent.
int ReadExponent(std::string_view text, size_t* i) {
    size_t j = *i;
    if (j >= text.size() || (text[j] != 'E' && text[j] != 'e')) return 0;
    ++j;
    bool negative = false;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) negative = text[j++] == '-';
    if (j >= text.size() || !IsDigit(text[j])) return 0;
    int value = 0;
    for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (value < kExponentCap) value = value * 10 + (text[j] - '0');
    }
    *i = j;
    return negative ? -value : value;
}

// Reads digits into the run; returns whether any digit was seen.
bool ReadDigits(std::string_view text, size_t* i, DigitRun* run, bool skipZeros) {
    bool seen = false;
    for (; *i < text.size() && IsDigit(text[*i]); ++*i) {
        seen = true;
        if (skipZeros && run->count == 0 && text[*i] == '0') continue;
        run->digit[run->count++] = static_cast<uint8_t>(text[*i] - '0');
    }
    return seen;
}

std::string_view Clipped(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text.substr(0, kTextLimit);
}

// 10 to the power -32, what a value of at least half of it rounds up to.
DigitRun RunOfOneAtLastDecimal() {
    DigitRun run;
    run.digit[run.count++] = 1;
    run.intLen = 1 - kDecimalDecDigits;
    return run;
}

}  // namespace

Decimal DecimalFromText(std::string_view text) {
    text = Clipped(text);
    size_t i = 0;
    while (i < text.size() && IsWhite(text[i])) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    DigitRun run;
    bool seen = ReadDigits(text, &i, &run, true);
    run.intLen = run.count;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        seen = ReadDigits(text, &i, &run, false) || seen;
    }
    Decimal d;
    if (!seen) return d;
    run.intLen += ReadExponent(text, &i);
    if (!Place(negative, run, &d)) return Decimal{};
    return d;
}

bool DecimalFromDoubleChecked(double v, Decimal* out) {
    *out = Decimal{};
    if (!std::isfinite(v)) return false;
    if (v == 0) return true;
    char buf[64];
    int precision = kSignificantDigits;
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(v));
    int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    if (exponent < -1 && kDecimalDecDigits + 1 + exponent < precision) {
        precision = kDecimalDecDigits + 1 + exponent;   // last digit at decimal 32
        if (precision < 0 || (precision == 0 && buf[0] < '5')) return true;
        if (precision == 0) return Place(v < 0, RunOfOneAtLastDecimal(), out);
        std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(v));
        exponent = std::atoi(std::strchr(buf, 'e') + 1);
    }
    DigitRun run;
    for (const char* p = buf; *p != 'e'; ++p) {
        if (IsDigit(*p)) run.digit[run.count++] = static_cast<uint8_t>(*p - '0');
    }
    run.intLen = exponent + 1;
    return Place(v < 0, run, out);
}

Decimal DecimalFromDouble(double v) {
    Decimal d;
    if (!DecimalFromDoubleChecked(v, &d)) return Decimal{};
    return d;
}

Decimal DecimalFromInt(int64_t v) {
    Decimal d;
    uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    uint8_t reversed[20];
    int n = 0;
    for (; magnitude != 0; magnitude /= 10) reversed[n++] = static_cast<uint8_t>(magnitude % 10);
    for (int i = 0; i < n; ++i) d.intDigits[i] = reversed[n - 1 - i];
    d.intCount = n;
    d.negative = v < 0;
    return d;
}

std::string DecimalToText(const Decimal& d) {
    std::string text;
    int decCount = d.decCount;
    while (decCount > 0 && d.decDigits[decCount - 1] == 0) --decCount;
    if (d.negative && (d.intCount > 0 || decCount > 0)) text += '-';
    if (d.intCount == 0) text += '0';
    for (int i = 0; i < d.intCount; ++i) text += static_cast<char>('0' + d.intDigits[i]);
    if (decCount > 0) text += '.';
    for (int i = 0; i < decCount; ++i) text += static_cast<char>('0' + d.decDigits[i]);
    return text;
}

double DecimalToDouble(const Decimal& d) {
    return std::strtod(DecimalToText(d).c_str(), nullptr);
}

bool DecimalIsZero(const Decimal& d) {
    for (int i = 0; i < d.intCount; ++i) {
        if (d.intDigits[i] != 0) return false;
    }
    for (int i = 0; i < d.decCount; ++i) {
        if (d.decDigits[i] != 0) return false;
    }
    return true;
}

}  // namespace dove
