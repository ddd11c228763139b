// Shared by the picture sources only: the per-kind compilers, formatters and
// readers, and the small helpers they have in common.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/pictures/decimal.h"
#include "runtime/pictures/picture.h"

namespace dove::pic::detail {

// Appends positions; refuses to go beyond the picture's capacity.
class Builder {
public:
    explicit Builder(Picture* p) : p_(p), width_(Width(*p)) {}
    bool Add(char ch, uint8_t role, int times = 1);
    bool ok() const { return ok_; }

private:
    Picture* p_;
    int width_;
    bool ok_ = true;
};

// Reads a picture text from left to right.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool AtEnd() const { return i_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[i_]; }
    bool Take(char c);                         // exact character
    bool TakeAnyOf(const char* set, char* c);  // one of a set
    bool TakeLetter(char upper);               // either case
    // Up to maxDigits decimal digits; false when there is none.
    bool TakeNumber(int maxDigits, int* value);
    std::string_view Rest() const { return text_.substr(i_ < text_.size() ? i_ : text_.size()); }
    void Skip(size_t n) { i_ += n; }

private:
    std::string_view text_;
    size_t i_ = 0;
};

bool IsDigit(char c);
bool IsLetter(char c);   // ASCII letters and bytes 0x80..0xFF
char AsciiUpper(char c);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
bool StartsIgnoringCase(std::string_view text, std::string_view prefix);

// A number as digit strings: ints without leading zeros ("" for zero),
// decs as many decimals as asked for.
struct Digits {
    bool negative = false;
    std::string ints;
    std::string decs;
};
// Rounded half away from zero to `decimals` places; zero is never negative.
Digits Rounded(const Decimal& value, int decimals);
// Rounds digit strings in place (decs longer than `decimals` are cut).
void RoundDigits(Digits* d, int decimals);
// False when the integer part has more than 31 digits.
bool ToDecimal(Digits d, Decimal* out);
bool IsZero(const Digits& d);

// Integer value of a number for D and T pictures: the integer part,
// truncated; false when it does not fit in 32 bits.
bool ToInt32(const Decimal& value, int32_t* out);

// The tail of D and T pictures: "[fill]" and "[separator][B]".
char TakeFill(Cursor* c);                 // '0', '_', '*' or 0
bool TakeTail(Cursor* c, Picture* p);     // separator and B; false on leftovers
void ApplySeparator(char separator, Picture* p);

// Date and time layouts: field roles (digits, names, the AM/PM marker),
// runs of one role, and digits right-aligned in a run with the positions'
// own characters for leading zeros.
bool IsFieldRole(uint8_t role);
int RunEnd(const Picture& p, int first);
void PutDigits(const Picture& p, int first, int width, int value, std::string* out);
// The picture's fill becomes the character of every digit and letter position.
void ApplyFill(Picture* p);

bool CompileNumber(Cursor* c, Picture* p);
bool CompileScientific(Cursor* c, Picture* p);
bool CompileDate(Cursor* c, Picture* p);
bool CompileTime(Cursor* c, Picture* p);
bool CompileString(Cursor* c, Picture* p);
// Windows date format text ("MM/dd/yy", "ddd', 'MMMM' 'dd', 'yyyy").
bool BuildWindowsDate(std::string_view format, Picture* p);

std::string FormatNumber(const Picture& p, const Decimal& value);
std::string FormatScientific(const Picture& p, const Decimal& value);
std::string FormatDate(const Picture& p, int32_t day);
std::string FormatTime(const Picture& p, int32_t time);
std::string FormatString(const Picture& p, std::string_view text);
std::string Blanks(const Picture& p);

bool ReadNumberText(const Picture& p, std::string_view text, Decimal* out);
bool ReadScientificText(const Picture& p, std::string_view text, Decimal* out);

// Runs of equal-role positions, as DEFORMAT of dates and times walks them.
struct Field {
    uint8_t role = 0;
    int width = 0;
    bool adjacentToNext = false;   // no position between this and the next field
};
int Fields(const Picture& p, Field* out, int max);

}  // namespace dove::pic::detail
