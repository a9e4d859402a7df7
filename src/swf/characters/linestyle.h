#pragma once
// Line styles of shapes and morph shapes as plain data, the reading of their
// records (LINESTYLE, LINESTYLE2 and their morph forms) and the pen that
// draws them. Values are immutable once read; any thread may use them.

#include <QPen>
#include <cstdint>

#include "swf/characters/fillstyle.h"

namespace swf {

enum class CapStyle : uint8_t { Round, None, Square };
enum class JoinStyle : uint8_t { Round, Bevel, Miter };

struct LineStyle {
    double width = 0;  // twips
    Rgba color;
    CapStyle startCap = CapStyle::Round;
    CapStyle endCap = CapStyle::Round;
    JoinStyle join = JoinStyle::Round;
    double miterLimit = 3;
    bool noHScale = false;
    bool noVScale = false;
    bool noClose = false;
    bool hasFill = false;  // draw with `fill` instead of `color`
    FillStyle fill;

    bool scalesWithTransform() const { return !noHScale && !noVScale; }
};

LineStyle ReadLineStyle(SwfReader &reader, int shapeVersion);

struct MorphLineStyle {
    LineStyle start;
    LineStyle end;

    LineStyle at(double t) const;
};
// `version2` for DefineMorphShape2 (caps, joins and fills as in LINESTYLE2).
MorphLineStyle ReadMorphLineStyle(SwfReader &reader, bool version2);

// The pen for `line` painted with `brush`. `deviceScale` is the size of one
// character twip in device pixels, `stageScale` that of one stage twip (for
// lines that keep their width whatever the object's scale). A line that would
// be thinner than one device pixel is drawn one pixel wide.
QPen LinePen(const LineStyle &line, const QBrush &brush, double deviceScale, double stageScale);

}  // namespace swf
