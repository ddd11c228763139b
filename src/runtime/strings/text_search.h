// The search behind INSTRING, over plain character ranges.
//
// Positions are 1-based. Step 1 finds the first match at or after start;
// step -1 the last match at or before it (start beyond the last place a
// match fits counts from that place); other steps try only start,
// start +- |step|, ... and answer (offset of the match div |step|) + 1, the
// offset counted from the beginning of the text. Step 0 is the length of the
// text to find. 0 when there is no match, when the text to find is empty or
// longer than the text, or when start is not positive.
#pragma once

#include <string_view>

namespace dove::search {

long Find(std::string_view text, std::string_view find, long step, long start);

// Texts of at least this length searched forward, step 1, for a pattern of
// kSkipPatternMin characters or more use a 256-entry skip table built from up
// to the last 255 characters of the pattern.
constexpr size_t kSkipTextMin = 256;
constexpr size_t kSkipPatternMin = 4;

// The skip-table search alone (0-based offset from `from`, or npos), exposed
// so that it can be checked against the plain search.
size_t SkipSearch(std::string_view text, std::string_view find, size_t from);

}  // namespace dove::search
