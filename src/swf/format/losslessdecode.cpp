#include "swf/format/losslessdecode.h"

#include <QByteArray>
#include <algorithm>
#include <vector>

#include "swf/format/zlibblock.h"

namespace swf {

namespace {

size_t paddedRow(size_t bytes) { return (bytes + 3) & ~size_t(3); }

size_t tableBytes(const LosslessHeader &h) { return size_t(h.colorCount) * (h.withAlpha ? 4 : 3); }

// Premultiplied colours whose components exceed their alpha would wrap
// around in QPainter's blending; keep them valid.
QRgb premultipliedPixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    return qRgba(std::min(r, a), std::min(g, a), std::min(b, a), a);
}

std::vector<QRgb> colorTable(const LosslessHeader &h, const uint8_t *data)
{
    std::vector<QRgb> table(256, 0);  // indices past the table stay transparent
    const int step = h.withAlpha ? 4 : 3;
    for (int i = 0; i < h.colorCount && i < 256; ++i) {
        const uint8_t *c = data + size_t(i) * step;
        table[i] = h.withAlpha ? premultipliedPixel(c[0], c[1], c[2], c[3]) : qRgb(c[0], c[1], c[2]);
    }
    return table;
}

void decodeColorMapped(const LosslessHeader &h, const uint8_t *data, QImage &image)
{
    const std::vector<QRgb> table = colorTable(h, data);
    const uint8_t *pixels = data + tableBytes(h);
    const size_t stride = paddedRow(h.width);
    for (int y = 0; y < h.height; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uint8_t *row = pixels + stride * y;
        for (int x = 0; x < h.width; ++x)
            line[x] = table[row[x]];
    }
}

uint8_t expandFiveBits(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }

void decodeRgb15(const LosslessHeader &h, const uint8_t *data, QImage &image)
{
    const size_t stride = paddedRow(size_t(h.width) * 2);
    for (int y = 0; y < h.height; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uint8_t *row = data + stride * y;
        for (int x = 0; x < h.width; ++x) {
            const unsigned p = (unsigned(row[2 * x]) << 8) | row[2 * x + 1];
            line[x] = qRgb(expandFiveBits((p >> 10) & 31), expandFiveBits((p >> 5) & 31),
                           expandFiveBits(p & 31));
        }
    }
}

void decodeArgb32(const LosslessHeader &h, const uint8_t *data, QImage &image)
{
    for (int y = 0; y < h.height; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uint8_t *row = data + size_t(h.width) * 4 * y;
        for (int x = 0; x < h.width; ++x) {
            const uint8_t *p = row + 4 * x;
            line[x] = h.withAlpha ? premultipliedPixel(p[1], p[2], p[3], p[0]) : qRgb(p[1], p[2], p[3]);
        }
    }
}

size_t bytesPerPixel(uint8_t format) { return format == 3 ? 1 : format == 4 ? 2 : 4; }

// A stream that ended early leaves the pixels it did not reach transparent
// rather than in whatever colour a zero byte means in this format.
void clearUndecodedPixels(const LosslessHeader &h, size_t produced, QImage &image)
{
    const size_t start = h.format == 3 ? tableBytes(h) : 0;
    const size_t bpp = bytesPerPixel(h.format);
    const size_t stride = h.format == 5 ? size_t(h.width) * 4 : paddedRow(size_t(h.width) * bpp);
    size_t row = 0;
    size_t column = 0;
    if (produced > start) {
        row = (produced - start) / stride;
        column = (produced - start) % stride / bpp;
    }
    for (size_t y = row; y < h.height; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(static_cast<int>(y)));
        std::fill(line + (y == row ? std::min<size_t>(column, h.width) : 0), line + h.width, QRgb(0));
    }
}

}  // namespace

size_t LosslessDataSize(const LosslessHeader &h)
{
    const size_t rows = h.height;
    switch (h.format) {
    case 3: return tableBytes(h) + paddedRow(h.width) * rows;
    case 4: return paddedRow(size_t(h.width) * 2) * rows;
    case 5: return size_t(h.width) * 4 * rows;
    default: return 0;
    }
}

QImage DecodeLosslessBitmap(const LosslessHeader &h, const uint8_t *zlibData, size_t size,
                            MemoryBudget &budget)
{
    const size_t rawBytes = LosslessDataSize(h);
    const size_t imageBytes = size_t(h.width) * h.height * 4;
    if (rawBytes == 0 || imageBytes == 0)
        return {};
    if (!budget.reserve(imageBytes))
        return {};
    if (!budget.reserve(rawBytes)) {
        budget.release(imageBytes);
        return {};
    }
    QByteArray raw(static_cast<qsizetype>(rawBytes), '\0');
    const size_t produced = InflateZlibBlock(zlibData, size, reinterpret_cast<uint8_t *>(raw.data()), rawBytes);
    QImage image;
    if (produced > 0)
        image = QImage(h.width, h.height, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull()) {
        const auto *data = reinterpret_cast<const uint8_t *>(raw.constData());
        if (h.format == 3)
            decodeColorMapped(h, data, image);
        else if (h.format == 4)
            decodeRgb15(h, data, image);
        else
            decodeArgb32(h, data, image);
        if (produced < rawBytes)
            clearUndecodedPixels(h, produced, image);
    }
    budget.release(rawBytes);
    if (image.isNull())
        budget.release(imageBytes);
    return image;
}

}  // namespace swf
