// The text driver's per-file block and the pieces of the driver that work on
// it (shared by text_driver.cpp, text_write.cpp and text_state.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/object/driver_frame.h"
#include "files/os/os_file.h"
#include "files/text/text_buffer.h"
#include "files/text/text_record.h"
#include "files/text/text_switches.h"

namespace dove::files {

struct TextBlock : DriverBlock {
    // State flag bits.
    // kSharedWrite: the open lets other handles write, so they share the
    // end of the file with this one.
    enum : uint8_t { kCurrent = 1, kDenyNone = 2, kReadOnly = 4, kSharedWrite = 64 };

    uint8_t flags = 0;
    uint8_t lockDepth = 0;
    os::File handle;
    std::unique_ptr<TextBuffer> buffer;
    uint32_t currentPos = 0;
    uint32_t currentSize = 0;
    uint32_t fileSize = 0;
    uint32_t nextRead = 1;          // 1-based
    TextOptions options;
    bool trailingCtrlZChecked = false;
    std::vector<char> scratch;      // the record in the OEM set, for writing

    bool IsOpen() const { return handle.IsOpen(); }
    bool Has(uint8_t flag) const { return (flags & flag) != 0; }
    RecordSettings Reading() const {
        return RecordSettings{options.delimiter, options.tab, options.ctrlZIsEof};
    }
};

// --- text_driver.cpp -------------------------------------------------------
// Makes (or remakes, after an option changed it) the buffer object: the
// size asked for, halved while the memory cannot be had.
void RebuildBuffer(TextBlock& b);
// The cached size, re-read first for a deny-none file without QUICKSCAN.
int RefreshSize(TextBlock& b);
// The size as the file has it now, whatever QUICKSCAN says.
int ReadSizeNow(TextBlock& b);
OpResult OpenFile(TextBlock& b, int32_t mode);
OpResult CloseFile(TextBlock& b);
OpResult ReadAt(TextBlock& b, uint32_t pointer);

// --- text_write.cpp --------------------------------------------------------
// pointer: 1-based position, 0 for the end of the file.
OpResult WriteRecord(TextBlock& b, uint32_t pointer, uint32_t count);
OpResult LockFile(TextBlock& b, bool withTimeout, int32_t seconds);
OpResult UnlockFile(TextBlock& b);
int TakeLock(TextBlock& b);
void ReleaseLock(TextBlock& b);

// --- text_state.cpp --------------------------------------------------------
OpResult Send(TextBlock& b, std::string_view command);
OpResult GetState(TextBlock& b);
OpResult RestoreState(TextBlock& b, int32_t id);
OpResult FreeState(TextBlock& b, int32_t id);
OpResult GetProperty(TextBlock& b, int32_t property);
OpResult SetProperty(TextBlock& b, int32_t property, int32_t value);

}  // namespace dove::files
