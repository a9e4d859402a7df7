#include "swf/avm1/bitmappixels.h"

#include <algorithm>
#include <cmath>

namespace swf::avm1 {

namespace {

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

uint32_t Row(const BitmapSurface &surface, int x, int y)
{
    return reinterpret_cast<const uint32_t *>(surface.pixels.constScanLine(y))[x];
}

uint32_t &RowRef(BitmapSurface &surface, int x, int y)
{
    return reinterpret_cast<uint32_t *>(surface.pixels.scanLine(y))[x];
}

bool Inside(const BitmapSurface &surface, int x, int y)
{
    return !surface.disposed() && x >= 0 && y >= 0 && x < surface.width() && y < surface.height();
}

// The source as it was before the operation, when it is also the target.
const BitmapSurface &Snapshot(const BitmapSurface &source, const BitmapSurface &dest, BitmapSurface &copy)
{
    if (&source != &dest)
        return source;
    copy.transparent = source.transparent;
    copy.pixels = source.pixels.copy();
    return copy;
}

// Visits each pixel of a clipped copy: f(sourceX, sourceY, destX, destY).
template <class F>
void ForEachCopied(const BitmapSurface &source, const PixelRect &sourceRect, BitmapSurface &dest, int destX,
                   int destY, F &&f)
{
    const CopyArea area = ClipCopy(source, sourceRect, dest, destX, destY);
    for (int row = 0; row < area.source.height; ++row)
        for (int col = 0; col < area.source.width; ++col)
            f(area.source.x + col, area.source.y + row, area.destX + col, area.destY + row);
}

// The player scales by an alpha as a fraction of 256, with 255 counting
// as the whole: 255 keeps a value, 18 turns 255 into 17.
uint32_t ScaleChannel(uint32_t value, uint32_t alpha) { return value * (alpha + (alpha >> 7)) >> 8; }

// Source over, on premultiplied values.
uint32_t Over(uint32_t top, uint32_t below)
{
    const uint32_t keep = 255 - (top >> 24);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= std::min<uint32_t>(Channel(top, shift) + ScaleChannel(Channel(below, shift), keep), 255) << shift;
    return out;
}

uint32_t ScaleStored(uint32_t stored, uint32_t alpha)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= ScaleChannel(Channel(stored, shift), alpha) << shift;
    return out;
}

int ChannelShift(int channel)
{
    switch (channel) {
    case 1: return 16;
    case 2: return 8;
    case 4: return 0;
    case 8: return 24;
    default: return -1;
    }
}

bool Passes(ThresholdTest test, uint32_t value, uint32_t threshold)
{
    switch (test) {
    case ThresholdTest::Less: return value < threshold;
    case ThresholdTest::LessOrEqual: return value <= threshold;
    case ThresholdTest::Greater: return value > threshold;
    case ThresholdTest::GreaterOrEqual: return value >= threshold;
    case ThresholdTest::Equal: return value == threshold;
    case ThresholdTest::NotEqual: return value != threshold;
    }
    return false;
}

// Each colour channel scaled by alpha as `scale` rounds it.
template <class Scale> uint32_t Premultiplied(uint32_t argb, Scale scale)
{
    const uint32_t alpha = argb >> 24;
    if (alpha == 255)
        return argb;
    uint32_t out = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8)
        out |= scale(Channel(argb, shift), alpha) << shift;
    return out;
}

}  // namespace

uint32_t PremultiplyArgb(uint32_t argb)
{
    return Premultiplied(argb, [](uint32_t value, uint32_t alpha) { return (value * alpha + 127) / 255; });
}

uint32_t PremultiplyBy256ths(uint32_t argb)
{
    return Premultiplied(argb, [](uint32_t value, uint32_t alpha) { return (value * alpha + 128) >> 8; });
}

// Reading back rounds up from a little under half, as the player does:
// 0x12345678 reads as 0x12395571, 0xAABBCCDD as 0xAABBCCDC.
uint32_t UnmultiplyArgb(uint32_t stored)
{
    const uint32_t alpha = stored >> 24;
    if (alpha == 255 || alpha == 0)
        return alpha == 0 ? 0 : stored;
    uint32_t out = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8)
        out |= std::min<uint32_t>((Channel(stored, shift) * 255 + alpha * 3 / 8) / alpha, 255) << shift;
    return out;
}

PixelRect PixelRect::intersected(const PixelRect &other) const
{
    const int left = std::max(x, other.x), top = std::max(y, other.y);
    const int right = std::min(int64_t(x) + width, int64_t(other.x) + other.width);
    const int bottom = std::min(int64_t(y) + height, int64_t(other.y) + other.height);
    if (right <= left || bottom <= top)
        return {};
    return {left, top, right - left, bottom - top};
}

PixelRect SurfaceRect(const BitmapSurface &surface) { return {0, 0, surface.width(), surface.height()}; }

uint32_t StoredAt(const BitmapSurface &surface, int x, int y) { return Inside(surface, x, y) ? Row(surface, x, y) : 0; }

void SetStored(BitmapSurface &surface, int x, int y, uint32_t stored)
{
    if (Inside(surface, x, y))
        RowRef(surface, x, y) = surface.transparent ? stored : (stored | 0xFF000000u);
}

// An opaque surface hands back what it holds: only threshold can leave an
// alpha below 255 in one, and the player reads that back as it is.
void SetRaw(BitmapSurface &surface, int x, int y, uint32_t stored)
{
    if (Inside(surface, x, y))
        RowRef(surface, x, y) = stored;
}

uint32_t ArgbAt(const BitmapSurface &surface, int x, int y)
{
    const uint32_t stored = StoredAt(surface, x, y);
    return surface.transparent ? UnmultiplyArgb(stored) : stored;
}

void SetArgb(BitmapSurface &surface, int x, int y, uint32_t argb)
{
    SetStored(surface, x, y, PremultiplyArgb(surface.transparent ? argb : (argb | 0xFF000000u)));
}

void FillRect(BitmapSurface &surface, const PixelRect &rect, uint32_t argb)
{
    const PixelRect area = rect.intersected(SurfaceRect(surface));
    const uint32_t stored = PremultiplyArgb(surface.transparent ? argb : (argb | 0xFF000000u));
    for (int y = area.y; y < area.y + area.height; ++y)
        std::fill_n(&RowRef(surface, area.x, y), area.width, stored);
}

CopyArea ClipCopy(const BitmapSurface &source, PixelRect sourceRect, const BitmapSurface &dest, int destX, int destY)
{
    // A corner outside either surface moves the other corner with it.
    auto clipStart = [](int &from, int &to, int &size) {
        const int64_t shift = std::max({int64_t(0), -int64_t(from), -int64_t(to)});
        from = int(from + shift);
        to = int(to + shift);
        size = int(std::max<int64_t>(0, size - shift));
    };
    clipStart(sourceRect.x, destX, sourceRect.width);
    clipStart(sourceRect.y, destY, sourceRect.height);
    sourceRect.width = int(std::min<int64_t>({sourceRect.width, int64_t(source.width()) - sourceRect.x,
                                               int64_t(dest.width()) - destX}));
    sourceRect.height = int(std::min<int64_t>({sourceRect.height, int64_t(source.height()) - sourceRect.y,
                                                int64_t(dest.height()) - destY}));
    if (sourceRect.empty())
        return {};
    return {sourceRect, destX, destY};
}

void CopyPixels(BitmapSurface &dest, const BitmapSurface &sourceIn, const PixelRect &sourceRect, int destX, int destY,
                const AlphaSource &alpha, bool mergeAlpha)
{
    BitmapSurface copy;
    const BitmapSurface &source = Snapshot(sourceIn, dest, copy);
    ForEachCopied(source, sourceRect, dest, destX, destY, [&](int sx, int sy, int dx, int dy) {
        uint32_t pixel = source.transparent ? StoredAt(source, sx, sy) : (StoredAt(source, sx, sy) | 0xFF000000u);
        if (alpha.surface) {
            const int ax = alpha.x + sx - sourceRect.x, ay = alpha.y + sy - sourceRect.y;
            pixel = ScaleStored(pixel, StoredAt(*alpha.surface, ax, ay) >> 24);
        }
        // An opaque target cannot hold the source's alpha: it always blends.
        if (mergeAlpha || !dest.transparent)
            pixel = Over(pixel, StoredAt(dest, dx, dy));
        SetStored(dest, dx, dy, pixel);
    });
}

void CopyChannel(BitmapSurface &dest, const BitmapSurface &sourceIn, const PixelRect &sourceRect, int destX,
                 int destY, int sourceChannel, int destChannel)
{
    const int from = ChannelShift(sourceChannel), to = ChannelShift(destChannel);
    if (from < 0 || to < 0)
        return;
    BitmapSurface copy;
    const BitmapSurface &source = Snapshot(sourceIn, dest, copy);
    ForEachCopied(source, sourceRect, dest, destX, destY, [&](int sx, int sy, int dx, int dy) {
        const uint32_t value = Channel(ArgbAt(source, sx, sy), from);
        const uint32_t target = ArgbAt(dest, dx, dy);
        SetArgb(dest, dx, dy, (target & ~(0xFFu << to)) | (value << to));
    });
}

bool FloodFill(BitmapSurface &surface, int x, int y, uint32_t argb)
{
    if (!Inside(surface, x, y))
        return false;
    const uint32_t from = StoredAt(surface, x, y);
    const uint32_t to = PremultiplyArgb(surface.transparent ? argb : (argb | 0xFF000000u));
    if (from == to)
        return false;
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        const auto [px, py] = pending.back();
        pending.pop_back();
        if (!Inside(surface, px, py) || StoredAt(surface, px, py) != from)
            continue;
        RowRef(surface, px, py) = to;
        pending.insert(pending.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
    return true;
}

PixelRect ColorBounds(const BitmapSurface &surface, uint32_t mask, uint32_t color, bool find)
{
    // A transparent surface compares its stored pixels with the colour, both
    // under the mask. An opaque one compares with the whole colour, whose
    // alpha is whatever the mask keeps of a full one.
    const uint32_t wanted = surface.transparent ? (color & mask) : ((color & 0xFFFFFFu) | (mask & 0xFF000000u));
    int left = surface.width(), top = surface.height(), right = 0, bottom = 0;
    bool any = false;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            if (((StoredAt(surface, x, y) & mask) == wanted) != find)
                continue;
            any = true;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    // The player takes a far corner still at the origin for nothing found,
    // so a lone match in the top left pixel gives an empty box.
    if (!any || (right == 0 && bottom == 0))
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

void TransformColors(BitmapSurface &surface, const PixelRect &rect, const PixelTransform &transform)
{
    const PixelRect area = rect.intersected(SurfaceRect(surface));
    static constexpr int kShifts[4] = {16, 8, 0, 24};
    for (int y = area.y; y < area.y + area.height; ++y)
        for (int x = area.x; x < area.x + area.width; ++x) {
            const uint32_t argb = ArgbAt(surface, x, y);
            uint32_t out = 0;
            for (int i = 0; i < 4; ++i) {
                const double value = Channel(argb, kShifts[i]) * transform.mult[i] + transform.add[i];
                out |= uint32_t(std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 255.0)) << kShifts[i];
            }
            SetArgb(surface, x, y, out);
        }
}

void Merge(BitmapSurface &dest, const BitmapSurface &sourceIn, const PixelRect &sourceRect, int destX, int destY,
           const std::array<int, 4> &mult)
{
    static constexpr int kShifts[4] = {16, 8, 0, 24};
    BitmapSurface copy;
    const BitmapSurface &source = Snapshot(sourceIn, dest, copy);
    ForEachCopied(source, sourceRect, dest, destX, destY, [&](int sx, int sy, int dx, int dy) {
        const uint32_t top = ArgbAt(source, sx, sy), below = ArgbAt(dest, dx, dy);
        uint32_t out = 0;
        for (int i = 0; i < 4; ++i) {
            const int64_t value = (int64_t(Channel(top, kShifts[i])) * mult[i] +
                                   int64_t(Channel(below, kShifts[i])) * (256 - mult[i])) / 256;
            out |= uint32_t(value & 0xFF) << kShifts[i];
        }
        SetArgb(dest, dx, dy, out);
    });
}

void PaletteMap(BitmapSurface &dest, const BitmapSurface &sourceIn, const PixelRect &sourceRect, int destX, int destY,
                const std::array<std::array<uint32_t, 256>, 4> &tables)
{
    BitmapSurface copy;
    const BitmapSurface &source = Snapshot(sourceIn, dest, copy);
    ForEachCopied(source, sourceRect, dest, destX, destY, [&](int sx, int sy, int dx, int dy) {
        const uint32_t argb = ArgbAt(source, sx, sy);
        SetArgb(dest, dx, dy,
                tables[0][Channel(argb, 16)] + tables[1][Channel(argb, 8)] + tables[2][Channel(argb, 0)] +
                    tables[3][Channel(argb, 24)]);
    });
}

int Threshold(BitmapSurface &dest, const BitmapSurface &sourceIn, const PixelRect &sourceRect, int destX, int destY,
              const ThresholdRule &rule)
{
    BitmapSurface copy;
    const BitmapSurface &source = Snapshot(sourceIn, dest, copy);
    int passed = 0;
    ForEachCopied(source, sourceRect, dest, destX, destY, [&](int sx, int sy, int dx, int dy) {
        // The test sees the pixel as stored, premultiplied.
        const uint32_t stored = StoredAt(source, sx, sy);
        if (Passes(rule.test, stored & rule.mask, rule.threshold & rule.mask)) {
            SetRaw(dest, dx, dy, PremultiplyArgb(rule.color));
            ++passed;
        } else if (rule.copySource) {
            SetRaw(dest, dx, dy, stored);
        }
    });
    return passed;
}

void Scroll(BitmapSurface &surface, int dx, int dy)
{
    if (surface.disposed())
        return;
    PixelRect all = SurfaceRect(surface);
    BitmapSurface copy;
    const BitmapSurface &source = Snapshot(surface, surface, copy);
    const int64_t toX = int64_t(dx), toY = int64_t(dy);
    if (std::abs(toX) >= all.width || std::abs(toY) >= all.height)
        return;
    ForEachCopied(source, all, surface, int(toX), int(toY),
                  [&](int sx, int sy, int x, int y) { RowRef(surface, x, y) = Row(source, sx, sy); });
}

bool CompareSurfaces(const BitmapSurface &a, const BitmapSurface &b, BitmapSurface &difference)
{
    bool same = true;
    difference.transparent = true;
    difference.pixels = QImage(a.width(), a.height(), QImage::Format_ARGB32_Premultiplied);
    difference.pixels.fill(0);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const uint32_t first = ArgbAt(a, x, y), second = ArgbAt(b, x, y);
            if (first == second)
                continue;
            same = false;
            uint32_t out = 0;
            if ((first & 0xFFFFFF) != (second & 0xFFFFFF)) {
                out = 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8)
                    out |= ((Channel(first, shift) - Channel(second, shift)) & 0xFF) << shift;
            } else {
                out = (((Channel(first, 24) - Channel(second, 24)) & 0xFF) << 24) | 0xFFFFFF;
            }
            SetArgb(difference, x, y, out);
        }
    return !same;
}

}  // namespace swf::avm1
