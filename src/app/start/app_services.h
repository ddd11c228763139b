// What the main procedure and the commands need from the platform, so that
// their decisions can be tested without it. The Windows shell implements it
// with the real message dialog and the real file system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dove::app {

class AppServices {
public:
    virtual ~AppServices() = default;
    virtual int32_t Message(std::string_view text, std::string_view caption, std::string_view icon,
                            std::string_view buttons, int32_t defaultButton, uint32_t style) = 0;
    // The current directory in its short (8.3) form.
    virtual std::string ShortCurrentDirectory() = 0;
    // The Log/Version utility window, the face without arguments.
    virtual void RunWorkLog() = 0;
    // VERSION: the Log/Version utility's entry without its window.
    virtual void RunVersion() = 0;
};

}  // namespace dove::app
