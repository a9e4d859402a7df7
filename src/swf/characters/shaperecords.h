#pragma once
// Reading of SHAPE and SHAPEWITHSTYLE records: style arrays, style changes,
// straight and curved edges, new style blocks in the middle of a shape.
// The result is plain data in the shape's own twips: every edge with its
// absolute end points and the fill on each side, ready for ShapePath.
// Every count and bit length comes from the bounded reader; a truncated or
// corrupt record list yields the edges read before the damage.

#include <QPainterPath>
#include <QPointF>
#include <cstdint>
#include <functional>
#include <vector>

#include "swf/characters/fillstyle.h"
#include "swf/characters/linestyle.h"
#include "swf/format/memorybudget.h"
#include "swf/format/swfreader.h"

namespace swf {

// One edge of a shape. Fill and line indices are 1-based into the style
// group `group` (0 = none). fill0 is the fill on the edge's left, fill1 the
// one on its right, as the edge runs from `from` to `to`.
struct ShapeEdge {
    QPointF from;
    QPointF control;  // curved edges only
    QPointF to;
    bool curved = false;
    uint16_t fill0 = 0;
    uint16_t fill1 = 0;
    uint16_t line = 0;
    uint16_t group = 0;
};

// The styles in force between two new-style records.
struct StyleGroup {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
};

struct ShapeRecords {
    std::vector<StyleGroup> groups;
    std::vector<ShapeEdge> edges;
};

// Called at a new-styles record: reads the new style arrays and the new bit
// counts. Returns false where the record kind allows no new styles (the
// record list ends there).
using NewStylesReader = std::function<bool(SwfReader &reader, unsigned &fillBits, unsigned &lineBits)>;

// The records up to the end record, starting with the given index bit
// counts. Edges are booked in `budget` (may be null); when it is spent the
// list ends there.
std::vector<ShapeEdge> ReadShapeRecords(SwfReader &reader, unsigned fillBits, unsigned lineBits,
                                        const NewStylesReader &newStyles, MemoryBudget *budget);

// FILLSTYLEARRAY and LINESTYLEARRAY of a shape of the given version (1..4).
StyleGroup ReadStyleArrays(SwfReader &reader, int shapeVersion, MemoryBudget *budget);

// SHAPEWITHSTYLE: the first style arrays, the bit counts, then the records.
ShapeRecords ReadShapeWithStyle(SwfReader &reader, int shapeVersion, MemoryBudget *budget);

// Marks every gradient of the groups (fills and filled lines) as made for
// players before version 8.
void UseLegacyGradientOrder(std::vector<StyleGroup> &groups);

// SHAPE without styles (glyphs, morph shape edges): the bit counts, then
// the records; a new-styles record ends the list.
std::vector<ShapeEdge> ReadShape(SwfReader &reader, MemoryBudget *budget = nullptr);

// A font glyph: the SHAPE at the reader's position, filled wherever an edge
// has any fill on a side, in glyph units (odd-even fill rule).
QPainterPath GlyphPath(SwfReader &reader);

}  // namespace swf
