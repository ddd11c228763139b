#include "app/worklog/worklog_state.h"

namespace dove::app::worklog {

char* FileNameBuffer() {
    static char fileName[kFileNameSize] = {};
    return fileName;
}

int32_t& BuildNumber() {
    static int32_t build = 0;
    return build;
}

}  // namespace dove::app::worklog
