#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "shapetestbits.h"
#include "swf/characters/morphshapecharacter.h"

using namespace shapetest;
using swf::Dictionary;

namespace {

void Square(RecordWriter &r, int32_t x, int32_t size, bool withStyles)
{
    if (withStyles)
        r.moveTo(x, 0, 0, 1, 0);
    else
        r.moveTo(x, 0);
    r.lineBy(size, 0);
    r.lineBy(0, size);
    r.lineBy(-size, 0);
    r.lineBy(0, -size);
}

// A red 20-pixel square at x = 0 that becomes a blue one at x = 20 pixels.
QByteArray MovingSquare()
{
    BitWriter start;
    RecordWriter startRecords(start, 1, 0);
    startRecords.bitCounts();
    Square(startRecords, 0, 400, true);
    startRecords.end();

    BitWriter end;
    RecordWriter endRecords(end, 0, 0);
    endRecords.bitCounts();
    Square(endRecords, 400, 400, false);
    endRecords.end();

    BitWriter styles;
    styles.u8(1);
    styles.u8(0x00);
    styles.rgba(0xff0000);
    styles.rgba(0x0000ff);
    styles.u8(0);

    BitWriter w;
    w.u16(1);
    w.rect(0, 400, 0, 400);
    w.rect(400, 800, 0, 400);
    w.u32(static_cast<uint32_t>(styles.bytes().size() + start.bytes().size()));
    w.append(styles.bytes());
    w.append(start.bytes());
    w.append(end.bytes());
    return w.bytes();
}

struct RatioCase {
    uint16_t ratio;
    int paintedX;
    QColor colour;
    int emptyX;
};

class MorphRatio : public ::testing::TestWithParam<RatioCase> {};

TEST_P(MorphRatio, DrawsTheShapeInterpolatedAtTheRatio)
{
    const RatioCase &c = GetParam();
    Dictionary dictionary;
    Define(swf::DefineMorphShapeTag, 46, MovingSquare(), dictionary);
    const swf::Character *morph = dictionary.find(1);
    ASSERT_NE(morph, nullptr);
    for (int pass = 0; pass < 2; ++pass) {  // the second draw reuses the cached paths
        const QImage image = Render(*morph, 50, 30, swf::Quality::Low, {}, c.ratio);
        const QColor painted = image.pixelColor(c.paintedX, 10);
        EXPECT_NEAR(painted.red(), c.colour.red(), 2) << c.ratio;
        EXPECT_NEAR(painted.blue(), c.colour.blue(), 2) << c.ratio;
        EXPECT_EQ(image.pixelColor(c.emptyX, 10), QColor(Qt::white)) << c.ratio;
    }
    EXPECT_TRUE(morph->outline(c.ratio).contains(QPointF(c.paintedX * 20 + 10, 200)));
}

INSTANTIATE_TEST_SUITE_P(Shape, MorphRatio,
                         ::testing::Values(RatioCase{0, 10, QColor(255, 0, 0), 25},
                                           RatioCase{32768, 20, QColor(127, 0, 128), 5},
                                           RatioCase{65535, 30, QColor(0, 0, 255), 15}));

TEST(MorphShape, BoundsCoverStartAndEnd)
{
    Dictionary dictionary;
    Define(swf::DefineMorphShapeTag, 46, MovingSquare(), dictionary);
    const swf::Rect bounds = dictionary.find(1)->bounds();
    EXPECT_EQ(bounds.xMin, 0);
    EXPECT_EQ(bounds.xMax, 800);
}

// A shape with every kind of record: solid, gradient and bitmap fills,
// lines, curves, a new-styles block.
QByteArray RichShape()
{
    BitWriter w;
    w.u16(1);
    w.rect(0, 2000, 0, 2000);
    w.u8(3);
    w.u8(0x00);
    w.rgba(0x336699);
    w.u8(0x12);
    w.matrix(0.05, 0.05, 1000, 1000);
    w.u8(0x02);
    w.u8(0);
    w.rgba(0xff0000);
    w.u8(255);
    w.rgba(0x00ff00);
    w.u8(0x41);
    w.u16(3);
    w.matrix(20, 20);
    w.u8(1);
    w.u16(40);
    w.rgba(0x000000);
    RecordWriter r(w);
    r.bitCounts();
    r.moveTo(0, 0, 2, 1, 1);
    r.lineBy(1000, 0);
    r.curveBy(500, 0, 0, 1000);
    r.style(3, 1);
    r.lineBy(-1500, 0);
    r.newStyles([&] {
        w.u8(1);
        w.u8(0x00);
        w.rgba(0x00ff00, 128);
        w.u8(0);
    });
    r.moveTo(100, 100, 0, 1);
    r.lineBy(300, 300);
    r.lineBy(-300, 0);
    r.lineBy(0, -300);
    r.end();
    return w.bytes();
}

void LoadAndDraw(const std::function<void(swf::Tag, swf::DefineContext &)> &handler, uint16_t code,
                 const QByteArray &body)
{
    Dictionary dictionary;
    Define(handler, code, body, dictionary);
    if (const swf::Character *character = dictionary.find(1)) {
        Render(*character, 20, 20, swf::Quality::High, {}, 30000, &dictionary);
        character->outline(30000);
    }
}

TEST(ShapeRobustness, EveryPrefixOfAShapeLoadsAndDraws)
{
    const QByteArray body = RichShape();
    for (int length = 0; length <= body.size(); ++length)
        LoadAndDraw(swf::DefineShapeTag, 32, body.left(length));
}

TEST(ShapeRobustness, EveryPrefixOfAMorphShapeLoadsAndDraws)
{
    const QByteArray body = MovingSquare();
    for (int length = 0; length <= body.size(); ++length)
        LoadAndDraw(swf::DefineMorphShapeTag, 46, body.left(length));
}

TEST(ShapeRobustness, DamagedBytesNeverCrash)
{
    std::mt19937 random(1234);
    const QByteArray shape = RichShape();
    const QByteArray morph = MovingSquare();
    for (int round = 0; round < 400; ++round) {
        QByteArray damagedShape = shape;
        QByteArray damagedMorph = morph;
        for (int i = 0; i < 3; ++i) {
            damagedShape[int(random() % shape.size())] = char(random());
            damagedMorph[int(random() % morph.size())] = char(random());
        }
        LoadAndDraw(swf::DefineShapeTag, 83, damagedShape);
        LoadAndDraw(swf::DefineMorphShapeTag, 84, damagedMorph);
    }
}

TEST(ShapeRobustness, LyingStyleCountsStayWithinTheBudget)
{
    BitWriter w;
    w.u16(1);
    w.rect(0, 100, 0, 100);
    w.u8(0xff);
    w.u16(0xffff);  // 65535 fill styles claimed, none present
    Dictionary dictionary;
    swf::MemoryBudget budget(1 << 16);
    Define(swf::DefineShapeTag, 32, w.bytes(), dictionary, &budget);
    EXPECT_LE(budget.used(), budget.limit());
    ASSERT_NE(dictionary.find(1), nullptr);
}

TEST(ShapeRobustness, EdgesBeyondTheBudgetAreLeftOut)
{
    BitWriter w;
    w.u16(1);
    w.rect(0, 100, 0, 100);
    w.u8(1);
    w.u8(0);
    w.rgba(0xff0000);
    w.u8(0);
    RecordWriter r(w);
    r.bitCounts();
    r.moveTo(0, 0, 0, 1);
    for (int i = 0; i < 5000; ++i)
        r.lineBy(i % 2 ? 10 : -10, 1);
    r.end();
    Dictionary dictionary;
    swf::MemoryBudget budget(256 << 10);
    Define(swf::DefineShapeTag, 32, w.bytes(), dictionary, &budget);
    EXPECT_LE(budget.used(), budget.limit());
    const swf::Character *shape = dictionary.find(1);
    ASSERT_NE(shape, nullptr);
    // Part of the zigzag made it, not all of it.
    const double height = shape->outline(0).boundingRect().height();
    EXPECT_GT(height, 100);
    EXPECT_LT(height, 4999);
}

TEST(ShapeRobustness, SmallShapesBookOnlyWhatTheyHold)
{
    Dictionary dictionary;
    swf::MemoryBudget budget;
    Define(swf::DefineShapeTag, 32, RichShape(), dictionary, &budget);
    EXPECT_LT(budget.used(), size_t(8) << 10);
}

}  // namespace
