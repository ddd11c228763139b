// DDE events in a window's event queue.
//
// A DdeEventRecord holds its own copies of the conversation's atoms (made by
// adding the names again), so it stays valid after the channel is gone. A
// record of an execute or poke that is destroyed unanswered answers
// negatively.
#pragma once

#include <windows.h>

#include <memory>

#include "dde/dde_channel.h"
#include "windows/loop/events.h"

namespace dove::dde {

class DdeClientChannel;

constexpr int EVENT_DDEclosedNumber = win::EVENT_DDEclosed;
constexpr int EVENT_DDEdataNumber = win::EVENT_DDEdata;

struct DdeEventRecord : win::EventRecord {
  ~DdeEventRecord() override;

  Channel channel = 0;
  ATOM application = 0;
  ATOM topic = 0;
  ATOM item = 0;
  HWND partner = nullptr;
  HWND hidden = nullptr;        // the window that answers for this side
  HGLOBAL memory = nullptr;     // the command or poke data, if any
  bool acknowledged = false;

  bool NeedsAnswer() const;
  // Posts the acknowledgement (positive when flag is not 0) and marks the
  // record; a second call does nothing.
  void Acknowledge(int flag);
};

// A copy of an atom: the same name added once more; 0 stays 0.
ATOM CopyAtom(ATOM atom);

// Queues an event of the channel to the window DDEmode chooses. False when
// there is no such window or it takes no events.
// partner: the partner window the event concerns (it may be forgotten by
// the channel already).
bool RaiseChannelEvent(DdeClientChannel& channel, int number, HWND partner);
// Queues a made record the same way (server side and tests).
bool QueueDdeEvent(std::unique_ptr<DdeEventRecord> record, HWND hidden);

}  // namespace dove::dde
