// The objects behind a DDE channel: a hidden window of class
// "TovDDEWinClass" that carries the conversation's messages, the partner it
// talks to, and the client channel that joins the two.
//
// Destruction order is part of the protocol: a client channel first lets
// its peer tell the partner goodbye (WM_DDE_TERMINATE) and drop the atoms,
// then the window part drains the terminates still queued for it and
// destroys the hidden window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "dde/dde_channel.h"
#include "dde/dde_wait_win32.h"

namespace dove::dde {

constexpr char kDdeWindowClass[] = "TovDDEWinClass";

// An advise link: an item the partner sends data for. Nothing in this
// program creates one; incoming data is refused.
struct AdviseLink {
  ATOM item = 0;
  bool raisesEvents = false;
};

class DdeWindow {
 public:
  DdeWindow() = default;
  virtual ~DdeWindow();
  DdeWindow(const DdeWindow&) = delete;
  DdeWindow& operator=(const DdeWindow&) = delete;

  virtual bool isClosed() const = 0;
  virtual bool connect(const char* application, const char* topic) = 0;
  virtual void hook() {}
  virtual void onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  HWND hwnd() const { return hwnd_; }

 protected:
  // Creates the hidden window: a child of parent, or a pop-up without one.
  bool CreateHiddenWindow(HWND parent);

  HWND hwnd_ = nullptr;
  std::vector<AdviseLink> links_;
};

// The other side of a conversation.
class DdePeer {
 public:
  explicit DdePeer(DdeWindow* owner) : owner_(owner) {}
  ~DdePeer();
  DdePeer(const DdePeer&) = delete;
  DdePeer& operator=(const DdePeer&) = delete;

  ATOM application = 0;
  ATOM topic = 0;
  HWND partner = nullptr;

 private:
  DdeWindow* owner_;
};

class DdeClientChannel : public DdeWindow {
 public:
  // parent: the hidden window's parent (the current window), or null.
  explicit DdeClientChannel(HWND parent);
  ~DdeClientChannel() override = default;

  bool Created() const { return hwnd_ != nullptr; }
  bool isClosed() const override { return peer_.partner == nullptr; }
  bool connect(const char* application, const char* topic) override;
  void onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  DdePeer& peer() { return peer_; }
  Channel handle = 0;  // set when the channel enters the table
  // Command blocks of executes that timed out, until their late answers.
  OwedAnswers owed;

 private:
  void AnswerInitiate(HWND server, LPARAM lParam);
  void OnPartnerTerminate();
  void OnPartnerData(UINT_PTR data, ATOM item);

  DdePeer peer_{this};
  bool connecting_ = false;
};

// Registers the window class once per process.
bool RegisterDdeWindowClass();

}  // namespace dove::dde
