#pragma once
// Lines take the mouse as well as fills: the area a line covers, at least a
// pixel wide however thin it is drawn.

#include <QPainterPath>

#include "swf/characters/linestyle.h"

namespace swf {

// `area` with the stroke of `line` drawn in `style` added.
QPainterPath WithLineHitArea(const QPainterPath &area, const QPainterPath &line, const LineStyle &style);

}  // namespace swf
