#include "swf/media/videopicture.h"

#include <algorithm>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace swf {

namespace {

// BT.601 coefficients scaled by 2^16.
struct YuvCoefficients {
    int yScale, yOffset, rFromV, gFromU, gFromV, bFromU;
};

constexpr YuvCoefficients kLimitedRange{76309, 16, 104597, 25675, 53279, 132201};
constexpr YuvCoefficients kFullRange{65536, 0, 91881, 22554, 46802, 116130};

uint8_t Clamp(int value) { return uint8_t(std::clamp(value >> 16, 0, 255)); }

// VP6 with alpha codes its colours already multiplied by the alpha; a
// colour brighter than its alpha is coding noise and is clipped.
QRgb YuvToRgb(const YuvCoefficients &k, int y, int u, int v, int alpha)
{
    const int luma = (y - k.yOffset) * k.yScale;
    u -= 128;
    v -= 128;
    const QRgb opaque = qRgb(Clamp(luma + k.rFromV * v), Clamp(luma - k.gFromU * u - k.gFromV * v),
                             Clamp(luma + k.bFromU * u));
    if (alpha == 255)
        return opaque;
    return qRgba(std::min(qRed(opaque), alpha), std::min(qGreen(opaque), alpha), std::min(qBlue(opaque), alpha), alpha);
}

QImage FromYuv420(const AVFrame &frame, const YuvCoefficients &k, bool withAlpha)
{
    QImage image(frame.width, frame.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t *luma = frame.data[0] + ptrdiff_t(y) * frame.linesize[0];
        const uint8_t *u = frame.data[1] + ptrdiff_t(y / 2) * frame.linesize[1];
        const uint8_t *v = frame.data[2] + ptrdiff_t(y / 2) * frame.linesize[2];
        const uint8_t *alpha = withAlpha ? frame.data[3] + ptrdiff_t(y) * frame.linesize[3] : nullptr;
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < frame.width; ++x)
            out[x] = YuvToRgb(k, luma[x], u[x / 2], v[x / 2], alpha ? alpha[x] : 255);
    }
    return image;
}

QImage FromPacked(const AVFrame &frame, bool bgr)
{
    QImage image(frame.width, frame.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t *in = frame.data[0] + ptrdiff_t(y) * frame.linesize[0];
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < frame.width; ++x, in += 3)
            out[x] = bgr ? qRgb(in[2], in[1], in[0]) : qRgb(in[0], in[1], in[2]);
    }
    return image;
}

}  // namespace

QImage PictureFromVideoFrame(const AVFrame &frame)
{
    if (frame.width <= 0 || frame.height <= 0)
        return {};
    switch (frame.format) {
    case AV_PIX_FMT_YUV420P:
        return FromYuv420(frame, frame.color_range == AVCOL_RANGE_JPEG ? kFullRange : kLimitedRange, false);
    case AV_PIX_FMT_YUVJ420P:
        return FromYuv420(frame, kFullRange, false);
    case AV_PIX_FMT_YUVA420P:
        return FromYuv420(frame, kLimitedRange, true);
    case AV_PIX_FMT_BGR24:
        return FromPacked(frame, true);
    case AV_PIX_FMT_RGB24:
        return FromPacked(frame, false);
    default:
        return {};
    }
}

}  // namespace swf
