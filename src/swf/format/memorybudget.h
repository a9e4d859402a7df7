#pragma once
// The memory one movie may make the engine hold: the inflated body, decoded
// bitmaps, converted paths. Whatever a header or a tag claims, a movie never
// gets more; what does not fit is left out (a partial picture), never
// allocated. Only the loading thread touches a budget.

#include <cstddef>

namespace swf {

class MemoryBudget {
public:
    static constexpr size_t kDefaultLimit = size_t(256) << 20;  // 256 MiB per movie
    static constexpr size_t kBodyLimit = size_t(64) << 20;      // inflated body at most

    explicit MemoryBudget(size_t limit = kDefaultLimit) : limit_(limit) {}

    // Books `bytes` when they fit and says whether they did.
    bool reserve(size_t bytes)
    {
        if (bytes > limit_ - used_)
            return false;
        used_ += bytes;
        return true;
    }
    void release(size_t bytes) { used_ = bytes > used_ ? 0 : used_ - bytes; }

    size_t used() const { return used_; }
    size_t limit() const { return limit_; }

private:
    size_t limit_;
    size_t used_ = 0;
};

}  // namespace swf
