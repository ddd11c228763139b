#include "dde/dde_event_win32.h"

#include <dde.h>

#include <memory>

#include "dde/dde_window_win32.h"
#include "runtime/lifecycle.h"
#include "windows/loop/window.h"

namespace dove::dde {

namespace {

win::Window* TargetWindow(HWND hidden) {
  if (DDEmode() & kDDEmodeToCurrentWindow) return win::CurrentWindow();
  HWND parent = hidden ? GetParent(hidden) : nullptr;
  unsigned query = win::QueryPscreenMessage();
  if (!parent || !query) return nullptr;
  return reinterpret_cast<win::Window*>(SendMessageA(parent, query, 0, 0));
}

int NumberOf(const DdeEventRecord& r) { return r.Number(); }

}  // namespace

ATOM CopyAtom(ATOM atom) {
  if (!atom) return 0;
  char name[256];
  if (!GlobalGetAtomNameA(atom, name, sizeof name)) return 0;
  return GlobalAddAtomA(name);
}

bool DdeEventRecord::NeedsAnswer() const {
  int n = NumberOf(*this);
  return !acknowledged && (n == win::EVENT_DDEexecute || n == win::EVENT_DDEpoke);
}

void DdeEventRecord::Acknowledge(int flag) {
  if (acknowledged) return;
  acknowledged = true;
  int n = NumberOf(*this);
  WORD status = flag ? 0x8000 : 0;
  if (n == win::EVENT_DDEpoke) {
    ATOM sentItem = CopyAtom(item);
    LPARAM packed = PackDDElParam(WM_DDE_ACK, status, sentItem);
    if (!PostMessageA(partner, WM_DDE_ACK, reinterpret_cast<WPARAM>(hidden), packed)) {
      FreeDDElParam(WM_DDE_ACK, packed);
      if (sentItem) GlobalDeleteAtom(sentItem);
    }
  } else if (n == win::EVENT_DDEexecute) {
    LPARAM packed = PackDDElParam(WM_DDE_ACK, status, reinterpret_cast<UINT_PTR>(memory));
    if (!PostMessageA(partner, WM_DDE_ACK, reinterpret_cast<WPARAM>(hidden), packed)) {
      FreeDDElParam(WM_DDE_ACK, packed);
      partner = nullptr;
      if (memory) GlobalFree(memory);
    }
    memory = nullptr;  // the partner frees the command it sent
  }
}

DdeEventRecord::~DdeEventRecord() {
  if (NeedsAnswer()) Acknowledge(0);
  if (application) GlobalDeleteAtom(application);
  if (topic) GlobalDeleteAtom(topic);
  if (item) GlobalDeleteAtom(item);
}

bool QueueDdeEvent(std::unique_ptr<DdeEventRecord> record, HWND hidden) {
  win::Window* target = TargetWindow(hidden);
  if (!target || target->Closed() || lifecycle::ShuttingDown()) return false;
  record->window = target;
  target->Append(std::move(record));
  return true;
}

bool RaiseChannelEvent(DdeClientChannel& channel, int number, HWND partner) {
  auto rec = std::make_unique<DdeEventRecord>();
  rec->code = win::kEventCodeBase + static_cast<uint32_t>(number);
  rec->channel = channel.handle;
  rec->application = CopyAtom(channel.peer().application);
  rec->topic = CopyAtom(channel.peer().topic);
  rec->partner = partner;
  rec->hidden = channel.hwnd();
  rec->acknowledged = true;  // a client's events need no answer
  return QueueDdeEvent(std::move(rec), channel.hwnd());
}

}  // namespace dove::dde
