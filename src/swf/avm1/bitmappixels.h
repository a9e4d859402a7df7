#pragma once
// The pixel work of BitmapData, free of script values: colours go in and
// come out straight (unmultiplied) ARGB as scripts write them, and are kept
// premultiplied, rounded as the player rounds, so that a colour read back
// shows the same loss the player's does. Rectangles are clipped to the
// surfaces they touch; an operation whose source is its own target reads
// a copy taken before it starts.

#include <array>
#include <cstdint>
#include <vector>

#include "swf/characters/scriptbitmap.h"

namespace swf::avm1 {

uint32_t PremultiplyArgb(uint32_t argb);
// As noise stores its pixels: alpha as a share of 256, so that its colours
// read back a shade off the ones setPixel32 keeps.
uint32_t PremultiplyBy256ths(uint32_t argb);
uint32_t UnmultiplyArgb(uint32_t stored);

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    PixelRect intersected(const PixelRect &other) const;
};

PixelRect SurfaceRect(const BitmapSurface &surface);

// Straight ARGB of a pixel (0 outside), and writing one: an opaque surface
// keeps alpha at 255, outside is ignored.
uint32_t ArgbAt(const BitmapSurface &surface, int x, int y);
void SetArgb(BitmapSurface &surface, int x, int y, uint32_t argb);
// The stored (premultiplied) value, for exact comparisons.
uint32_t StoredAt(const BitmapSurface &surface, int x, int y);
void SetStored(BitmapSurface &surface, int x, int y, uint32_t stored);
// Writes as it is, alpha included, even into an opaque surface: threshold
// and pixelDissolve's fill do, and the player reads such a pixel back so.
void SetRaw(BitmapSurface &surface, int x, int y, uint32_t stored);

void FillRect(BitmapSurface &surface, const PixelRect &rect, uint32_t argb);

// Where a copy from `sourceRect` of `source` lands at (`destX`, `destY`) in
// `dest`: both rectangles clipped alike to both surfaces.
struct CopyArea {
    PixelRect source;
    int destX = 0, destY = 0;
};
CopyArea ClipCopy(const BitmapSurface &source, PixelRect sourceRect, const BitmapSurface &dest, int destX,
                  int destY);

struct AlphaSource {
    const BitmapSurface *surface = nullptr;
    int x = 0, y = 0;  // the pixel that goes with the source rectangle's corner
};
void CopyPixels(BitmapSurface &dest, const BitmapSurface &source, const PixelRect &sourceRect, int destX, int destY,
                const AlphaSource &alpha, bool mergeAlpha);
// Channels as BitmapData numbers them: 1 red, 2 green, 4 blue, 8 alpha.
void CopyChannel(BitmapSurface &dest, const BitmapSurface &source, const PixelRect &sourceRect, int destX,
                 int destY, int sourceChannel, int destChannel);
// False when nothing changed (outside, or already that colour).
bool FloodFill(BitmapSurface &surface, int x, int y, uint32_t argb);
// The box of the pixels whose colour under `mask` is (or, when not
// `find`, is not) `color`.
PixelRect ColorBounds(const BitmapSurface &surface, uint32_t mask, uint32_t color, bool find);

struct PixelTransform {
    // red, green, blue, alpha
    std::array<double, 4> mult{1, 1, 1, 1};
    std::array<double, 4> add{0, 0, 0, 0};
};
void TransformColors(BitmapSurface &surface, const PixelRect &rect, const PixelTransform &transform);

// Per channel: source * mult + dest * (256 - mult), over 256.
void Merge(BitmapSurface &dest, const BitmapSurface &source, const PixelRect &sourceRect, int destX, int destY,
           const std::array<int, 4> &mult);
// Each pixel becomes the sum of the four tables at its channels.
void PaletteMap(BitmapSurface &dest, const BitmapSurface &source, const PixelRect &sourceRect, int destX, int destY,
                const std::array<std::array<uint32_t, 256>, 4> &tables);

enum class ThresholdTest { Less, LessOrEqual, Greater, GreaterOrEqual, Equal, NotEqual };
struct ThresholdRule {
    ThresholdTest test = ThresholdTest::Equal;
    uint32_t threshold = 0, color = 0, mask = 0xFFFFFFFF;
    bool copySource = false;
};
// Returns how many pixels passed the test.
int Threshold(BitmapSurface &dest, const BitmapSurface &source, const PixelRect &sourceRect, int destX, int destY,
              const ThresholdRule &rule);

void Scroll(BitmapSurface &surface, int dx, int dy);

// Differences of two surfaces of one size into `difference`; false when
// they are equal.
bool CompareSurfaces(const BitmapSurface &a, const BitmapSurface &b, BitmapSurface &difference);

}  // namespace swf::avm1
