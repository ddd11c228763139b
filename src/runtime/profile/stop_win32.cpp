// The stop box: the message dialog's internal entry with STOP's caption, icon
// and buttons.
#include "runtime/message/message_dialog.h"
#include "runtime/profile/stop.h"

namespace dove::stop {
namespace {

int32_t ShowStopBox(const char* text) {
    return MessageInternal(text, kStopCaption, kButtonAbort | kButtonIgnore, kButtonAbort,
                           kInternalIconHand);
}

}  // namespace

void InstallWin32Box() { SetBox(&ShowStopBox); }

}  // namespace dove::stop
