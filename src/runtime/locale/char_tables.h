// Case and collation tables, 256 entries each, process-wide.
//
// The locale loader installs them once at start-up, before any other thread
// runs; afterwards they are only read. Until then Current() is Defaults():
// A..Z class 1 and a..z class 2 (all else 0), the two alphabets partners of
// each other, and every byte weighing its own value.
//
//   const dove::chartab::Tables& t = dove::chartab::Current();
//   if (t.cls[c] == dove::chartab::kLower) c = t.partner[c];
#pragma once

#include <cstdint>

namespace dove::chartab {

constexpr uint8_t kOther = 0;
constexpr uint8_t kUpper = 1;
constexpr uint8_t kLower = 2;

struct Tables {
    uint8_t cls[256];       // kOther, kUpper or kLower
    uint8_t partner[256];   // the other-case form of a letter
    uint8_t weight[256];    // collating sequence
};

Tables Defaults();
const Tables& Current();
void Install(const Tables& tables);

// Through the current tables.
uint8_t UpperOf(uint8_t c);
uint8_t LowerOf(uint8_t c);
// Equal when their upper-case forms are equal or weigh the same.
bool SameIgnoringCase(uint8_t a, uint8_t b);

}  // namespace dove::chartab
