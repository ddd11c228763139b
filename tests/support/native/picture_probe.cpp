// Reads picture commands from standard input, one a line, fields separated
// by a single TAB, and prints one result line for each:
//   format   VALUE PICTURE      [FORMAT(VALUE, PICTURE)]
//   deformat TEXT PICTURE       the value read: a decimal number ("-12.5"),
//                               a day number or time value, the text for S
//                               pictures; "invalid" when the text does not
//                               fit the picture or the picture is rejected
//   date     YEAR MONTH DAY     the day number, or -1
//   day      N                  "YEAR MONTH DAY", or "invalid"
//   time     H M S HUNDREDTHS   the time value, or -1
// A line it cannot understand prints "error: " and the line. The locale is
// the built-in default; the current year is read from the clock.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "runtime/pictures/date_time.h"
#include "runtime/pictures/picture.h"

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

int IntOf(const std::string& s) { return std::atoi(s.c_str()); }

bool Run(const std::vector<std::string>& f, std::string* out) {
    const std::string& command = f[0];
    if (command == "format" && f.size() == 3) {
        *out = "[" + dove::FORMAT(std::string_view(f[1]), f[2]) + "]";
    } else if (command == "deformat" && f.size() == 3) {
        bool ok = false;
        *out = dove::DEFORMAT(f[1], f[2], &ok);
        if (!ok) *out = "invalid";
    } else if (command == "date" && f.size() == 4) {
        *out = std::to_string(dove::datetime::DayNumber(IntOf(f[1]), IntOf(f[2]), IntOf(f[3])));
    } else if (command == "day" && f.size() == 2) {
        int y = 0, m = 0, d = 0;
        const bool valid = dove::datetime::SplitDay(IntOf(f[1]), &y, &m, &d);
        *out = valid ? std::to_string(y) + " " + std::to_string(m) + " " + std::to_string(d) : "invalid";
    } else if (command == "time" && f.size() == 5) {
        *out = std::to_string(dove::datetime::TimeValue(IntOf(f[1]), IntOf(f[2]), IntOf(f[3]), IntOf(f[4])));
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string result;
        if (!Run(SplitTabs(line), &result)) result = "error: " + line;
        std::cout << result << '\n';
    }
    return 0;
}
