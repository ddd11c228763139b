#include "dde/dde_registry_win32.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "dde/dde_window_win32.h"
#include "windows/loop/window.h"

namespace dove::dde {

namespace {

struct Registry {
  std::mutex lock;
  std::map<Channel, DdeClientChannel*> table;
  // Lists in opening order; the null key is the process-wide list.
  std::map<win::Window*, std::vector<Channel>> lists;
  Channel last = 0;
};

Registry& Reg() {
  static Registry* r = new Registry;  // outlives every channel, even at exit
  return *r;
}

// The next free handle: handles are not reused at once, so a stale handle
// of a closed channel names nothing for a long while.
Channel NextHandle(Registry& r) {
  do {
    r.last = r.last == INT32_MAX ? 1 : r.last + 1;
  } while (r.table.count(r.last));
  return r.last;
}

bool EraseFrom(std::vector<Channel>& list, Channel handle) {
  auto it = std::find(list.begin(), list.end(), handle);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

void EraseAnywhere(Registry& r, Channel handle) {
  for (auto& [owner, list] : r.lists)
    if (EraseFrom(list, handle)) return;
}

}  // namespace

Channel AddChannel(DdeClientChannel* channel, win::Window* owner) {
  Registry& r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  Channel handle = NextHandle(r);
  channel->handle = handle;
  r.table[handle] = channel;
  r.lists[owner].push_back(handle);
  return handle;
}

DdeClientChannel* FindChannel(Channel handle) {
  Registry& r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  auto it = r.table.find(handle);
  return it == r.table.end() ? nullptr : it->second;
}

DdeClientChannel* TakeChannel(Channel handle, win::Window* owner) {
  Registry& r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  auto it = r.table.find(handle);
  if (it == r.table.end()) return nullptr;
  DdeClientChannel* channel = it->second;
  r.table.erase(it);
  auto list = r.lists.find(owner);
  if (list == r.lists.end() || !EraseFrom(list->second, handle)) EraseAnywhere(r, handle);
  return channel;
}

void CloseWindowChannels(win::Window* owner) {
  if (!owner) return;
  for (;;) {
    Channel newest = 0;
    {
      Registry& r = Reg();
      std::lock_guard<std::mutex> hold(r.lock);
      auto list = r.lists.find(owner);
      if (list == r.lists.end()) return;
      if (list->second.empty()) {
        r.lists.erase(list);
        return;
      }
      newest = list->second.back();
    }
    // Destroyed outside the lock: the peer posts and the window drains.
    delete TakeChannel(newest, owner);
  }
}

win::Window* OwnerOf(const DdeClientChannel& channel) {
  HWND parent = channel.hwnd() ? GetParent(channel.hwnd()) : nullptr;
  unsigned query = win::QueryPscreenMessage();
  if (!parent || !query) return nullptr;
  return reinterpret_cast<win::Window*>(SendMessageA(parent, query, 0, 0));
}

size_t OpenChannelCount() {
  Registry& r = Reg();
  std::lock_guard<std::mutex> hold(r.lock);
  return r.table.size();
}

}  // namespace dove::dde
