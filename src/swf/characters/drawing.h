#pragma once
// What a script draws into a clip with the drawing methods (moveTo, lineTo,
// curveTo, beginFill, lineStyle...): layers in the order they were drawn,
// each a fill with the lines drawn while it was open, or lines alone. A
// layer paints its fill, then its lines, so a later fill covers earlier
// lines. Fills close their open contours and use the odd-even rule.
// Bounds grow with every edge by its end and control points, each widened
// by the thickness of the line in force. Points are in the clip's twips.
// Belongs to one clip; changed and drawn on the player's thread.

#include <optional>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/fillstyle.h"
#include "swf/characters/linestyle.h"

namespace swf {

class Drawing : public Character {
public:
    Drawing() : Character(0) {}

    void clear();
    // Lines drawn from now on; none draws edges without a line.
    void setLineStyle(const std::optional<LineStyle> &style);
    // The fill of the current line style (lineGradientStyle).
    void setLineFill(const FillStyle &fill);
    // Closes an open fill first; none only closes it.
    void beginFill(const std::optional<FillStyle> &fill);
    void endFill();
    void moveTo(const QPointF &point);
    void lineTo(const QPointF &point);
    void curveTo(const QPointF &control, const QPointF &point);

    bool isEmpty() const { return !hasBounds_; }
    // The calls that grew the drawing (edges, moves, styles) since the
    // last clear: each costs the caller's memory budget.
    size_t partCount() const { return parts_; }

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    // What the mouse and hitTest find: the fills and the width of the lines.
    QPainterPath hitArea(uint16_t ratio) const override;
    // The bounds as scripts see them, lines' thickness included or not;
    // meaningless while isEmpty().
    Rect bounds() const override { return bounds_; }
    Rect edgeBounds() const { return edgeBounds_; }

private:
    struct Line {
        LineStyle style;
        QPainterPath path;
    };
    struct Layer {
        std::optional<FillStyle> fill;
        QPainterPath fillPath;
        std::vector<Line> lines;
    };

    void addEdge(const QPointF &control, const QPointF &to, bool curved);
    void grow(const QPointF &point);
    static void Grow(Rect &bounds, const QPointF &point, double reach, bool first);
    Line &currentLine();
    void invalidate();

    std::vector<Layer> layers_;
    std::optional<LineStyle> line_;
    bool fillOpen_ = false;
    QPointF pen_;
    QPointF contourStart_;
    bool hasBounds_ = false;
    Rect bounds_;
    Rect edgeBounds_;
    size_t parts_ = 0;
    mutable std::optional<QPainterPath> outline_;
    mutable std::optional<QPainterPath> hitArea_;
};

}  // namespace swf
