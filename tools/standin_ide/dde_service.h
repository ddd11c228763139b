// The IDE's DDE service as the stand-in plays it: answers WM_DDE_INITIATE for
// the IDE's service name with any topic, acknowledges every WM_DDE_EXECUTE
// and answers WM_DDE_TERMINATE. Each conversation gets a hidden window of its
// own, as a server is expected to give it.
//
// What it received goes to StandInIde.dde.log beside the program, one line
// each, the tick count in milliseconds first (GetTickCount is one clock for
// every process, so lines of several programs can be compared):
//   <ms> TAB serving                  the service answers from now on
//   <ms> TAB execute TAB <text>       one execute string, as received
//   <ms> TAB terminate                a client ended its conversation
//
// Options shape the service for tests (ServiceOptions); they come from the
// command line and from the environment variable TOVARO_STANDIN_OPTIONS, so
// that a stand-in started by DOVE60.exe can be shaped too.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct ServiceOptions {
    bool negativeAck = false;     // --nack: refuse every execute
    DWORD ackDelayMs = 0;         // --ack-delay=N: answer each execute N ms late
    DWORD serveAfterMs = 0;       // --serve-after=N: a slow start; answer no initiate before
    bool crashOnExecute = false;  // --crash-on-execute: end at the first execute, saying nothing
};

// Reads the options among args; other words are left alone. False when an
// option is malformed (the stand-in then refuses to start).
bool ParseServiceOptions(const std::vector<std::string>& args, ServiceOptions* options);
// Words of TOVARO_STANDIN_OPTIONS, split on blanks.
std::vector<std::string> EnvironmentOptions();

std::string DdeLogPath();

// Registers the conversation window class and remembers the options; the
// service answers from mainWindow once serveAfterMs has passed.
bool StartService(HINSTANCE instance, HWND mainWindow, const ServiceOptions& options);
// Called by the main window for WM_DDE_INITIATE and for its service timer.
LRESULT OnInitiate(WPARAM client, LPARAM atoms);
void OnServiceTimer(HWND mainWindow);
// Ends every open conversation with WM_DDE_TERMINATE (the IDE closing).
void EndConversations();
// Told of each execute received and of the answer it gets, for the window.
using ExecuteListener = void (*)(const std::string& text, const std::string& answer);
void SetExecuteListener(ExecuteListener listener);

constexpr UINT_PTR kServiceTimer = 1;

}  // namespace standin
