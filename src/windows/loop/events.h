// Events, the event record and the properties of the window layer.
//
// A window procedure never sees platform messages. The runtime's window and
// control procedures turn them into events; ACCEPT (accept.h) hands them to
// the procedure's loop one at a time. Inside the runtime an event travels as
// its code, 0xA000 plus its number; EVENT() answers the number.
//
// Numbers below 0x200 are field events (they name one control); from 0x200
// up they are window events.
#pragma once

#include <cstdint>
#include <string_view>

namespace dove::win {

constexpr uint32_t kEventCodeBase = 0xA000;
constexpr int kFirstWindowEvent = 0x200;

// The event numbers, as EVENT() reports them.
enum EventNumber : int {
  EVENT_Accepted = 0x1,
  EVENT_NewSelection = 0x2,
  EVENT_ScrollUp = 0x3,
  EVENT_ScrollDown = 0x4,
  EVENT_PageUp = 0x5,
  EVENT_PageDown = 0x6,
  EVENT_ScrollTop = 0x7,
  EVENT_ScrollBottom = 0x8,
  EVENT_Locate = 0x9,
  EVENT_MouseUp = 0xA,
  EVENT_MouseIn = 0xB,
  EVENT_MouseOut = 0xC,
  EVENT_MouseMove = 0xD,
  EVENT_VBXevent = 0xE,
  EVENT_AlertKey = 0xF,
  EVENT_PreAlert = 0x10,
  EVENT_Dragging = 0x11,
  EVENT_Drag = 0x12,
  EVENT_Drop = 0x13,
  EVENT_ScrollDrag = 0x14,
  EVENT_TabChanging = 0x15,
  EVENT_Expanding = 0x16,
  EVENT_Contracting = 0x17,
  EVENT_Expanded = 0x18,
  EVENT_Contracted = 0x19,
  EVENT_Rejected = 0x1A,
  EVENT_DroppingDown = 0x1B,
  EVENT_DroppedDown = 0x1C,
  EVENT_ScrollTrack = 0x1D,
  EVENT_ColumnResize = 0x1E,
  EVENT_Selected = 0x101,
  EVENT_Selecting = 0x102,
  EVENT_CloseWindow = 0x201,
  EVENT_CloseDown = 0x202,
  EVENT_OpenWindow = 0x203,
  EVENT_OpenFailed = 0x204,
  EVENT_LoseFocus = 0x205,
  EVENT_GainFocus = 0x206,
  EVENT_Suspend = 0x208,
  EVENT_Resume = 0x209,
  EVENT_Notify = 0x20A,
  EVENT_Timer = 0x20B,
  EVENT_DDErequest = 0x20C,
  EVENT_DDEadvise = 0x20D,
  EVENT_DDEdata = 0x20E,
  EVENT_DDEexecute = 0x20F,
  EVENT_DDEpoke = 0x210,
  EVENT_DDEclosed = 0x211,
  EVENT_Move = 0x220,
  EVENT_Size = 0x221,
  EVENT_Restore = 0x222,
  EVENT_Maximize = 0x223,
  EVENT_Iconize = 0x224,
  EVENT_Completed = 0x225,
  EVENT_Moved = 0x230,
  EVENT_Sized = 0x231,
  EVENT_Restored = 0x232,
  EVENT_Maximized = 0x233,
  EVENT_Iconized = 0x234,
  EVENT_Docked = 0x235,
  EVENT_UnDocked = 0x236,
  EVENT_BuildFile = 0x240,
  EVENT_BuildKey = 0x241,
  EVENT_BuildDone = 0x242,
};

// The name the runtime's message-name table gives an event number
// ("EVENT:Accepted"), or an empty view for a number without a name.
std::string_view EventName(int number);

inline bool IsFieldEvent(int number) { return number > 0 && number < kFirstWindowEvent; }

// Properties that the window procedures assign (SetProperty).
enum PropertyNumber : int {
  PROP_Text = 0x7C00,        // a control's text
  PROP_Timer = 0x7C86,       // the window timer, hundredths of a second; 0 stops it
  PROP_StatusText = 0x7D01,  // a status-bar zone's text; the index is the zone (1-based)
};

// Private window messages of the runtime: 0xB000 plus a query number.
constexpr unsigned kQueryBase = 0xB000;
constexpr unsigned kQueryLast = kQueryBase + 0x15;  // 0xB001..0xB015 are not keyboard input
// The message that carries an event record to another thread.
constexpr unsigned kPostEventMessage = 0xB01B;

class Window;
class Control;

// One queued event. Made when the event is queued, destroyed when its
// default processing has completed after the loop body ran.
struct EventRecord {
  // Records of other layers (DDE events) carry more and clean up after
  // themselves; the queue destroys them through this pointer.
  virtual ~EventRecord() = default;
  uint32_t code = 0;               // kEventCodeBase + number
  Window* window = nullptr;        // the window the event belongs to
  Control* control = nullptr;      // the control it concerns; null for window events
  Control* focusControl = nullptr; // the window's current control when it was made
  int32_t mouseX = 0;              // in the window's units
  int32_t mouseY = 0;
  uint32_t keyCode = 0;            // the last key, its character and shift state
  uint8_t keyChar = 0;
  uint8_t keyState = 0;
  uint8_t flags[2] = {0, 0};
  int32_t field = 0;               // the control's field number, 0 for none
  int32_t value = 0;               // POST's further value; a rejection code

  int Number() const { return static_cast<int>(code - kEventCodeBase); }
};

}  // namespace dove::win
