#include "swf/characters/shapecharacter.h"

#include "swf/characters/linehitarea.h"
#include "swf/characters/shapepainter.h"

namespace swf {

ShapeCharacter::ShapeCharacter(uint16_t id, const Rect &bounds, ShapeRecords records, Qt::FillRule fillRule)
    : Character(id), bounds_(bounds), groups_(std::move(records.groups))
{
    std::vector<ShapePathItem> paths = ConvertShapeEdges(records.edges, groups_, fillRule);
    outline_ = FilledArea(paths);
    items_.reserve(paths.size());
    for (ShapePathItem &path : paths) {
        QBrush prepared = ShapePainter::preparedBrush(path, groups_);
        items_.push_back({std::move(path), std::move(prepared)});
    }
}

void ShapeCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t) const
{
    ShapePainter painter(ctx, toStage, cx);
    for (const Item &item : items_)
        painter.paint(item.path, groups_, &item.prepared);
}

QPainterPath ShapeCharacter::outline(uint16_t) const
{
    return outline_;
}

QPainterPath ShapeCharacter::hitArea(uint16_t) const
{
    std::call_once(hitAreaMade_, [this] {
        hitArea_ = outline_;
        for (const Item &item : items_)
            if (!item.path.isFill)
                hitArea_ = WithLineHitArea(hitArea_, item.path.path, groups_[item.path.group].lines[item.path.style]);
    });
    return hitArea_;
}

}  // namespace swf
