#pragma once
// Paints converted shape paths with their fill and line styles through a
// render context: sets up the painter's transform and hints for one
// character, resolves bitmap fills in the dictionary and applies the colour
// transform. Lives for one render() call on the rendering thread; restores
// the painter's state when it goes.

#include <QBrush>
#include <QPainterPath>

#include "swf/characters/character.h"
#include "swf/characters/fillstyle.h"
#include "swf/characters/linestyle.h"
#include "swf/characters/shapepath.h"

namespace swf {

class ShapePainter {
public:
    ShapePainter(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx);
    ~ShapePainter();
    ShapePainter(const ShapePainter &) = delete;
    ShapePainter &operator=(const ShapePainter &) = delete;

    // `prepared`, when given, is the brush of a solid or gradient fill made
    // ahead for the identity colour transform.
    void fill(const QPainterPath &path, const FillStyle &style, const QBrush *prepared = nullptr);
    void stroke(const QPainterPath &path, const LineStyle &style, const QBrush *prepared = nullptr);
    // One entry of a paint list, with its style taken from `groups`.
    void paint(const ShapePathItem &item, const std::vector<StyleGroup> &groups, const QBrush *prepared = nullptr);

    // The brush an entry paints with under the identity colour transform,
    // where it needs no dictionary look-up (solid and gradient fills and
    // lines); NoBrush otherwise.
    static QBrush preparedBrush(const ShapePathItem &item, const std::vector<StyleGroup> &groups);

private:
    // `area` (character twips) is what the brush must cover.
    QBrush brushFor(const FillStyle &style, const QBrush *prepared, const QRectF &area) const;
    QBrush bitmapBrush(const FillStyle &style, const QRectF &area) const;
    void setBitmapSmoothing(const FillStyle &style);

    RenderContext &ctx_;
    QPainter *painter_;
    ColorTransform cx_;
    bool identityCx_;
    double deviceScale_;  // device pixels per character twip
    double stageScale_;   // device pixels per stage twip
};

}  // namespace swf
