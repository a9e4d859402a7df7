#include "swf/characters/bitmap.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "swf/characters/definetags.h"
#include "swf/format/jpegdecode.h"
#include "swf/format/losslessdecode.h"

namespace swf {

namespace {

constexpr uint16_t kDefineBits = 6;
constexpr uint16_t kDefineBitsJpeg3 = 35;
constexpr uint16_t kDefineBitsJpeg4 = 90;
constexpr uint16_t kDefineBitsLossless2 = 36;

using ChannelTable = std::array<uint8_t, 256>;

ChannelTable channelTable(float mult, float add)
{
    ChannelTable table{};
    for (int v = 0; v < 256; ++v)
        table[v] = static_cast<uint8_t>(std::clamp(std::lround(v * mult + add), 0L, 255L));
    return table;
}

}  // namespace

QImage ColorTransformedImage(const QImage &image, const ColorTransform &cx)
{
    if (cx.isIdentity() || image.isNull())
        return image;
    std::array<ChannelTable, 4> tables;
    for (int i = 0; i < 4; ++i)
        tables[i] = channelTable(cx.mult[i], cx.add[i]);
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = qUnpremultiply(line[x]);
            line[x] = qPremultiply(qRgba(tables[0][qRed(p)], tables[1][qGreen(p)], tables[2][qBlue(p)],
                                         tables[3][qAlpha(p)]));
        }
    }
    return out;
}

void DrawPictureCharacter(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, const QImage &image,
                          int width, int height, bool smooth)
{
    if (image.isNull() || !ctx.painter)
        return;
    QPainter &painter = *ctx.painter;
    painter.save();
    painter.setTransform(toStage.toQTransform() * ctx.stageToDevice);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(PictureBounds(width, height).toQRectF(), ColorTransformedImage(image, cx));
    painter.restore();
}

QPainterPath PictureOutline(int width, int height)
{
    QPainterPath path;
    path.addRect(PictureBounds(width, height).toQRectF());
    return path;
}

Rect PictureBounds(int width, int height)
{
    return Rect{0, static_cast<int32_t>(width * kTwipsPerPixel), 0, static_cast<int32_t>(height * kTwipsPerPixel)};
}

void BitmapCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                             uint16_t) const
{
    DrawPictureCharacter(ctx, toStage, cx, image_, image_.width(), image_.height(), ctx.smoothBitmaps());
}

QPainterPath BitmapCharacter::outline(uint16_t) const
{
    return PictureOutline(image_.width(), image_.height());
}

Rect BitmapCharacter::bounds() const
{
    return PictureBounds(image_.width(), image_.height());
}

void JpegTablesTag(Tag tag, DefineContext &ctx)
{
    ctx.jpegTables = QByteArray(reinterpret_cast<const char *>(tag.body.current()),
                                static_cast<qsizetype>(tag.body.remaining()));
}

void DefineBitsJpegTag(Tag tag, DefineContext &ctx)
{
    SwfReader &body = tag.body;
    const uint16_t id = body.u16();
    const bool withAlpha = tag.code == kDefineBitsJpeg3 || tag.code == kDefineBitsJpeg4;
    size_t imageSize = SIZE_MAX;
    if (withAlpha)
        imageSize = body.u32();
    if (tag.code == kDefineBitsJpeg4)
        body.u16();  // deblocking filter strength: not applied
    if (body.overrun() || ctx.dictionary.find(id))
        return;
    imageSize = std::min(imageSize, body.remaining());
    QByteArray data(reinterpret_cast<const char *>(body.current()), static_cast<qsizetype>(imageSize));
    body.skip(imageSize);
    const EmbeddedImageKind kind = DetectEmbeddedImage(data);
    if (kind == EmbeddedImageKind::Jpeg)
        data = MergeJpegStream(tag.code == kDefineBits ? ctx.jpegTables : QByteArray(), data);
    QImage image = DecodeEmbeddedImage(data, ctx.budget);
    if (image.isNull())
        return;
    if (withAlpha && kind == EmbeddedImageKind::Jpeg)
        ApplyAlphaPlane(image, body.current(), body.remaining());
    ctx.dictionary.add(std::make_shared<BitmapCharacter>(id, std::move(image)));
}

void DefineBitsLosslessTag(Tag tag, DefineContext &ctx)
{
    SwfReader &body = tag.body;
    const uint16_t id = body.u16();
    LosslessHeader header;
    header.format = body.u8();
    header.width = body.u16();
    header.height = body.u16();
    header.withAlpha = tag.code == kDefineBitsLossless2;
    if (header.format == 3)
        header.colorCount = body.u8() + 1;
    if (body.overrun() || ctx.dictionary.find(id))
        return;
    QImage image = DecodeLosslessBitmap(header, body.current(), body.remaining(), ctx.budget);
    if (!image.isNull())
        ctx.dictionary.add(std::make_shared<BitmapCharacter>(id, std::move(image)));
}

}  // namespace swf
