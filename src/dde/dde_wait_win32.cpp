#include "dde/dde_wait_win32.h"

#include <dde.h>

#include "dde/dde_channel.h"
#include "files/error_record.h"

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

// True when the acknowledgement answers an earlier transaction that timed
// out; it is counted off.
bool IsLateAnswer(const WaitRequest& rq) {
  if (!rq.lateAnswers || *rq.lateAnswers == 0) return false;
  --*rq.lateAnswers;
  return true;
}

// Takes the first acknowledgement from the partner queued for the hidden
// window. Those that answer another transaction (late ones after a
// time-out) are freed and skipped; an execute's answer only hands back the
// command block, which its own execute has freed already.
Found TakeAcknowledgement(const WaitRequest& rq) {
  MSG m;
  while (PeekMessageA(&m, rq.hidden, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE)) {
    UINT_PTR status = 0, high = 0;
    UnpackDDElParam(WM_DDE_ACK, m.lParam, &status, &high);
    FreeDDElParam(WM_DDE_ACK, m.lParam);
    if (rq.partner && reinterpret_cast<HWND>(m.wParam) != rq.partner) continue;
    if (rq.sent != WM_DDE_EXECUTE && high) GlobalDeleteAtom(static_cast<ATOM>(high));
    if (IsLateAnswer(rq)) continue;
    if (rq.sent == WM_DDE_EXECUTE && reinterpret_cast<HGLOBAL>(high) != rq.commands) continue;
    return (status & 0x8000) ? Found::Positive : Found::Negative;
  }
  return Found::Nothing;
}

// The answer may still come; the next wait must not take it for its own.
void OweAnswer(const WaitRequest& rq, bool wantsAck) {
  if (wantsAck && rq.lateAnswers) ++*rq.lateAnswers;
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

}  // namespace

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
      OweAnswer(rq, wantsAck);
      err::Post(kTimedOut);
      return false;
    }
    if (rq.partner && !IsWindow(rq.partner)) return false;
    DWORD slice = remaining < static_cast<LONG>(kPartnerCheckMs) ? remaining : kPartnerCheckMs;
    DWORD r = MsgWaitForMultipleObjects(1, &self, FALSE, slice, kWakeMask);
    if (r != WAIT_TIMEOUT && r != WAIT_OBJECT_0 + 1) {  // signalled or failed
      OweAnswer(rq, wantsAck);
      return false;
    }
    // Looked at after a quiet slice too: an answer that came between the
    // look and the peek that marks the queue as seen wakes nobody.
    if (wantsAck) {
      Found f = TakeAcknowledgement(rq);
      if (f != Found::Nothing) return f == Found::Positive;
    }
    if (reply && ReplyQueued(rq.hidden, reply)) return true;
    if (r == WAIT_OBJECT_0 + 1) PaintAndMarkSeen();
  }
}

}  // namespace dove::dde
