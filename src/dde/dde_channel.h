// DDE client channels: a conversation with another program over raw
// WM_DDE_* window messages, global atoms and global memory.
//
// A channel belongs to the thread that opened it; all calls for it are made
// on that thread. Its handle is a 32-bit number (0 means none) in both the
// 32-bit and the 64-bit build; it names an entry of the channel table and
// is never a pointer.
//
//   dove::dde::SetDDETimeOut(100);                    // one second per answer
//   dove::dde::Channel ch = dove::dde::DDEopen("Progman", "Progman");
//   if (ch) {
//     dove::dde::DDEexecute(ch, "[CreateGroup(Tools)]");
//     if (dove::err::Code() != 0) ...                   // 602, 603 or 605
//     dove::dde::DDEclose(ch);
//   }
//
// Results and errors:
// - DDEopen returns 0 when no server answered; it posts no error.
// - DDEexecute on a non-zero channel clears the error state, then posts 602
//   (no partner), 603 (refused, or could not be sent) or 605 (no answer
//   before the DDETimeOut deadline). Success leaves the code 0. On channel 0
//   it does nothing and leaves the error state alone.
// - DDEclose clears the error state; channel 0 does nothing else. It does
//   not wait for the partner.
// - A channel of a window (one opened while that window was current) is
//   closed with the window, the newest first; a channel opened without a
//   current window lives until DDEclose.
//
// Events: a client channel raises EVENT:DDEclosed when its partner ends the
// conversation and EVENT:DDEdata for data it receives (none is asked for by
// any operation here). DDEmode bit 0 picks the window they are queued to:
// set, the window current when the event arrives; clear, the window that
// was current when the channel was opened. With no such window nothing is
// queued. The event record is a DdeEventRecord (dde_event.h).
//
// Only Windows builds implement these functions.
#pragma once

#include <cstdint>
#include <string_view>

namespace dove::dde {

// A channel handle; 0 means none.
using Channel = int32_t;

// System property numbers.
enum : int {
  kDDETimeOutProperty = 0x7CC1,  // hundredths of a second in, milliseconds stored
  kDDEmodeProperty = 0x7A0A,     // flags, stored unchanged
};
// DDEmode bit 0: events go to the window current when they arrive.
constexpr uint32_t kDDEmodeToCurrentWindow = 1;

// Opens a channel to the server of `application` for `topic`; each is cut to
// 79 characters. An empty application or topic reaches any. 0 when nobody
// answered.
Channel DDEopen(std::string_view application, std::string_view topic);
// Sends one execute command and waits for its acknowledgement.
void DDEexecute(Channel channel, std::string_view command);
// Ends the conversation and frees the channel.
void DDEclose(Channel channel);
// Server side: answers the DDEexecute or DDEpoke event that the current
// window is processing, positively when flag is not 0. Nothing happens when
// no such event is being processed or it was answered already.
void DDEacknowledge(int flag);

// DDETimeOut: the time every transaction waits for its answer, set and read
// in hundredths of a second. Until it is set, one second.
void SetDDETimeOut(uint32_t hundredths);
uint32_t DDETimeOut();
// The stored value, in milliseconds.
uint32_t DDETimeOutMs();

void SetDDEmode(uint32_t flags);
uint32_t DDEmode();

// Start-up of the DDE layer in a process: registers the query message that
// finds a channel's owning window and sets the default time-out. Part of the
// runtime start; safe to call more than once.
void StartDdeLayer();

// Channels open in the process (all threads), for leak checks in tests.
size_t OpenChannelCount();

}  // namespace dove::dde
