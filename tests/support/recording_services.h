// AppServices for native tests of the commands: records every message and
// answers it with a chosen button.
#pragma once

#include <string>
#include <vector>

#include "app/start/app_services.h"
#include "app/start/program_globals.h"

namespace test {

struct ShownMessage {
    std::string text, caption, icon, buttons;
};

class RecordingServices : public dove::app::AppServices {
public:
    std::vector<ShownMessage> messages;
    int workLogRuns = 0;
    int versionRuns = 0;
    std::string versionParameter;   // GetToken(2) while VERSION ran
    int32_t answer = 1;

    int32_t Message(std::string_view text, std::string_view caption, std::string_view icon,
                    std::string_view buttons, int32_t, uint32_t) override {
        messages.push_back({std::string(text), std::string(caption), std::string(icon),
                            std::string(buttons)});
        return answer;
    }
    std::string ShortCurrentDirectory() override { return "C:\\PROGRA~1"; }
    void RunWorkLog() override { ++workLogRuns; }
    void RunVersion() override {
        ++versionRuns;
        versionParameter = dove::app::GetToken(2);
    }
};

}  // namespace test
