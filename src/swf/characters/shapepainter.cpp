#include "swf/characters/shapepainter.h"

#include <QPainter>
#include <cmath>

#include "swf/characters/bitmap.h"
#include "swf/characters/bitmapcolorcache.h"
#include "swf/characters/dictionary.h"

namespace swf {

namespace {

double ScaleOf(const QTransform &transform)
{
    return std::sqrt(std::abs(transform.determinant()));
}

}  // namespace

ShapePainter::ShapePainter(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx)
    : ctx_(ctx), painter_(ctx.painter), cx_(cx), identityCx_(cx.isIdentity())
{
    const QTransform toDevice = toStage.toQTransform() * ctx.stageToDevice;
    deviceScale_ = ScaleOf(toDevice);
    stageScale_ = ScaleOf(ctx.stageToDevice);
    if (!painter_)
        return;
    painter_->save();
    painter_->setTransform(toDevice);
    painter_->setRenderHint(QPainter::Antialiasing, ctx.antialias());
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
}

ShapePainter::~ShapePainter()
{
    if (painter_)
        painter_->restore();
}

void ShapePainter::fill(const QPainterPath &path, const FillStyle &style, const QBrush *prepared)
{
    if (!painter_)
        return;
    const QBrush brush = brushFor(style, prepared);
    if (brush.style() == Qt::NoBrush)
        return;
    setBitmapSmoothing(style);
    painter_->fillPath(path, brush);
}

void ShapePainter::stroke(const QPainterPath &path, const LineStyle &style, const QBrush *prepared)
{
    if (!painter_)
        return;
    QBrush brush;
    if (style.hasFill) {
        brush = brushFor(style.fill, prepared);
        setBitmapSmoothing(style.fill);
    } else {
        brush = prepared && identityCx_ ? *prepared : QBrush(cx_.apply(style.color).toQColor());
    }
    if (brush.style() == Qt::NoBrush)
        return;
    painter_->strokePath(path, LinePen(style, brush, deviceScale_, stageScale_));
}

void ShapePainter::paint(const ShapePathItem &item, const std::vector<StyleGroup> &groups, const QBrush *prepared)
{
    const StyleGroup &styles = groups[item.group];
    if (item.isFill)
        fill(item.path, styles.fills[item.style], prepared);
    else
        stroke(item.path, styles.lines[item.style], prepared);
}

QBrush ShapePainter::preparedBrush(const ShapePathItem &item, const std::vector<StyleGroup> &groups)
{
    const StyleGroup &styles = groups[item.group];
    if (item.isFill)
        return FillBrush(styles.fills[item.style], ColorTransform());
    const LineStyle &line = styles.lines[item.style];
    return line.hasFill ? FillBrush(line.fill, ColorTransform()) : QBrush(line.color.toQColor());
}

QBrush ShapePainter::brushFor(const FillStyle &style, const QBrush *prepared) const
{
    if (style.isBitmap())
        return bitmapBrush(style);
    if (prepared && identityCx_)
        return *prepared;
    return FillBrush(style, cx_);
}

// Bitmap pixels map to shape twips through the fill matrix. A fill whose
// bitmap is missing draws nothing.
QBrush ShapePainter::bitmapBrush(const FillStyle &style) const
{
    const BitmapCharacter *bitmap = ctx_.dictionary ? ctx_.dictionary->findAs<BitmapCharacter>(style.bitmapId) : nullptr;
    if (!bitmap || bitmap->image().isNull())
        return Qt::NoBrush;
    QBrush brush(identityCx_ ? bitmap->image() : CachedColorTransformedImage(bitmap->image(), cx_));
    brush.setTransform(style.matrix.toQTransform());
    return brush;
}

void ShapePainter::setBitmapSmoothing(const FillStyle &style)
{
    if (style.isBitmap())
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, style.smoothed && ctx_.smoothBitmaps());
}

}  // namespace swf
