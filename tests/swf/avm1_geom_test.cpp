// Colour, geometry and filter objects of scripts: the limits the player
// applies to written values, hostile sizes, and the filters handed to the
// renderer.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/filterobject.h"
#include "swf/avm1/machine.h"
#include "swf/movie.h"
#include "swfbuilder.h"

using swf::avm1::Args;
using swf::avm1::FilterState;
using swf::avm1::Machine;
using swf::avm1::Object;
using swf::avm1::Value;
namespace actions = swftest::actions;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

Object *Make(Machine &m, const char *package, const char *name, std::vector<Value> args = {})
{
    Object *flash = m.get(m.global, "flash").object();
    Object *classes = flash ? m.get(flash, package).object() : nullptr;
    return classes ? m.construct(m.get(classes, name), Args(std::move(args))).object() : nullptr;
}

std::string Text(Machine &m, const Value &value) { return m.toString(value); }

TEST(Avm1Filters, WrittenValuesKeepThePlayersLimits)
{
    const struct {
        const char *filter, *property;
        Value written;
        const char *read;
    } cases[] = {
        {"BlurFilter", "blurX", Value(-1.0), "0"},
        {"BlurFilter", "blurY", Value(256.0), "255"},
        {"BlurFilter", "blurX", Value(kNaN), "0"},
        {"BlurFilter", "quality", Value(2.5), "2"},
        {"BlurFilter", "quality", Value(100.0), "15"},
        {"BlurFilter", "quality", Value(kInfinity), "0"},
        {"GlowFilter", "alpha", Value(0.5), "0.498039215686275"},
        {"GlowFilter", "alpha", Value(1.5), "1"},
        {"GlowFilter", "alpha", Value("none"), "1"},
        {"GlowFilter", "color", Value(-305419896.0), "13347208"},
        {"GlowFilter", "strength", Value(-1.0), "0"},
        {"DropShadowFilter", "angle", Value(361.0), "1"},
        {"DropShadowFilter", "angle", Value(-1.0), "-1"},
        {"DropShadowFilter", "distance", Value(-1.0), "-1"},
        {"BevelFilter", "type", Value("outer"), "outer"},
        {"BevelFilter", "type", Value("INNER"), "full"},
        {"DisplacementMapFilter", "scaleX", Value(65536.0), "65535"},
        {"DisplacementMapFilter", "componentX", Value(-234.5), "-234"},
        {"DisplacementMapFilter", "componentY", Value(1e20), "-2147483648"},
        {"DisplacementMapFilter", "mode", Value("Color"), "wrap"},
        {"DisplacementMapFilter", "mode", Value("ignore"), "ignore"},
        {"ConvolutionFilter", "matrixX", Value(kInfinity), "0"},
        {"ConvolutionFilter", "matrixY", Value(100.0), "15"},
    };
    Machine m(8);
    for (const auto &c : cases) {
        Object *filter = Make(m, "filters", c.filter);
        ASSERT_NE(filter, nullptr) << c.filter;
        m.set(filter, c.property, c.written);
        EXPECT_EQ(Text(m, m.get(filter, c.property)), c.read) << c.filter << "." << c.property;
    }
}

TEST(Avm1Filters, HostileLengthsAreReadOnlyAsFarAsTheLimit)
{
    Machine m(8);
    Object *convolution = Make(m, "filters", "ConvolutionFilter");
    Object *huge = m.newObject();
    m.set(huge, "length", Value(1e12));
    m.set(convolution, "matrix", Value(huge));
    auto *kernel = dynamic_cast<swf::avm1::ArrayObject *>(m.get(convolution, "matrix").object());
    ASSERT_NE(kernel, nullptr);
    EXPECT_LE(kernel->elements.size(), 256u);

    Object *gradient = Make(m, "filters", "GradientGlowFilter");
    m.set(gradient, "colors", Value(huge));
    EXPECT_EQ(Text(m, m.get(m.get(gradient, "colors").object(), "length")), "16");
}

TEST(Avm1Filters, GradientStopsKeepTheirSlotsWhenTheCountShrinks)
{
    Machine m(8);
    Object *bevel = Make(m, "filters", "GradientBevelFilter");
    m.set(bevel, "colors", Value(m.newArray({Value(1.0), Value(2.0), Value(3.0)})));
    m.set(bevel, "ratios", Value(m.newArray({Value(500.0), Value(50.5), Value(-3.0)})));
    EXPECT_EQ(Text(m, m.get(bevel, "ratios")), "255,50,0");
    m.set(bevel, "ratios", Value(m.newArray({Value(7.0)})));
    EXPECT_EQ(Text(m, m.get(bevel, "colors")), "1");
    m.set(bevel, "colors", Value(m.newArray({Value(4.0), Value(5.0)})));
    EXPECT_EQ(Text(m, m.get(bevel, "ratios")), "7,50");
}

TEST(Avm1Filters, CloneIsIndependentAndPlainFiltersCloneToNothing)
{
    Machine m(8);
    Object *blur = Make(m, "filters", "BlurFilter", {Value(8.0), Value(2.0), Value(3.0)});
    Object *copy = m.callMethod(Value(blur), "clone", Args()).object();
    ASSERT_NE(copy, nullptr);
    m.set(copy, "blurX", Value(1.0));
    EXPECT_EQ(Text(m, m.get(blur, "blurX")), "8");
    EXPECT_EQ(Text(m, m.get(copy, "quality")), "3");
    Object *plain = Make(m, "filters", "BitmapFilter");
    EXPECT_TRUE(m.callMethod(Value(plain), "clone", Args()).isUndefined());
}

TEST(Avm1Filters, RendererFiltersKeepWhatScriptsRead)
{
    FilterState bevel(FilterState::Type::Bevel);
    bevel.side = FilterState::Side::Full;
    bevel.highlightColor = 0x123456;
    bevel.quality = 3;
    swf::Filter drawn;
    ASSERT_TRUE(bevel.toFilter(drawn));
    EXPECT_TRUE(drawn.onTop);
    const FilterState back = FilterState::FromFilter(drawn);
    EXPECT_EQ(back.type, FilterState::Type::Bevel);
    EXPECT_EQ(back.side, FilterState::Side::Full);
    EXPECT_EQ(back.highlightColor, 0x123456u);
    EXPECT_EQ(back.quality, 3);
    EXPECT_EQ(back.angle, bevel.angle);

    FilterState convolution(FilterState::Type::Convolution);
    convolution.matrixX = 2;
    convolution.matrixY = 2;
    convolution.kernel = {1, 2};  // shorter than its sides ask: the rest weighs nothing
    ASSERT_TRUE(convolution.toFilter(drawn));
    EXPECT_EQ(drawn.kernel, (std::vector<float>{1, 2, 0, 0}));

    // A displacement map stays on the clip, its values read back alike.
    FilterState displacement(FilterState::Type::DisplacementMap);
    displacement.mode = FilterState::Mode::Clamp;
    displacement.componentX = 4;
    displacement.mapY = -3;
    ASSERT_TRUE(displacement.toFilter(drawn));
    const FilterState displaced = FilterState::FromFilter(drawn);
    EXPECT_EQ(displaced.type, FilterState::Type::DisplacementMap);
    EXPECT_EQ(displaced.mode, FilterState::Mode::Clamp);
    EXPECT_EQ(displaced.componentX, 4);
    EXPECT_EQ(displaced.mapY, -3);
    EXPECT_FALSE(FilterState(FilterState::Type::Base).toFilter(drawn));
}

// SWF 5 has no packages; SWF 6 and 7 have them hidden, and once a movie
// reveals them, their classes and methods but not their properties.
TEST(Avm1Filters, PackagesAndMembersByVersion)
{
    const struct {
        int version;
        bool package;
        bool members;
    } cases[] = {{5, false, false}, {6, true, false}, {7, true, false}, {8, true, true}};
    for (const auto &c : cases) {
        Machine m(c.version);
        const auto reveal = [&m](Object *object, const char *name) {
            m.callMethod(Value(m.global), "ASSetPropFlags",
                         Args({Value(object), Value(name), Value(0.0), Value(double(swf::avm1::kVersion8Up))}));
        };
        EXPECT_EQ(m.get(m.global, "flash").isUndefined(), !c.members) << c.version;
        Value filters;
        EXPECT_EQ(m.lookup(m.clipProto, "filters", filters), c.members) << c.version;
        reveal(m.global, "flash");
        if (!c.package) {
            EXPECT_TRUE(m.get(m.global, "flash").isUndefined());
            continue;
        }
        Object *blur = Make(m, "filters", "BlurFilter", {Value(3.0)});
        EXPECT_EQ(m.get(blur, "blurX").isUndefined(), !c.members) << c.version;
        EXPECT_EQ(m.get(blur, "clone").isUndefined(), !c.members) << c.version;
        // A write to a hidden accessor makes an own property instead.
        m.set(blur, "blurY", Value(7.0));
        EXPECT_EQ(Text(m, m.get(blur, "blurY")), "7") << c.version;
        reveal(m.builtinPrototypes["flash.filters.BitmapFilter"], "clone");
        EXPECT_FALSE(m.get(blur, "clone").isUndefined()) << c.version;
        Object *colour = Make(m, "geom", "ColorTransform", {Value(2.0)});
        EXPECT_FALSE(m.get(colour, "concat").isUndefined()) << c.version;
        EXPECT_EQ(m.get(colour, "redMultiplier").isUndefined(), !c.members) << c.version;
    }
}

TEST(Avm1Geom, ColorTransformConcatAndSolidColour)
{
    Machine m(8);
    Object *a = Make(m, "geom", "ColorTransform",
                     {Value(0.5), Value(1.0), Value(2.0), Value(1.0), Value(10.0), Value(0.0), Value(0.0), Value(0.0)});
    Object *b = Make(m, "geom", "ColorTransform",
                     {Value(2.0), Value(1.0), Value(1.0), Value(1.0), Value(4.0), Value(0.0), Value(0.0), Value(0.0)});
    m.callMethod(Value(a), "concat", Args({Value(b)}));
    EXPECT_EQ(Text(m, Value(a)), "(redMultiplier=1, greenMultiplier=1, blueMultiplier=2, alphaMultiplier=1, "
                                 "redOffset=12, greenOffset=0, blueOffset=0, alphaOffset=0)");
    m.set(a, "rgb", Value(double(0x203040)));
    EXPECT_EQ(Text(m, m.get(a, "redMultiplier")), "0");
    EXPECT_EQ(Text(m, m.get(a, "alphaMultiplier")), "1");
    EXPECT_EQ(Text(m, m.get(a, "rgb")), std::to_string(0x203040));
    // Fewer than eight numbers make the identity.
    Object *seven = Make(m, "geom", "ColorTransform", std::vector<Value>(7, Value(3.0)));
    EXPECT_EQ(Text(m, m.get(seven, "redMultiplier")), "1");
}

TEST(Avm1Geom, MatrixMethods)
{
    Machine m(8);
    Object *singular = Make(m, "geom", "Matrix", {Value(1.0), Value(2.0), Value(2.0), Value(4.0), Value(5.0), Value(6.0)});
    m.callMethod(Value(singular), "invert", Args());
    EXPECT_EQ(Text(m, Value(singular)), "(a=1, b=0, c=0, d=1, tx=0, ty=0)");

    Object *matrix = Make(m, "geom", "Matrix", {Value(2.0), Value(0.0), Value(0.0), Value(4.0), Value(10.0), Value(20.0)});
    m.callMethod(Value(matrix), "invert", Args());
    EXPECT_EQ(Text(m, Value(matrix)), "(a=0.5, b=0, c=0, d=0.25, tx=-5, ty=-5)");
    Object *point = Make(m, "geom", "Point", {Value(4.0), Value(8.0)});
    EXPECT_EQ(Text(m, m.callMethod(Value(matrix), "transformPoint", Args({Value(point)}))), "(x=-3, y=-3)");
    EXPECT_EQ(Text(m, m.callMethod(Value(matrix), "deltaTransformPoint", Args({Value(point)}))), "(x=2, y=2)");

    Object *box = Make(m, "geom", "Matrix");
    m.callMethod(Value(box), "createGradientBox", Args({Value(1638.4), Value(819.2), Value(0.0), Value(10.0)}));
    EXPECT_EQ(Text(m, Value(box)), "(a=1, b=0, c=0, d=0.5, tx=829.2, ty=409.6)");
}

TEST(Avm1Filters, ConstructorArgumentsGoThroughTheSameLimits)
{
    const struct {
        const char *filter;
        std::vector<Value> args;
        const char *property;
        const char *read;
    } cases[] = {
        {"BlurFilter", {Value(300.0), Value(-5.0), Value(99.0)}, "blurX", "255"},
        {"BlurFilter", {Value(300.0), Value(-5.0), Value(99.0)}, "quality", "15"},
        // A colour without its alpha makes the filter opaque.
        {"ConvolutionFilter", std::vector<Value>(7, Value(1.0)), "alpha", "0"},
        {"ConvolutionFilter", std::vector<Value>(8, Value(1.0)), "alpha", "1"},
        {"GlowFilter", {Value(double(0x0000ff))}, "color", "255"},
        {"GlowFilter", {}, "blurX", "6"},
        {"DropShadowFilter", {Value(2.0), Value(90.0)}, "angle", "90"},
        {"ColorMatrixFilter", {Value::null()}, "matrix", "1,0,0,0,0,0,1,0,0,0,0,0,1,0,0,0,0,0,1,0"},
        {"ColorMatrixFilter", {Value(-1.0)}, "matrix",
         "NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN"},
        {"GradientGlowFilter", {Value(4.0), Value(45.0), Value("abc")}, "alphas", "0,0,0"},
    };
    Machine m(8);
    for (const auto &c : cases) {
        Object *filter = Make(m, "filters", c.filter, c.args);
        ASSERT_NE(filter, nullptr) << c.filter;
        EXPECT_EQ(Text(m, m.get(filter, c.property)), c.read) << c.filter << "." << c.property;
    }
}

TEST(Avm1Filters, KernelGrowsWithItsSidesUpToTheLargest)
{
    Machine m(8);
    Object *convolution = Make(m, "filters", "ConvolutionFilter");
    m.set(convolution, "matrix", Value(m.newArray({Value(1.0), Value(2.0), Value(3.0)})));
    m.set(convolution, "matrixX", Value(2.0));
    m.set(convolution, "matrixY", Value(2.0));
    EXPECT_EQ(Text(m, m.get(convolution, "matrix")), "1,2,3,0");
    m.set(convolution, "matrixX", Value(1.0));  // never shrinks
    EXPECT_EQ(Text(m, m.get(convolution, "matrix")), "1,2,3,0");
    m.set(convolution, "matrixX", Value(1e9));
    m.set(convolution, "matrixY", Value(1e9));
    EXPECT_EQ(Text(m, m.get(m.get(convolution, "matrix").object(), "length")), "225");
}

TEST(Avm1Filters, NativeStateKeepsItsObjectsThroughACollection)
{
    Machine m(8);
    Object *filter = Make(m, "filters", "DisplacementMapFilter");
    Object *bitmap = m.newObject();
    m.set(bitmap, "tag", Value("kept"));
    m.set(filter, "mapBitmap", Value(bitmap));
    m.collect({filter});
    EXPECT_EQ(Text(m, m.get(m.get(filter, "mapBitmap").object(), "tag")), "kept");
}

TEST(Avm1Geom, PointMethods)
{
    Machine m(8);
    Object *a = Make(m, "geom", "Point", {Value(3.0), Value(4.0)});
    Object *b = Make(m, "geom", "Point", {Value(1.0), Value(2.0)});
    Object *point = m.get(m.get(m.get(m.global, "flash").object(), "geom").object(), "Point").object();
    const auto call = [&](Object *self, const char *method, std::vector<Value> args) {
        return Text(m, m.callMethod(Value(self), method, Args(std::move(args))));
    };
    EXPECT_EQ(Text(m, m.get(a, "length")), "5");
    EXPECT_EQ(call(a, "add", {Value(b)}), "(x=4, y=6)");
    EXPECT_EQ(call(a, "subtract", {Value(b)}), "(x=2, y=2)");
    EXPECT_EQ(call(point, "distance", {Value(a), Value(b)}), Text(m, Value(std::sqrt(8.0))));
    EXPECT_EQ(call(point, "interpolate", {Value(a), Value(b), Value(0.25)}), "(x=1.5, y=2.5)");
    EXPECT_EQ(call(point, "polar", {Value(2.0), Value(0.0)}), "(x=2, y=0)");
    EXPECT_EQ(call(a, "equals", {Value(b)}), "false");
    Object *lookalike = m.newObject();
    m.set(lookalike, "x", Value(3.0));
    m.set(lookalike, "y", Value(4.0));
    EXPECT_EQ(call(a, "equals", {Value(lookalike)}), "false");
    EXPECT_EQ(call(a, "equals", {Value(m.callMethod(Value(a), "clone", Args()))}), "true");
    m.callMethod(Value(a), "normalize", Args({Value(10.0)}));
    EXPECT_EQ(Text(m, Value(a)), "(x=6, y=8)");
    Object *origin = Make(m, "geom", "Point");
    m.callMethod(Value(origin), "normalize", Args({Value(1.0)}));  // no direction: stays
    EXPECT_EQ(Text(m, Value(origin)), "(x=0, y=0)");
}

TEST(Avm1Geom, RectangleEdgesAndCorners)
{
    Machine m(8);
    Object *r = Make(m, "geom", "Rectangle", {Value(10.0), Value(20.0), Value(30.0), Value(40.0)});
    EXPECT_EQ(Text(m, m.get(r, "bottomRight")), "(x=40, y=60)");
    EXPECT_EQ(Text(m, m.get(r, "size")), "(x=30, y=40)");
    const auto contains = [&](double x, double y) {
        return Text(m, m.callMethod(Value(r), "contains", Args({Value(x), Value(y)})));
    };
    EXPECT_EQ(contains(10, 20), "true");
    EXPECT_EQ(contains(40, 30), "false");  // the right edge lies outside
    m.set(r, "topLeft", Value(Make(m, "geom", "Point", {Value(0.0), Value(0.0)})));
    EXPECT_EQ(Text(m, Value(r)), "(x=0, y=0, w=40, h=60)");
    m.callMethod(Value(r), "inflate", Args({Value(5.0), Value(-10.0)}));
    EXPECT_EQ(Text(m, Value(r)), "(x=-5, y=10, w=50, h=40)");
    EXPECT_EQ(Text(m, m.callMethod(Value(r), "isEmpty", Args())), "false");
    m.callMethod(Value(r), "setEmpty", Args());
    EXPECT_EQ(Text(m, m.callMethod(Value(r), "isEmpty", Args())), "true");
}

TEST(Avm1Geom, RectangleUnionAndIntersection)
{
    Machine m(8);
    Object *a = Make(m, "geom", "Rectangle", {Value(0.0), Value(0.0), Value(10.0), Value(10.0)});
    Object *b = Make(m, "geom", "Rectangle", {Value(5.0), Value(5.0), Value(10.0), Value(10.0)});
    Object *empty = Make(m, "geom", "Rectangle");
    Object *apart = Make(m, "geom", "Rectangle", {Value(50.0), Value(50.0), Value(1.0), Value(1.0)});
    const auto call = [&](Object *self, const char *method, Object *other) {
        return Text(m, m.callMethod(Value(self), method, Args({Value(other)})));
    };
    EXPECT_EQ(call(a, "union", b), "(x=0, y=0, w=15, h=15)");
    EXPECT_EQ(call(a, "union", empty), "(x=0, y=0, w=10, h=10)");
    EXPECT_EQ(call(a, "intersection", b), "(x=5, y=5, w=5, h=5)");
    EXPECT_EQ(call(a, "intersection", apart), "(x=0, y=0, w=0, h=0)");
    EXPECT_EQ(call(a, "intersects", apart), "false");
    m.set(a, "right", Value(4.0));
    EXPECT_EQ(Text(m, Value(a)), "(x=0, y=0, w=4, h=10)");
    m.set(a, "left", Value(1.0));
    EXPECT_EQ(Text(m, Value(a)), "(x=1, y=0, w=3, h=10)");
}

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kGetVariable = 0x1c, kSetVariable = 0x1d, kGetMember = 0x4e,
                  kSetMember = 0x4f, kCallMethod = 0x52, kNewMethod = 0x53, kNewObject = 0x40, kInitArray = 0x42,
                  kInitObject = 0x43;

QByteArray Push(const std::vector<Value> &values)
{
    QByteArray bytes;
    for (const Value &v : values)
        bytes += v.isString() ? actions::pushString(v.string()) : actions::pushNumber(v.number());
    return bytes;
}

QByteArray Variable(const char *name) { return actions::pushString(name) + actions::op(kGetVariable); }

QByteArray Member(const char *name) { return actions::pushString(name) + actions::op(kGetMember); }

// Calls `method` of variable `object` with `args` pushed last to first.
QByteArray CallMethod(const char *object, const char *method, const QByteArray &args, int count)
{
    return args + Push({Value(count)}) + Variable(object) + actions::pushString(method) + actions::op(kCallMethod);
}

// A red square at the stage's middle, in sprite `a`, and `script` run in
// the first frame.
QStringList RunOnSquare(const QByteArray &script, QImage *picture = nullptr)
{
    swftest::SwfBuilder sprite(8, swf::Rect{0, 2000, 0, 2000});
    sprite.placeObject2(swftest::PlaceCharacter(1, 1)).showFrame();
    swftest::SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    b.defineRectangle(1, swf::Rect{500, 1500, 500, 1500}, swf::Rgba{255, 0, 0, 255});
    b.defineSprite(2, 1, sprite.tags());
    swftest::Placement place = swftest::PlaceCharacter(1, 2);
    place.name = "a";
    b.placeObject2(place);
    b.doAction(script).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    if (picture)
        *picture = player.renderImage(QSize(100, 100), swf::Quality::High);
    return lines;
}

TEST(Avm1ClipFilters, ScriptFiltersAreReadBackAndDrawn)
{
    // a.filters = [new flash.filters.BlurFilter(10, 10, 2)]; trace(a.filters[0].blurY);
    const QByteArray newBlur = Push({Value(2.0), Value(10.0), Value(10.0), Value(3.0)}) + Variable("flash")
                               + Member("filters") + actions::pushString("BlurFilter") + actions::op(kNewMethod);
    const QByteArray script = Variable("a") + actions::pushString("filters") + newBlur + Push({Value(1.0)})
                              + actions::op(kInitArray) + actions::op(kSetMember) + Variable("a") + Member("filters")
                              + Push({Value(0.0)}) + actions::op(kGetMember) + Member("blurY") + actions::op(kTrace);
    QImage filtered, plain;
    EXPECT_EQ(RunOnSquare(script, &filtered), QStringList{"10"});
    RunOnSquare({}, &plain);
    // The blur spreads red beyond the square's edge, where nothing was.
    EXPECT_EQ(qRed(plain.pixel(22, 50)), 255);
    EXPECT_EQ(qGreen(plain.pixel(22, 50)), 255);
    EXPECT_LT(qGreen(filtered.pixel(22, 50)), 250);
}

TEST(Avm1Color, SolidColourAndWrappedTransform)
{
    // c = new Color(a); c.setRGB(0x00ff00); trace(c.getRGB());
    const QByteArray make = actions::pushString("c") + Variable("a") + Push({Value(1.0)})
                            + actions::pushString("Color") + actions::op(kNewObject) + actions::op(kSetVariable);
    const QByteArray solid = CallMethod("c", "setRGB", Push({Value(double(0x00ff00))}), 1) + actions::op(kPop)
                             + CallMethod("c", "getRGB", {}, 0) + actions::op(kTrace);
    // c.setTransform({ra: 12800, bb: 65546, ab: Infinity}); t = c.getTransform(); trace(t.ra, t.bb, t.ab);
    const QByteArray fields = Push({Value("ra"), Value(12800.0), Value("bb"), Value(65546.0), Value("ab"),
                                    Value(kInfinity), Value(3.0)})
                              + actions::op(kInitObject);
    QByteArray wrapped = CallMethod("c", "setTransform", fields, 1) + actions::op(kPop) + actions::pushString("t")
                         + CallMethod("c", "getTransform", {}, 0) + actions::op(kSetVariable);
    for (const char *field : {"ra", "bb", "ab"})
        wrapped += Variable("t") + Member(field) + actions::op(kTrace);
    EXPECT_EQ(RunOnSquare(make + solid + wrapped), (QStringList{"65280", "-12800", "10", "0"}));
}

TEST(Avm1Color, SolidColourIsDrawn)
{
    const QByteArray make = actions::pushString("c") + Variable("a") + Push({Value(1.0)})
                            + actions::pushString("Color") + actions::op(kNewObject) + actions::op(kSetVariable);
    // A Color of no clip ("" names none) changes nothing, the root included.
    const QByteArray none = actions::pushString("d") + actions::pushString("") + Push({Value(1.0)})
                            + actions::pushString("Color") + actions::op(kNewObject) + actions::op(kSetVariable)
                            + CallMethod("d", "setRGB", Push({Value(0.0)}), 1);
    QImage picture;
    RunOnSquare(make + CallMethod("c", "setRGB", Push({Value(double(0x0000ff))}), 1) + none, &picture);
    EXPECT_EQ(picture.pixel(50, 50), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(Avm1ClipScale, AFlipStaysANegativeScaleThroughTurns)
{
    // a._xscale = -100; a._rotation = 270; trace(a._xscale); trace(a._rotation); trace(a._yscale);
    const auto set = [](const char *property, double value) {
        return Variable("a") + Push({Value(property), Value(value)}) + actions::op(kSetMember);
    };
    const auto show = [](const char *property) { return Variable("a") + Member(property) + actions::op(kTrace); };
    QImage picture;
    EXPECT_EQ(RunOnSquare(set("_xscale", -100) + set("_rotation", 270) + show("_xscale") + show("_rotation")
                              + show("_yscale"),
                          &picture),
              (QStringList{"-100", "-90", "100"}));
    // Mirrored and turned a quarter back, the square still covers the middle.
    EXPECT_EQ(picture.pixel(50, 50), qRgb(255, 0, 0));
}

// Two-frame runs for Transform: the clip `a` gets a matrix and a colour
// transform from the script, and frame 2 reads them back.
TEST(Avm1Transform, MatrixNeedsAllSixNumbersAndColoursAreHeldAsThePlayerHoldsThem)
{
    const auto transform = [] { return Variable("a") + Member("transform"); };
    const auto setMatrix = [&](const std::vector<Value> &fields, int count) {
        return transform() + actions::pushString("matrix") + Push(fields) + Push({Value(count)})
               + actions::op(kInitObject) + actions::op(kSetMember);
    };
    // A partial matrix is ignored; a whole one moves the clip.
    const QByteArray partial = setMatrix({Value("tx"), Value(10.0), Value("ty"), Value(20.0)}, 2);
    const QByteArray whole = setMatrix({Value("a"), Value(2.0), Value("b"), Value(0.0), Value("c"), Value(0.0),
                                        Value("d"), Value(1.0), Value("tx"), Value(5.0), Value("ty"), Value(6.0)},
                                       6);
    // a.transform.colorTransform = new flash.geom.ColorTransform(0.3, 1, 1, 1, 300.7, 0, 0, 0)
    const QByteArray colour = transform() + actions::pushString("colorTransform")
                              + Push({Value(0.0), Value(0.0), Value(0.0), Value(300.7), Value(1.0), Value(1.0),
                                      Value(1.0), Value(0.3), Value(8.0)})
                              + Variable("flash") + Member("geom") + actions::pushString("ColorTransform")
                              + actions::op(kNewMethod) + actions::op(kSetMember);
    const QByteArray show = transform() + Member("matrix") + actions::op(kTrace) + Variable("a") + Member("_x")
                            + actions::op(kTrace) + transform() + Member("colorTransform") + Member("redMultiplier")
                            + actions::op(kTrace) + transform() + Member("colorTransform") + Member("redOffset")
                            + actions::op(kTrace);
    EXPECT_EQ(RunOnSquare(partial + show), (QStringList{"(a=1, b=0, c=0, d=1, tx=0, ty=0)", "0", "1", "0"}));
    EXPECT_EQ(RunOnSquare(whole + colour + show),
              (QStringList{"(a=2, b=0, c=0, d=1, tx=5, ty=6)", "5", "0.296875", "300"}));
}

}  // namespace
