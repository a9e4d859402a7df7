#include "swf/characters/bitmapcolorcache.h"

#include <algorithm>
#include <list>
#include <mutex>

#include "swf/characters/bitmap.h"

namespace swf {

namespace {

constexpr size_t kMaxEntries = 8;
constexpr qsizetype kMaxBytes = qsizetype(64) << 20;

bool SameTransform(const ColorTransform &a, const ColorTransform &b)
{
    return std::equal(a.mult, a.mult + 4, b.mult) && std::equal(a.add, a.add + 4, b.add);
}

struct Entry {
    qint64 sourceKey;
    ColorTransform cx;
    QImage image;
};

class Cache {
public:
    QImage get(const QImage &source, const ColorTransform &cx)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto it = entries_.begin(); it != entries_.end(); ++it)
                if (it->sourceKey == source.cacheKey() && SameTransform(it->cx, cx)) {
                    entries_.splice(entries_.begin(), entries_, it);
                    return it->image;
                }
        }
        // Recoloured outside the lock: another thread may do the same work
        // meanwhile, which costs time but never correctness.
        QImage image = ColorTransformedImage(source, cx);
        if (image.sizeInBytes() > kMaxBytes)
            return image;
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_front({source.cacheKey(), cx, image});
        bytes_ += image.sizeInBytes();
        while (entries_.size() > kMaxEntries || bytes_ > kMaxBytes) {
            bytes_ -= entries_.back().image.sizeInBytes();
            entries_.pop_back();
        }
        return image;
    }

private:
    std::mutex mutex_;
    std::list<Entry> entries_;  // most recently used first
    qsizetype bytes_ = 0;
};

}  // namespace

QImage CachedColorTransformedImage(const QImage &image, const ColorTransform &cx)
{
    static Cache cache;
    return cache.get(image, cx);
}

}  // namespace swf
