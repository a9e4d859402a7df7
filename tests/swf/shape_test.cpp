#include <gtest/gtest.h>

#include <functional>

#include "shapetestbits.h"
#include "swf/characters/areacontains.h"
#include "swf/characters/shapecharacter.h"
#include "swf/characters/shaperecords.h"

using namespace shapetest;
using swf::Dictionary;

namespace {

constexpr uint32_t kRed = 0xff0000;
constexpr uint32_t kBlue = 0x0000ff;

struct Line {
    uint16_t width;
    uint32_t color;
};

// A DefineShape3 body (or DefineShape4 with `version` 4) with solid fills
// and plain lines.
QByteArray ShapeBody(const std::vector<uint32_t> &fills, const std::vector<Line> &lines,
                     const std::function<void(RecordWriter &)> &records, int version = 3, bool winding = false)
{
    BitWriter w;
    w.u16(1);
    w.rect(0, 2000, 0, 2000);
    if (version == 4) {
        w.rect(0, 2000, 0, 2000);
        w.ub(0, 5);
        w.flag(winding);
        w.ub(0, 2);
    }
    w.u8(static_cast<uint8_t>(fills.size()));
    for (uint32_t color : fills) {
        w.u8(0x00);
        w.rgba(color);
    }
    w.u8(static_cast<uint8_t>(lines.size()));
    for (const Line &line : lines) {
        w.u16(line.width);
        if (version == 4)
            w.u16(0);  // round caps and joins, colour follows
        w.rgba(line.color);
    }
    RecordWriter r(w);
    r.bitCounts();
    records(r);
    r.end();
    return w.bytes();
}

uint16_t CodeFor(int version) { return version == 4 ? 83 : 32; }

const swf::Character &Load(Dictionary &dictionary, const QByteArray &body, int version = 3)
{
    Define(swf::DefineShapeTag, CodeFor(version), body, dictionary);
    const swf::Character *shape = dictionary.find(1);
    EXPECT_NE(shape, nullptr);
    return *shape;
}

void Clockwise(RecordWriter &r, int32_t size)
{
    r.lineBy(size, 0);
    r.lineBy(0, size);
    r.lineBy(-size, 0);
    r.lineBy(0, -size);
}

void CounterClockwise(RecordWriter &r, int32_t size)
{
    r.lineBy(0, size);
    r.lineBy(size, 0);
    r.lineBy(0, -size);
    r.lineBy(-size, 0);
}

QColor At(const QImage &image, int x, int y) { return image.pixelColor(x, y); }

struct SideCase {
    const char *name;
    std::function<void(RecordWriter &)> records;
};

class FillSide : public ::testing::TestWithParam<SideCase> {};

TEST_P(FillSide, FillsTheSquareOnWhicheverSideTheStyleIs)
{
    Dictionary dictionary;
    const QImage image = Render(Load(dictionary, ShapeBody({kRed}, {}, GetParam().records)), 30, 30);
    EXPECT_EQ(At(image, 10, 10), QColor(Qt::red));
    EXPECT_EQ(At(image, 0, 0), QColor(Qt::red));
    EXPECT_EQ(At(image, 19, 19), QColor(Qt::red));
    EXPECT_EQ(At(image, 20, 10), QColor(Qt::white));
    EXPECT_EQ(At(image, 25, 25), QColor(Qt::white));
}

INSTANTIATE_TEST_SUITE_P(
    Shape, FillSide,
    ::testing::Values(SideCase{"RightSide", [](RecordWriter &r) { r.moveTo(0, 0, 0, 1); Clockwise(r, 400); }},
                      SideCase{"LeftSide", [](RecordWriter &r) { r.moveTo(0, 0, 1, 0); CounterClockwise(r, 400); }},
                      // Edges given out of order still chain into one contour.
                      SideCase{"Scrambled",
                               [](RecordWriter &r) {
                                   r.moveTo(400, 0, 0, 1);
                                   r.lineBy(0, 400);
                                   r.moveTo(0, 400);
                                   r.lineBy(0, -400);
                                   r.moveTo(400, 400);
                                   r.lineBy(-400, 0);
                                   r.moveTo(0, 0);
                                   r.lineBy(400, 0);
                               }}),
    [](const auto &info) { return std::string(info.param.name); });

// Two squares side by side sharing their middle edge, which carries the
// left square's style on one side and the right one's on the other.
void TwoSquares(RecordWriter &r)
{
    r.moveTo(0, 0, 0, 1);
    r.lineBy(400, 0);
    r.style(2, 1);
    r.lineBy(0, 400);  // shared edge, running down: red on its right (west)
    r.style(0, 1);
    r.lineBy(-400, 0);
    r.lineBy(0, -400);
    r.moveTo(400, 0, 0, 2);
    r.lineBy(400, 0);
    r.lineBy(0, 400);
    r.lineBy(-400, 0);
}

TEST(Shape, AdjacentFillsMeetWithoutGapOrOverlap)
{
    Dictionary dictionary;
    const QImage image = Render(Load(dictionary, ShapeBody({kRed, kBlue}, {}, TwoSquares)), 50, 30);
    EXPECT_EQ(At(image, 5, 10), QColor(Qt::red));
    EXPECT_EQ(At(image, 19, 10), QColor(Qt::red));
    EXPECT_EQ(At(image, 20, 10), QColor(Qt::blue));
    EXPECT_EQ(At(image, 39, 19), QColor(Qt::blue));
    EXPECT_EQ(At(image, 45, 10), QColor(Qt::white));
}

void SquareWithHole(RecordWriter &r)
{
    r.moveTo(0, 0, 0, 1);
    Clockwise(r, 600);
    r.moveTo(200, 200, 1, 0);  // inner square: the fill is outside it, on its left
    Clockwise(r, 200);
}

class HoleRule : public ::testing::TestWithParam<bool> {};

TEST_P(HoleRule, InnerContourCutsAHole)
{
    Dictionary dictionary;
    const bool winding = GetParam();
    const QImage image = Render(Load(dictionary, ShapeBody({kRed}, {}, SquareWithHole, 4, winding), 4), 40, 40);
    EXPECT_EQ(At(image, 5, 5), QColor(Qt::red));
    EXPECT_EQ(At(image, 15, 15), QColor(Qt::white));
    EXPECT_EQ(At(image, 25, 15), QColor(Qt::red));
}

INSTANTIATE_TEST_SUITE_P(Shape, HoleRule, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Winding" : "OddEven"; });

TEST(Shape, OutlineCoversEveryFillButNotHoles)
{
    Dictionary dictionary;
    const swf::Character &squares = Load(dictionary, ShapeBody({kRed, kBlue}, {}, TwoSquares));
    const QPainterPath both = squares.outline(0);
    EXPECT_TRUE(both.contains(QPointF(100, 100)));
    EXPECT_TRUE(both.contains(QPointF(700, 100)));
    EXPECT_FALSE(both.contains(QPointF(900, 100)));

    Dictionary other;
    const QPainterPath ring = Load(other, ShapeBody({kRed}, {}, SquareWithHole)).outline(0);
    EXPECT_TRUE(ring.contains(QPointF(100, 100)));
    EXPECT_FALSE(ring.contains(QPointF(300, 300)));
}

TEST(Shape, MouseFindsLinesAsWellAsFillsButMasksOnlyFills)
{
    Dictionary dictionary;
    auto records = [](RecordWriter &r) {
        r.moveTo(200, 200, 0, 1, 1);
        Clockwise(r, 400);
    };
    const swf::Character &framed = Load(dictionary, ShapeBody({kRed}, {{80, kBlue}}, records));
    const QPointF onLeftEdge(200, 400), inLine(170, 400), pastLine(150, 400);
    EXPECT_FALSE(swf::AreaContains(framed.outline(0), onLeftEdge));
    EXPECT_TRUE(swf::AreaContains(framed.hitArea(0), onLeftEdge));
    EXPECT_TRUE(swf::AreaContains(framed.hitArea(0), inLine));
    EXPECT_FALSE(swf::AreaContains(framed.hitArea(0), pastLine));
}

TEST(Shape, NewStylesStartAFreshGroupDrawnOverTheFirst)
{
    Dictionary dictionary;
    BitWriter w;
    w.u16(1);
    w.rect(0, 2000, 0, 2000);
    w.u8(1);
    w.u8(0);
    w.rgba(kRed);
    w.u8(0);
    RecordWriter r(w);
    r.bitCounts();
    r.moveTo(0, 0, 0, 1);
    Clockwise(r, 600);
    r.newStyles([&] {
        w.u8(1);
        w.u8(0);
        w.rgba(kBlue);
        w.u8(0);
    });
    r.moveTo(200, 200, 0, 1);
    Clockwise(r, 200);
    r.end();
    const QImage image = Render(Load(dictionary, w.bytes()), 40, 40);
    EXPECT_EQ(At(image, 5, 5), QColor(Qt::red));
    EXPECT_EQ(At(image, 15, 15), QColor(Qt::blue));
    const auto *shape = dynamic_cast<const swf::ShapeCharacter *>(dictionary.find(1));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->styleGroups().size(), 2u);
}

TEST(Shape, CurvedEdgesBulgeTowardsTheirControlPoint)
{
    Dictionary dictionary;
    auto records = [](RecordWriter &r) {
        r.moveTo(0, 0, 0, 1);
        r.curveBy(200, -400, 200, 400);  // arch above the top edge, peak near y = -200
        r.lineBy(0, 400);
        r.lineBy(-400, 0);
        r.lineBy(0, -400);
    };
    const QImage image = Render(Load(dictionary, ShapeBody({kRed}, {}, records)), 30, 30, swf::Quality::Low, {}, 0,
                                nullptr, swf::Matrix{1, 0, 0, 1, 0, 400});
    EXPECT_EQ(At(image, 10, 12), QColor(Qt::red));  // above the straight top edge
    EXPECT_EQ(At(image, 1, 11), QColor(Qt::white)); // the arch starts at the corner
}

TEST(Shape, LinesAreDrawnOverFillsWithTheirWidth)
{
    Dictionary dictionary;
    auto records = [](RecordWriter &r) {
        r.moveTo(200, 200, 0, 1, 1);
        Clockwise(r, 400);
    };
    const QImage image = Render(Load(dictionary, ShapeBody({kRed}, {{80, kBlue}}, records)), 40, 40);
    EXPECT_EQ(At(image, 20, 20), QColor(Qt::red));
    EXPECT_EQ(At(image, 20, 10), QColor(Qt::blue));   // on the top edge
    EXPECT_EQ(At(image, 20, 11), QColor(Qt::blue));   // 4 pixels wide
    EXPECT_EQ(At(image, 20, 13), QColor(Qt::red));
    EXPECT_EQ(At(image, 20, 7), QColor(Qt::white));
}

TEST(Shape, ThinLinesStayOnePixelWide)
{
    Dictionary dictionary;
    auto records = [](RecordWriter &r) {
        r.moveTo(0, 210, -1, -1, 1);
        r.lineBy(600, 0);
    };
    for (uint16_t width : {0, 5, 19}) {
        dictionary = Dictionary();
        const QImage image = Render(Load(dictionary, ShapeBody({}, {{width, kBlue}}, records)), 40, 40);
        EXPECT_EQ(At(image, 15, 10), QColor(Qt::blue)) << "width " << width;
        EXPECT_EQ(At(image, 15, 12), QColor(Qt::white)) << "width " << width;
    }
}

TEST(Shape, ColourTransformAppliesToSolidFills)
{
    Dictionary dictionary;
    swf::ColorTransform cx;
    cx.mult[0] = 0;
    cx.add[1] = 255;
    const QImage image = Render(Load(dictionary, ShapeBody({kRed}, {}, [](RecordWriter &r) {
                                    r.moveTo(0, 0, 0, 1);
                                    Clockwise(r, 400);
                                })),
                                30, 30, swf::Quality::Low, cx);
    EXPECT_EQ(At(image, 10, 10), QColor(Qt::green));
}

TEST(GlyphPath, FillsTheGlyphOutlineInGlyphUnits)
{
    BitWriter w;
    RecordWriter r(w, 1, 0);
    r.bitCounts();
    r.moveTo(0, -1024, 1);
    CounterClockwise(r, 1024);
    r.moveTo(256, -768, -1, -1);
    CounterClockwise(r, 512);  // same side as the outer one: a hole under odd-even
    r.end();
    const QByteArray bytes = w.bytes();
    swf::SwfReader reader(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    const QPainterPath path = swf::GlyphPath(reader);
    EXPECT_TRUE(path.contains(QPointF(100, -100)));
    EXPECT_FALSE(path.contains(QPointF(512, -512)));
    EXPECT_EQ(path.boundingRect(), QRectF(0, -1024, 1024, 1024));
    EXPECT_EQ(reader.position(), size_t(bytes.size()));
}

}  // namespace
