#include "app/start/unattended_hooks.h"

#include <string>
#include <vector>

#include "app/start/outcome.h"
#include "app/start/unattended_log.h"
#include "runtime/errors/fault.h"
#include "runtime/lifecycle.h"
#include "runtime/message/message_args.h"
#include "runtime/message/message_buttons.h"
#include "runtime/message/message_dialog.h"
#include "runtime/profile/stop.h"
#include "runtime/strings/value_stack.h"
#include "runtime/system_props.h"

namespace dove::app::unattended {
namespace {

// A caption as the user reads it: "&Yes" is "Yes", "&&" one ampersand.
std::string Readable(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && ++i == caption.size()) break;
        out += caption[i];
    }
    return out;
}

int32_t AnswerMessage(int32_t defaultButton, uint32_t, bool, bool, bool) {
    std::string text = msg::PopClipped(), caption = msg::PopClipped();
    msg::PopClipped();   // the icon means nothing in a log
    std::string buttons = msg::PopClipped();
    std::vector<msg::ButtonSpec> set = msg::ButtonsFor(buttons, defaultButton);
    std::vector<std::string> captions;
    for (const msg::ButtonSpec& b : set) captions.push_back(Readable(b.caption));
    const msg::ButtonSpec& answer = msg::AnsweringButton(set);
    LogBox(caption, text, captions, Readable(answer.caption));
    return answer.result;
}

// The stop box's default is Abort: the program ends here, as it would
// after a press of Abort, with the run's exit code.
void AnswerStop(bool askExit) {
    std::string text = StopText(vstack::PopString(), askExit);
    LogBox(kStopCaption, text, {"Abort", "Ignore"}, "Abort");
    int code = FinishRun();
    lifecycle::Shutdown();
    fault::CurrentPlatform().exitProcess(code);
}

// The runtime ends the process after the hook with its own exit code.
void LogFatalError(int, const char* text) {
    LogBox(fault::kCaption, text ? text : "", {"Yes", "No"}, "No");
    LogExit(fault::kExitCode, "runtime error");
}

}  // namespace

void InstallHooks() {
    MessageHookProc message = &AnswerMessage;
    StopHookProc stop = &AnswerStop;
    SetSystemProp(kMessageHook, reinterpret_cast<uintptr_t>(message));
    SetSystemProp(kStopHook, reinterpret_cast<uintptr_t>(stop));
    fault::SetHook(&LogFatalError);
}

int FinishRun() {
    int code = static_cast<int>(RunOutcome());
    LogExit(code, RunOutcomeReason());
    return code;
}

}  // namespace dove::app::unattended
