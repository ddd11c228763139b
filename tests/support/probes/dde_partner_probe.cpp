// dde_partner_probe: a scripted DDE server that records every DDE message it
// receives, for the channel tests to compare with what they expect.
//
//   dde_partner_probe SERVICE [OPTION...]
//
// It answers WM_DDE_INITIATE for SERVICE with any topic (or only the topic
// given), acknowledges each execute and answers WM_DDE_TERMINATE. Clients
// are numbered c1, c2, ... in the order they connected. One line per
// received message on standard output, all written when the probe ends:
//   w<server> INITIATE app=<name> topic=<name>    (atom 0 shows as #0)
//   w<server> c<client> EXECUTE <command>
//   w<server> c<client> TERMINATE
//   w<server> c<client> ACK status=<hex>           (answers to our data)
//   w<server> c<client> <other message number in hex>
// "ready" comes first, once every server window is up. Any WM_CLOSE to one
// of its windows ends the probe, which prints "end".
//
// Options:
//   windows=N         N server windows that all answer (default 1)
//   topic=NAME        answer only this topic (and topic atom 0)
//   nack              acknowledge executes negatively
//   no-ack            never acknowledge
//   ack-delay=MS      wait before each acknowledgement
//   first-ack-delay=MS  wait before the first acknowledgement only
//   first-ack=positive|negative|none  the first acknowledgement says this
//                     (none: it never comes), whatever the others say
//   quit-on-execute   end at the first execute without a word (a crash)
//   quit-after-ack    acknowledge the first execute, then end at once
//   hang              once ready, never read a message again (a hung
//                     program: its windows stay, nobody answers them)
//   terminate-after-execute  after acknowledging, end the conversation
//   sent-terminate    the same, with the goodbye sent rather than posted
//   data-after-execute  after acknowledging, send text data asking for an ack
//   stranger-data-after-execute  the same from a window outside the
//                     conversation, asking for no ack (the block is the
//                     receiver's to free)
//   data-count=N      send N data messages each time (default 1)
// Data carries the item atom "<SERVICE>Item".
// Exit code 0; 3 for a bad command line.
#include <windows.h>
#include <dde.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Options {
  std::string service;
  std::string topic;  // empty: any
  int windows = 1;
  bool nack = false;
  bool noAck = false;
  DWORD ackDelay = 0;
  DWORD firstAckDelay = 0;
  int firstAck = -1;  // -1: as the others; 0 negative; 1 positive; 2 none
  bool quitOnExecute = false;
  bool quitAfterAck = false;
  bool hang = false;
  bool terminateAfterExecute = false;
  bool sendTerminate = false;  // the goodbye through SendMessage, not posted
  bool dataAfterExecute = false;
  bool dataFromStranger = false;
  int dataCount = 1;
};

Options g_opt;
std::vector<HWND> g_servers;
HWND g_stranger = nullptr;  // not a server: it answers no initiate
std::map<HWND, int> g_clients;  // client window -> number
int g_executes = 0;

// Lines are kept until the end: a pipe that nobody reads while the test
// talks to us must not block the conversation.
std::string g_record;

void Line(const std::string& text) { g_record += text + "\n"; }

void Flush() {
  std::fputs(g_record.c_str(), stdout);
  std::fflush(stdout);
  g_record.clear();
}

int ServerNumber(HWND hwnd) {
  for (size_t i = 0; i < g_servers.size(); ++i)
    if (g_servers[i] == hwnd) return static_cast<int>(i) + 1;
  return 0;
}

std::string Prefix(HWND server, HWND client) {
  std::string p = "w" + std::to_string(ServerNumber(server));
  auto it = g_clients.find(client);
  p += it == g_clients.end() ? " c?" : " c" + std::to_string(std::abs(it->second));
  return p;
}

std::string AtomText(ATOM a) {
  if (!a) return "#0";
  char name[256] = {};
  GlobalGetAtomNameA(a, name, sizeof name);
  return name;
}

bool SameName(ATOM a, const std::string& want) {
  return _stricmp(AtomText(a).c_str(), want.c_str()) == 0;
}

void OnInitiate(HWND server, HWND client, LPARAM lp) {
  ATOM app = LOWORD(lp), topic = HIWORD(lp);
  Line("w" + std::to_string(ServerNumber(server)) + " INITIATE app=" + AtomText(app) +
       " topic=" + AtomText(topic));
  if (app && !SameName(app, g_opt.service)) return;
  if (topic && !g_opt.topic.empty() && !SameName(topic, g_opt.topic)) return;
  if (!g_clients.count(client)) g_clients[client] = static_cast<int>(g_clients.size()) + 1;
  std::string answerTopic = topic ? AtomText(topic) : (g_opt.topic.empty() ? "System" : g_opt.topic);
  ATOM myApp = GlobalAddAtomA(g_opt.service.c_str());
  ATOM myTopic = GlobalAddAtomA(answerTopic.c_str());
  SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server), MAKELPARAM(myApp, myTopic));
}

void SendTextData(HWND from, HWND client, bool ackRequested) {
  const char text[] = "data\r\n";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(DDEDATA) + sizeof text);
  auto* d = static_cast<DDEDATA*>(GlobalLock(block));
  d->fAckReq = ackRequested;
  d->fRelease = 1;
  d->cfFormat = CF_TEXT;
  std::memcpy(d->Value, text, sizeof text);
  GlobalUnlock(block);
  ATOM item = GlobalAddAtomA((g_opt.service + "Item").c_str());
  LPARAM lp = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(block), item);
  if (!PostMessageA(client, WM_DDE_DATA, reinterpret_cast<WPARAM>(from), lp)) {
    FreeDDElParam(WM_DDE_DATA, lp);
    GlobalFree(block);
    GlobalDeleteAtom(item);
  }
}

void OnExecute(HWND server, HWND client, LPARAM lp) {
  auto block = reinterpret_cast<HGLOBAL>(lp);
  const char* text = static_cast<const char*>(GlobalLock(block));
  Line(Prefix(server, client) + " EXECUTE " + (text ? text : "<no memory>"));
  if (text) GlobalUnlock(block);
  ++g_executes;
  if (g_opt.quitOnExecute) {
    Flush();
    ExitProcess(0);
  }
  if (g_opt.noAck || (g_executes == 1 && g_opt.firstAck == 2)) return;
  DWORD delay = g_executes == 1 && g_opt.firstAckDelay ? g_opt.firstAckDelay : g_opt.ackDelay;
  if (delay) Sleep(delay);
  bool positive = g_executes == 1 && g_opt.firstAck >= 0 ? g_opt.firstAck == 1 : !g_opt.nack;
  WORD status = positive ? 0x8000 : 0;
  LPARAM ack = PackDDElParam(WM_DDE_ACK, status, reinterpret_cast<UINT_PTR>(block));
  if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server), ack))
    FreeDDElParam(WM_DDE_ACK, ack);
  if (g_opt.quitAfterAck) {
    Flush();
    ExitProcess(0);
  }
  for (int i = 0; g_opt.dataAfterExecute && i < g_opt.dataCount; ++i)
    SendTextData(g_opt.dataFromStranger ? g_stranger : server, client, !g_opt.dataFromStranger);
  if (g_opt.terminateAfterExecute) {
    g_clients[client] = -g_clients[client];  // we said goodbye first
    if (g_opt.sendTerminate)
      SendMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(server), 0);
    else
      PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(server), 0);
  }
}

void OnTerminate(HWND server, HWND client) {
  Line(Prefix(server, client) + " TERMINATE");
  auto it = g_clients.find(client);
  bool weStarted = it != g_clients.end() && it->second < 0;
  if (!weStarted && IsWindow(client))
    PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(server), 0);
}

void OnAck(HWND server, HWND client, LPARAM lp) {
  UINT_PTR status = 0, item = 0;
  UnpackDDElParam(WM_DDE_ACK, lp, &status, &item);
  FreeDDElParam(WM_DDE_ACK, lp);
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04x", static_cast<unsigned>(status));
  Line(Prefix(server, client) + " ACK status=" + hex);
  if (item) GlobalDeleteAtom(static_cast<ATOM>(item));
}

LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  HWND client = reinterpret_cast<HWND>(wp);
  switch (msg) {
    case WM_DDE_INITIATE:
      OnInitiate(hwnd, client, lp);
      return 0;
    case WM_DDE_EXECUTE:
      OnExecute(hwnd, client, lp);
      return 0;
    case WM_DDE_TERMINATE:
      OnTerminate(hwnd, client);
      return 0;
    case WM_DDE_ACK:
      OnAck(hwnd, client, lp);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      if (msg > WM_DDE_FIRST && msg <= WM_DDE_LAST) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", msg);
        Line(Prefix(hwnd, client) + " " + hex);
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

bool ParseOption(const char* a) {
  auto value = [&](const char* key) -> const char* {
    size_t n = std::strlen(key);
    return std::strncmp(a, key, n) == 0 ? a + n : nullptr;
  };
  if (const char* v = value("windows=")) return (g_opt.windows = std::atoi(v)) > 0;
  if (const char* v = value("topic=")) return g_opt.topic = v, true;
  if (const char* v = value("ack-delay=")) return g_opt.ackDelay = std::atoi(v), true;
  if (const char* v = value("first-ack-delay=")) return g_opt.firstAckDelay = std::atoi(v), true;
  if (const char* v = value("data-count=")) return (g_opt.dataCount = std::atoi(v)) > 0;
  if (!std::strcmp(a, "first-ack=positive")) return g_opt.firstAck = 1, true;
  if (!std::strcmp(a, "first-ack=negative")) return g_opt.firstAck = 0, true;
  if (!std::strcmp(a, "first-ack=none")) return g_opt.firstAck = 2, true;
  if (!std::strcmp(a, "quit-after-ack")) return g_opt.quitAfterAck = true;
  if (!std::strcmp(a, "hang")) return g_opt.hang = true;
  if (!std::strcmp(a, "stranger-data-after-execute"))
    return g_opt.dataAfterExecute = g_opt.dataFromStranger = true;
  if (!std::strcmp(a, "nack")) return g_opt.nack = true;
  if (!std::strcmp(a, "no-ack")) return g_opt.noAck = true;
  if (!std::strcmp(a, "quit-on-execute")) return g_opt.quitOnExecute = true;
  if (!std::strcmp(a, "terminate-after-execute")) return g_opt.terminateAfterExecute = true;
  if (!std::strcmp(a, "data-after-execute")) return g_opt.dataAfterExecute = true;
  if (!std::strcmp(a, "sent-terminate"))
    return g_opt.terminateAfterExecute = g_opt.sendTerminate = true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 3;
  g_opt.service = argv[1];
  for (int i = 2; i < argc; ++i)
    if (!ParseOption(argv[i])) return 3;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &ServerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DovePartnerProbe";
  RegisterClassA(&wc);
  for (int i = 0; i < g_opt.windows; ++i)
    g_servers.push_back(CreateWindowExA(0, wc.lpszClassName, g_opt.service.c_str(), WS_POPUP, 0, 0,
                                        0, 0, nullptr, nullptr, wc.hInstance, nullptr));
  // A plain static window: it takes no part in the initiate broadcast.
  g_stranger = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               wc.hInstance, nullptr);
  Line("ready");
  Flush();
  if (g_opt.hang) Sleep(INFINITE);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  Line("end");
  Flush();
  return 0;
}
