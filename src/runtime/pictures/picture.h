// Pictures: how a value is shown as text and read back.
//
// A picture text ("n04.2", "d1", "t2", "s180", "e12.3"; the kind letter in
// either case) compiles into a Picture: a kind, a few flags and up to 255
// positions, each a pair (character, role). FORMAT lays a value into those
// positions and returns a string as wide as the layout; DEFORMAT reads a
// text back, both what FORMAT wrote and what a person would type. A picture
// that the compiler rejects has kind None: FORMAT gives the empty string and
// DEFORMAT fails.
//
// Values: numbers (N, E) are decimal accumulators; dates (D) are day numbers
// and times (T) time values (runtime/date_time.h); strings (S) are text.
// The FORMAT overloads convert their value to what the picture's kind needs:
// text through the text-to-number rules, numbers to their decimal text for
// S pictures, and the integer part for D and T pictures.
//
//   std::string s = dove::FORMAT(7, "n04");                  // "0007"
//   std::string d = dove::FORMAT(dove::TODAY(), "d1");       // "12/06/26"
//   dove::Decimal v;
//   if (!dove::pic::ReadNumber(pic, " 1.60", &v)) ...       // text rejected
//
// Choices where the picture language leaves room (details at each kind's
// source file):
// - Extra decimals round half away from zero; FORMAT of 1.005 in "n4.2" is
//   "1.01". A negative value that rounds to zero shows no sign.
// - A number picture without a sign position shows the magnitude.
// - With blank fill (none or "_") a leading sign and a leading currency
//   float to stand just before the first digit ("   -5.00"); with fill "0"
//   or "*" they keep the leftmost positions ("-0005", "$***5.00").
// - A decimal mark followed by no decimals takes no position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/pictures/decimal.h"

namespace dove::pic {

enum class Kind : char {
    None = 0,
    Number = 'N',
    Date = 'D',
    Time = 'T',
    String = 'S',
    Scientific = 'E',
};

// Role of a position. For digit roles the position's character is what a
// leading zero shows; for letter roles it is what an unused letter shows.
enum Role : uint8_t {
    kLiteral = 0,
    kGrouping = 1,
    kDecimalPoint = 2,
    kDigit = 3,            // always shown
    kDigitBlankZero = 4,   // blank when a leading zero
    kSign = 5,
    kCurrency = 6,
    kMonthDigit = 7,
    kDayDigit = 8,
    kYearDigit = 9,
    kMonthLetter = 10,
    kHourDigit = 11,
    kMinuteDigit = 12,
    kSecondDigit = 13,
    kWeekdayLetter = 14,   // the locale's long date names the weekday
    kExponent = 15,        // E pictures: the exponent's letter, sign and digits
    kSeparator = 19,
    kAmPm = 20,
    kImpliedPoint = 22,    // takes no room in the output
};

struct Position {
    char ch = ' ';
    uint8_t role = kLiteral;
};

constexpr int kMaxPositions = 255;
constexpr int kMaxDecimals = 255;

struct Picture {
    Kind kind = Kind::None;
    bool blankWhenZero = false;
    int window = 80;          // D: century window for reading two-digit years
    int format = 0;           // D, T: layout number; N, E, S: width
    int decimals = 0;         // N, E
    char fill = 0;            // '0', '_', '*' or 0 (none)
    char grouping = 0;        // N: grouping character, 0 for none
    char decimalMark = 0;     // N, E: '.', ',' or ' '; 0 when implied or none
    char am[2] = {'A', 'M'};  // T: the AM/PM marker's two positions
    char pm[2] = {'P', 'M'};
    int count = 0;            // positions used (an implied point counts)
    Position pos[kMaxPositions + 1];
};

// False, and out->kind None, when the text is not a picture. Trailing blanks
// and a leading "@" are ignored.
bool Compile(std::string_view text, Picture* out);

// Positions that take room in the output.
int Width(const Picture& picture);

std::string Format(const Picture& picture, const Decimal& value);
std::string Format(const Picture& picture, int64_t value);
// The value as text: a number for N, E, D and T pictures, the text itself
// for S pictures.
std::string FormatText(const Picture& picture, std::string_view value);

// DEFORMAT by kind; false when the text does not fit the picture (letters in
// a number, an impossible date, a picture of another kind).
bool ReadNumber(const Picture& picture, std::string_view text, Decimal* out);
bool ReadDate(const Picture& picture, std::string_view text, int32_t* out);
bool ReadTime(const Picture& picture, std::string_view text, int32_t* out);
bool ReadString(const Picture& picture, std::string_view text, std::string* out);

}  // namespace dove::pic

namespace dove {

std::string FORMAT(std::string_view value, std::string_view picture);
std::string FORMAT(const Decimal& value, std::string_view picture);
std::string FORMAT(int32_t value, std::string_view picture);
std::string FORMAT(int64_t value, std::string_view picture);
std::string FORMAT(double value, std::string_view picture);

// The value read through the picture, as text: the number for N and E
// pictures ("-12.5", "0"), the day number or time value for D and T, the text
// (cut to the picture's width) for S. When the text does not fit the picture,
// or the picture is rejected, the result is empty and *ok (if given) false.
std::string DEFORMAT(std::string_view text, std::string_view picture, bool* ok = nullptr);

}  // namespace dove
