#include "swf/characters/drawing.h"

#include <cmath>

#include "swf/characters/linehitarea.h"
#include "swf/characters/shapepainter.h"

namespace swf {

void Drawing::clear()
{
    layers_.clear();
    line_.reset();
    fillOpen_ = false;
    pen_ = contourStart_ = QPointF();
    hasBounds_ = false;
    bounds_ = edgeBounds_ = Rect();
    parts_ = 0;
    invalidate();
}

void Drawing::setLineStyle(const std::optional<LineStyle> &style)
{
    ++parts_;
    line_ = style;
    if (!line_)
        return;
    if (layers_.empty())
        layers_.emplace_back();
    layers_.back().lines.push_back({*line_, {}});
}

void Drawing::setLineFill(const FillStyle &fill)
{
    if (!line_)
        return;
    line_->hasFill = true;
    line_->fill = fill;
    currentLine().style = *line_;
}

Drawing::Line &Drawing::currentLine()
{
    return layers_.back().lines.back();
}

void Drawing::beginFill(const std::optional<FillStyle> &fill)
{
    ++parts_;
    endFill();
    if (!fill)
        return;
    Layer layer;
    layer.fill = fill;
    layer.fillPath.moveTo(pen_);
    layers_.push_back(std::move(layer));
    fillOpen_ = true;
    contourStart_ = pen_;
    if (line_)
        layers_.back().lines.push_back({*line_, {}});
}

void Drawing::endFill()
{
    if (!fillOpen_)
        return;
    if (pen_ != contourStart_)
        addEdge(QPointF(), contourStart_, false);
    fillOpen_ = false;
    // Lines drawn from now on lie above the fill just closed.
    layers_.emplace_back();
    if (line_)
        layers_.back().lines.push_back({*line_, {}});
}

void Drawing::moveTo(const QPointF &point)
{
    ++parts_;
    pen_ = contourStart_ = point;
    if (fillOpen_)
        layers_.back().fillPath.moveTo(point);
    if (line_)
        currentLine().path.moveTo(point);
}

void Drawing::lineTo(const QPointF &point) { addEdge(QPointF(), point, false); }
void Drawing::curveTo(const QPointF &control, const QPointF &point) { addEdge(control, point, true); }

void Drawing::addEdge(const QPointF &control, const QPointF &to, bool curved)
{
    const auto extend = [&](QPainterPath &path) {
        if (path.elementCount() == 0 || path.currentPosition() != pen_)
            path.moveTo(pen_);
        if (curved)
            path.quadTo(control, to);
        else
            path.lineTo(to);
    };
    if (fillOpen_)
        extend(layers_.back().fillPath);
    if (line_)
        extend(currentLine().path);
    grow(pen_);
    if (curved)
        grow(control);
    grow(to);
    pen_ = to;
    ++parts_;
    invalidate();
}

void Drawing::grow(const QPointF &point)
{
    Grow(bounds_, point, line_ ? line_->width : 0, !hasBounds_);
    Grow(edgeBounds_, point, 0, !hasBounds_);
    hasBounds_ = true;
}

void Drawing::Grow(Rect &bounds, const QPointF &point, double reach, bool first)
{
    const int32_t xMin = int32_t(std::floor(point.x() - reach)), xMax = int32_t(std::ceil(point.x() + reach));
    const int32_t yMin = int32_t(std::floor(point.y() - reach)), yMax = int32_t(std::ceil(point.y() + reach));
    if (first) {
        bounds = {xMin, xMax, yMin, yMax};
        return;
    }
    bounds.xMin = std::min(bounds.xMin, xMin);
    bounds.xMax = std::max(bounds.xMax, xMax);
    bounds.yMin = std::min(bounds.yMin, yMin);
    bounds.yMax = std::max(bounds.yMax, yMax);
}

void Drawing::invalidate()
{
    outline_.reset();
    hitArea_.reset();
}

void Drawing::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t) const
{
    ShapePainter painter(ctx, toStage, cx);
    for (const Layer &layer : layers_) {
        if (layer.fill && !layer.fillPath.isEmpty())
            painter.fill(layer.fillPath, *layer.fill);
        for (const Line &line : layer.lines)
            if (!line.path.isEmpty())
                painter.stroke(line.path, line.style);
    }
}

QPainterPath Drawing::outline(uint16_t) const
{
    if (!outline_) {
        QPainterPath united;
        for (const Layer &layer : layers_)
            if (layer.fill && !layer.fillPath.isEmpty())
                united = united.isEmpty() ? layer.fillPath : united.united(layer.fillPath);
        outline_ = united;
    }
    return *outline_;
}

QPainterPath Drawing::hitArea(uint16_t) const
{
    if (hitArea_)
        return *hitArea_;
    QPainterPath area = outline(0);
    for (const Layer &layer : layers_)
        for (const Line &line : layer.lines)
            area = WithLineHitArea(area, line.path, line.style);
    hitArea_ = area;
    return area;
}

}  // namespace swf
