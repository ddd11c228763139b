#include "dde/dde_wait_win32.h"

#include <dde.h>

#include "dde/dde_channel.h"
#include "runtime/errors/error_record.h"

namespace dove::dde {

namespace {

constexpr int kTimedOut = 605;
// QS_KEY, QS_MOUSEMOVE, QS_MOUSEBUTTON, QS_TIMER, QS_PAINT, QS_SENDMESSAGE,
// QS_ALLPOSTMESSAGE.
constexpr DWORD kWakeMask = 0x177;
// A partner that dies sends nothing; look at it this often.
constexpr DWORD kPartnerCheckMs = 50;

struct ThreadHandle {
  HANDLE handle = nullptr;
  ~ThreadHandle() {
    if (handle) CloseHandle(handle);
  }
};

enum class Found { Nothing, Positive, Negative };

// A partner that ignores execute after execute must not make the channel
// hold memory without end; past this many, the oldest block is let go.
constexpr size_t kMaxOwedAnswers = 256;

// Takes the first acknowledgement from the partner queued for the hidden
// window that answers this transaction. Those that answer an earlier
// execute (late ones after a time-out) settle that execute's block and are
// skipped; an execute's own answer only hands back the command block, which
// its execute frees.
Found TakeAcknowledgement(const WaitRequest& rq) {
  MSG m;
  while (PeekMessageA(&m, rq.hidden, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE)) {
    UINT_PTR status = 0, high = 0;
    UnpackDDElParam(WM_DDE_ACK, m.lParam, &status, &high);
    FreeDDElParam(WM_DDE_ACK, m.lParam);
    if (rq.partner && reinterpret_cast<HWND>(m.wParam) != rq.partner) continue;
    if (rq.sent != WM_DDE_EXECUTE) {
      if (high) GlobalDeleteAtom(static_cast<ATOM>(high));
    } else if (reinterpret_cast<HGLOBAL>(high) != rq.commands) {
      if (rq.owed) rq.owed->Settle(reinterpret_cast<HGLOBAL>(high));
      continue;
    }
    return (status & 0x8000) ? Found::Positive : Found::Negative;
  }
  return Found::Nothing;
}

bool ReplyQueued(HWND hidden, UINT reply) {
  MSG m;
  return PeekMessageA(&m, hidden, reply, reply, PM_NOREMOVE) != 0;
}

// Paints what needs painting, then marks the queue as seen so that the
// next wait sleeps until something new arrives.
void PaintAndMarkSeen() {
  MSG m;
  if (PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&m);
  PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
}

// What the queue holds for this transaction, without waiting.
Found LookForAnswer(const WaitRequest& rq, bool wantsAck, UINT reply) {
  if (wantsAck) {
    Found f = TakeAcknowledgement(rq);
    if (f != Found::Nothing) return f;
  }
  return reply && ReplyQueued(rq.hidden, reply) ? Found::Positive : Found::Nothing;
}

}  // namespace

OwedAnswers::~OwedAnswers() {
  for (HGLOBAL b : blocks_) GlobalFree(b);
}

void OwedAnswers::Add(HGLOBAL block) {
  if (blocks_.size() >= kMaxOwedAnswers) {
    GlobalFree(blocks_.front());
    blocks_.erase(blocks_.begin());
  }
  blocks_.push_back(block);
}

bool OwedAnswers::Settle(HGLOBAL block) {
  for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
    if (*it != block) continue;
    GlobalFree(block);
    blocks_.erase(it);
    return true;
  }
  return false;
}

HANDLE OwnThreadHandle() {
  thread_local ThreadHandle own;
  if (!own.handle)
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &own.handle, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
  return own.handle;
}

bool WaitForAnswer(const WaitRequest& rq) {
  if (rq.sent == WM_DDE_ACK) return true;
  bool wantsAck = rq.sent != WM_DDE_TERMINATE;
  UINT reply = rq.sent == WM_DDE_REQUEST ? WM_DDE_DATA
               : rq.sent == WM_DDE_TERMINATE ? WM_DDE_TERMINATE
                                             : 0;
  HANDLE self = OwnThreadHandle();
  // Beyond 2^31 ms the tick arithmetic below would read as already past.
  DWORD timeOut = DDETimeOutMs() > 0x7FFFFFFFu ? 0x7FFFFFFFu : DDETimeOutMs();
  DWORD deadline = GetTickCount() + timeOut;
  for (;;) {
    DWORD now = GetTickCount();
    LONG remaining = static_cast<LONG>(deadline - now);
    if (remaining <= 0) {
      err::Post(kTimedOut);
      return false;
    }
    if (rq.partner && !IsWindow(rq.partner)) {
      // A partner may answer and end at once: its answer outlives it in
      // our queue, and is the outcome rather than its going.
      return LookForAnswer(rq, wantsAck, reply) == Found::Positive;
    }
    DWORD slice = remaining < static_cast<LONG>(kPartnerCheckMs) ? remaining : kPartnerCheckMs;
    DWORD r = MsgWaitForMultipleObjects(1, &self, FALSE, slice, kWakeMask);
    if (r != WAIT_TIMEOUT && r != WAIT_OBJECT_0 + 1) return false;  // signalled or failed
    // Looked at after a quiet slice too: an answer that came between the
    // look and the peek that marks the queue as seen wakes nobody.
    Found f = LookForAnswer(rq, wantsAck, reply);
    if (f != Found::Nothing) return f == Found::Positive;
    if (r == WAIT_OBJECT_0 + 1) PaintAndMarkSeen();
  }
}

}  // namespace dove::dde
