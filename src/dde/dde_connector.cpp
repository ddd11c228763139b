#include "dde/dde_connector.h"

#include "dde/ide_names.h"
#include "runtime/errors/error_record.h"
#include "runtime/profile/run_program.h"
#include "runtime/strings/strings.h"

namespace dove::dde {
namespace {

const char kSection[] = "Connect";
constexpr size_t kApplicationLimit = 80;

ConnectorPlatform& Platform() {
    static ConnectorPlatform platform = DefaultConnectorPlatform();
    return platform;
}

std::string ServiceName(const DdeConnector::Service& s) {
    return str::Clip(std::string_view(s.xAPP).substr(0, kApplicationLimit));
}

}  // namespace

void SetConnectorPlatform(const ConnectorPlatform& platform) { Platform() = platform; }

DdeConnector::DdeConnector() {
    str::AssignFixed(xTOPIC, sizeof xTOPIC, "");
    str::AssignFixed(xITEM, sizeof xITEM, "");
    str::AssignFixed(xVAL, sizeof xVAL, "");
}

bool DdeConnector::Hook() { return false; }

int32_t DdeConnector::ErrorCode() { return DDEERRORCODE; }

std::string DdeConnector::ErrorText() { return DDEERROR; }

void DdeConnector::Acknowledge(int flag) { Platform().acknowledge(flag); }

void DdeConnector::InitForIde(std::string_view exe) {
    str::AssignZ(DDE.xAPP, sizeof DDE.xAPP, ide::kDdeService);
    str::AssignZ(DDE.xEXE, sizeof DDE.xEXE, exe);
    DDE.TIMEOUT = kDefaultTimeOut;
    Init(DDE);
}

void DdeConnector::Init(const Service& group) {
    if (&group != &DDE) {
        str::AssignZ(DDE.xAPP, sizeof DDE.xAPP, group.xAPP);
        str::AssignZ(DDE.xEXE, sizeof DDE.xEXE, group.xEXE);
        DDE.MODE = group.MODE;
        DDE.TIMEOUT = group.TIMEOUT;
        if (group.TOPIC) {
            DDE.TOPIC = group.TOPIC;
            DDE.TOPICLEN = group.TOPICLEN;
        }
    }
    if (DDE.TIMEOUT == 0) DDE.TIMEOUT = kDefaultTimeOut;
}

// One start of the server at most; after it, attempts go on until a channel
// is open or the connect window has passed.
bool DdeConnector::Connect() {
    ConnectorPlatform& p = Platform();
    log.Write(kSection, "App", DDE.xAPP);
    p.setTimeOut(DDE.TIMEOUT != 0 ? DDE.TIMEOUT : kDefaultTimeOut);
    log.Write(kSection, "Before Open Channel", DDE.xAPP);
    uint64_t start = p.nowMs();
    bool startTried = false;
    for (OpenChannel(); CHANNEL == 0; OpenChannel()) {
        if (!startTried) {
            log.Write(kSection, "Before Run", DDE.xAPP);
            uint8_t result = RunServer();
            startTried = true;
            log.Write(kSection, "Run Error", str::FromInt(result));
            continue;
        }
        p.pause(kRetryPauseMs);
        if (p.nowMs() - start > kConnectWindowMs) break;
    }
    if (CHANNEL != 0) log.Write(kSection, "Run Error", str::FromInt(CHANNEL));
    return CHANNEL != 0;
}

void DdeConnector::OpenChannel() {
    if (CHANNEL != 0) Close();
    CHANNEL = Platform().open(ServiceName(DDE), "");
}

uint8_t DdeConnector::RunServer() {
    int32_t code = 0;
    if (!str::IsBlank(DDE.xEXE)) {
        RunProgram(ProgramAlone(DDE.xEXE), false);
        code = RUNRESULT();
        if (code != 0) {
            str::AssignZ(DDEERROR, sizeof DDEERROR, err::Text());
            DDEERRORCODE = code;
        }
    }
    OpenChannel();
    return static_cast<uint8_t>(code);
}

int32_t DdeConnector::RegisterTemplate(std::string_view name, int32_t flag) {
    // The IDE's command word, without the bracket that Execute adds.
    std::string command(std::string_view(ide::kRegisterCommandStart).substr(1));
    command.append(str::Clip(name)).append(",").append(str::FromInt(flag)).append(")");
    return Execute(command);
}

int32_t DdeConnector::Execute(std::string_view command) {
    if (CHANNEL != 0) Platform().execute(CHANNEL, "[" + str::Clip(command) + "]");
    return err::Code();
}

void DdeConnector::Close() {
    if (CHANNEL != 0) Platform().close(CHANNEL);
    CHANNEL = 0;
}

DdeConnector& IdeConnector() {
    static DdeConnector connector;
    return connector;
}

}  // namespace dove::dde
