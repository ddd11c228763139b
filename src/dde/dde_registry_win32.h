// The channel table and the channel lists.
//
// Handles are small numbers handed out by the table, so they stay 32-bit in
// every build. Each channel is also listed with the window that was current
// when it was opened (or in the process-wide list when there was none), so
// that closing that window can close its channels, the newest first.
#pragma once

#include "dde/dde_channel.h"

namespace dove::win {
class Window;
}

namespace dove::dde {

class DdeClientChannel;

// Enters an open channel; the table owns it from now on. owner: the window
// that was current when it was opened, or null.
Channel AddChannel(DdeClientChannel* channel, win::Window* owner);
// The channel of a handle, or null when the handle names none.
DdeClientChannel* FindChannel(Channel handle);
// Takes the channel out of the table and out of owner's list (the
// process-wide list when owner is null; any list when it is not found
// there). The caller then owns it.
DdeClientChannel* TakeChannel(Channel handle, win::Window* owner);
// Closes every channel of a window, newest first.
void CloseWindowChannels(win::Window* owner);
// The window whose list holds the channel (asked of the hidden window's
// parent with "TW_QUERY_PSCREEN"), or null.
win::Window* OwnerOf(const DdeClientChannel& channel);

}  // namespace dove::dde
