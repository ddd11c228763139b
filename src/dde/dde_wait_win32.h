// The wait for a partner's answer after a posted transaction.
//
// It dispatches only paint messages of the thread; keyboard and mouse input
// stays queued. It ends when the answer arrives, at the DDETimeOut deadline
// (error 605 posted), when the partner window has gone, or when the wait
// itself fails (nothing posted in these two cases). An answer the partner
// posted before it went is still taken.
#pragma once

#include <windows.h>

#include <vector>

namespace dove::dde {

// Command blocks of executes that timed out. The partner may still answer
// one, handing its block back. Each stays allocated until that answer comes
// (or the channel goes), so no later execute can be given the same handle
// and take the stale answer for its own; answers are told apart by the
// block they carry, and one execute left unanswered costs no other.
class OwedAnswers {
 public:
  OwedAnswers() = default;
  ~OwedAnswers();
  OwedAnswers(const OwedAnswers&) = delete;
  OwedAnswers& operator=(const OwedAnswers&) = delete;

  void Add(HGLOBAL block);
  // A late answer carrying this block: frees it. False when not owed.
  bool Settle(HGLOBAL block);

 private:
  std::vector<HGLOBAL> blocks_;
};

struct WaitRequest {
  HWND hidden = nullptr;   // the channel's hidden window
  HWND partner = nullptr;  // the window the transaction went to
  UINT sent = 0;           // the message that was posted
  // For WM_DDE_EXECUTE: the command memory. An acknowledgement that
  // carries another block answers an earlier execute and is dropped.
  HGLOBAL commands = nullptr;
  // The channel's blocks still awaiting a late answer; such an answer is
  // settled on the way.
  OwedAnswers* owed = nullptr;
};

// True for a positive acknowledgement, or when the awaited reply is queued.
bool WaitForAnswer(const WaitRequest& request);

// The calling thread's own thread handle (a real one, not the pseudo
// handle), made on first use and closed when the thread ends.
HANDLE OwnThreadHandle();

}  // namespace dove::dde
