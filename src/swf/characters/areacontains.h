#pragma once
// Whether a point lies in a filled area, as the player decides it for the
// mouse and hitTest: a ray from the point to the right counts the edges
// it meets, an edge's upper end included and its lower end not, an edge
// through the point itself included. So of a rectangle's boundary the left
// and bottom sides are outside, the top and right sides inside.
// Curves count as the polygon QPainterPath flattens them to. Pure; any
// thread.

#include <QPainterPath>

namespace swf {

bool AreaContains(const QPainterPath &area, const QPointF &point);

}  // namespace swf
