#include "runtime/profile/stop.h"

#include <atomic>

#include "runtime/errors/fault.h"
#include "runtime/lifecycle.h"
#include "runtime/message/message_args.h"
#include "runtime/message/message_dialog.h"
#include "runtime/system_props.h"
#include "runtime/strings/value_stack.h"

namespace dove {

const char kStopCaption[] = "Stop";
const char kStopQuestion[] = "Exit?";

namespace {

int32_t AnswerIgnore(const char*) { return static_cast<int32_t>(kButtonIgnore); }

std::atomic<stop::BoxProc> g_box{&AnswerIgnore};

}  // namespace

std::string StopText(std::string_view message, bool askExit) {
    std::string text(msg::ClipBlanks(message));
    if (askExit) text += std::string("\r\n") + kStopQuestion;
    return text;
}

// A box that could not be shown answers 0: the program goes on, as with
// Ignore, rather than ending without the user's word.
bool StopAnswerIsAbort(int32_t answer) { return answer == static_cast<int32_t>(kButtonAbort); }

void STOP(bool askExit) {
    if (uintptr_t hook = SystemProp(kStopHook)) {
        reinterpret_cast<StopHookProc>(hook)(askExit);
        return;
    }
    std::string text = StopText(vstack::PopString(), askExit);
    if (!StopAnswerIsAbort(g_box.load()(text.c_str()))) return;
    lifecycle::Shutdown();
    fault::CurrentPlatform().exitProcess(0);
}

void Stop(std::string_view message, bool askExit) {
    vstack::PushCopy(message.data(), message.size());
    STOP(askExit);
}

namespace stop {

void SetBox(BoxProc box) { g_box = box ? box : &AnswerIgnore; }

}  // namespace stop
}  // namespace dove
