// The text driver's buffer object: one window of file bytes over an open
// operating-system file.
//
// With buffered reading, Peek() serves a range from the window while it lies
// inside the valid bytes and reloads a full window at the asked offset
// otherwise; without it, every Peek() re-reads the file. After a read that
// fills less than the window, a Ctrl-Z is stored just past the valid bytes,
// so the data always ends with an end-of-data mark.
//
// Writes go straight through to the file and mark the window for reload, so
// the window never holds unwritten data and a crash loses nothing written.
//
//   TextBuffer buf(handle, 1024, /*buffered=*/true);
//   ByteSource::View v = buf.Peek(0, 257);
//   if (!v.data) return buf.LastError();
#pragma once

#include <cstdint>
#include <memory>

#include "files/os/os_file.h"

namespace dove::files {

constexpr char kCtrlZ = 26;

// Where the record reader looks at file bytes: the buffer object, or memory
// in tests and fuzzing.
class ByteSource {
public:
    struct View {
        const char* data = nullptr;   // null: nothing could be looked at
        uint32_t available = 0;       // valid bytes from data on; a Ctrl-Z follows when short
    };
    virtual ~ByteSource() = default;
    virtual View Peek(uint32_t offset, uint32_t count) = 0;
    virtual int LastError() const = 0;
};

class TextBuffer : public ByteSource {
public:
    // Flag bits, as the buffer object keeps them.
    enum : uint8_t { kUnwritten = 1, kBuffered = 2, kOwnsWindow = 4, kReload = 8 };

    // The handle stays the caller's; capacity 0 gives a buffer without a
    // window (every Peek fails).
    TextBuffer(os::Handle handle, uint32_t capacity, bool buffered);

    View Peek(uint32_t offset, uint32_t count) override;

    // Writes at offset; returns the bytes written (short on failure).
    uint32_t WriteAt(uint32_t offset, const char* bytes, uint32_t count);
    // Cuts the file at offset; 0 or the OS error.
    int TruncateAt(uint32_t offset);
    // Nothing is ever left unwritten; flushes the system's buffers.
    int Flush();

    int LastError() const override { return lastError_; }
    void ForgetWindow() { flags_ |= kReload; }
    bool Buffered() const { return flags_ & kBuffered; }
    uint32_t Capacity() const { return capacity_; }
    os::Handle Handle() const { return handle_; }

private:
    bool Load(uint32_t offset);
    bool Inside(uint32_t offset, uint32_t count) const;

    os::Handle handle_;
    int lastError_ = 0;
    uint32_t windowStart_ = 0;
    uint32_t valid_ = 0;
    uint32_t capacity_ = 0;
    std::unique_ptr<char[]> window_;
    uint8_t flags_ = 0;
};

}  // namespace dove::files
