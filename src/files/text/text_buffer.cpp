#include "files/text/text_buffer.h"

#include <new>

namespace dove::files {

TextBuffer::TextBuffer(os::Handle handle, uint32_t capacity, bool buffered)
    : handle_(handle), capacity_(capacity) {
    if (capacity_) {
        // One byte more for the end-of-data mark after a short read.
        window_.reset(new (std::nothrow) char[static_cast<size_t>(capacity_) + 1]);
        if (!window_) capacity_ = 0;
    }
    flags_ = kOwnsWindow | kReload;
    if (buffered) flags_ |= kBuffered;
}

bool TextBuffer::Inside(uint32_t offset, uint32_t count) const {
    if (flags_ & kReload) return false;
    if (offset < windowStart_) return false;
    uint64_t end = static_cast<uint64_t>(offset) + count;
    return end <= static_cast<uint64_t>(windowStart_) + valid_;
}

bool TextBuffer::Load(uint32_t offset) {
    flags_ |= kReload;
    valid_ = 0;
    if (int e = os::Seek(handle_, offset, os::SeekFrom::Begin)) {
        lastError_ = e;
        return false;
    }
    uint32_t got = 0;
    if (int e = os::Read(handle_, window_.get(), capacity_, &got)) {
        lastError_ = e;
        return false;
    }
    windowStart_ = offset;
    valid_ = got;
    if (valid_ < capacity_) window_[valid_] = kCtrlZ;
    flags_ &= ~kReload;
    return true;
}

TextBuffer::View TextBuffer::Peek(uint32_t offset, uint32_t count) {
    View view;
    if (!window_ || count > capacity_) return view;
    bool serve = (flags_ & kBuffered) && Inside(offset, count);
    if (!serve && !Load(offset)) return view;
    uint32_t skip = offset - windowStart_;
    view.data = window_.get() + skip;
    view.available = valid_ - skip;
    return view;
}

uint32_t TextBuffer::WriteAt(uint32_t offset, const char* bytes, uint32_t count) {
    flags_ |= kReload;
    if (int e = os::Seek(handle_, offset, os::SeekFrom::Begin)) {
        lastError_ = e;
        return 0;
    }
    uint32_t written = 0;
    if (int e = os::Write(handle_, bytes, count, &written)) lastError_ = e;
    return written;
}

int TextBuffer::TruncateAt(uint32_t offset) {
    flags_ |= kReload;
    int e = os::Seek(handle_, offset, os::SeekFrom::Begin);
    if (!e) e = os::SetEnd(handle_);
    if (e) lastError_ = e;
    return e;
}

int TextBuffer::Flush() {
    int e = os::Flush(handle_);
    if (e) lastError_ = e;
    return e;
}

}  // namespace dove::files
