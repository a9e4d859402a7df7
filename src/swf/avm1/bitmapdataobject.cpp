#include "swf/avm1/bitmapdataobject.h"

#include "swf/avm1/bitmappixels.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

void BitmapDataObject::dispose(Machine &machine)
{
    machine.release(extraBytes());
    surface_->pixels = QImage();
}

bool BitmapSizeAllowed(int version, double width, double height)
{
    if (!(width >= 1 && height >= 1))
        return false;
    // Movies made for players before 10 keep those players' limit.
    if (version < 10)
        return width <= 2880 && height <= 2880;
    return width <= 8191 && height <= 8191 && width * height <= 16777215;
}

BitmapDataObject *NewBitmapData(Machine &machine, Object *proto, int width, int height, bool transparent,
                                uint32_t argb)
{
    BitmapSurface surface;
    surface.transparent = transparent;
    machine.book(BitmapDataObject::PixelBytes(width, height));
    surface.pixels = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    FillRect(surface, SurfaceRect(surface), argb);
    return machine.make<BitmapDataObject>(proto, std::make_shared<BitmapSurface>(std::move(surface)));
}

BitmapDataObject *WrapBitmapData(Machine &machine, Object *proto, BitmapSurface surface)
{
    machine.book(BitmapDataObject::PixelBytes(surface.width(), surface.height()));
    return machine.make<BitmapDataObject>(proto, std::make_shared<BitmapSurface>(std::move(surface)));
}

BitmapDataObject *LiveBitmapData(const Value &value)
{
    auto *bitmap = dynamic_cast<BitmapDataObject *>(value.object());
    return bitmap && !bitmap->disposed() ? bitmap : nullptr;
}

}  // namespace swf::avm1
