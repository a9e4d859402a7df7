#include "swf/format/jpegdecode.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>

#include "swf/format/zlibblock.h"

namespace swf {

namespace {

constexpr uint8_t kMarkerStartOfImage = 0xD8;
constexpr uint8_t kMarkerEndOfImage = 0xD9;
constexpr uint8_t kMarkerStartOfScan = 0xDA;

// Markers that stand alone, without a length field.
bool isStandaloneMarker(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9);
}

uint8_t byteAt(const QByteArray &data, qsizetype i) { return static_cast<uint8_t>(data[i]); }

const char *readerFormat(EmbeddedImageKind kind)
{
    switch (kind) {
    case EmbeddedImageKind::Png: return "png";
    case EmbeddedImageKind::Gif: return "gif";
    case EmbeddedImageKind::Jpeg: break;
    }
    return "jpeg";
}

}  // namespace

EmbeddedImageKind DetectEmbeddedImage(const QByteArray &data)
{
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return EmbeddedImageKind::Png;
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return EmbeddedImageKind::Gif;
    return EmbeddedImageKind::Jpeg;
}

QByteArray MergeJpegStream(const QByteArray &tables, const QByteArray &data)
{
    const QByteArray in = tables + data;
    QByteArray out;
    out.reserve(in.size() + 2);
    out.append('\xFF').append(static_cast<char>(kMarkerStartOfImage));
    qsizetype pos = 0;
    while (pos + 1 < in.size()) {
        const uint8_t marker = byteAt(in, pos + 1);
        if (byteAt(in, pos) != 0xFF || marker == 0xFF) {
            ++pos;  // stray or fill byte between segments
            continue;
        }
        if (marker == kMarkerStartOfImage || marker == kMarkerEndOfImage) {
            pos += 2;
            continue;
        }
        if (isStandaloneMarker(marker) || marker == 0x00) {
            out.append(in.mid(pos, 2));
            pos += 2;
            continue;
        }
        if (marker == kMarkerStartOfScan) {
            out.append(in.mid(pos));  // the scan data and everything after it
            break;
        }
        if (pos + 4 > in.size())
            break;
        const qsizetype length = (qsizetype(byteAt(in, pos + 2)) << 8) | byteAt(in, pos + 3);
        out.append(in.mid(pos, 2 + length));
        pos += 2 + length;
    }
    return out;
}

QImage DecodeEmbeddedImage(const QByteArray &data, MemoryBudget &budget)
{
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, readerFormat(DetectEmbeddedImage(data)));
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return {};
    const size_t bytes = size_t(size.width()) * size_t(size.height()) * 4;
    if (!budget.reserve(bytes))
        return {};
    QImage image = reader.read();
    if (image.isNull() || image.size() != size) {
        budget.release(bytes);
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void ApplyAlphaPlane(QImage &image, const uint8_t *zlibAlpha, size_t size)
{
    const size_t width = size_t(image.width());
    const size_t count = width * size_t(image.height());
    if (count == 0 || size == 0)
        return;
    QByteArray alpha(static_cast<qsizetype>(count), '\xFF');
    InflateZlibBlock(zlibAlpha, size, reinterpret_cast<uint8_t *>(alpha.data()), count);
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const auto *row = reinterpret_cast<const uint8_t *>(alpha.constData()) + width * y;
        for (size_t x = 0; x < width; ++x) {
            const unsigned a = row[x];
            const QRgb p = line[x];
            line[x] = qRgba(std::min<unsigned>(qRed(p), a), std::min<unsigned>(qGreen(p), a),
                            std::min<unsigned>(qBlue(p), a), a);
        }
    }
}

}  // namespace swf
