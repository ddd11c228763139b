// DdeConnector: the utility's way of talking to one DDE service, here the
// IDE's. It opens a channel to the service, starts the program that provides
// it once when nobody answers, keeps asking for up to 30 seconds, sends
// execute commands and closes the channel. Each stage of the connection is
// noted in ".\DADU.LOG" (dadu_log.h), section "Connect".
//
//   dove::dde::DdeConnector& c = dove::dde::IdeConnector();
//   c.InitForIde(exeName);
//   c.Connect();                           // true when a channel is open
//   c.RegisterTemplate("C:\\T\\my.tpl", 0);
//   c.Close();
//
// Execute and RegisterTemplate answer the runtime's error code after the
// attempt: 0, or 602, 603, 605 of the channel; with no channel open, the
// code that was last posted. Nothing here shows a message.
//
// The 30 seconds are counted on a monotonic millisecond clock, so passing
// midnight changes nothing. Between two attempts the connector pauses
// kRetryPauseMs: every attempt broadcasts to all top-level windows of the
// desktop, and the pause keeps a waiting connector from flooding them while
// the command still goes out soon after the service appears.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dde/dadu_log.h"
#include "dde/dde_channel.h"

namespace dove::dde {

constexpr uint32_t kConnectWindowMs = 30000;
constexpr uint32_t kRetryPauseMs = 50;
constexpr int32_t kDefaultTimeOut = 100;  // hundredths: one second per transaction
constexpr size_t kProgramPathSize = 260;

// What the connector needs of the channels and of time. Windows builds use
// the channel operations of dde_channel.h, GetTickCount64 and Sleep; native
// builds have no DDE (nobody answers). Tests install their own.
struct ConnectorPlatform {
    Channel (*open)(std::string_view application, std::string_view topic);
    void (*execute)(Channel channel, std::string_view command);
    void (*close)(Channel channel);
    void (*acknowledge)(int flag);
    void (*setTimeOut)(uint32_t hundredths);
    uint64_t (*nowMs)();        // monotonic
    void (*pause)(uint32_t ms);
};
void SetConnectorPlatform(const ConnectorPlatform& platform);
ConnectorPlatform DefaultConnectorPlatform();

class DdeConnector {
public:
    // The service to talk to. Init copies such a group field by field.
    struct Service {
        char xAPP[120] = {};       // service name
        // Command line that starts it; blank: start nothing. It holds a
        // whole path as long as IDE discovery accepts (254 characters) and
        // more: a cut path would start nothing, or the wrong program.
        char xEXE[kProgramPathSize] = {};
        uint8_t MODE = 0;
        const char* TOPIC = nullptr;  // null when not set; no caller sets it
        size_t TOPICLEN = 0;
        int32_t TIMEOUT = 0;       // hundredths per transaction; 0 means 100
    };

    DdeConnector();
    virtual ~DdeConnector() = default;

    virtual bool Hook();
    virtual int32_t ErrorCode();
    virtual std::string ErrorText();
    virtual void Acknowledge(int flag);
    virtual bool Connect();
    virtual void OpenChannel();
    virtual uint8_t RunServer();

    void InitForIde(std::string_view exe);
    void Init(const Service& group);
    int32_t RegisterTemplate(std::string_view name, int32_t flag);
    int32_t Execute(std::string_view command);
    void Close();

    int32_t CHANNEL = 0;
    char DDEERROR[125] = {};
    int32_t DDEERRORCODE = 0;
    int32_t SAVTIMEOUT = 0;
    Service DDE;
    char xTOPIC[120], xITEM[120], xVAL[120];  // blank-padded

    DaduLog log;
};

// The program's one connector.
DdeConnector& IdeConnector();

}  // namespace dove::dde
