// Decoding of the bitmap definition tags: lossless formats, JPEG with its
// quirks, embedded PNG, alpha planes, the memory budget and corrupt data.

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "swf/characters/bitmap.h"
#include "swf/characters/definetags.h"
#include "swf/format/jpegdecode.h"

using namespace swf;

namespace {

// Owns the bytes of one tag body and the dictionary the handlers fill.
struct TagRunner {
    Dictionary dictionary;
    MemoryBudget budget;
    DefineContext ctx{8, dictionary, budget, {}};
    std::vector<QByteArray> bodies;

    explicit TagRunner(size_t limit = MemoryBudget::kDefaultLimit) : budget(limit) {}

    void run(uint16_t code, const QByteArray &body)
    {
        bodies.push_back(body);
        Tag tag{code, SwfReader(reinterpret_cast<const uint8_t *>(bodies.back().constData()),
                                size_t(bodies.back().size()))};
        if (code == 8)
            JpegTablesTag(tag, ctx);
        else if (code == 20 || code == 36)
            DefineBitsLosslessTag(tag, ctx);
        else
            DefineBitsJpegTag(tag, ctx);
    }
    const QImage *image(uint16_t id) const
    {
        const auto *bitmap = dictionary.findAs<BitmapCharacter>(id);
        return bitmap ? &bitmap->image() : nullptr;
    }
};

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray u16(unsigned v) { return bytes({int(v & 0xFF), int((v >> 8) & 0xFF)}); }
QByteArray u32(uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }

QByteArray zlibCompress(const QByteArray &raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(raw.constData()),
              uLong(raw.size()), 9);
    out.resize(qsizetype(size));
    return out;
}

QByteArray losslessBody(uint16_t id, int format, int width, int height, int colorCount, const QByteArray &raw)
{
    QByteArray body = u16(id) + char(format) + u16(width) + u16(height);
    if (format == 3)
        body += char(colorCount - 1);
    return body + zlibCompress(raw);
}

QByteArray encode(const QImage &image, const char *format, int quality = 100)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return data;
}

QImage filled(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Splits a complete JPEG into the encoding tables (as a JPEGTables tag
// holds them) and the rest of the picture (as DefineBits holds it).
std::pair<QByteArray, QByteArray> splitJpegTables(const QByteArray &jpeg)
{
    QByteArray tables = bytes({0xFF, 0xD8});
    QByteArray picture = bytes({0xFF, 0xD8});
    int pos = 2;
    while (pos + 4 <= jpeg.size() && uint8_t(jpeg[pos + 1]) != 0xDA) {
        const int length = (uint8_t(jpeg[pos + 2]) << 8) | uint8_t(jpeg[pos + 3]);
        const uint8_t marker = uint8_t(jpeg[pos + 1]);
        (marker == 0xDB || marker == 0xC4 ? tables : picture) += jpeg.mid(pos, 2 + length);
        pos += 2 + length;
    }
    return {tables + bytes({0xFF, 0xD9}), picture + jpeg.mid(pos)};
}

bool near(QRgb actual, QRgb expected, int tolerance = 12)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance &&
           std::abs(qAlpha(actual) - qAlpha(expected)) <= tolerance;
}

struct LosslessCase {
    const char *name;
    uint16_t code;
    int format, width, height, colorCount;
    QByteArray raw;
    std::vector<QRgb> expected;  // premultiplied, row by row
};

class LosslessFormats : public testing::TestWithParam<LosslessCase> {};

}  // namespace

TEST_P(LosslessFormats, DecodesEveryPixel)
{
    const LosslessCase &c = GetParam();
    TagRunner runner;
    runner.run(c.code, losslessBody(7, c.format, c.width, c.height, c.colorCount, c.raw));
    const QImage *image = runner.image(7);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->size(), QSize(c.width, c.height));
    EXPECT_EQ(image->format(), QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < c.width * c.height; ++i)
        EXPECT_EQ(image->pixel(i % c.width, i / c.width), c.expected[i]) << "pixel " << i;
    EXPECT_GE(runner.budget.used(), size_t(c.width) * c.height * 4);
}

INSTANTIATE_TEST_SUITE_P(
    Bitmap, LosslessFormats,
    testing::Values(
        // 3 pixels per row, padded to 4; index 5 lies past the 2-entry table.
        LosslessCase{"Palette", 20, 3, 3, 2, 2,
                     bytes({255, 0, 0, 0, 0, 255, /*rows*/ 0, 1, 0, 9, 1, 5, 1, 9}),
                     {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 0, 255), 0,
                      qRgb(0, 0, 255)}},
        LosslessCase{"PaletteWithAlpha", 36, 3, 2, 1, 2,
                     bytes({0, 128, 0, 128, 10, 20, 30, 255, /*row*/ 0, 1, 0, 0}),
                     {qRgba(0, 128, 0, 128), qRgb(10, 20, 30)}},
        // 15-bit pixels: 0 11111 00000 00000 is pure red; rows of 1 pixel pad to 4 bytes.
        LosslessCase{"Rgb15", 20, 4, 1, 2, 0, bytes({0x7C, 0x00, 0, 0, 0x03, 0xE0, 0, 0}),
                     {qRgb(255, 0, 0), qRgb(0, 255, 0)}},
        // Lossless ignores the first byte of each pixel.
        LosslessCase{"Xrgb", 20, 5, 2, 1, 0, bytes({0, 1, 2, 3, 77, 200, 100, 50}),
                     {qRgb(1, 2, 3), qRgb(200, 100, 50)}},
        // Lossless2 stores premultiplied ARGB, kept as it is.
        LosslessCase{"PremultipliedArgb", 36, 5, 2, 1, 0, bytes({128, 64, 32, 16, 0, 0, 0, 0}),
                     {qRgba(64, 32, 16, 128), 0}}),
    [](const testing::TestParamInfo<LosslessCase> &info) { return std::string(info.param.name); });

TEST(Bitmap, LosslessLargerThanTheBudgetIsRefusedUntouched)
{
    TagRunner runner(1 << 20);
    // A tiny stream claiming 65535 x 65535 pixels.
    runner.run(20, losslessBody(1, 5, 65535, 65535, 0, QByteArray(16, '\0')));
    EXPECT_EQ(runner.image(1), nullptr);
    EXPECT_EQ(runner.budget.used(), 0u);
}

TEST(Bitmap, CorruptLosslessStreamAddsNothing)
{
    TagRunner runner;
    QByteArray body = u16(1) + char(5) + u16(4) + u16(4) + QByteArray("not a zlib stream at all");
    runner.run(20, body);
    EXPECT_EQ(runner.image(1), nullptr);
    EXPECT_EQ(runner.budget.used(), 0u);
}

TEST(Bitmap, TruncatedLosslessStreamKeepsThePixelsItReached)
{
    QByteArray raw;
    for (int i = 0; i < 4 * 4; ++i)
        raw += bytes({0, 255, 255, 255});
    // A stored (uncompressed) deflate block announcing 64 bytes but cut
    // after 20 (five pixels) makes the cut position exact.
    const QByteArray stored = bytes({0x78, 0x01, 0x01}) + u16(64) + u16(~64 & 0xFFFF) + raw.left(20);
    TagRunner runner;
    runner.run(20, u16(1) + char(5) + u16(4) + u16(4) + stored);
    const QImage *image = runner.image(1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image->pixel(0, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image->pixel(1, 1), 0u);
    EXPECT_EQ(image->pixel(3, 3), 0u);
}

TEST(Bitmap, TruncatedLosslessHeaderAddsNothing)
{
    TagRunner runner;
    runner.run(36, u16(1) + char(3) + u16(4));
    EXPECT_EQ(runner.dictionary.size(), 0u);
}

TEST(Bitmap, Jpeg2DecodesWithAndWithoutTheStrayMarkers)
{
    const QByteArray jpeg = encode(filled(16, 8, QColor(200, 30, 40)), "JPEG");
    TagRunner runner;
    runner.run(21, u16(1) + jpeg);
    runner.run(21, u16(2) + bytes({0xFF, 0xD9, 0xFF, 0xD8}) + jpeg);
    for (uint16_t id : {1, 2}) {
        const QImage *image = runner.image(id);
        ASSERT_NE(image, nullptr) << id;
        EXPECT_EQ(image->size(), QSize(16, 8));
        EXPECT_TRUE(near(image->pixel(5, 5), qRgb(200, 30, 40))) << std::hex << image->pixel(5, 5);
    }
}

TEST(Bitmap, DefineBitsUsesTheSharedJpegTables)
{
    const auto [tables, picture] = splitJpegTables(encode(filled(8, 8, QColor(20, 180, 90)), "JPEG"));
    TagRunner runner;
    runner.run(8, tables);
    runner.run(6, u16(3) + picture);
    const QImage *image = runner.image(3);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(near(image->pixel(4, 4), qRgb(20, 180, 90)));
}

TEST(Bitmap, Jpeg3AlphaPlaneIsPremultipliedAndClamped)
{
    const QByteArray jpeg = encode(filled(4, 2, Qt::white), "JPEG");
    const QByteArray alpha = bytes({0, 0, 128, 128, 0, 0, 255, 255});
    TagRunner runner;
    runner.run(35, u16(4) + u32(uint32_t(jpeg.size())) + jpeg + zlibCompress(alpha));
    runner.run(90, u16(5) + u32(uint32_t(jpeg.size())) + u16(0) + jpeg + zlibCompress(alpha));
    for (uint16_t id : {4, 5}) {
        const QImage *image = runner.image(id);
        ASSERT_NE(image, nullptr) << id;
        EXPECT_EQ(image->pixel(0, 0), 0u);
        EXPECT_TRUE(near(image->pixel(2, 0), qRgba(128, 128, 128, 128), 2));
        EXPECT_TRUE(near(image->pixel(3, 1), qRgb(255, 255, 255), 2));
    }
}

TEST(Bitmap, PngDataInAJpegTagKeepsItsOwnAlpha)
{
    QImage png(2, 1, QImage::Format_ARGB32);
    png.setPixel(0, 0, qRgba(255, 0, 0, 255));
    png.setPixel(1, 0, qRgba(0, 0, 0, 0));
    TagRunner runner;
    runner.run(21, u16(6) + encode(png, "PNG"));
    const QImage *image = runner.image(6);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image->pixel(1, 0), 0u);
}

TEST(Bitmap, JpegLargerThanTheBudgetIsRefused)
{
    TagRunner runner(100);
    runner.run(21, u16(1) + encode(filled(16, 16, Qt::red), "JPEG"));
    EXPECT_EQ(runner.image(1), nullptr);
    EXPECT_EQ(runner.budget.used(), 0u);
}

TEST(Bitmap, GarbageJpegDataAddsNothing)
{
    TagRunner runner;
    runner.run(21, u16(1) + bytes({0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0x12, 0x34}));
    runner.run(35, u16(2) + u32(1000) + bytes({1, 2, 3}));
    EXPECT_EQ(runner.dictionary.size(), 0u);
    EXPECT_EQ(runner.budget.used(), 0u);
}

TEST(Bitmap, RendersAtNaturalSizeThroughTheColorTransform)
{
    QImage pixels(2, 2, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(qRgb(255, 255, 255));
    BitmapCharacter bitmap(1, pixels);
    EXPECT_EQ(bitmap.bounds().xMax, 40);
    EXPECT_EQ(bitmap.bounds().yMax, 40);

    QImage target(4, 4, QImage::Format_ARGB32_Premultiplied);
    target.fill(0);
    QPainter painter(&target);
    RenderContext ctx;
    ctx.painter = &painter;
    ctx.stageToDevice = QTransform::fromScale(1 / kTwipsPerPixel, 1 / kTwipsPerPixel);
    Matrix toStage;
    toStage.tx = 20;  // one pixel to the right
    ColorTransform noGreen;
    noGreen.mult[1] = 0;
    bitmap.render(ctx, toStage, noGreen, 0);
    painter.end();
    EXPECT_EQ(target.pixel(0, 0), 0u);
    EXPECT_EQ(target.pixel(1, 0), qRgb(255, 0, 255));
    EXPECT_EQ(target.pixel(2, 1), qRgb(255, 0, 255));
    EXPECT_EQ(target.pixel(3, 0), 0u);
}
