// The channel operations as procedures call them. String arguments travel
// over the value stack, as every runtime operation takes them.
#include "dde/dde_channel.h"

#include <windows.h>
#include <dde.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "dde/dde_event_win32.h"
#include "dde/dde_registry_win32.h"
#include "dde/dde_wait_win32.h"
#include "dde/dde_window_win32.h"
#include "runtime/errors/error_record.h"
#include "runtime/strings/value_stack.h"
#include "runtime/runtime_record.h"
#include "windows/loop/window.h"

namespace dove::dde {

namespace {

constexpr size_t kNameSize = 80;  // 79 characters and the zero
constexpr int kInvalidChannel = 601;
constexpr int kNotOpen = 602;
constexpr int kInvalidCommand = 603;
constexpr int kTimedOut = 605;

std::once_flag g_layerOnce;

void StartLayerOnce() {
  win::SetQueryPscreenMessage(RegisterWindowMessageA("TW_QUERY_PSCREEN"));
  win::SetWindowClosingHook(&CloseWindowChannels);
  // The hidden windows' class is registered by the first channel that makes
  // one: the first class registration connects the process to the desktop,
  // which costs a command that never talks DDE a good part of its run.
}

// DDEopen with its arguments on the value stack: application below topic.
Channel OpenFromStack() {
  char topic[kNameSize];
  char application[kNameSize];
  vstack::PopZ(topic, sizeof topic);
  vstack::PopZ(application, sizeof application);
  StartDdeLayer();
  win::RuntimeRecord* rt = win::FindThreadRecord();
  HWND parent = rt ? static_cast<HWND>(rt->currentWindow) : nullptr;
  win::Window* owner = parent ? win::CurrentWindow() : nullptr;
  auto channel = std::make_unique<DdeClientChannel>(parent);
  if (!channel->Created() || !channel->connect(application, topic)) return 0;
  return AddChannel(channel.release(), owner);
}

// The command as one block of shared memory, zero-terminated.
HGLOBAL CommandBlock(const std::string& command) {
  HGLOBAL block = GlobalAlloc(GMEM_DDESHARE, command.size() + 1);
  if (!block) return nullptr;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  memcpy(p, command.c_str(), command.size() + 1);
  GlobalUnlock(block);
  return block;
}

bool PostAndWait(DdeClientChannel& ch, HGLOBAL block) {
  HWND partner = ch.peer().partner;
  if (!PostMessageA(partner, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(ch.hwnd()),
                    reinterpret_cast<LPARAM>(block)))
    return false;
  WaitRequest rq{ch.hwnd(), partner, WM_DDE_EXECUTE, block, &ch.owed};
  if (WaitForAnswer(rq)) return true;
  if (!IsWindow(partner)) ch.peer().partner = nullptr;
  return false;
}

void ExecuteFromStack(Channel handle) {
  std::string command = vstack::PopString();
  if (!handle) return;
  err::Clear();
  DdeClientChannel* ch = FindChannel(handle);
  if (!ch) {
    err::Post(kInvalidChannel);  // closed already, or never opened
    return;
  }
  if (ch->peer().partner && !IsWindow(ch->peer().partner)) ch->peer().partner = nullptr;
  if (!ch->peer().partner) {
    err::Post(kNotOpen);
    return;
  }
  HGLOBAL block = CommandBlock(command);
  bool ok = block && PostAndWait(*ch, block);
  if (!ok && err::Code() == 0) err::Post(kInvalidCommand);
  if (!block) return;
  // Unanswered in time but still owed an answer by a living partner: the
  // block waits for it (see OwedAnswers) instead of being freed now.
  if (err::Code() == kTimedOut && ch->peer().partner)
    ch->owed.Add(block);
  else
    GlobalFree(block);
}

}  // namespace

void StartDdeLayer() { std::call_once(g_layerOnce, &StartLayerOnce); }

Channel DDEopen(std::string_view application, std::string_view topic) {
  vstack::PushCopy(application.data(), application.size());
  vstack::PushCopy(topic.data(), topic.size());
  return OpenFromStack();
}

void DDEexecute(Channel channel, std::string_view command) {
  vstack::PushCopy(command.data(), command.size());
  ExecuteFromStack(channel);
}

void DDEclose(Channel channel) {
  err::Clear();
  if (!channel) return;
  DdeClientChannel* ch = FindChannel(channel);
  if (!ch) return;
  delete TakeChannel(channel, OwnerOf(*ch));
}

void DDEacknowledge(int flag) {
  win::Window* w = win::CurrentWindow();
  auto* rec = w ? dynamic_cast<DdeEventRecord*>(w->Current()) : nullptr;
  if (rec && rec->NeedsAnswer()) rec->Acknowledge(flag);
}

}  // namespace dove::dde
