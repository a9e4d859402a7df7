#include "swf/characters/morphshapecharacter.h"

#include <algorithm>

#include "swf/characters/shapepainter.h"

namespace swf {

namespace {

double RatioToT(uint16_t ratio) { return ratio / 65535.0; }

QPointF Mix(const QPointF &from, const QPointF &to, double t) { return from + (to - from) * t; }

QPointF ControlOf(const ShapeEdge &edge)
{
    return edge.curved ? edge.control : (edge.from + edge.to) / 2;
}

// The start edge carries the styles; the end edge only its place. A
// straight edge paired with a curve becomes a curve with its control point
// halfway.
ShapeEdge MixEdges(const ShapeEdge &start, const ShapeEdge &end, double t)
{
    ShapeEdge mixed = start;
    mixed.from = Mix(start.from, end.from, t);
    mixed.to = Mix(start.to, end.to, t);
    mixed.curved = start.curved || end.curved;
    if (mixed.curved)
        mixed.control = Mix(ControlOf(start), ControlOf(end), t);
    return mixed;
}

}  // namespace

MorphShapeCharacter::MorphShapeCharacter(uint16_t id, MorphShapeData data)
    : Character(id), data_(std::move(data))
{
}

std::vector<StyleGroup> MorphShapeCharacter::stylesAt(double t) const
{
    StyleGroup group;
    group.fills.reserve(data_.fills.size());
    for (const MorphFillStyle &fill : data_.fills)
        group.fills.push_back(fill.at(t));
    group.lines.reserve(data_.lines.size());
    for (const MorphLineStyle &line : data_.lines)
        group.lines.push_back(line.at(t));
    return {std::move(group)};
}

// An edge without a partner at the end keeps its start place.
std::vector<ShapeEdge> MorphShapeCharacter::edgesAt(double t) const
{
    std::vector<ShapeEdge> edges;
    edges.reserve(data_.startEdges.size());
    for (size_t i = 0; i < data_.startEdges.size(); ++i) {
        const ShapeEdge &start = data_.startEdges[i];
        const ShapeEdge &end = i < data_.endEdges.size() ? data_.endEdges[i] : start;
        edges.push_back(MixEdges(start, end, t));
    }
    return edges;
}

std::shared_ptr<const MorphShapeCharacter::PaintList> MorphShapeCharacter::pathsAt(uint16_t ratio) const
{
    {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        for (auto it = cache_.begin(); it != cache_.end(); ++it)
            if (it->first == ratio) {
                cache_.splice(cache_.begin(), cache_, it);
                return it->second;
            }
    }
    const double t = RatioToT(ratio);
    auto paths = std::make_shared<const PaintList>(ConvertShapeEdges(edgesAt(t), stylesAt(t), Qt::OddEvenFill));
    std::lock_guard<std::mutex> lock(cacheMutex_);
    cache_.emplace_front(ratio, paths);
    if (cache_.size() > kCachedRatios)
        cache_.pop_back();
    return paths;
}

void MorphShapeCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                                 uint16_t ratio) const
{
    const std::shared_ptr<const PaintList> paths = pathsAt(ratio);
    const std::vector<StyleGroup> styles = stylesAt(RatioToT(ratio));
    ShapePainter painter(ctx, toStage, cx);
    for (const ShapePathItem &item : *paths)
        painter.paint(item, styles);
}

QPainterPath MorphShapeCharacter::outline(uint16_t ratio) const
{
    return FilledArea(*pathsAt(ratio));
}

Rect MorphShapeCharacter::bounds() const
{
    const Rect &a = data_.startBounds;
    const Rect &b = data_.endBounds;
    return Rect{std::min(a.xMin, b.xMin), std::max(a.xMax, b.xMax), std::min(a.yMin, b.yMin), std::max(a.yMax, b.yMax)};
}

}  // namespace swf
