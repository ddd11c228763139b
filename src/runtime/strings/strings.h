// Typed string helpers for application code.
//
// Each one pushes its operands onto the value stack, runs the stack
// operation and pops the result, so the rules are the stack's own: blank
// padding in comparisons, the collating sequence and the case tables of the
// locale, fixed and zero-terminated assignment.
//
//   if (dove::str::Equal(cmd, "REG")) ...
//   dove::str::AssignFixed(rec.name, sizeof rec.name, dove::str::Upper(arg));
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/strings/value_stack.h"

namespace dove::str {

std::string Clip(std::string_view s);
bool IsBlank(std::string_view s);   // empty or only blanks

// Blank-padded, through the collating sequence: < 0, 0 or > 0.
int Compare(std::string_view a, std::string_view b);
bool Equal(std::string_view a, std::string_view b);
// Both sides upper-cased through the case table first.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualNoCase(std::string_view a, std::string_view b);

std::string Upper(std::string_view s);
std::string Lower(std::string_view s);
std::string Concat(std::string_view a, std::string_view b);
std::string Sub(std::string_view s, long start, long len);
std::string Justify(std::string_view s, vstack::Justify how, long width);
long InString(std::string_view text, std::string_view find, long step = 1, long start = 1);

std::string FromInt(int32_t v);
std::string FromReal(double v);
Decimal ToNumber(std::string_view s);

void AssignFixed(char* dst, size_t n, std::string_view v);
void AssignZ(char* dst, size_t n, std::string_view v);

}  // namespace dove::str
