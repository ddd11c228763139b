// The connector over the real channels, the system's tick count and Sleep.
#include <windows.h>

#include "dde/dde_connector.h"

namespace dove::dde {
namespace {

Channel Open(std::string_view application, std::string_view topic) {
    return DDEopen(application, topic);
}
void Execute(Channel channel, std::string_view command) { DDEexecute(channel, command); }
void Close(Channel channel) { DDEclose(channel); }
void Acknowledge(int flag) { DDEacknowledge(flag); }
void TimeOut(uint32_t hundredths) { SetDDETimeOut(hundredths); }
uint64_t TickMs() { return GetTickCount64(); }
void Pause(uint32_t ms) { Sleep(ms); }

}  // namespace

ConnectorPlatform DefaultConnectorPlatform() {
    return {&Open, &Execute, &Close, &Acknowledge, &TimeOut, &TickMs, &Pause};
}

}  // namespace dove::dde
