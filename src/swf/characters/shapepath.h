#pragma once
// Turns a shape's edges into what QPainter draws: one closed path per fill
// style (the edges that have the style on their right as they run, and those
// that have it on their left reversed, chained end to start into contours)
// and one open path per line style (edges in record order, joined where one
// ends at the next one's start). Done once per shape (per ratio for morphs).
// Pure functions; any thread.

#include <QPainterPath>
#include <cstdint>
#include <vector>

#include "swf/characters/shaperecords.h"

namespace swf {

struct PathSegment {
    QPointF from;
    QPointF control;
    QPointF to;
    bool curved = false;

    static PathSegment forward(const ShapeEdge &edge) { return {edge.from, edge.control, edge.to, edge.curved}; }
    static PathSegment backward(const ShapeEdge &edge) { return {edge.to, edge.control, edge.from, edge.curved}; }
};

// Chains segments into contours, matching end and start points exactly.
// Segments that cannot be chained into a loop stay open contours (a fill
// closes them with a straight line).
QPainterPath ChainContours(const std::vector<PathSegment> &segments);

// One thing to paint: a fill or a line of style `style` (0-based) of style
// group `group`.
struct ShapePathItem {
    bool isFill = true;
    uint16_t group = 0;
    uint16_t style = 0;
    QPainterPath path;
};

// The paint list of a shape: group by group, the fills in style order, then
// the lines in style order. Edges naming a style the group lacks are left
// out. Fills use `fillRule`.
std::vector<ShapePathItem> ConvertShapeEdges(const std::vector<ShapeEdge> &edges,
                                             const std::vector<StyleGroup> &groups, Qt::FillRule fillRule);

// The area all fills of the list cover, for clip layers.
QPainterPath FilledArea(const std::vector<ShapePathItem> &items);

}  // namespace swf
