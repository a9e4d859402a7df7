#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>

#include "swf/filter.h"
#include "swfbuilder.h"

using swf::Filter;

namespace {

// A 40 by 40 transparent picture with an opaque red square in 10..29.
QImage Square()
{
    QImage picture(40, 40, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x)
            picture.setPixel(x, y, qRgba(255, 0, 0, 255));
    return picture;
}

Filter Blur(float amount, int passes)
{
    Filter blur;
    blur.kind = Filter::Kind::Blur;
    blur.blurX = amount;
    blur.blurY = amount;
    blur.passes = passes;
    return blur;
}

// A picture whose channels vary from pixel to pixel, premultiplied.
QImage Pattern(int width, int height)
{
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int alpha = (x * 37 + y * 91) % 256;
            picture.setPixel(x, y, qRgba((x * 13) % (alpha + 1), (y * 29) % (alpha + 1), alpha / 2, alpha));
        }
    return picture;
}

// The plain definition of one box pass along one axis: each channel of a
// pixel becomes the truncated mean of the `width` pixels centred on it,
// pixels beyond the edge counting as transparent.
QImage PlainBoxPass(const QImage &in, int width, bool alongRows)
{
    QImage out(in.size(), in.format());
    const int radius = width / 2;
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            int sums[4] = {0, 0, 0, 0};
            for (int d = -radius; d <= radius; ++d) {
                const QPoint at = alongRows ? QPoint(x + d, y) : QPoint(x, y + d);
                if (!in.rect().contains(at))
                    continue;
                const QRgb p = in.pixel(at);
                sums[0] += qRed(p);
                sums[1] += qGreen(p);
                sums[2] += qBlue(p);
                sums[3] += qAlpha(p);
            }
            out.setPixel(x, y, qRgba(sums[0] / width, sums[1] / width, sums[2] / width, sums[3] / width));
        }
    return out;
}

// How far the filter's drawing reaches left of the square, in pixels.
int SpreadLeftOfSquare(const QImage &picture)
{
    int x = 10;
    while (x > 0 && qAlpha(picture.pixel(x - 1, 20)) > 0)
        --x;
    return 10 - x;
}

}  // namespace

TEST(Filter, BlurSpreadsTheEdgeBothWaysByItsScaledSize)
{
    Filter blur;
    blur.kind = Filter::Kind::Blur;
    blur.blurX = 4;
    blur.blurY = 4;
    QImage picture = Square();
    blur.apply(picture, 2.0);  // 8 device pixels: a 7 pixel box
    EXPECT_GT(qAlpha(picture.pixel(7, 20)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(2, 20)), 0);
    EXPECT_LT(qAlpha(picture.pixel(10, 20)), 255);
    EXPECT_EQ(qAlpha(picture.pixel(20, 20)), 255);
}

TEST(Filter, DropShadowLiesBehindTheObjectAtItsAngleAndDistance)
{
    Filter shadow;
    shadow.kind = Filter::Kind::DropShadow;
    shadow.colour = swf::Rgba{0, 0, 255, 255};
    shadow.distance = 5;
    shadow.angle = 0;  // to the right
    QImage picture = Square();
    shadow.apply(picture, 1.0);
    EXPECT_EQ(picture.pixel(20, 20), qRgba(255, 0, 0, 255));  // object on top
    EXPECT_EQ(picture.pixel(32, 20), qRgba(0, 0, 255, 255));  // shadow to the right
    EXPECT_EQ(qAlpha(picture.pixel(7, 20)), 0);                // nothing to the left

    shadow.knockout = true;
    picture = Square();
    shadow.apply(picture, 1.0);
    EXPECT_EQ(qAlpha(picture.pixel(20, 20)), 0);  // the object cut out
    EXPECT_EQ(picture.pixel(32, 20), qRgba(0, 0, 255, 255));
}

TEST(Filter, ColourMatrixMixesChannels)
{
    Filter matrix;
    matrix.kind = Filter::Kind::ColorMatrix;
    // Red goes to blue, alpha stays.
    matrix.matrix[2 * 5 + 0] = 1;
    matrix.matrix[3 * 5 + 3] = 1;
    QImage picture = Square();
    matrix.apply(picture, 1.0);
    EXPECT_EQ(picture.pixel(20, 20), qRgba(0, 0, 255, 255));
}

TEST(Filter, ListKeepsDrawnFiltersAndStepsOverTheOthers)
{
    swftest::BitWriter w;
    w.u8(4);                   // four filters
    w.u8(3);                   // bevel: not drawn
    w.bytes(QByteArray(27, '\0'));
    w.u8(1);                   // blur 2 x 3, one pass
    w.u32(2 << 16);
    w.u32(3 << 16);
    w.u8(1 << 3);
    w.u8(9);                   // unknown: ends the list
    w.u8(1);
    const QByteArray bytes = w.data();
    swf::SwfReader r(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    std::vector<Filter> filters;
    Filter::parseList(r, filters);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].kind, Filter::Kind::Blur);
    EXPECT_EQ(filters[0].blurX, 2.0f);
    EXPECT_EQ(filters[0].blurY, 3.0f);
    EXPECT_EQ(filters[0].passes, 1);
    EXPECT_TRUE(r.atEnd());
}

// The box is the largest odd width within the blur amount in device
// pixels and is centred on each pixel, so its edge ramp is symmetric.
TEST(Filter, BlurBoxIsTheLargestOddWidthWithinTheScaledAmount)
{
    struct Case {
        float amount;
        double scale;
        int box;
    };
    for (const Case c : {Case{1, 2.0, 1}, Case{2, 1.0, 1}, Case{2, 2.0, 3}, Case{2.5, 2.0, 5},
                         Case{3, 1.0, 3}, Case{6, 1.0, 5}, Case{0.5, 1.0, 1}}) {
        SCOPED_TRACE(testing::Message() << "blur " << c.amount << " at scale " << c.scale);
        QImage picture = Square();
        Blur(c.amount, 1).apply(picture, c.scale);
        const int radius = c.box / 2;
        for (int x = 0; x < 40; ++x) {
            const int covered = std::max(0, std::min(x + radius, 29) - std::max(x - radius, 10) + 1);
            EXPECT_EQ(qAlpha(picture.pixel(x, 20)), covered * 255 / c.box) << "at x " << x;
        }
    }
}

TEST(Filter, BlurEqualsRepeatedPlainBoxMeans)
{
    struct Case {
        float amountX, amountY;
        int passes;
        QSize size;
    };
    for (const Case c : {Case{3, 5, 2, {23, 17}}, Case{7, 1, 1, {12, 9}}, Case{1, 9, 3, {5, 31}},
                         Case{15, 15, 2, {6, 4}}}) {
        SCOPED_TRACE(testing::Message() << c.amountX << " x " << c.amountY << ", " << c.passes << " passes");
        QImage expected = Pattern(c.size.width(), c.size.height());
        QImage picture = expected;
        Blur(0, c.passes).apply(picture, 1.0);  // no blur at all
        EXPECT_EQ(picture, expected);
        Filter blur = Blur(c.amountX, c.passes);
        blur.blurY = c.amountY;
        blur.apply(picture, 1.0);
        for (int pass = 0; pass < c.passes; ++pass) {
            if (c.amountX > 1)
                expected = PlainBoxPass(expected, int(c.amountX), true);
            if (c.amountY > 1)
                expected = PlainBoxPass(expected, int(c.amountY), false);
        }
        EXPECT_EQ(picture, expected);
    }
}

// High quality blurs run more than three passes, each spreading further
// (the truncated means let the faintest tail fade); the reach the layer is
// grown by still covers all of it.
TEST(Filter, PassesBeyondThreeSpreadFurtherWithinTheFiltersReach)
{
    struct Case {
        Filter::Kind kind;
        int passes;
        int leastSpread;
    };
    for (const Case c : {Case{Filter::Kind::Blur, 1, 1}, Case{Filter::Kind::Blur, 3, 3},
                         Case{Filter::Kind::Blur, 5, 5}, Case{Filter::Kind::Glow, 7, 4},
                         Case{Filter::Kind::Blur, 31, 6}}) {
        SCOPED_TRACE(testing::Message() << c.passes << " passes");
        Filter filter = Blur(3, c.passes);
        filter.kind = c.kind;
        filter.colour = swf::Rgba{0, 0, 255, 255};
        QImage picture = Square();
        filter.apply(picture, 1.0);
        const int spread = SpreadLeftOfSquare(picture);
        EXPECT_GE(spread, c.leastSpread);
        EXPECT_LE(float(spread), filter.reach());
    }
}

// Coefficients near the float limit make the sums infinite or NaN; the
// channel still comes out as a defined byte.
TEST(Filter, ColourMatrixWithHugeCoefficientsStaysWithinTheByteRange)
{
    struct Case {
        float toRedFromRed, toRedFromGreen;
        int red;
    };
    for (const Case c : {Case{3e38f, 0, 255}, Case{-3e38f, 0, 0}, Case{3e38f, -3e38f, 0}, Case{2e9f, 0, 255}}) {
        SCOPED_TRACE(testing::Message() << c.toRedFromRed << ", " << c.toRedFromGreen);
        Filter matrix;
        matrix.kind = Filter::Kind::ColorMatrix;
        matrix.matrix[0] = c.toRedFromRed;
        matrix.matrix[1] = c.toRedFromGreen;
        matrix.matrix[3 * 5 + 3] = 1;
        QImage picture(2, 2, QImage::Format_ARGB32_Premultiplied);
        picture.fill(qRgba(255, 255, 255, 255));
        matrix.apply(picture, 1.0);
        EXPECT_EQ(picture.pixel(1, 1), qRgba(c.red, 0, 0, 255));
    }
}
