// The text driver's options, as text: one command of SEND (or one switch of a
// driver string, the text after its "/") read into what it asks, and the
// option builder's reading and checking of a whole driver string.
//
// Reading never fails and never reads past the text: unknown options and
// values come back as "nothing to apply".
//
//   textopt::Command c = textopt::ParseCommand("FILEBUFFERS=8");
//   // c.option == Option::FileBuffers, c.hasValue, c.number == 8
//
//   textopt::BuilderResult r = textopt::ParseDriverString("/CLIP=OFF /TAB=-3");
//   // r.table.clip == false, r.table.tab == "-3", r.messages empty
//   textopt::ComposeDriverString(r.table) == "/CLIP=OFF /TAB=-3"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dove::textopt {

enum class Option {
    None,          // not an option of this driver: ignored
    FileBuffers,   // FILEBUFFERS n: buffer size n x 512 bytes
    QuickScan,     // QUICKSCAN ON|OFF
    EndOfRecord,   // ENDOFRECORD n,b1,...,bn
    CtrlZIsEof,    // CTRLZISEOF ON|OFF (only OFF switches it off)
    Clip,          // CLIP ON|OFF
    Tab,           // TAB [-]n
    Register,      // REGISTER (SEND only)
    ImportFile,    // IMPORTFILE (SEND only)
};

// One command, read as the driver reads it: upper-cased, its first letter
// selects the option, whose whole name must then follow. A numeric value is
// taken from the first digit after the name ("=" and anything else before it
// are skipped); an ON/OFF value is the first word after the name and "=".
// Without a value (hasValue false) the command only answers.
struct Command {
    Option option = Option::None;
    bool hasValue = false;
    uint32_t number = 0;     // FileBuffers: n, saturated at 0xFFFFFFFF
    int32_t tab = 0;         // Tab: n, with a "-" right before the digits kept
    bool on = false;         // QuickScan, Clip, CtrlZIsEof
    std::string delimiter;   // EndOfRecord: the bytes b1..bn
};

Command ParseCommand(std::string_view text);

// The switches of a driver string: for each "/", the text after it up to the
// next "/" (so that a switch without a value never takes the next one's).
std::vector<std::string_view> SplitSwitches(std::string_view driverString);

// The names as the driver spells them ("FILEBUFFERS", ...); "" for None.
const char* NameOf(Option option);

// --- Option builder --------------------------------------------------------

enum class QuickScanChoice { Default, On, Off };

// The builder's switch table: what each control of the builder shows.
struct SwitchTable {
    bool ctrlZIsEof = true;    // "Ctrl-&Z is End of File Marker"
    bool clip = true;          // "Clip &Strings"
    std::string buffers;       // "&Buffers:", empty for the default
    std::string tab;           // "&TAB Conversion:", empty for the default
    std::string endOfRecord;   // "&End of Record Marker:", empty for the default
    QuickScanChoice quickScan = QuickScanChoice::Default;
};

struct BuilderResult {
    SwitchTable table;
    // One message per offending switch, in the order found, for example
    // "Poorly formed driver string.  /FOO is not a valid switch".
    std::vector<std::string> messages;
};

// Reads an existing driver string into the switch table and checks it. A
// switch with a fault leaves its entry as it was.
BuilderResult ParseDriverString(std::string_view text);

// The driver string of a table: its switches that differ from the default,
// in a fixed order, separated by one blank.
std::string ComposeDriverString(const SwitchTable& table);

}  // namespace dove::textopt
