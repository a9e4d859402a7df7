// BitmapData's methods that work on single pixels and on areas of one
// surface: reading and writing pixels, filling, colour transforms, the
// colour bounds, comparing and scrolling, and hit tests.

#include <algorithm>

#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdatamethods.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

Value GetPixel(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 2)
        return NotABitmap();
    return Value(double(ArgbAt(bitmap->surface(), IntArg(m, args[0]), IntArg(m, args[1])) & 0xFFFFFF));
}

Value GetPixel32(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 2)
        return NotABitmap();
    return Value(double(int32_t(ArgbAt(bitmap->surface(), IntArg(m, args[0]), IntArg(m, args[1])))));
}

// setPixel keeps the pixel's alpha; setPixel32 writes all four channels.
template <bool kWithAlpha> Value SetPixel(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 3)
        return NotABitmap();
    BitmapSurface &surface = bitmap->surface();
    const int x = IntArg(m, args[0]), y = IntArg(m, args[1]);
    uint32_t color = ColorArg(m, args[2]);
    if (!kWithAlpha)
        color = (ArgbAt(surface, x, y) & 0xFF000000u) | (color & 0xFFFFFF);
    SetArgb(surface, x, y, color);
    return Value(0.0);
}

Value FillRectMethod(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    PixelRect rect;
    if (bitmap && args.size() >= 2 && ReadRect(m, args[0], rect))
        FillRect(bitmap->surface(), rect, ColorArg(m, args[1]));
    return {};
}

Value FloodFillMethod(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 3)
        return NotABitmap();
    return Value(double(FloodFill(bitmap->surface(), IntArg(m, args[0]), IntArg(m, args[1]), ColorArg(m, args[2]))));
}

Value GetColorBoundsRect(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 2)
        return NotABitmap();
    const bool find = args.size() > 2 ? m.toBoolean(args[2]) : true;
    return MakeRectangle(m, ColorBounds(bitmap->surface(), ColorArg(m, args[0]), ColorArg(m, args[1]), find));
}

Value ColorTransformMethod(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    PixelRect rect;
    if (!bitmap || args.size() < 2)
        return NotABitmap();
    if (!ReadRect(m, args[0], rect))
        return Value(-2.0);
    Object *transform = args[1].object();
    Object *transformClass = GlobalClass(m, {"flash", "geom", "ColorTransform"});
    if (!transform || !transformClass || !m.instanceOf(args[1], transformClass))
        return Value(-3.0);
    TransformColors(bitmap->surface(), rect, ReadPixelTransform(m, transform));
    return NotABitmap();
}

// 0 when equal, a BitmapData of the differences, or a negative code.
Value Compare(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 1)
        return NotABitmap();
    BitmapDataObject *other = LiveBitmapData(args[0]);
    if (!other)
        return Value(-2.0);
    const BitmapSurface &a = bitmap->surface(), &b = other->surface();
    if (a.width() != b.width())
        return Value(-3.0);
    if (a.height() != b.height())
        return Value(-4.0);
    BitmapSurface difference;
    m.book(BitmapDataObject::PixelBytes(a.width(), a.height()));
    const bool differ = CompareSurfaces(a, b, difference);
    m.release(BitmapDataObject::PixelBytes(a.width(), a.height()));
    if (!differ)
        return Value(0.0);
    return Value(WrapBitmapData(m, bitmap->proto(), std::move(difference)));
}

Value ScrollMethod(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 2)
        return NotABitmap();
    Scroll(bitmap->surface(), IntArg(m, args[0]), IntArg(m, args[1]));
    return Value(0.0);
}

bool AlphaAtLeast(const BitmapSurface &surface, int x, int y, uint32_t threshold)
{
    return x >= 0 && y >= 0 && x < surface.width() && y < surface.height() &&
           (StoredAt(surface, x, y) >> 24) >= threshold;
}

bool AnyAlphaAtLeast(const BitmapSurface &surface, const PixelRect &rect, uint32_t threshold)
{
    const PixelRect area = rect.intersected(SurfaceRect(surface));
    for (int y = area.y; y < area.y + area.height; ++y)
        for (int x = area.x; x < area.x + area.width; ++x)
            if (AlphaAtLeast(surface, x, y, threshold))
                return true;
    return false;
}

bool BitmapsOverlap(const BitmapSurface &first, int firstX, int firstY, uint32_t firstThreshold,
                    const BitmapSurface &second, int secondX, int secondY, uint32_t secondThreshold)
{
    const PixelRect overlap = PixelRect{firstX, firstY, first.width(), first.height()}.intersected(
        {secondX, secondY, second.width(), second.height()});
    for (int y = overlap.y; y < overlap.y + overlap.height; ++y)
        for (int x = overlap.x; x < overlap.x + overlap.width; ++x)
            if (AlphaAtLeast(first, x - firstX, y - firstY, firstThreshold) &&
                AlphaAtLeast(second, x - secondX, y - secondY, secondThreshold))
                return true;
    return false;
}

uint32_t AlphaThreshold(Machine &m, const Value &value) { return uint32_t(std::clamp(IntArg(m, value), 0, 255)); }

// The second object is another BitmapData, a rectangle or a point, all in
// the coordinates the first point places this bitmap in.
Value HitTest(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    int x = 0, y = 0;
    if (!bitmap || args.size() < 3)
        return NotABitmap();
    if (!ReadPoint(m, args[0], x, y))
        return Value(-2.0);
    const BitmapSurface &surface = bitmap->surface();
    const uint32_t threshold = AlphaThreshold(m, args[1]);
    if (auto *other = dynamic_cast<BitmapDataObject *>(args[2].object())) {
        int otherX = 0, otherY = 0;
        if (other->disposed())
            return Value(-3.0);
        // Its point may be left out (the origin), but not given wrong.
        if (args.size() > 3 && !ReadPoint(m, args[3], otherX, otherY))
            return Value(-4.0);
        const uint32_t otherThreshold = args.size() > 4 ? AlphaThreshold(m, args[4]) : 1;
        return Value(BitmapsOverlap(surface, x, y, threshold, other->surface(), otherX, otherY, otherThreshold));
    }
    PixelRect rect;
    if (ReadRect(m, args[2], rect))
        return Value(AnyAlphaAtLeast(surface, {rect.x - x, rect.y - y, rect.width, rect.height}, threshold));
    int px = 0, py = 0;
    if (!ReadPoint(m, args[2], px, py))
        return Value(-3.0);
    return Value(AlphaAtLeast(surface, px - x, py - y, threshold));
}

}  // namespace

void InstallPixelMethods(Machine &m, Object *proto)
{
    m.defineMethod(proto, "getPixel", GetPixel);
    m.defineMethod(proto, "getPixel32", GetPixel32);
    m.defineMethod(proto, "setPixel", SetPixel<false>);
    m.defineMethod(proto, "setPixel32", SetPixel<true>);
    m.defineMethod(proto, "fillRect", FillRectMethod);
    m.defineMethod(proto, "floodFill", FloodFillMethod);
    m.defineMethod(proto, "getColorBoundsRect", GetColorBoundsRect);
    m.defineMethod(proto, "colorTransform", ColorTransformMethod);
    m.defineMethod(proto, "compare", Compare);
    m.defineMethod(proto, "scroll", ScrollMethod);
    m.defineMethod(proto, "hitTest", HitTest);
}

}  // namespace swf::avm1
