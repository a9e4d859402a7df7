// BitmapData's ties to the rest of the movie: drawing clips and other
// bitmaps into one, showing one on a clip, and making one from a picture
// of the library.

#include <QPainter>

#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdatamethods.h"
#include "swf/avm1/clipbitmaps.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/characters/bitmap.h"

namespace swf::avm1 {

namespace {

// A script's matrix (pixels) in twips; identity without one.
Matrix ReadDrawMatrix(Machine &m, const Value &value)
{
    Matrix matrix;
    Object *object = value.object();
    if (!object)
        return matrix;
    double *fields[] = {&matrix.a, &matrix.b, &matrix.c, &matrix.d, &matrix.tx, &matrix.ty};
    const char *names[] = {"a", "b", "c", "d", "tx", "ty"};
    for (size_t i = 0; i < 6; ++i) {
        const double read = m.toNumber(m.get(object, names[i]));
        *fields[i] = std::isfinite(read) ? read : (i == 0 || i == 3 ? 1 : 0);
    }
    matrix.tx *= kTwipsPerPixel;
    matrix.ty *= kTwipsPerPixel;
    return matrix;
}

ColorTransform ReadDrawColors(Machine &m, const Value &value)
{
    ColorTransform cx;
    if (Object *object = value.object()) {
        const PixelTransform read = ReadPixelTransform(m, object);
        for (int i = 0; i < 4; ++i) {
            cx.mult[i] = std::isfinite(read.mult[i]) ? float(read.mult[i]) : 1.0f;
            cx.add[i] = std::isfinite(read.add[i]) ? float(read.add[i]) : 0.0f;
        }
    }
    return cx;
}

void DrawBitmap(BitmapSurface &target, const BitmapSurface &source, const Matrix &matrix, const ColorTransform &cx,
                const QRect &area, bool smoothing)
{
    const QImage picture = ColorTransformedImage(source.pixels, cx);
    QPainter painter(&target.pixels);
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smoothing);
    painter.setTransform(QTransform(matrix.a, matrix.b, matrix.c, matrix.d, matrix.tx / kTwipsPerPixel,
                                    matrix.ty / kTwipsPerPixel));
    painter.drawImage(QPointF(0, 0), picture);
}

Value Draw(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 1)
        return NotABitmap();
    BitmapSurface &surface = bitmap->surface();
    const Matrix matrix = ReadDrawMatrix(m, args[1]);
    const ColorTransform cx = ReadDrawColors(m, args[2]);
    PixelRect clip = SurfaceRect(surface);
    if (PixelRect given; ReadRect(m, args[4], given))
        clip = given.intersected(clip);
    const QRect area(clip.x, clip.y, clip.width, clip.height);
    const bool smoothing = m.toBoolean(args[5]);
    if (auto *source = dynamic_cast<BitmapDataObject *>(args[0].object())) {
        if (!source->disposed())
            DrawBitmap(surface, source->surface(), matrix, cx, area, smoothing);
    } else if (auto *clipObject = dynamic_cast<ClipObject *>(args[0].object()); clipObject && m.bitmaps) {
        m.bitmaps->drawClip(clipObject, surface.pixels, matrix, cx, area, smoothing);
    }
    return {};
}

bool IsOpaque(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return false;
    }
    return true;
}

Value LoadBitmap(Machine &m, const Value &self, const Args &args)
{
    Object *constructor = self.object();
    if (!constructor || !m.bitmaps || args.size() < 1)
        return {};
    QImage picture = m.bitmaps->exportedPicture(m.toString(args[0]));
    if (picture.isNull())
        return {};
    BitmapSurface surface;
    surface.pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    surface.transparent = !IsOpaque(surface.pixels);
    return Value(WrapBitmapData(m, m.get(constructor, "prototype").object(), std::move(surface)));
}

// MovieClip.attachBitmap(bitmap, depth, pixelSnapping, smoothing).
Value AttachBitmap(Machine &m, const Value &self, const Args &args)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    BitmapDataObject *bitmap = LiveBitmapData(args[0]);
    if (clip && bitmap && m.bitmaps && args.size() >= 2)
        m.bitmaps->attach(clip, bitmap->sharedSurface(), m.toNumber(args[1]), m.toBoolean(args[3]));
    return {};
}

}  // namespace

void InstallDrawMethods(Machine &m, Object *proto, Object *constructor)
{
    m.defineMethod(proto, "draw", Draw);
    m.defineMethod(constructor, "loadBitmap", LoadBitmap);
    if (m.clipProto)
        m.defineMethod(m.clipProto, "attachBitmap", AttachBitmap);
}

}  // namespace swf::avm1
