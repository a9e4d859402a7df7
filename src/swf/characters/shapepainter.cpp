#include "swf/characters/shapepainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "swf/characters/bitmap.h"
#include "swf/characters/bitmapcolorcache.h"
#include "swf/characters/dictionary.h"
#include "swf/characters/scriptbitmap.h"

namespace swf {

namespace {

// How far a clipped bitmap's edges are carried out, in its own pixels.
constexpr int kMostEdgeReach = 2048;

double ScaleOf(const QTransform &transform)
{
    return std::sqrt(std::abs(transform.determinant()));
}

// The picture grown to `cover` (its own pixels; it holds the picture) with
// its edge pixels carried outwards, as a bitmap that does not repeat
// fills what lies beyond it.
QImage EdgeExtended(const QImage &picture, const QRect &cover)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(cover.size(), QImage::Format_ARGB32_Premultiplied);
    const int w = source.width(), h = source.height();
    for (int y = 0; y < out.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(std::clamp(y + cover.top(), 0, h - 1)));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            to[x] = from[std::clamp(x + cover.left(), 0, w - 1)];
    }
    return out;
}

// The part of `area` (character twips) that a picture placed by `toShape`
// must cover, in the picture's pixels, within reach of its edges.
QRect CoverOf(const QImage &picture, const Matrix &toShape, const QRectF &area)
{
    bool invertible = false;
    const QTransform toPicture = toShape.toQTransform().inverted(&invertible);
    const QRect own(QPoint(0, 0), picture.size());
    if (!invertible || area.isEmpty())
        return own;
    const QRect reach = own.adjusted(-kMostEdgeReach, -kMostEdgeReach, kMostEdgeReach, kMostEdgeReach);
    return toPicture.mapRect(area).toAlignedRect().adjusted(-1, -1, 1, 1).intersected(reach).united(own);
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
    const QBrush brush = brushFor(style, prepared, path.boundingRect());
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
        const double reach = style.width / 2 + 1;
        brush = brushFor(style.fill, prepared, path.boundingRect().adjusted(-reach, -reach, reach, reach));
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

QBrush ShapePainter::brushFor(const FillStyle &style, const QBrush *prepared, const QRectF &area) const
{
    if (style.isBitmap())
        return bitmapBrush(style, area);
    if (prepared && identityCx_)
        return *prepared;
    return FillBrush(style, cx_);
}

// Bitmap pixels map to shape twips through the fill matrix. A fill whose
// bitmap is missing draws nothing; one that does not repeat carries its
// edge pixels over the rest of `area`.
QBrush ShapePainter::bitmapBrush(const FillStyle &style, const QRectF &area) const
{
    const QImage *source = nullptr;
    if (style.surface) {
        source = &style.surface->pixels;
    } else if (ctx_.dictionary) {
        if (const auto *bitmap = ctx_.dictionary->findAs<BitmapCharacter>(style.bitmapId))
            source = &bitmap->image();
    }
    if (!source || source->isNull())
        return Qt::NoBrush;
    QImage picture = identityCx_ ? *source : CachedColorTransformedImage(*source, cx_);
    QTransform toShape = style.matrix.toQTransform();
    if (style.kind == FillKind::ClippedBitmap) {
        const QRect cover = CoverOf(picture, style.matrix, area);
        if (cover.size() != picture.size()) {
            picture = EdgeExtended(picture, cover);
            toShape = QTransform::fromTranslate(cover.left(), cover.top()) * toShape;
        }
    }
    QBrush brush(picture);
    brush.setTransform(toShape);
    return brush;
}

void ShapePainter::setBitmapSmoothing(const FillStyle &style)
{
    if (style.isBitmap())
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, style.smoothed && ctx_.smoothBitmaps());
}

}  // namespace swf
