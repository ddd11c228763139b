// A window over a file in memory for the text driver's fuzz targets.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "files/text/text_record.h"

namespace fuzz {

using dove::files::ByteSource;

// A window over memory that behaves as the buffer object does: a full
// window is loaded at the asked offset, and a short one ends with Ctrl-Z.
class MemoryWindow : public ByteSource {
public:
    MemoryWindow(const std::string& file, uint32_t capacity, bool buffered)
        : file_(file), capacity_(capacity), buffered_(buffered), window_(capacity + 1, 'Q') {}

    View Peek(uint32_t offset, uint32_t count) override {
        View v;
        if (count > capacity_) return v;
        bool inside = loaded_ && offset >= start_ &&
                      uint64_t(offset) + count <= uint64_t(start_) + valid_;
        if (!buffered_ || !inside) Load(offset);
        v.data = window_.data() + (offset - start_);
        v.available = valid_ - (offset - start_);
        return v;
    }
    int LastError() const override { return 0; }

private:
    void Load(uint32_t offset) {
        start_ = offset;
        valid_ = offset >= file_.size() ? 0 : uint32_t(std::min<size_t>(capacity_, file_.size() - offset));
        std::memcpy(window_.data(), file_.data() + std::min<size_t>(offset, file_.size()), valid_);
        if (valid_ < capacity_) window_[valid_] = 26;
        loaded_ = true;
    }
    const std::string& file_;
    uint32_t capacity_;
    bool buffered_;
    std::vector<char> window_;
    uint32_t start_ = 0, valid_ = 0;
    bool loaded_ = false;
};

}  // namespace fuzz
