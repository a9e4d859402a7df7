#pragma once
// A BitmapData as scripts hold it: the object and the surface it owns. The
// surface is shared with the clips that show it; its pixels count against
// the script memory budget while the object is alive and not disposed.

#include <memory>

#include "swf/avm1/object.h"
#include "swf/characters/scriptbitmap.h"

namespace swf::avm1 {

class Machine;

class BitmapDataObject : public Object {
public:
    BitmapDataObject(Object *proto, std::shared_ptr<BitmapSurface> surface)
        : Object(proto), surface_(std::move(surface))
    {
    }

    BitmapSurface &surface() { return *surface_; }
    const std::shared_ptr<BitmapSurface> &sharedSurface() const { return surface_; }
    bool disposed() const { return surface_->disposed(); }
    // Frees the pixels; the object stays and answers -1 from then on.
    void dispose(Machine &machine);

    size_t extraBytes() const override { return PixelBytes(surface_->width(), surface_->height()); }
    static size_t PixelBytes(int width, int height) { return size_t(width) * size_t(height) * 4; }

private:
    std::shared_ptr<BitmapSurface> surface_;
};

// The largest surface the player makes for a movie of `version`.
bool BitmapSizeAllowed(int version, double width, double height);

// A new BitmapData object of `proto`, filled with `argb`; books its pixels.
BitmapDataObject *NewBitmapData(Machine &machine, Object *proto, int width, int height, bool transparent,
                                uint32_t argb);
// Wraps pixels already made (a clone, a picture from the library).
BitmapDataObject *WrapBitmapData(Machine &machine, Object *proto, BitmapSurface surface);

// The live (not disposed) BitmapData `value` is, or null.
BitmapDataObject *LiveBitmapData(const Value &value);

}  // namespace swf::avm1
