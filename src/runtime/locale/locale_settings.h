// Locale settings, read once at start-up.
//
// Two sources feed them: the Windows "intl" settings (time format, AM/PM
// texts, short and long date formats), and the program's environment file
// (the program's file name with the extension ".ENV"), whose lines are
// described in docs/environment-file.md. The Windows shell reads both and
// calls Load(); native tests call Load() or Parse() with text from memory.
// Load() also installs the case and collation tables of the string layer.
//
// Everything is installed before any other thread runs and only read
// afterwards; pointers returned here stay valid until the next Load().
//
//   dove::locale::IntlValues intl;            // the defaults
//   intl.sShortDate = "dd.MM.yyyy";
//   dove::locale::Load(intl, "TOVMON=Jan,Feb,Mär,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez\n");
//   const std::string& m = dove::locale::Current().monthAbbrevs[2];   // "Mär"
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/locale/char_tables.h"

namespace dove::locale {

// The WIN.INI section "intl" entries, as text, with the defaults that apply
// when an entry is missing.
struct IntlValues {
    std::string iTime = "0";       // 1: 24-hour clock
    std::string iTLzero = "0";     // 1: leading zero on hours
    std::string sTime = ":";
    std::string s1159 = "AM";
    std::string s2359 = "PM";
    std::string sShortDate = "MM/dd/yy";
    std::string sLongDate = "ddd', 'MMMM' 'dd', 'yyyy";
};

constexpr int kButtonCount = 8;

struct Settings {
    // Windows date and time formats (date pictures 17, 18; time pictures 7, 8).
    bool clock24 = false;
    bool hourLeadingZero = false;
    std::string timeSeparator = ":";
    std::string text1159 = "AM";
    std::string text2359 = "PM";
    std::string shortDate = "MM/dd/yy";
    std::string longDate = "ddd', 'MMMM' 'dd', 'yyyy";

    // TOVMONTH, TOVMON: month names and their abbreviations.
    std::array<std::string, 12> monthNames;
    std::array<std::string, 12> monthAbbrevs;
    // Weekday names of the long date format (English; no setting).
    std::array<std::string, 7> dayNames;
    std::array<std::string, 7> dayAbbrevs;
    // TOVAMPM: the marker of time pictures 3 and 6.
    std::string amText = "AM";
    std::string pmText = "PM";

    // TOVCASE, TOVCOLSEQ: the string layer's tables.
    chartab::Tables tables;
    // TOVDIGRAPH: character pairs that the comparison may weigh as one unit.
    std::vector<std::string> digraphs;

    // TOVBUTTON: message-dialog captions by button index; empty: built-in.
    std::array<std::string, kButtonCount> buttons;
    // TOVMSG: replacement texts of error numbers.
    std::map<int, std::string> messages;

    // TOVCHARSET, TOVSYSTEMCHARSET: Windows character-set numbers of the
    // program's fonts and of the system font (0 ANSI, 1 default, 2 symbol,
    // 255 OEM, ...). TOVLFN: long file names. TOVLAYOUT: right-to-left.
    int charset = 0;
    int systemCharset = 0;
    bool longFileNames = true;
    bool rightToLeft = false;
};

// The settings with nothing read: English names, the IntlValues defaults.
Settings Defaults();
// Defaults, then the intl values, then the environment file's lines in
// order. A line that cannot be used is ignored; the value before it stays.
Settings Parse(const IntlValues& intl, std::string_view environmentText);
void ApplyIntl(const IntlValues& intl, Settings* settings);
void ApplyEnvironment(std::string_view environmentText, Settings* settings);

// Parse() and install the result, the string layer's tables included.
void Load(const IntlValues& intl, std::string_view environmentText);
void Install(const Settings& settings);
// Installs the environment file's settings now and leaves the intl values to
// `readIntl`, which runs once, on the first Current() that follows. Only
// pictures read those values, and most runs format none: reading them at
// every start cost each command its share of WIN.INI reads.
void LoadDeferringIntl(void (*readIntl)(IntlValues*), std::string_view environmentText);
// The installed settings; Defaults() until something is installed.
const Settings& Current();

// "C:\DIR\DOVE60.EXE" gives "C:\DIR\DOVE60.ENV"; a name without an
// extension gets one.
std::string EnvironmentFileName(std::string_view programPath);
// Reads a whole file (at most 1 MiB); false when it cannot be read.
bool ReadEnvironmentFile(const std::string& path, std::string* text);

// Replacement text for an error number, or nullptr when none is set.
const std::string* MessageOverride(int errorCode);

// Translated caption of the message dialog's button row 0..7, or nullptr.
const std::string* ButtonCaption(int index);

}  // namespace dove::locale
