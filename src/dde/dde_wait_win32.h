// The wait for a partner's answer after a posted transaction.
//
// It dispatches only paint messages of the thread; keyboard and mouse input
// stays queued. It ends when the answer arrives, at the DDETimeOut deadline
// (error 605 posted), when the partner window has gone, or when the wait
// itself fails (nothing posted in these two cases).
#pragma once

#include <windows.h>

namespace dove::dde {

struct WaitRequest {
  HWND hidden = nullptr;   // the channel's hidden window
  HWND partner = nullptr;  // the window the transaction went to
  UINT sent = 0;           // the message that was posted
  // For WM_DDE_EXECUTE: the command memory. An acknowledgement that
  // carries another block answers an earlier execute and is dropped.
  HGLOBAL commands = nullptr;
  // The channel's count of answers still owed for transactions that timed
  // out. A partner answers in order, so that many of its acknowledgements
  // are dropped before one is taken; a wait that ends unanswered adds one.
  // A freed command block is soon handed out again under the same handle,
  // so the handle alone cannot tell a late answer from the awaited one.
  unsigned* lateAnswers = nullptr;
};

// True for a positive acknowledgement, or when the awaited reply is queued.
bool WaitForAnswer(const WaitRequest& request);

// The calling thread's own thread handle (a real one, not the pseudo
// handle), made on first use and closed when the thread ends.
HANDLE OwnThreadHandle();

}  // namespace dove::dde
