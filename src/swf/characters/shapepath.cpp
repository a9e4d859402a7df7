#include "swf/characters/shapepath.h"

#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>

namespace swf {

namespace {

// Exact point identity: chaining must not join points that merely lie close.
struct PointKey {
    double x;
    double y;

    explicit PointKey(const QPointF &p) : x(p.x() + 0.0), y(p.y() + 0.0) {}  // + 0.0 folds -0 into 0
    bool operator==(const PointKey &o) const { return x == o.x && y == o.y; }
};

struct PointKeyHash {
    size_t operator()(const PointKey &key) const
    {
        uint64_t xb, yb;
        std::memcpy(&xb, &key.x, sizeof xb);
        std::memcpy(&yb, &key.y, sizeof yb);
        return std::hash<uint64_t>()(xb * 0x9e3779b97f4a7c15ull ^ yb);
    }
};

using StartIndex = std::unordered_map<PointKey, std::vector<uint32_t>, PointKeyHash>;

void AppendSegment(QPainterPath &path, const PathSegment &segment)
{
    if (segment.curved)
        path.quadTo(segment.control, segment.to);
    else
        path.lineTo(segment.to);
}

// The next unused segment starting at `point`, or -1.
int64_t TakeUnused(StartIndex &starts, const QPointF &point, const std::vector<bool> &used)
{
    const auto it = starts.find(PointKey(point));
    if (it == starts.end())
        return -1;
    std::vector<uint32_t> &candidates = it->second;
    while (!candidates.empty()) {
        const uint32_t index = candidates.back();
        candidates.pop_back();
        if (!used[index])
            return index;
    }
    return -1;
}

using StyleKey = std::pair<uint16_t, uint16_t>;  // group, 0-based style

bool HasStyle(size_t index, size_t count) { return index >= 1 && index <= count; }

void AddStrokeEdge(QPainterPath &path, const ShapeEdge &edge)
{
    if (path.elementCount() == 0 || !(PointKey(path.currentPosition()) == PointKey(edge.from)))
        path.moveTo(edge.from);
    AppendSegment(path, PathSegment::forward(edge));
}

}  // namespace

QPainterPath ChainContours(const std::vector<PathSegment> &segments)
{
    StartIndex starts;
    starts.reserve(segments.size());
    // Filled back to front so that each bucket hands out its segments in
    // record order.
    for (size_t i = segments.size(); i-- > 0;)
        starts[PointKey(segments[i].from)].push_back(static_cast<uint32_t>(i));

    std::vector<bool> used(segments.size(), false);
    QPainterPath path;
    for (size_t first = 0; first < segments.size(); ++first) {
        if (used[first])
            continue;
        const PointKey origin(segments[first].from);
        path.moveTo(segments[first].from);
        int64_t current = static_cast<int64_t>(first);
        while (current >= 0) {
            used[current] = true;
            AppendSegment(path, segments[current]);
            if (PointKey(segments[current].to) == origin) {
                path.closeSubpath();
                break;
            }
            current = TakeUnused(starts, segments[current].to, used);
        }
    }
    return path;
}

std::vector<ShapePathItem> ConvertShapeEdges(const std::vector<ShapeEdge> &edges,
                                             const std::vector<StyleGroup> &groups, Qt::FillRule fillRule)
{
    std::map<StyleKey, std::vector<PathSegment>> fills;
    std::map<StyleKey, QPainterPath> lines;
    for (const ShapeEdge &edge : edges) {
        if (edge.group >= groups.size())
            continue;
        const StyleGroup &styles = groups[edge.group];
        // The same fill on both sides is an inner edge: nothing to outline.
        if (edge.fill0 != edge.fill1) {
            if (HasStyle(edge.fill1, styles.fills.size()))
                fills[{edge.group, edge.fill1 - 1}].push_back(PathSegment::forward(edge));
            if (HasStyle(edge.fill0, styles.fills.size()))
                fills[{edge.group, edge.fill0 - 1}].push_back(PathSegment::backward(edge));
        }
        if (HasStyle(edge.line, styles.lines.size()))
            AddStrokeEdge(lines[{edge.group, edge.line - 1}], edge);
    }

    std::vector<ShapePathItem> items;
    for (size_t index = 0; index < groups.size(); ++index) {
        const auto group = static_cast<uint16_t>(index);
        for (auto it = fills.lower_bound({group, 0}); it != fills.end() && it->first.first == group; ++it) {
            ShapePathItem item{true, group, it->first.second, ChainContours(it->second)};
            item.path.setFillRule(fillRule);
            items.push_back(std::move(item));
        }
        for (auto it = lines.lower_bound({group, 0}); it != lines.end() && it->first.first == group; ++it)
            items.push_back({false, group, it->first.second, std::move(it->second)});
    }
    return items;
}

QPainterPath FilledArea(const std::vector<ShapePathItem> &items)
{
    // Every fill contour has its fill on the same side, so under the
    // winding rule the styles add up instead of cancelling where they meet
    // or overlap.
    QPainterPath area;
    for (const ShapePathItem &item : items)
        if (item.isFill)
            area.addPath(item.path);
    area.setFillRule(Qt::WindingFill);
    return area;
}

}  // namespace swf
