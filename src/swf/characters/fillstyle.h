#pragma once
// Fill styles of shapes and morph shapes as plain data (solid colour,
// gradients, bitmap fills), with the reading of their records and the brushes
// that paint them. Values are immutable once read and may be shared by any
// number of threads.

#include <QBrush>
#include <cstdint>
#include <memory>
#include <vector>

#include "swf/format/swfreader.h"
#include "swf/format/types.h"

namespace swf {

struct BitmapSurface;

enum class FillKind : uint8_t {
    Solid,
    LinearGradient,
    RadialGradient,
    FocalGradient,
    RepeatingBitmap,
    ClippedBitmap,
};

enum class SpreadMode : uint8_t { Pad, Reflect, Repeat };

struct GradientStop {
    double position = 0;  // 0..1 across the gradient square (ratio / 255)
    Rgba color;
};

struct Gradient {
    SpreadMode spread = SpreadMode::Pad;
    bool linearRgb = false;   // interpolate in linear light instead of sRGB
    double focalPoint = 0;    // -1..1 along the x axis, focal gradients only
    // Movies made for players before version 8 get their out-of-order
    // ratios pushed forward instead of looked up as given.
    bool legacyOrder = false;
    std::vector<GradientStop> stops;
};

struct FillStyle {
    FillKind kind = FillKind::Solid;
    Rgba color;
    // Gradient square or bitmap pixels to shape twips.
    Matrix matrix;
    Gradient gradient;
    uint16_t bitmapId = 0;
    // The pixels of a script's bitmap (beginBitmapFill), as they are when
    // drawn; the dictionary's bitmap by id where null.
    std::shared_ptr<const BitmapSurface> surface;
    bool smoothed = true;

    bool isGradient() const;
    bool isBitmap() const;
};

// Shape versions 1 to 4 (DefineShape .. DefineShape4); colours carry alpha
// from version 3 on.
FillStyle ReadFillStyle(SwfReader &reader, int shapeVersion);

// A morph shape's fill: both ends read from one MORPHFILLSTYLE record.
struct MorphFillStyle {
    FillStyle start;
    FillStyle end;

    FillStyle at(double t) const;
};
MorphFillStyle ReadMorphFillStyle(SwfReader &reader);

// The brush of a solid or gradient fill with the colour transform applied.
// Gradient brushes are defined in the 32768-twip gradient square and carry
// the fill matrix as their brush transform. Bitmap fills give Qt::NoBrush
// (they need the dictionary; see ShapePainter).
QBrush FillBrush(const FillStyle &fill, const ColorTransform &cx);

}  // namespace swf
