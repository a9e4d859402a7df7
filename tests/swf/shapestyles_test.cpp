#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "shapetestbits.h"
#include "swf/characters/bitmap.h"

using namespace shapetest;
using swf::Dictionary;

namespace {

constexpr double kGradientSquare = 32768.0;

// A DefineShape3 (or 4) 100-pixel square whose one fill style is written by
// `writeFill`, and with one line style written by `writeLine` when given.
QByteArray StyledSquare(const std::function<void(BitWriter &)> &writeFill,
                        const std::function<void(BitWriter &)> &writeLine = nullptr, int version = 3)
{
    BitWriter w;
    w.u16(1);
    w.rect(0, 2000, 0, 2000);
    if (version == 4) {
        w.rect(0, 2000, 0, 2000);
        w.u8(0);
    }
    w.u8(writeFill ? 1 : 0);
    if (writeFill)
        writeFill(w);
    w.u8(writeLine ? 1 : 0);
    if (writeLine)
        writeLine(w);
    RecordWriter r(w);
    r.bitCounts();
    if (writeFill) {
        r.moveTo(0, 0, 0, 1);
        r.lineBy(2000, 0);
        r.lineBy(0, 2000);
        r.lineBy(-2000, 0);
        r.lineBy(0, -2000);
    }
    if (writeLine) {
        r.moveTo(400, 1000, 0, 0, 1);
        r.lineBy(1200, 0);
    }
    r.end();
    return w.bytes();
}

const swf::Character &LoadShape(Dictionary &dictionary, const QByteArray &body, int version = 3)
{
    Define(swf::DefineShapeTag, version == 4 ? 83 : 32, body, dictionary);
    const swf::Character *shape = dictionary.find(1);
    EXPECT_NE(shape, nullptr);
    return *shape;
}

void ExpectNear(const QColor &actual, const QColor &expected, int tolerance, const char *where)
{
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << where;
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << where;
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << where;
}

// Red at ratio 0 to blue at 255 across `span` twips centred at x = 1000.
std::function<void(BitWriter &)> RedToBlue(uint8_t type, unsigned spread, double span, unsigned interpolation = 0)
{
    return [=](BitWriter &w) {
        w.u8(type);
        const double scale = span / kGradientSquare;
        w.matrix(scale, scale, 1000, 1000);
        w.ub(spread, 2);
        w.ub(interpolation, 2);
        w.ub(2, 4);
        w.u8(0);
        w.rgba(0xff0000);
        w.u8(255);
        w.rgba(0x0000ff);
    };
}

struct GradientCase {
    const char *name;
    uint8_t type;
    unsigned spread;
    double span;
    int x;
    int y;
    QColor expected;
};

class GradientColours : public ::testing::TestWithParam<GradientCase> {};

TEST_P(GradientColours, MapTheGradientSquareThroughTheFillMatrix)
{
    const GradientCase &c = GetParam();
    Dictionary dictionary;
    const QImage image = Render(LoadShape(dictionary, StyledSquare(RedToBlue(c.type, c.spread, c.span))), 100, 100);
    ExpectNear(image.pixelColor(c.x, c.y), c.expected, 8, c.name);
}

// Linear: 2000 twips span the square; 1000 twips leave 25 pixels of padding
// on each side. Pixel x covers gradient position (x + 0.5 - 25) / 50 then.
INSTANTIATE_TEST_SUITE_P(
    Shape, GradientColours,
    ::testing::Values(GradientCase{"LinearLeft", 0x10, 0, 2000, 0, 50, QColor(255, 0, 0)},
                      GradientCase{"LinearMiddle", 0x10, 0, 2000, 50, 50, QColor(126, 0, 129)},
                      GradientCase{"LinearRight", 0x10, 0, 2000, 99, 50, QColor(0, 0, 255)},
                      GradientCase{"PadBeyondTheEnd", 0x10, 0, 1000, 95, 50, QColor(0, 0, 255)},
                      GradientCase{"RepeatBeyondTheEnd", 0x10, 2, 1000, 95, 50, QColor(153, 0, 102)},
                      GradientCase{"ReflectBeyondTheEnd", 0x10, 1, 1000, 95, 50, QColor(102, 0, 153)},
                      GradientCase{"RadialCentre", 0x12, 0, 2000, 50, 50, QColor(255, 0, 0)},
                      GradientCase{"RadialHalfway", 0x12, 0, 2000, 75, 50, QColor(128, 0, 127)},
                      GradientCase{"RadialCorner", 0x12, 0, 2000, 99, 99, QColor(0, 0, 255)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ShapeGradient, LinearLightBlendIsBrighterHalfway)
{
    Dictionary dictionary;
    const QImage image = Render(LoadShape(dictionary, StyledSquare(RedToBlue(0x10, 0, 2000, 1))), 100, 100);
    // Half red, half blue in linear light is about 188 of each in sRGB.
    ExpectNear(image.pixelColor(50, 50), QColor(186, 0, 190), 10, "middle");
}

TEST(ShapeGradient, FadingStopKeepsItsColour)
{
    Dictionary dictionary;
    auto redToClearGreen = [](BitWriter &w) {
        w.u8(0x10);
        const double scale = 2000 / kGradientSquare;
        w.matrix(scale, scale, 1000, 1000);
        w.u8(2);
        w.u8(0);
        w.rgba(0xff0000);
        w.u8(255);
        w.rgba(0x00ff00, 0);
    };
    const QImage image = Render(LoadShape(dictionary, StyledSquare(redToClearGreen)), 100, 100);
    // Halfway: half-opaque olive over white, not half-opaque red.
    ExpectNear(image.pixelColor(50, 50), QColor(191, 191, 128), 12, "middle");
}

TEST(ShapeGradient, FocalPointMovesTheStartColour)
{
    Dictionary dictionary;
    auto focal = [](BitWriter &w) {
        RedToBlue(0x13, 0, 2000)(w);
        w.u16(0x00c0);  // focal point 0.75 (8.8 fixed)
    };
    const QImage image = Render(LoadShape(dictionary, StyledSquare(focal, nullptr, 4), 4), 100, 100);
    ExpectNear(image.pixelColor(87, 50), QColor(255, 0, 0), 24, "at the focal point");
    EXPECT_GT(image.pixelColor(20, 50).blue(), 100);
}

TEST(ShapeGradient, ColourTransformAppliesToTheStops)
{
    Dictionary dictionary;
    swf::ColorTransform cx;
    cx.mult[2] = 0;
    cx.add[1] = 255;
    const QImage image =
        Render(LoadShape(dictionary, StyledSquare(RedToBlue(0x10, 0, 2000))), 100, 100, swf::Quality::Low, cx);
    ExpectNear(image.pixelColor(0, 50), QColor(255, 255, 0), 8, "left");
    ExpectNear(image.pixelColor(99, 50), QColor(0, 255, 0), 8, "right");
}

// A 2x2 bitmap (red, green / blue, white) scaled to 2 pixels per bitmap pixel.
std::shared_ptr<swf::BitmapCharacter> Checker()
{
    QImage image(2, 2, QImage::Format_ARGB32_Premultiplied);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 255, 255));
    return std::make_shared<swf::BitmapCharacter>(7, image);
}

std::function<void(BitWriter &)> BitmapFill(uint8_t type, uint16_t bitmapId)
{
    return [=](BitWriter &w) {
        w.u8(type);
        w.u16(bitmapId);
        w.matrix(40, 40);
    };
}

TEST(ShapeBitmapFill, RepeatsTheBitmapThroughTheFillMatrix)
{
    Dictionary dictionary;
    dictionary.add(Checker());
    const swf::Character &shape = LoadShape(dictionary, StyledSquare(BitmapFill(0x42, 7)));
    const QImage image = Render(shape, 100, 100, swf::Quality::Low, {}, 0, &dictionary);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(3, 1), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(1, 2), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(3, 3), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(41, 44), QColor(255, 0, 0));  // tiled on
}

TEST(ShapeBitmapFill, ColourTransformRecoloursTheBitmap)
{
    Dictionary dictionary;
    dictionary.add(Checker());
    swf::ColorTransform cx;
    cx.mult[0] = 0;
    cx.add[2] = 255;
    const swf::Character &shape = LoadShape(dictionary, StyledSquare(BitmapFill(0x43, 7)));
    for (int pass = 0; pass < 2; ++pass) {  // the second one comes from the cache
        const QImage image = Render(shape, 100, 100, swf::Quality::Low, cx, 0, &dictionary);
        EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 255));
        EXPECT_EQ(image.pixelColor(3, 1), QColor(0, 255, 255));
    }
}

TEST(ShapeBitmapFill, MissingBitmapDrawsNothing)
{
    Dictionary dictionary;
    const swf::Character &shape = LoadShape(dictionary, StyledSquare(BitmapFill(0x40, 99)));
    const QImage image = Render(shape, 100, 100, swf::Quality::High, {}, 0, &dictionary);
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
}

struct CapCase {
    const char *name;
    unsigned cap;
    bool paintedBeyondTheEnd;
};

class LineCaps : public ::testing::TestWithParam<CapCase> {};

// A 10-pixel line from x = 20 to x = 80 pixels at y = 50.
TEST_P(LineCaps, DecideWhatIsDrawnPastTheEnds)
{
    const CapCase &c = GetParam();
    auto line = [&](BitWriter &w) {
        w.u16(200);
        w.ub(c.cap, 2);  // start cap
        w.ub(0, 2);      // round join
        w.ub(0, 4);      // no fill, scaled both ways, no hinting
        w.ub(0, 5);
        w.ub(0, 1);
        w.ub(c.cap, 2);  // end cap
        w.rgba(0x0000ff);
    };
    Dictionary dictionary;
    const QImage image = Render(LoadShape(dictionary, StyledSquare(nullptr, line, 4), 4), 100, 100);
    EXPECT_EQ(image.pixelColor(50, 46), QColor(Qt::blue)) << c.name;
    EXPECT_EQ(image.pixelColor(50, 56), QColor(Qt::white)) << c.name;
    const QColor beyond = image.pixelColor(17, 47);
    EXPECT_EQ(beyond == QColor(Qt::blue), c.paintedBeyondTheEnd) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Shape, LineCaps,
                         ::testing::Values(CapCase{"Round", 0, true}, CapCase{"None", 1, false},
                                           CapCase{"Square", 2, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ShapeLine, LineFilledWithAGradient)
{
    auto line = [](BitWriter &w) {
        w.u16(200);
        w.ub(0, 2);
        w.ub(0, 2);
        w.ub(1, 1);  // has fill
        w.ub(0, 3);
        w.ub(0, 5);
        w.ub(0, 1);
        w.ub(0, 2);
        RedToBlue(0x10, 0, 2000)(w);
    };
    Dictionary dictionary;
    const QImage image = Render(LoadShape(dictionary, StyledSquare(nullptr, line, 4), 4), 100, 100);
    EXPECT_GT(image.pixelColor(22, 50).red(), 180);
    EXPECT_GT(image.pixelColor(78, 50).blue(), 180);
}

}  // namespace
