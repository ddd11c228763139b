// Finding a window definition: the platform-free steps.
//
// The Win32 finder (window_def_find_win32.h) walks the program's modules and
// loads their "DABDUMP" resources; what it does with the bytes is here, so
// that it can be checked natively:
//
//   std::string rsc = wdef::ResourceNameFor("Install$WorkLog");  // WORKLOG_RSC
//   size_t body;
//   if (wdef::ProcedureMatches(bytes, n, "install$worklog", &body)) {
//     std::vector<uint8_t> buf = wdef::MakeBuffer(bytes + body, n - body);
//     uint32_t at = wdef::FindWindowRecord(buf.data(), buf.size(), "P2$W");
//   }
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dove::wdef {

// The text after the procedure's first '$' (all of it without one) and
// "_RSC", upper-cased as the resource compiler stores names.
std::string ResourceNameFor(std::string_view procedure);

// True when the block starts with a terminated procedure name equal to
// `procedure` without regard to case; *bodyStart is then the body's index.
bool ProcedureMatches(const uint8_t* block, size_t size, std::string_view procedure,
                      size_t* bodyStart);

// The runtime's buffer: two leading zero bytes, then the body.
std::vector<uint8_t> MakeBuffer(const uint8_t* body, size_t size);

// Buffer offset of the first window record along the chain whose label
// matches (any case), or 0. A damaged chain ends the search with 0.
uint32_t FindWindowRecord(const uint8_t* buffer, size_t size, std::string_view label);

}  // namespace dove::wdef
