// BitmapData's filter methods: drawing a flash.filters object over a
// rectangle of a source into this bitmap, and the box such a drawing
// covers.

#include <algorithm>
#include <cmath>

#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdatamethods.h"
#include "swf/avm1/clipbitmaps.h"
#include "swf/avm1/filterobject.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

// The drawable filter a script value holds, or false.
bool ReadFilter(const Value &value, Filter &filter)
{
    const FilterState *state = NativeOf<FilterState>(value);
    return state && state->toFilter(filter);
}

// The rectangle grown by how far the filter reaches round it.
PixelRect Grown(const PixelRect &rect, const Filter &filter)
{
    const int reach = int(std::ceil(filter.reach()));
    return {rect.x - reach, rect.y - reach, rect.width + 2 * reach, rect.height + 2 * reach};
}

// Filtering costs the script budget by the pixels it visits, so that a
// frame of large, many-pass filters is cut off like a long loop.
void ChargeFilter(Machine &m, const PixelRect &area, const Filter &filter)
{
    constexpr uint64_t kPixelsPerAction = 4;
    const uint64_t pixels = uint64_t(std::max(area.width, 0)) * uint64_t(std::max(area.height, 0));
    m.countActions(pixels * uint64_t(filter.passCount()) * 2 / kPixelsPerAction + 1);
}

// Paints the source's rectangle, grown by the filter's reach within the
// source, through the filter, and puts the result at the point (moved
// with the growth) into this bitmap, replacing what was there.
Value ApplyFilterMethod(Machine &m, const Value &self, const Args &args)
{
    CopyArgs copy;
    if (auto refused = ReadCopyArgs(m, self, args, 4, copy))
        return *refused;
    Filter filter;
    if (!ReadFilter(args[3], filter))
        return NotABitmap();
    const PixelRect area = Grown(copy.sourceRect, filter).intersected(SurfaceRect(*copy.source));
    if (area.empty() || !m.bitmaps)
        return Value(0.0);
    ChargeFilter(m, area, filter);
    BitmapSurface picture;
    picture.transparent = copy.dest->transparent;
    picture.pixels = copy.source->pixels.copy(area.x, area.y, area.width, area.height);
    if (!m.bitmaps->applyFilter(filter, picture.pixels))
        return Value(0.0);
    const int toX = copy.destX + area.x - copy.sourceRect.x, toY = copy.destY + area.y - copy.sourceRect.y;
    const CopyArea landing = ClipCopy(picture, SurfaceRect(picture), *copy.dest, toX, toY);
    for (int row = 0; row < landing.source.height; ++row)
        for (int col = 0; col < landing.source.width; ++col)
            SetStored(*copy.dest, landing.destX + col, landing.destY + row,
                      StoredAt(picture, landing.source.x + col, landing.source.y + row));
    return Value(0.0);
}

Value GenerateFilterRect(Machine &m, const Value &self, const Args &args)
{
    if (!LiveBitmapData(self) || args.size() < 2)
        return NotABitmap();
    PixelRect rect;
    if (!ReadRect(m, args[0], rect))
        return NotABitmap();
    Filter filter;
    return MakeRectangle(m, ReadFilter(args[1], filter) ? Grown(rect, filter) : rect);
}

}  // namespace

void InstallFilterMethods(Machine &m, Object *proto)
{
    m.defineMethod(proto, "applyFilter", ApplyFilterMethod);
    m.defineMethod(proto, "generateFilterRect", GenerateFilterRect);
}

}  // namespace swf::avm1
