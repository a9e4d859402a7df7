#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "swf/movie.h"
#include "swfbuilder.h"

using swf::Rect;
using swf::Rgba;
using swftest::Placement;
using swftest::PlaceCharacter;
using swftest::SwfBuilder;

namespace {

const Rect kStage{0, 2000, 0, 2000};
constexpr uint16_t kRedId = 1, kBlueId = 2, kLeftId = 3, kTopId = 4, kSpriteId = 10, kOtherSpriteId = 11;

SwfBuilder Characters()
{
    SwfBuilder b(8, kStage, 12, 2);
    b.defineRectangle(kRedId, Rect{0, 2000, 0, 2000}, Rgba{255, 0, 0, 255});
    b.defineRectangle(kBlueId, Rect{0, 2000, 0, 2000}, Rgba{0, 0, 255, 255});
    b.defineRectangle(kLeftId, Rect{0, 1000, 0, 2000}, Rgba{0, 255, 0, 255});
    b.defineRectangle(kTopId, Rect{0, 2000, 0, 1000}, Rgba{0, 255, 0, 255});
    return b;
}

QImage Render(const SwfBuilder &b, int advances = 0)
{
    auto movie = swf::LoadMovieFromBytes(b.bytes());
    EXPECT_TRUE(movie);
    swf::MoviePlayer player(movie);
    for (int i = 0; i < advances; ++i)
        player.advance();
    return player.renderImage(QSize(100, 100), swf::Quality::Low);
}

// Pixels of the four quarters: top left, top right, bottom left, bottom right.
std::array<QRgb, 4> Quarters(const QImage &image)
{
    return {image.pixel(25, 25), image.pixel(75, 25), image.pixel(25, 75), image.pixel(75, 75)};
}

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

}  // namespace

TEST(DisplayRenderer, ClipLayerIsItselfClippedByAnEarlierOne)
{
    SwfBuilder b = Characters();
    Placement left = PlaceCharacter(1, kLeftId);
    left.clipDepth = 2;  // clips only the next clip layer
    Placement top = PlaceCharacter(2, kTopId);
    top.clipDepth = 3;
    b.placeObject2(left).placeObject2(top).placeObject2(PlaceCharacter(3, kRedId)).showFrame().end();
    const auto q = Quarters(Render(b));
    EXPECT_EQ(q, (std::array<QRgb, 4>{kRed, kWhite, kWhite, kWhite}));
}

TEST(DisplayRenderer, ObjectsBeyondTheClipDepthAreNotClipped)
{
    SwfBuilder b = Characters();
    Placement left = PlaceCharacter(1, kLeftId);
    left.clipDepth = 1;  // clips nothing
    b.placeObject2(left).placeObject2(PlaceCharacter(2, kBlueId)).showFrame().end();
    const auto q = Quarters(Render(b));
    EXPECT_EQ(q, (std::array<QRgb, 4>{kBlue, kBlue, kBlue, kBlue}));
}

TEST(DisplayRenderer, BlendModesComposeWithWhatLiesBelow)
{
    const struct {
        const char *name;
        int mode;
        QRgb expected;  // red below, blue blended over it
    } cases[] = {
        {"normal", 0, kBlue},
        {"layer", 2, kBlue},
        {"multiply", 3, qRgb(0, 0, 0)},
        {"screen", 4, qRgb(255, 0, 255)},
        {"add", 8, qRgb(255, 0, 255)},
        {"subtract", 9, qRgb(255, 0, 0)},
        {"invert", 10, qRgb(0, 255, 255)},
        {"alpha outside a layer draws nothing", 11, kRed},
        {"erase outside a layer draws nothing", 12, kRed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SwfBuilder b = Characters();
        Placement blue = PlaceCharacter(2, kBlueId);
        blue.blendMode = c.mode;
        b.placeObject2(PlaceCharacter(1, kRedId)).placeObject3(blue).showFrame().end();
        EXPECT_EQ(Render(b).pixel(50, 50), c.expected);
    }
}

TEST(DisplayRenderer, EraseCutsThroughItsLayerOnly)
{
    SwfBuilder sprite(8, kStage);
    Placement eraser = PlaceCharacter(2, kLeftId);
    eraser.blendMode = 12;
    sprite.placeObject2(PlaceCharacter(1, kBlueId)).placeObject3(eraser).showFrame();
    SwfBuilder b = Characters();
    b.defineSprite(kSpriteId, 1, sprite.tags());
    Placement layer = PlaceCharacter(2, kSpriteId);
    layer.blendMode = 2;
    b.placeObject2(PlaceCharacter(1, kRedId)).placeObject3(layer).showFrame().end();
    const auto q = Quarters(Render(b));
    EXPECT_EQ(q[0], kRed);   // the blue layer is erased on the left: red shows
    EXPECT_EQ(q[1], kBlue);
}

TEST(DisplayRenderer, OpaqueBackgroundFillsTheObjectBoxBelowIt)
{
    // Two green bars, a quarter of the width each, at the sprite's edges.
    SwfBuilder sprite(8, kStage);
    Placement bar = PlaceCharacter(1, kLeftId);
    bar.hasMatrix = true;
    bar.matrix.a = 0.5;
    sprite.placeObject2(bar);
    bar.depth = 2;
    bar.matrix.tx = 1500;
    sprite.placeObject2(bar).showFrame();
    SwfBuilder b = Characters();
    b.defineSprite(kSpriteId, 1, sprite.tags());
    Placement placed = PlaceCharacter(1, kSpriteId);
    placed.background = Rgba{0, 0, 255, 0};  // opaque whatever its alpha says
    b.placeObject3(placed).showFrame().end();
    const QImage image = Render(b);
    EXPECT_EQ(image.pixel(10, 50), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(50, 50), kBlue);
    EXPECT_EQ(image.pixel(90, 50), qRgb(0, 255, 0));
}

TEST(DisplayRenderer, OnlyDrawnCharactersAreReplacedInPlace)
{
    SwfBuilder redSprite(8, kStage), blueSprite(8, kStage);
    redSprite.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    blueSprite.placeObject2(PlaceCharacter(1, kBlueId)).showFrame();
    const struct {
        const char *name;
        int first, second;
        QRgb expected;
    } cases[] = {
        {"shape by shape", kRedId, kBlueId, kBlue},
        {"shape by sprite", kRedId, kOtherSpriteId, kRed},
        {"sprite by shape", kSpriteId, kBlueId, kRed},
        {"sprite by sprite", kSpriteId, kOtherSpriteId, kRed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SwfBuilder b = Characters();
        b.defineSprite(kSpriteId, 1, redSprite.tags()).defineSprite(kOtherSpriteId, 1, blueSprite.tags());
        b.placeObject2(PlaceCharacter(1, c.first)).showFrame();
        Placement replace = PlaceCharacter(1, c.second);
        replace.move = true;
        b.placeObject2(replace).showFrame().end();
        EXPECT_EQ(Render(b, 1).pixel(50, 50), c.expected);
    }
}

TEST(DisplayRenderer, DrawsOnlyIntoTheTargetOfATransformedPainter)
{
    SwfBuilder b = Characters();
    Placement mask = PlaceCharacter(1, kLeftId);
    mask.clipDepth = 2;
    Placement blue = PlaceCharacter(3, kBlueId);
    blue.blendMode = 2;
    blue.hasMatrix = true;
    blue.matrix.ty = 1000;  // bottom half
    b.placeObject2(mask).placeObject2(PlaceCharacter(2, kRedId)).placeObject3(blue).showFrame().end();
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()));
    QImage image(300, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setClipRect(QRect(0, 0, 250, 100));
        painter.translate(100, 0);
        player.render(painter, QRect(0, 0, 100, 100), swf::Quality::High);
    }
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(image.pixel(50, 50), black);
    EXPECT_EQ(image.pixel(125, 25), kRed);
    EXPECT_EQ(image.pixel(175, 25), kWhite);
    EXPECT_EQ(image.pixel(125, 75), kBlue);
    EXPECT_EQ(image.pixel(175, 75), kBlue);
    EXPECT_EQ(image.pixel(275, 50), black);
}

// A hostile frame can stack any number of filtered objects: the render
// spends a bounded amount on layers and filters, after which the objects
// are still drawn, only sharp.
TEST(DisplayRenderer, FiltersBeyondTheFramesBudgetAreLeftOutButObjectsStayDrawn)
{
    constexpr int kSquares = 40;
    constexpr uint16_t kSquareId = 20;
    SwfBuilder b = Characters();
    b.defineRectangle(kSquareId, Rect{0, 200, 0, 200}, Rgba{0, 0, 255, 255});
    // One blur of 64 pixels, three passes: each layer covers the stage.
    const QByteArray wideBlur = QByteArray::fromHex("01" "01" "00004000" "00004000" "18");
    for (int i = 0; i < kSquares; ++i) {
        Placement square = PlaceCharacter(uint16_t(i + 1), kSquareId);
        square.hasMatrix = true;
        square.matrix.tx = (i % 10) * 200;
        square.matrix.ty = (i / 10) * 500;
        square.filterList = wideBlur;
        b.placeObject3(square);
    }
    b.showFrame().end();
    const QImage image = Render(b);
    auto centre = [&](int i) { return image.pixel((i % 10) * 10 + 5, (i / 10) * 25 + 5); };
    EXPECT_NE(centre(0), kBlue) << "the first square is blurred";
    for (int i = kSquares - 10; i < kSquares; ++i)
        EXPECT_EQ(centre(i), kBlue) << "square " << i << " is drawn sharp";
}
