// The per-thread value stack: temporary string values of expressions.
//
// Operands are pushed, operations replace the top entries with their result,
// and the result is popped into a variable or taken by a runtime operation.
// Each thread has its own stack of at most 32 entries, made on first use;
// nothing is shared and nothing is locked.
//
// A reference entry borrows its characters: it must be consumed before its
// source changes. PushText and PushCopy make the entry private at once.
//
// Misuse (a 33rd push, popping an empty stack, rotating beyond the depth) and
// running out of memory raise the internal fault (kFaultNumber, or
// kOutOfMemoryFault) and never return. No operation posts a runtime error.
//
//   dove::vstack::PushRef(name, sizeof name);   // a fixed string field
//   dove::vstack::Clip();
//   dove::vstack::PushText(".ini");
//   dove::vstack::Concat();
//   std::string file = dove::vstack::PopString();
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/pictures/decimal.h"

namespace dove::vstack {

constexpr int kCapacity = 32;
constexpr size_t kInlineSize = 24;
constexpr int kFaultNumber = 3;        // internal error 503: stack misuse
constexpr int kOutOfMemoryFault = 5;   // internal error 505: no memory

// Pushes. A null address pushes the empty string.
void PushRef(const char* p, size_t len);
void PushText(const char* z);              // zero-terminated, made private
void PushCopy(const char* p, size_t len);  // made private
void PushInt(int32_t v);                   // "-5", "2147483647"
void PushReal(double v);                   // 15 significant digits, "1.5", "100"
void PushEmpty();
// An entry without characters, as CLEAR leaves a string: assigned to a
// fixed string it fills it with blanks (direction 0), zero bytes (< 0) or
// 0xFF bytes (> 0); into a zero-terminated string, 0xFF bytes (> 0) or the
// empty string. Everywhere else it reads as the empty string.
void PushFill(int direction);

// Pops. Fixed strings are blank-padded to n and cut at n; zero-terminated
// strings keep at most n - 1 characters and their zero. The destination may
// overlap the popped characters.
void PopFixed(char* dst, size_t n);
void PopZ(char* dst, size_t n);
void PopAppend(std::string& growable);
std::string PopString();
bool PopTest();        // true when the value, clipped, is not empty
size_t PopLength();    // not clipped
Decimal PopNumber();   // the value read as a number (see DecimalFromText)
void Drop();           // pops and discards

// Operations on the top entries.
void MakePrivate();          // the top no longer borrows
void Clip();                 // removes trailing 0x20 only
void Concat();               // pops b; top a becomes a b
void ConcatReversed();       // pops b; top a becomes b a
void Rotate(int k);          // entry k below the top comes up; 1 swaps
int Compare();               // pops b, then a; weight(a) - weight(b), 0 equal
void Upper();
void Lower();
void Substring(long start, long len);   // 1-based; negative start from the end

enum class Justify { Left, Right, Center };
void JustifyTop(Justify how, long width);   // width -1: the value's own length

// Pops the text to find (top) and the text to search (below it); returns the
// 1-based position of the match, counted in steps for steps other than 1 and
// -1, or 0 when there is none. Step 0 means the length of the text to find.
long InString(long step, long start);

int Depth();
void Reset();   // drops every entry (thread clean-up, tests)

}  // namespace dove::vstack
