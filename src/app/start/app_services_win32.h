#pragma once

#include "app/start/app_services.h"

namespace dove::app {

// The real platform: the runtime's message dialog and the file system.
class Win32AppServices : public AppServices {
public:
    int32_t Message(std::string_view text, std::string_view caption, std::string_view icon,
                    std::string_view buttons, int32_t defaultButton, uint32_t style) override;
    std::string ShortCurrentDirectory() override;
    void RunWorkLog() override;
    void RunVersion() override;
};

}  // namespace dove::app
