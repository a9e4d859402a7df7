#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "swf/render/filterpainter.h"
#include "swfbuilder.h"

using swf::ApplyFilter;
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
    ApplyFilter(blur, picture, 2.0);  // 8 device pixels: a 7 pixel box
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
    ApplyFilter(shadow, picture, 1.0);
    EXPECT_EQ(picture.pixel(20, 20), qRgba(255, 0, 0, 255));  // object on top
    EXPECT_EQ(picture.pixel(32, 20), qRgba(0, 0, 255, 255));  // shadow to the right
    EXPECT_EQ(qAlpha(picture.pixel(7, 20)), 0);                // nothing to the left

    shadow.knockout = true;
    picture = Square();
    ApplyFilter(shadow, picture, 1.0);
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
    ApplyFilter(matrix, picture, 1.0);
    EXPECT_EQ(picture.pixel(20, 20), qRgba(0, 0, 255, 255));
}

void WriteFloat(swftest::BitWriter &w, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    w.u32(bits);
}

std::vector<Filter> ParseList(const QByteArray &bytes, bool *atEnd = nullptr)
{
    swf::SwfReader r(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    std::vector<Filter> filters;
    Filter::parseList(r, filters);
    if (atEnd)
        *atEnd = r.atEnd();
    return filters;
}

TEST(Filter, ListReadsEveryKnownKindAndStopsAtAnUnknownOne)
{
    swftest::BitWriter w;
    w.u8(6);
    w.u8(3);  // bevel: lit colour first, then the dark one
    w.rgba(swf::Rgba{255, 0, 0, 255});
    w.rgba(swf::Rgba{0, 0, 255, 128});
    w.u32(4 << 16);
    w.u32(5 << 16);
    w.u32(0);
    w.u32(3 << 16);
    w.u16(2 << 8);     // strength 2
    w.u8(0x90 | 3);  // inner, on top, three passes
    w.u8(4);         // gradient glow with two stops
    w.u8(2);
    w.rgba(swf::Rgba{0, 0, 0, 0});
    w.rgba(swf::Rgba{0, 255, 0, 255});
    w.u8(0);
    w.u8(255);
    w.bytes(QByteArray(18, '\0'));
    w.u8(0x21);
    w.u8(5);  // convolution, 2 by 1
    w.u8(2);
    w.u8(1);
    WriteFloat(w, 2);
    WriteFloat(w, 1);
    WriteFloat(w, 0.5f);
    WriteFloat(w, -1);
    w.rgba(swf::Rgba{1, 2, 3, 4});
    w.u8(0x02);  // clamp, alpha convolved too
    w.u8(1);     // blur 2 x 3, one pass
    w.u32(2 << 16);
    w.u32(3 << 16);
    w.u8(1 << 3);
    w.u8(9);  // unknown: ends the list
    w.u8(1);
    bool atEnd = false;
    const std::vector<Filter> filters = ParseList(w.data(), &atEnd);
    EXPECT_TRUE(atEnd);
    ASSERT_EQ(filters.size(), 4u);

    const Filter &bevel = filters[0];
    EXPECT_EQ(bevel.kind, Filter::Kind::Bevel);
    EXPECT_EQ(bevel.highlight, (swf::Rgba{255, 0, 0, 255}));
    EXPECT_EQ(bevel.colour, (swf::Rgba{0, 0, 255, 128}));
    EXPECT_EQ(bevel.blurY, 5.0f);
    EXPECT_EQ(bevel.distance, 3.0f);
    EXPECT_EQ(bevel.strength, 2.0f);
    EXPECT_TRUE(bevel.inner && bevel.onTop);
    EXPECT_FALSE(bevel.knockout || bevel.compositeSource);
    EXPECT_EQ(bevel.passes, 3);

    const Filter &glow = filters[1];
    EXPECT_EQ(glow.kind, Filter::Kind::GradientGlow);
    ASSERT_EQ(glow.gradient.size(), 2u);
    EXPECT_EQ(glow.gradient[1].colour, (swf::Rgba{0, 255, 0, 255}));
    EXPECT_EQ(glow.gradient[1].ratio, 255);
    EXPECT_TRUE(glow.compositeSource);
    EXPECT_EQ(glow.passes, 1);

    const Filter &convolution = filters[2];
    EXPECT_EQ(convolution.kind, Filter::Kind::Convolution);
    EXPECT_EQ(convolution.kernelColumns, 2);
    EXPECT_EQ(convolution.kernelRows, 1);
    EXPECT_EQ(convolution.divisor, 2.0f);
    EXPECT_EQ(convolution.bias, 1.0f);
    EXPECT_EQ(convolution.kernel, (std::vector<float>{0.5f, -1}));
    EXPECT_EQ(convolution.edgeColour, (swf::Rgba{1, 2, 3, 4}));
    EXPECT_TRUE(convolution.clampEdges);
    EXPECT_FALSE(convolution.preserveAlpha);

    EXPECT_EQ(filters[3].kind, Filter::Kind::Blur);
    EXPECT_EQ(filters[3].blurY, 3.0f);
}

// A kernel size larger than what is left of the record is not allocated.
TEST(Filter, ConvolutionClaimingMoreCellsThanTheRecordHoldsIsDropped)
{
    swftest::BitWriter w;
    w.u8(1);
    w.u8(5);
    w.u8(255);
    w.u8(255);
    WriteFloat(w, 1);
    WriteFloat(w, 0);
    WriteFloat(w, 1);
    EXPECT_TRUE(ParseList(w.data()).empty());
}

Filter Bevel(bool inner, bool knockout, bool onTop)
{
    Filter bevel;
    bevel.kind = Filter::Kind::Bevel;
    bevel.highlight = swf::Rgba{255, 255, 255, 255};
    bevel.colour = swf::Rgba{0, 0, 0, 255};
    bevel.angle = float(M_PI / 4);  // light from the top left
    bevel.distance = 2;
    bevel.inner = inner;
    bevel.knockout = knockout;
    bevel.onTop = onTop;
    return bevel;
}

// The lit colour lines the edges facing the light, the dark one the edges
// facing away; inner, outer and full bevels keep to their side of the edge.
TEST(Filter, BevelLightsTheEdgesFacingTheLightInsideOutsideOrBoth)
{
    constexpr QRgb kWhite = qRgba(255, 255, 255, 255), kBlack = qRgba(0, 0, 0, 255),
                   kRed = qRgba(255, 0, 0, 255), kNone = 0;
    struct Case {
        const char *name;
        bool inner, knockout, onTop;
        QRgb topLeftInside, bottomRightInside, topLeftOutside, bottomRightOutside, middle;
    };
    for (const Case c : {Case{"inner", true, false, false, kWhite, kBlack, kNone, kNone, kRed},
                         Case{"inner knockout", true, true, false, kWhite, kBlack, kNone, kNone, kNone},
                         Case{"outer", false, false, false, kRed, kRed, kWhite, kBlack, kRed},
                         Case{"outer knockout", false, true, false, kNone, kNone, kWhite, kBlack, kNone},
                         Case{"full", false, false, true, kWhite, kBlack, kWhite, kBlack, kRed}}) {
        SCOPED_TRACE(c.name);
        QImage picture = Square();
        ApplyFilter(Bevel(c.inner, c.knockout, c.onTop), picture, 1.0);
        EXPECT_EQ(picture.pixel(10, 10), c.topLeftInside);
        EXPECT_EQ(picture.pixel(29, 29), c.bottomRightInside);
        EXPECT_EQ(picture.pixel(9, 9), c.topLeftOutside);
        EXPECT_EQ(picture.pixel(30, 30), c.bottomRightOutside);
        EXPECT_EQ(picture.pixel(20, 20), c.middle);
    }
}

TEST(Filter, GradientBevelRunsFromTheLitColourToTheDarkOne)
{
    Filter bevel = Bevel(true, false, false);
    bevel.kind = Filter::Kind::GradientBevel;
    bevel.gradient = {Filter::Stop{swf::Rgba{0, 255, 0, 255}, 0}, Filter::Stop{swf::Rgba{0, 0, 0, 0}, 128},
                      Filter::Stop{swf::Rgba{0, 0, 255, 255}, 255}};
    QImage picture = Square();
    ApplyFilter(bevel, picture, 1.0);
    EXPECT_EQ(picture.pixel(10, 10), qRgba(0, 255, 0, 255));
    EXPECT_EQ(picture.pixel(29, 29), qRgba(0, 0, 255, 255));
    EXPECT_EQ(qRed(picture.pixel(20, 20)), 255);  // the flat middle is left alone
}

// The blurred coverage picks the colour: faint coverage takes the low
// stops, nothing at all the first one.
TEST(Filter, GradientGlowColoursTheBlurredEdgeByItsStrength)
{
    Filter glow = Blur(6, 1);
    glow.kind = Filter::Kind::GradientGlow;
    glow.gradient = {Filter::Stop{swf::Rgba{0, 0, 0, 0}, 0}, Filter::Stop{swf::Rgba{0, 0, 255, 255}, 128},
                     Filter::Stop{swf::Rgba{0, 255, 0, 255}, 255}};
    QImage picture = Square();
    ApplyFilter(glow, picture, 1.0);
    const QRgb nearEdge = picture.pixel(9, 20);
    EXPECT_GT(qBlue(nearEdge), 150);
    EXPECT_EQ(qGreen(nearEdge), 0);
    EXPECT_EQ(picture.pixel(0, 20), 0u);
    EXPECT_EQ(picture.pixel(20, 20), qRgba(255, 0, 0, 255));
}

// A kernel taking each pixel's right neighbour moves the picture one pixel
// left; beyond the right edge lies the edge pixel or the edge colour.
TEST(Filter, ConvolutionWeighsNeighboursAndFillsBeyondTheEdge)
{
    struct Case {
        bool clampEdges;
        float divisor;
        QRgb insideLeftOfSquare, lastColumn;
    };
    for (const Case c : {Case{true, 1, qRgba(255, 0, 0, 255), 0}, Case{false, 1, qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 255)},
                         Case{true, 2, qPremultiply(qRgba(127, 0, 0, 127)), 0}}) {
        SCOPED_TRACE(testing::Message() << "clamp " << c.clampEdges << ", divisor " << c.divisor);
        Filter convolution;
        convolution.kind = Filter::Kind::Convolution;
        convolution.kernelColumns = 3;
        convolution.kernelRows = 3;
        convolution.kernel = {0, 0, 0, 0, 0, 1, 0, 0, 0};
        convolution.divisor = c.divisor;
        convolution.clampEdges = c.clampEdges;
        convolution.preserveAlpha = false;
        convolution.edgeColour = swf::Rgba{0, 0, 255, 255};
        QImage picture = Square();
        ApplyFilter(convolution, picture, 1.0);
        EXPECT_EQ(picture.pixel(9, 20), c.insideLeftOfSquare);
        EXPECT_EQ(qAlpha(picture.pixel(29, 20)), 0);
        EXPECT_EQ(picture.pixel(39, 20), c.lastColumn);
    }
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
        ApplyFilter(Blur(c.amount, 1), picture, c.scale);
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
        ApplyFilter(Blur(0, c.passes), picture, 1.0);  // no blur at all
        EXPECT_EQ(picture, expected);
        Filter blur = Blur(c.amountX, c.passes);
        blur.blurY = c.amountY;
        ApplyFilter(blur, picture, 1.0);
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
        ApplyFilter(filter, picture, 1.0);
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
        ApplyFilter(matrix, picture, 1.0);
        EXPECT_EQ(picture.pixel(1, 1), qRgba(c.red, 0, 0, 255));
    }
}

namespace {

// A shadow, glow or bevel of each kind around the square, drawn outside it
// with the square kept on top, at strength `strength`.
Filter OuterShade(Filter::Kind kind, float strength)
{
    Filter shade = Blur(4, 1);
    shade.kind = kind;
    shade.colour = swf::Rgba{0, 0, 255, 255};
    shade.highlight = swf::Rgba{0, 255, 0, 255};
    shade.gradient = {Filter::Stop{swf::Rgba{0, 0, 255, 255}, 0}, Filter::Stop{swf::Rgba{0, 255, 0, 255}, 255}};
    shade.angle = float(M_PI / 4);
    shade.distance = 2;
    shade.strength = strength;
    return shade;
}

constexpr Filter::Kind kShadeKinds[] = {Filter::Kind::DropShadow, Filter::Kind::Glow, Filter::Kind::GradientGlow,
                                        Filter::Kind::Bevel, Filter::Kind::GradientBevel};

}  // namespace

// A strength below zero or far beyond what a file holds never picks a
// colour outside the shade's table (the sanitizers catch a stray read); a
// shadow or glow with no strength left draws nothing.
TEST(Filter, AnyStrengthPicksAShadeColourFromTheTable)
{
    const float strengths[] = {-128, -1, 1e30f, -1e30f, std::nanf("")};
    for (Filter::Kind kind : kShadeKinds)
        for (float strength : strengths) {
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << ", strength " << strength);
            QImage picture = Square();
            ApplyFilter(OuterShade(kind, strength), picture, 1.0);
            EXPECT_EQ(picture.pixel(20, 20), qRgba(255, 0, 0, 255));
            const bool glowOrShadow = kind == Filter::Kind::DropShadow || kind == Filter::Kind::Glow;
            if (glowOrShadow && !(strength > 0)) {
                EXPECT_EQ(picture, Square());
            }
        }
}

// A distance that pushes the shade far beyond the picture, at any scale,
// leaves only the object.
TEST(Filter, AShadeBeyondThePictureLeavesTheObjectAlone)
{
    const float distances[] = {32767, -32768, 1e30f};
    for (Filter::Kind kind : {Filter::Kind::DropShadow, Filter::Kind::Bevel, Filter::Kind::GradientBevel})
        for (float distance : distances)
            for (double scale : {1.0, 1e6}) {
                SCOPED_TRACE(testing::Message() << "kind " << int(kind) << ", distance " << distance << ", scale " << scale);
                Filter shade = OuterShade(kind, 1);
                shade.blurX = shade.blurY = 0;
                shade.distance = distance;
                shade.gradient.insert(shade.gradient.begin() + 1, Filter::Stop{swf::Rgba{0, 0, 0, 0}, 128});
                QImage picture = Square();
                ApplyFilter(shade, picture, scale);
                EXPECT_EQ(picture, Square());
            }
}

// A hand-made convolution whose kernel does not hold rows times columns
// weights is not drawn, rather than read past its weights.
TEST(Filter, AConvolutionWhoseKernelDoesNotFitItsSizeLeavesThePicture)
{
    struct Case {
        int columns, rows;
        size_t weights;
    };
    for (const Case c : {Case{3, 3, 4}, Case{-1, -1, 1}, Case{0, 5, 1}, Case{2, 2, 9}}) {
        SCOPED_TRACE(testing::Message() << c.columns << " by " << c.rows << " with " << c.weights << " weights");
        Filter convolution;
        convolution.kind = Filter::Kind::Convolution;
        convolution.kernelColumns = c.columns;
        convolution.kernelRows = c.rows;
        convolution.kernel.assign(c.weights, 1);
        QImage picture = Square();
        ApplyFilter(convolution, picture, 1.0);
        EXPECT_EQ(picture, Square());
    }
}

// A displacement map moves each pixel by its channel's distance from 128;
// a read beyond the picture wraps, clamps, stays put or takes the colour.
TEST(Filter, DisplacementReadsBeyondTheEdgeAsItsModeSays)
{
    QImage row(4, 1, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 4; ++x)
        row.setPixel(x, 0, qRgba(x * 10, 0, 0, 255));
    auto map = std::make_shared<swf::BitmapSurface>();
    map->pixels = QImage(4, 1, QImage::Format_ARGB32_Premultiplied);
    map->pixels.fill(qRgba(129, 128, 128, 255));  // red 129: one pixel to the right at scale 256
    Filter displace;
    displace.kind = Filter::Kind::DisplacementMap;
    displace.map = map;
    displace.componentX = 1;
    displace.componentY = 2;
    displace.scaleX = 256;
    displace.edgeColour = {0, 0, 255, 255};
    const struct {
        Filter::Edge edge;
        QRgb last;
    } cases[] = {
        {Filter::Edge::Wrap, qRgba(0, 0, 0, 255)},
        {Filter::Edge::Clamp, qRgba(30, 0, 0, 255)},
        {Filter::Edge::Ignore, qRgba(30, 0, 0, 255)},
        {Filter::Edge::Colour, qRgba(0, 0, 255, 255)},
    };
    for (const auto &c : cases) {
        QImage picture = row.copy();
        displace.edge = c.edge;
        ApplyFilter(displace, picture, 1.0);
        EXPECT_EQ(picture.pixel(0, 0), qRgba(10, 0, 0, 255)) << int(c.edge);
        EXPECT_EQ(picture.pixel(3, 0), c.last) << int(c.edge);
    }
    map->pixels = QImage();  // a disposed map leaves the picture alone
    QImage picture = row.copy();
    ApplyFilter(displace, picture, 1.0);
    EXPECT_EQ(picture, row);
}
