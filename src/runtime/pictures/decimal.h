// The decimal accumulator: numbers as up to 31 integer and 32 decimal digits.
//
// Text becomes a number through DecimalFromText (before a string is
// formatted or compared as a number); reals become text through
// DecimalFromDouble, which rounds to 15 significant digits, the conversion
// that the value stack and the pictures share.
//
//   dove::Decimal d = dove::DecimalFromText("  -12.50");   // -12.5
//   std::string t = dove::DecimalToText(d);                // "-12.5"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove {

constexpr int kDecimalIntDigits = 31;
constexpr int kDecimalDecDigits = 32;

// Digit values 0..9, most significant first. intCount 0 means an integer
// part of zero; intDigits never starts with 0. decCount counts the decimals
// kept; trailing zeros may be dropped. Zero is never negative.
struct Decimal {
    bool negative = false;
    int intCount = 0;
    uint8_t intDigits[31] = {};
    int decCount = 0;
    uint8_t decDigits[32] = {};
};

// Reads the text as the runtime does: the value is clipped and cut to 99
// characters; leading white space is skipped; "-" makes it negative ("+" is
// not a sign); "." or "," starts the decimals; "E" or "e" with an optional
// sign and digits shifts the point; reading stops at the first character that
// does not fit. Text without digits, and a number with more than 31 integer
// digits, give 0. Decimals beyond the 32nd are dropped.
Decimal DecimalFromText(std::string_view text);

// Rounded to 15 significant digits (and at the 32nd decimal). A value whose
// integer part needs more than 31 digits, or that is not finite, gives 0;
// DecimalFromDoubleChecked says so by returning false.
Decimal DecimalFromDouble(double v);
bool DecimalFromDoubleChecked(double v, Decimal* out);
Decimal DecimalFromInt(int64_t v);

double DecimalToDouble(const Decimal& d);

// "-12.5", "0", "0.001": no trailing decimal zeros and no trailing point.
std::string DecimalToText(const Decimal& d);

bool DecimalIsZero(const Decimal& d);

}  // namespace dove
