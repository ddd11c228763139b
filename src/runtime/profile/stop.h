// STOP: offers the user to end the program.
//
// The message is taken from the value stack. Without a StopHook the stop box
// shows it (with "Exit?" on a line of its own when askExit is set) under the
// caption "Stop", with the hand icon and the buttons Abort and Ignore, Abort
// the default. Ignore returns; Abort shuts the runtime down and ends the
// process with exit code 0, and STOP does not return.
//
// A procedure stored in the StopHook system property replaces the box: it is
// called with askExit and the message still on the value stack, and must pop
// it. What it decides is its own; STOP returns when it returns.
//
//   dove::Stop("PUTINI PATH: " + path, /*askExit*/ false);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove {

using StopHookProc = void (*)(bool askExit);

extern const char kStopCaption[];   // "Stop"
extern const char kStopQuestion[];  // "Exit?"

void STOP(bool askExit);

// Typed wrapper: pushes the message and runs STOP.
void Stop(std::string_view message, bool askExit);

// The box's text: the message clipped, and the question when asked.
std::string StopText(std::string_view message, bool askExit);

// The button that the box's answer means: true for Abort.
bool StopAnswerIsAbort(int32_t answer);

namespace stop {

// Shows the box with the finished text and returns the pressed button's flag
// value (8 Abort, 32 Ignore, 0 when it could not be shown). The native
// default answers Ignore; Windows installs the message dialog.
using BoxProc = int32_t (*)(const char* text);
void SetBox(BoxProc box);   // nullptr reinstalls the default
void InstallWin32Box();     // defined only in the Windows shell library

}  // namespace stop

}  // namespace dove
