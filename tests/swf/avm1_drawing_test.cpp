// Drawing into clips and the clips' geometry: the drawing's bounds and
// layers, the point-in-area rule hit tests share, masks set by scripts,
// and the MovieClip methods as a movie's script calls them.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "swf/characters/areacontains.h"
#include "swf/characters/drawing.h"
#include "swf/movie.h"
#include "swf/timeline/scriptmasks.h"
#include "swfbuilder.h"

namespace actions = swftest::actions;
using swftest::SwfBuilder;

namespace {

constexpr double kTwips = 20;
constexpr uint8_t kTrace = 0x26, kPop = 0x17, kGetVariable = 0x1c, kGetMember = 0x4e, kSetMember = 0x4f,
                  kCallMethod = 0x52, kTypeOf = 0x44;

QPointF Px(double x, double y) { return QPointF(x * kTwips, y * kTwips); }

swf::LineStyle Line(double pixels, swf::Rgba colour = {0, 255, 0, 255})
{
    swf::LineStyle line;
    line.width = pixels * kTwips;
    line.color = colour;
    return line;
}

swf::FillStyle Solid(swf::Rgba colour)
{
    swf::FillStyle fill;
    fill.color = colour;
    return fill;
}

void Square(swf::Drawing &d, double left, double top, double size)
{
    d.moveTo(Px(left, top));
    d.lineTo(Px(left + size, top));
    d.lineTo(Px(left + size, top + size));
    d.lineTo(Px(left, top + size));
    d.lineTo(Px(left, top));
}

swf::Rect PixelBounds(const swf::Rect &twips)
{
    return {int32_t(twips.xMin / kTwips), int32_t(twips.xMax / kTwips), int32_t(twips.yMin / kTwips),
            int32_t(twips.yMax / kTwips)};
}

TEST(Drawing, BoundsGrowByTheThicknessOfTheLineInForce)
{
    swf::Drawing d;
    d.moveTo(Px(100, 100));
    EXPECT_TRUE(d.isEmpty()) << "a move alone draws nothing";
    d.setLineStyle(Line(20));
    d.lineTo(Px(200, 200));
    EXPECT_EQ(PixelBounds(d.bounds()).xMin, 80);
    EXPECT_EQ(PixelBounds(d.bounds()).yMax, 220);
    EXPECT_EQ(PixelBounds(d.edgeBounds()).xMin, 100);
    d.setLineStyle(Line(0));
    d.lineTo(Px(280, 180));
    EXPECT_EQ(PixelBounds(d.bounds()).xMax, 280) << "a hairline widens nothing";
    d.setLineStyle(Line(2));
    d.curveTo(Px(290, 300), Px(250, 250));
    EXPECT_EQ(PixelBounds(d.bounds()).xMax, 292) << "the control point counts";
    EXPECT_EQ(PixelBounds(d.bounds()).yMax, 302);
    d.clear();
    EXPECT_TRUE(d.isEmpty());
    EXPECT_EQ(d.partCount(), 0u);
}

TEST(Drawing, ALaterFillCoversTheLinesOfAnEarlierOne)
{
    swf::Drawing d;
    d.setLineStyle(Line(10));
    d.beginFill(Solid({0, 0, 255, 255}));
    Square(d, 0, 0, 100);
    d.endFill();
    d.beginFill(Solid({255, 0, 0, 255}));
    Square(d, 50, 50, 100);
    d.endFill();

    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    swf::RenderContext context;
    context.painter = &painter;
    context.stageToDevice = QTransform::fromScale(1 / kTwips, 1 / kTwips);
    d.render(context, swf::Matrix(), swf::ColorTransform(), 0);
    painter.end();

    EXPECT_EQ(image.pixelColor(25, 25), QColor(0, 0, 255)) << "first fill";
    EXPECT_EQ(image.pixelColor(75, 99), QColor(255, 0, 0)) << "the first square's line under the second fill";
    EXPECT_EQ(image.pixelColor(25, 100), QColor(0, 255, 0)) << "the first square's line outside the second";
    EXPECT_EQ(image.pixelColor(150, 120), QColor(0, 255, 0)) << "the second square's own line";
}

TEST(Drawing, EndFillClosesTheContourAndHitsFollowTheFillAndTheLines)
{
    swf::Drawing d;
    d.beginFill(Solid({255, 0, 0, 255}));
    d.moveTo(Px(0, 0));
    d.lineTo(Px(100, 0));
    d.lineTo(Px(100, 100));
    d.endFill();
    EXPECT_TRUE(swf::AreaContains(d.hitArea(0), Px(90, 50))) << "inside the closed triangle";
    EXPECT_FALSE(swf::AreaContains(d.hitArea(0), Px(10, 50)));
    d.setLineStyle(Line(4));
    d.moveTo(Px(0, 200));
    d.lineTo(Px(100, 200));
    EXPECT_TRUE(swf::AreaContains(d.hitArea(0), Px(50, 201))) << "within the line's width";
    EXPECT_FALSE(swf::AreaContains(d.hitArea(0), Px(50, 205)));
}

TEST(AreaContains, LeftAndBottomBoundariesAreOutsideTopAndRightInside)
{
    QPainterPath square;
    square.addRect(10, 10, 25, 25);
    const struct {
        QPointF point;
        bool inside;
    } cases[] = {
        {{10, 10}, false}, {{10, 20}, false}, {{20, 35}, false}, {{20, 10}, true}, {{35, 20}, true},
        {{20, 20}, true},  {{36, 20}, false}, {{5, 5}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(swf::AreaContains(square, c.point), c.inside) << c.point.x() << "," << c.point.y();
}

TEST(AreaContains, SelfCrossingOutlinesFollowTheirFillRule)
{
    QPainterPath twice;
    twice.addRect(0, 0, 100, 100);
    twice.addRect(25, 25, 50, 50);
    twice.setFillRule(Qt::OddEvenFill);
    EXPECT_FALSE(swf::AreaContains(twice, {50, 50}));
    EXPECT_TRUE(swf::AreaContains(twice, {10, 50}));
    twice.setFillRule(Qt::WindingFill);
    EXPECT_TRUE(swf::AreaContains(twice, {50, 50}));
}

TEST(ScriptMasks, AMaskServesOneClipAndGoesWithEitherClip)
{
    int a = 0, b = 0, c = 0;  // stand-ins: only their addresses are used
    const auto *clipA = reinterpret_cast<const swf::TimelineState *>(&a);
    const auto *clipB = reinterpret_cast<const swf::TimelineState *>(&b);
    const auto *mask = reinterpret_cast<const swf::TimelineState *>(&c);
    swf::ScriptMasks masks;
    masks.set(clipA, mask);
    EXPECT_EQ(masks.maskOf(clipA), mask);
    EXPECT_TRUE(masks.isMask(mask));
    masks.set(clipB, mask);
    EXPECT_FALSE(masks.isMasked(clipA)) << "the mask moved to the second clip";
    EXPECT_EQ(masks.maskOf(clipB), mask);
    masks.forget(mask);
    EXPECT_FALSE(masks.isMasked(clipB));
    EXPECT_FALSE(masks.isMask(mask));
    masks.set(clipA, nullptr);
    EXPECT_TRUE(masks.isMasked(clipA)) << "masked by nothing";
    EXPECT_EQ(masks.maskOf(clipA), nullptr);
    masks.remove(clipA);
    EXPECT_FALSE(masks.isMasked(clipA));
}

// Scripts: `target.method(numbers...)` with its result dropped, and the
// trace of a member of a method's result.
QByteArray Get(const std::string &name) { return actions::pushString(name) + actions::op(kGetVariable); }

QByteArray CallOn(const QByteArray &target, const std::string &method, const std::vector<double> &args)
{
    QByteArray code;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        code += actions::pushNumber(*it);
    return code + actions::pushNumber(double(args.size())) + target + actions::pushString(method)
           + actions::op(kCallMethod);
}

QByteArray Call(const std::string &clip, const std::string &method, const std::vector<double> &args)
{
    return CallOn(Get(clip), method, args) + actions::op(kPop);
}

QByteArray TraceMember(const QByteArray &object, const std::string &member)
{
    return object + actions::pushString(member) + actions::op(kGetMember) + actions::op(kTrace);
}

QByteArray MakeClip(const std::string &name, double depth)
{
    return actions::pushNumber(depth) + actions::pushString(name) + actions::pushNumber(2) + Get("_root")
           + actions::pushString("createEmptyMovieClip") + actions::op(kCallMethod) + actions::op(kPop);
}

QByteArray FilledSquare(const std::string &clip, double left, double top, double size, double colour)
{
    return Call(clip, "beginFill", {colour}) + Call(clip, "moveTo", {left, top})
           + Call(clip, "lineTo", {left + size, top}) + Call(clip, "lineTo", {left + size, top + size})
           + Call(clip, "lineTo", {left, top + size}) + Call(clip, "endFill", {});
}

QStringList RunScript(const QByteArray &code, uint8_t version = 8, int frames = 1)
{
    SwfBuilder b(version, swf::Rect{0, 4000, 0, 4000}, 12, 1);
    b.doAction(code).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    for (int i = 1; i < frames; ++i)
        player.advance();
    return lines;
}

TEST(ClipGeometryScripts, BoundsHitTestsAndPointsFollowTheDrawingAndThePlacement)
{
    const QByteArray code = MakeClip("c", 1) + Call("c", "lineStyle", {4, 0}) + Call("c", "moveTo", {10, 10})
                            + Call("c", "lineTo", {50, 10}) + TraceMember(CallOn(Get("c"), "getBounds", {}), "xMin")
                            + TraceMember(CallOn(Get("c"), "getBounds", {}), "yMax")
                            + CallOn(Get("c"), "hitTest", {30, 10, 1}) + actions::op(kTrace)
                            + CallOn(Get("c"), "hitTest", {30, 20, 1}) + actions::op(kTrace)
                            + Get("c") + actions::pushString("_x") + actions::pushNumber(100) + actions::op(kSetMember)
                            + actions::pushString("_root") + actions::op(kGetVariable) + actions::pushNumber(1)
                            + Get("c") + actions::pushString("getBounds") + actions::op(kCallMethod)
                            + actions::pushString("xMin") + actions::op(kGetMember) + actions::op(kTrace)
                            + CallOn(Get("c"), "hitTest", {130, 10, 1}) + actions::op(kTrace)
                            + Call("c", "clear", {}) + TraceMember(CallOn(Get("c"), "getBounds", {}), "xMin");
    EXPECT_EQ(RunScript(code), (QStringList{"6", "14", "true", "false", "106", "true", "6710886.35"}));
}

TEST(ClipGeometryScripts, MoviesBeforeVersion6HaveNoDrawingMethods)
{
    const QByteArray typeOfBeginFill = Get("_root") + actions::pushString("beginFill") + actions::op(kGetMember)
                                       + actions::op(kTypeOf) + actions::op(kTrace);
    EXPECT_EQ(RunScript(typeOfBeginFill, 5), QStringList{"undefined"});
    EXPECT_EQ(RunScript(typeOfBeginFill, 6), QStringList{"function"});
}

TEST(ClipGeometryScripts, EndlessDrawingIsCutOffAndTheMovieGoesOn)
{
    const QByteArray line = Call("c", "lineTo", {10, 10});
    const QByteArray loop = line + actions::jump(int16_t(-(line.size() + 5)));
    SwfBuilder b(8, swf::Rect{0, 4000, 0, 4000}, 12, 2);
    b.doAction(MakeClip("c", 1) + loop).showFrame();
    b.doAction(actions::pushString("frame 2") + actions::op(kTrace) + actions::stop()).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &l) { lines << l; });
    player.advance();
    EXPECT_EQ(lines, QStringList{"frame 2"});
}

TEST(ClipGeometryScripts, AMaskClipLimitsWhatTheMaskedClipShowsAndIsNotDrawn)
{
    const QByteArray code = MakeClip("a", 1) + FilledSquare("a", 0, 0, 100, 0xff0000) + MakeClip("m", 2)
                            + FilledSquare("m", 50, 50, 100, 0x0000ff) + Get("m") + actions::pushNumber(1)
                            + Get("a") + actions::pushString("setMask") + actions::op(kCallMethod)
                            + actions::op(kPop);
    SwfBuilder b(8, swf::Rect{0, 4000, 0, 4000}, 12, 1);
    b.doAction(code).showFrame();
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()));
    const QImage image = player.renderImage(QSize(200, 200), swf::Quality::High);
    EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::white)) << "outside the mask";
    EXPECT_EQ(image.pixelColor(75, 75), QColor(Qt::red)) << "inside the mask";
    EXPECT_EQ(image.pixelColor(125, 125), QColor(Qt::white)) << "the mask itself is not drawn";
}

}  // namespace
