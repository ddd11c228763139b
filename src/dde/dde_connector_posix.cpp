// Native builds have no DDE: nobody answers and nothing is sent. The clock
// and the pause are real, so the connect window behaves as on Windows.
#include <chrono>
#include <thread>

#include "dde/dde_connector.h"

namespace dove::dde {
namespace {

Channel NoServer(std::string_view, std::string_view) { return 0; }
void NoExecute(Channel, std::string_view) {}
void NoClose(Channel) {}
void NoAcknowledge(int) {}
void NoTimeOut(uint32_t) {}

uint64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

ConnectorPlatform DefaultConnectorPlatform() {
    return {&NoServer, &NoExecute, &NoClose, &NoAcknowledge, &NoTimeOut, &SteadyMs, &SleepMs};
}

}  // namespace dove::dde
