// The INCLUDE cases shared by the native test of the command and the
// end-to-end test through DOVE60.exe: include_golden/<name>.before is the
// template before the command, <name>.after the template after it (compared
// byte for byte), with "x.tpl" as the file to include.
#pragma once

namespace dove::include_cases {

struct Case {
    const char* name;
    int runs;   // the same command run this many times
};

constexpr Case kCases[] = {
    {"last_line_nonblank", 1}, {"last_line_empty", 1}, {"empty_file", 1},
    {"no_final_line_break", 1}, {"already_included", 1}, {"other_case", 1},
    {"blanks_inside", 1}, {"after_comment", 1}, {"other_path", 1},
    {"ends_with_ctrlz", 1}, {"last_line_nonblank", 2},
};

constexpr char kIncludeName[] = "x.tpl";

}  // namespace dove::include_cases
