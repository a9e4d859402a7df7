#include "swf/characters/areacontains.h"

namespace swf {

bool AreaContains(const QPainterPath &area, const QPointF &point)
{
    if (area.isEmpty() || !area.controlPointRect().contains(point))
        return false;
    int winding = 0;
    int crossings = 0;
    for (const QPolygonF &polygon : area.toSubpathPolygons()) {
        const int count = int(polygon.size());
        for (int i = 0; i < count; ++i) {
            const QPointF &from = polygon[i];
            const QPointF &to = polygon[(i + 1) % count];
            const bool up = from.y() <= point.y() && to.y() > point.y();
            const bool down = to.y() <= point.y() && from.y() > point.y();
            if (!up && !down)
                continue;
            const double x = from.x() + (point.y() - from.y()) * (to.x() - from.x()) / (to.y() - from.y());
            if (x < point.x())
                continue;
            ++crossings;
            winding += up ? 1 : -1;
        }
    }
    return area.fillRule() == Qt::WindingFill ? winding != 0 : (crossings & 1) != 0;
}

}  // namespace swf
