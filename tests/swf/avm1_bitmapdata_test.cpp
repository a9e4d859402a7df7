// BitmapData as movies use it: the pixels as the player stores and rounds
// them, its size limits and memory, the error answers scripts test for,
// operations whose source is their own target, hostile sizes, and a
// surface shown on a clip following what scripts write into it.

#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdataobject.h"
#include "swf/avm1/bitmappixels.h"
#include "swf/avm1/machine.h"

using namespace swf::avm1;
using swf::BitmapSurface;

namespace {

BitmapSurface MakeSurface(int width, int height, uint32_t argb, bool transparent = true)
{
    BitmapSurface surface;
    surface.transparent = transparent;
    surface.pixels = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    FillRect(surface, SurfaceRect(surface), argb);
    return surface;
}

// Runs BitmapData through a machine the way a script does.
class ScriptBitmaps : public ::testing::Test {
protected:
    explicit ScriptBitmaps(int version = 8) : m(version) {}

    Value newBitmap(std::vector<Value> args)
    {
        Object *bitmapClass = GlobalClass(m, {"flash", "display", "BitmapData"});
        return bitmapClass ? m.construct(Value(bitmapClass), Args(std::move(args))) : Value();
    }
    Value call(const Value &bitmap, const char *method, std::vector<Value> args = {})
    {
        return m.callMethod(bitmap, method, Args(std::move(args)));
    }
    Value rect(double x, double y, double w, double h)
    {
        Object *object = m.newObject();
        m.set(object, "x", Value(x));
        m.set(object, "y", Value(y));
        m.set(object, "width", Value(w));
        m.set(object, "height", Value(h));
        return Value(object);
    }
    Value point(double x, double y)
    {
        Object *object = m.newObject();
        m.set(object, "x", Value(x));
        m.set(object, "y", Value(y));
        return Value(object);
    }
    uint32_t pixel32(const Value &bitmap, int x, int y)
    {
        return uint32_t(int32_t(m.toNumber(call(bitmap, "getPixel32", {Value(double(x)), Value(double(y))}))));
    }

    Machine m;
};

TEST(BitmapPixels, StoredPremultipliedAndReadBackWithThePlayersLoss)
{
    const struct {
        uint32_t written, read;
    } cases[] = {
        {0xAABBCCDD, 0xAABBCCDC}, {0x12345678, 0x12395571}, {0x80FFFFFF, 0x80FFFFFF}, {0x80BBBBBB, 0x80BBBBBB},
        {0x01FFFFFF, 0x01FFFFFF}, {0x00123456, 0x00000000}, {0xFF123456, 0xFF123456},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UnmultiplyArgb(PremultiplyArgb(c.written)), c.read) << std::hex << c.written;
}

TEST(BitmapPixels, OpaqueSurfacesKeepAlphaWhateverIsWritten)
{
    BitmapSurface surface = MakeSurface(2, 2, 0x00000000, false);
    EXPECT_EQ(ArgbAt(surface, 0, 0), 0xFF000000u);
    SetArgb(surface, 1, 1, 0x10203040);
    EXPECT_EQ(ArgbAt(surface, 1, 1), 0xFF203040u);
    EXPECT_EQ(ArgbAt(surface, 5, 5), 0u);  // outside reads 0, writing there is ignored
    SetArgb(surface, -1, 5, 0xFFFFFFFF);
}

// A source rectangle reaching outside either surface moves the landing
// point with it instead of stretching or reading outside.
TEST(BitmapPixels, CopiesClipBothRectanglesAlike)
{
    const BitmapSurface source = MakeSurface(10, 10, 0), dest = MakeSurface(4, 4, 0);
    const struct {
        PixelRect rect;
        int destX, destY;
        PixelRect wantSource;
        int wantX, wantY;
    } cases[] = {
        {{0, 0, 3, 3}, 0, 0, {0, 0, 3, 3}, 0, 0},
        {{-2, -1, 5, 5}, 0, 0, {0, 0, 2, 3}, 2, 1},
        {{0, 0, 10, 10}, -1, 2, {1, 0, 4, 2}, 0, 2},
        {{8, 8, 5, 5}, 0, 0, {8, 8, 2, 2}, 0, 0},
        {{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, INT_MIN, INT_MIN, {}, 0, 0},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MAX, 0, {}, 0, 0},
    };
    for (const auto &c : cases) {
        const CopyArea area = ClipCopy(source, c.rect, dest, c.destX, c.destY);
        EXPECT_EQ(area.source.x, c.wantSource.x);
        EXPECT_EQ(area.source.y, c.wantSource.y);
        EXPECT_EQ(area.source.width, c.wantSource.width);
        EXPECT_EQ(area.source.height, c.wantSource.height);
        if (!c.wantSource.empty()) {
            EXPECT_EQ(area.destX, c.wantX);
            EXPECT_EQ(area.destY, c.wantY);
        }
    }
}

// Copying a surface onto itself reads what was there before it started.
TEST(BitmapPixels, OverlappingCopyOntoItselfReadsTheOldPixels)
{
    BitmapSurface surface = MakeSurface(4, 1, 0xFF000000);
    for (int x = 0; x < 4; ++x)
        SetArgb(surface, x, 0, 0xFF000000u | uint32_t(x + 1));
    CopyPixels(surface, surface, {0, 0, 3, 1}, 1, 0, {}, false);
    EXPECT_EQ(ArgbAt(surface, 1, 0), 0xFF000001u);
    EXPECT_EQ(ArgbAt(surface, 2, 0), 0xFF000002u);
    EXPECT_EQ(ArgbAt(surface, 3, 0), 0xFF000003u);
    Scroll(surface, -2, 0);
    EXPECT_EQ(ArgbAt(surface, 0, 0), 0xFF000002u);
    EXPECT_EQ(ArgbAt(surface, 3, 0), 0xFF000003u);  // uncovered pixels stay
}

TEST(BitmapPixels, FloodFillOfALargeSurfaceNeedsNoDeepStack)
{
    BitmapSurface surface = MakeSurface(2880, 600, 0xFFFFFFFF);
    EXPECT_TRUE(FloodFill(surface, 10, 10, 0xFF00FF00));
    EXPECT_EQ(ArgbAt(surface, 2879, 599), 0xFF00FF00u);
    EXPECT_FALSE(FloodFill(surface, 10, 10, 0xFF00FF00));
    EXPECT_FALSE(FloodFill(surface, -1, 10, 0xFF0000FF));
}

TEST(BitmapPixels, ThresholdCountsAndUnknownTestsCompareAsLess)
{
    BitmapSurface source = MakeSurface(2, 1, 0xFF000010);
    SetArgb(source, 1, 0, 0xFF000030);
    BitmapSurface dest = MakeSurface(2, 1, 0xFFFFFFFF);
    ThresholdRule rule;
    rule.test = ThresholdTest::Less;
    rule.threshold = 0xFF000020;
    rule.color = 0xFFFF0000;
    rule.copySource = true;
    EXPECT_EQ(Threshold(dest, source, SurfaceRect(source), 0, 0, rule), 1);
    EXPECT_EQ(ArgbAt(dest, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(ArgbAt(dest, 1, 0), 0xFF000030u);
}

// The box of the matching pixels, except that the player takes a far
// corner left at the origin for nothing found.
TEST(BitmapPixels, ColourBoundsOfALoneTopLeftMatchIsEmpty)
{
    const struct {
        int x, y;
        PixelRect want;
    } cases[] = {
        {0, 0, {}}, {1, 0, {1, 0, 1, 1}}, {0, 2, {0, 2, 1, 1}}, {2, 2, {2, 2, 1, 1}},
    };
    for (const auto &c : cases) {
        BitmapSurface surface = MakeSurface(3, 3, 0xFFFFFFFF);
        SetArgb(surface, c.x, c.y, 0xFF00FF00);
        const PixelRect found = ColorBounds(surface, 0xFFFFFFFF, 0xFF00FF00, true);
        EXPECT_EQ(found.x, c.want.x) << c.x << "," << c.y;
        EXPECT_EQ(found.y, c.want.y) << c.x << "," << c.y;
        EXPECT_EQ(found.width, c.want.width) << c.x << "," << c.y;
        EXPECT_EQ(found.height, c.want.height) << c.x << "," << c.y;
    }
}

// Multipliers are shares of 256 however far out of range (or not numbers)
// a script gives them; a left-out alpha share takes the source's alpha.
TEST_F(ScriptBitmaps, MergeSharesStayWithin256)
{
    const Value source = newBitmap({Value(1.0), Value(1.0), Value(true), Value(double(0x80FF0000))});
    auto merged = [&](std::vector<Value> shares) {
        const Value target = newBitmap({Value(1.0), Value(1.0), Value(true), Value(double(0xFF0000FF))});
        std::vector<Value> args{source, rect(0, 0, 1, 1), point(0, 0)};
        args.insert(args.end(), shares.begin(), shares.end());
        call(target, "merge", args);
        return pixel32(target, 0, 0);
    };
    const uint32_t whole = merged({Value(256.0), Value(256.0), Value(256.0), Value(256.0)});
    const uint32_t none = merged({Value(0.0), Value(0.0), Value(0.0), Value(0.0)});
    EXPECT_EQ(none, 0xFF0000FFu);
    EXPECT_EQ(whole >> 24, 0x80u);
    EXPECT_EQ(merged({Value(1000.0), Value(1000.0), Value(1000.0), Value(1000.0)}), whole);
    EXPECT_EQ(merged({Value(-1000.0), Value(-1000.0), Value(-1000.0), Value(-1000.0)}), none);
    EXPECT_EQ(merged({Value(std::nan("")), Value(-1.0), Value(-2.0), Value()}), none);
    EXPECT_EQ(merged({Value(256.0), Value(256.0), Value(256.0)}), whole);
}

// Methods that answer a rectangle make it with whatever flash.geom.Rectangle
// is now; with the class taken away they answer -1.
TEST_F(ScriptBitmaps, RectanglesComeFromTheRectangleClassOfTheMoment)
{
    const Value bitmap = newBitmap({Value(2.0), Value(3.0)});
    Object *geom = GlobalClass(m, {"flash", "geom"});
    ASSERT_NE(geom, nullptr);
    EXPECT_EQ(m.toNumber(m.get(m.get(bitmap.object(), "rectangle").object(), "height")), 3);
    m.set(geom, "Rectangle", Value(42.0));
    EXPECT_EQ(m.toNumber(m.get(bitmap.object(), "rectangle")), -1);
    EXPECT_EQ(m.toNumber(call(bitmap, "getColorBoundsRect", {Value(0.0), Value(0.0)})), -1);
}

TEST_F(ScriptBitmaps, ConstructorRefusesSizesThePlayerRefuses)
{
    const struct {
        std::vector<Value> args;
        bool made;
    } cases[] = {
        {{}, false},
        {{Value(5.0)}, false},
        {{Value(5.0), Value(6.0)}, true},
        {{Value(2880.0), Value(1.0)}, true},
        {{Value(2881.0), Value(1.0)}, false},
        {{Value(0.0), Value(1.0)}, false},
        {{Value(-3.0), Value(1.0)}, false},
        {{Value(std::nan("")), Value(1.0)}, false},
        {{Value(1e300), Value(1e300)}, false},
        {{Value::null(), Value(1.0)}, false},
    };
    for (const auto &c : cases) {
        const Value made = newBitmap(c.args);
        EXPECT_EQ(made.isObject(), c.made) << c.args.size();
        if (!c.made) {
            EXPECT_TRUE(made.isUndefined());
        }
    }
}

TEST(ScriptBitmapsVersions, LaterMoviesGetTheLargerLimitAndEarlierOnesNoClass)
{
    EXPECT_TRUE(BitmapSizeAllowed(10, 8191, 2048));
    EXPECT_FALSE(BitmapSizeAllowed(10, 8191, 2049));
    EXPECT_FALSE(BitmapSizeAllowed(10, 8192, 1));
    EXPECT_FALSE(BitmapSizeAllowed(9, 2881, 1));
    Machine seven(7);
    EXPECT_EQ(GlobalClass(seven, {"flash", "display", "BitmapData"}), nullptr);
}

TEST_F(ScriptBitmaps, FillColourAndTransparencyDefaults)
{
    const Value plain = newBitmap({Value(2.0), Value(2.0)});
    EXPECT_EQ(pixel32(plain, 1, 1), 0xFFFFFFFFu);
    EXPECT_TRUE(m.toBoolean(m.getMember(plain, "transparent")));
    const Value opaque = newBitmap({Value(2.0), Value(2.0), Value(false), Value(double(0x12345678))});
    EXPECT_EQ(pixel32(opaque, 0, 0), 0xFF345678u);
    const Value unsaid = newBitmap({Value(2.0), Value(2.0), Value()});
    EXPECT_FALSE(m.toBoolean(m.getMember(unsaid, "transparent")));
}

TEST_F(ScriptBitmaps, DisposedBitmapsAnswerMinusOne)
{
    const Value bitmap = newBitmap({Value(3.0), Value(3.0)});
    call(bitmap, "dispose");
    for (const char *property : {"width", "height", "transparent", "rectangle"})
        EXPECT_EQ(m.toNumber(m.getMember(bitmap, property)), -1) << property;
    EXPECT_EQ(m.toNumber(call(bitmap, "getPixel", {Value(0.0), Value(0.0)})), -1);
    EXPECT_EQ(m.toNumber(call(bitmap, "clone")), -1);
    EXPECT_TRUE(call(bitmap, "fillRect", {rect(0, 0, 1, 1), Value(0.0)}).isUndefined());
}

TEST_F(ScriptBitmaps, WrongArgumentsAnswerTheirPosition)
{
    const Value target = newBitmap({Value(3.0), Value(3.0)});
    const Value source = newBitmap({Value(3.0), Value(3.0)});
    const Value gone = newBitmap({Value(3.0), Value(3.0)});
    call(gone, "dispose");
    const struct {
        std::vector<Value> args;
        double answer;
    } cases[] = {
        {{source, rect(0, 0, 3, 3)}, -1},
        {{Value::null(), rect(0, 0, 3, 3), point(0, 0)}, -2},
        {{gone, rect(0, 0, 3, 3), point(0, 0)}, -3},
        {{source, Value(), point(0, 0)}, -4},
        {{source, rect(0, 0, 3, 3), Value()}, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(m.toNumber(call(target, "copyPixels", c.args)), c.answer) << c.answer;
    EXPECT_EQ(m.toNumber(call(target, "compare", {gone})), -2);
    EXPECT_EQ(m.toNumber(call(target, "compare", {newBitmap({Value(4.0), Value(3.0)})})), -3);
    EXPECT_EQ(m.toNumber(call(target, "compare", {newBitmap({Value(3.0), Value(4.0)})})), -4);
    EXPECT_EQ(m.toNumber(call(target, "compare", {source})), 0);
}

// The player's generator: seed 128 starts 0x80, 0x90, 0xE0; seeds of 0
// and below count up from 1.
TEST_F(ScriptBitmaps, NoiseFollowsThePlayersGenerator)
{
    const Value bitmap = newBitmap({Value(2.0), Value(1.0)});
    call(bitmap, "noise", {Value(128.0)});
    EXPECT_EQ(pixel32(bitmap, 0, 0), 0xFF8090E0u);
    call(bitmap, "noise", {Value(-1.0), Value(0.0), Value(255.0), Value(1.0), Value(true)});
    EXPECT_EQ(pixel32(bitmap, 0, 0), 0xFF4E4E4Eu);
    call(bitmap, "noise", {Value(128.0), Value(0.0), Value(-1.0)});
    EXPECT_EQ(pixel32(bitmap, 1, 0), 0xFF000000u);
}

// Each call writes the pixel its seed names and as many more as asked;
// the seed it returns names the last one, so a chain of calls covers the
// area once. The fill goes in as it is, even into an opaque bitmap.
TEST_F(ScriptBitmaps, PixelDissolveCoversEachPixelOnceWhateverItIsAsked)
{
    const Value bitmap = newBitmap({Value(7.0), Value(5.0), Value(false), Value(0.0)});
    auto filled = [&] {
        int count = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                count += pixel32(bitmap, x, y) == 0xFFFFFFFFu;
        return count;
    };
    Value seed(0.0);
    for (int round = 1; round <= 7; ++round) {
        seed = call(bitmap, "pixelDissolve",
                    {bitmap, rect(0, 0, 7, 5), point(0, 0), seed, Value(5.0), Value(double(0xFFFFFFFF))});
        EXPECT_EQ(filled(), std::min(35, 1 + 5 * round)) << round;
    }
    call(bitmap, "pixelDissolve", {bitmap, rect(0, 0, 7, 5), point(0, 0), Value(-5.0), Value(1e300), Value(0.0)});
    EXPECT_EQ(pixel32(bitmap, 3, 3), 0u);
    const Value notABitmap = call(bitmap, "pixelDissolve", {Value(5.0), rect(0, 0, 7, 5), point(0, 0)});
    EXPECT_EQ(m.toNumber(notABitmap), -1);
}

// One seed gives one picture; octaves beyond what a pixel shows are cut,
// and a base of 0 gives black rather than dividing by it.
TEST_F(ScriptBitmaps, PerlinNoiseIsTheSeedsOwnPicture)
{
    auto picture = [&](double seed, double octaves, double base) {
        const Value bitmap = newBitmap({Value(8.0), Value(8.0), Value(false)});
        call(bitmap, "perlinNoise",
             {Value(base), Value(base), Value(octaves), Value(seed), Value(true), Value(true), Value(7.0)});
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pixels.push_back(pixel32(bitmap, x, y));
        return pixels;
    };
    EXPECT_EQ(picture(7, 3, 4), picture(7, 3, 4));
    EXPECT_NE(picture(7, 3, 4), picture(8, 3, 4));
    EXPECT_EQ(picture(7, 1e9, 4), picture(7, 24, 4));
    EXPECT_EQ(picture(7, 3, 0), std::vector<uint32_t>(64, 0xFF000000u));
}

// Without a painter (a bare machine) applyFilter leaves the pixels; the
// box a filter covers grows by its reach on every side.
TEST_F(ScriptBitmaps, FilterRectanglesGrowByTheFiltersReach)
{
    const Value bitmap = newBitmap({Value(4.0), Value(4.0), Value(true), Value(double(0xFF102030))});
    Object *blurClass = GlobalClass(m, {"flash", "filters", "BlurFilter"});
    ASSERT_NE(blurClass, nullptr);
    const Value blur = m.construct(Value(blurClass), Args({Value(4.0), Value(4.0), Value(1.0)}));
    const Value grown = call(bitmap, "generateFilterRect", {rect(1, 1, 2, 2), blur});
    ASSERT_TRUE(grown.object());
    EXPECT_EQ(m.toNumber(m.get(grown.object(), "x")), -1);
    EXPECT_EQ(m.toNumber(m.get(grown.object(), "width")), 6);
    const Value asGiven = call(bitmap, "generateFilterRect", {rect(1, 1, 2, 2), Value(3.0)});
    ASSERT_TRUE(asGiven.object());
    EXPECT_EQ(m.toNumber(m.get(asGiven.object(), "width")), 2);
    EXPECT_EQ(m.toNumber(call(bitmap, "applyFilter", {bitmap, rect(0, 0, 4, 4), point(0, 0), blur})), 0);
    EXPECT_EQ(pixel32(bitmap, 0, 0), 0xFF102030u);
    EXPECT_EQ(m.toNumber(call(bitmap, "applyFilter", {bitmap, rect(0, 0, 4, 4), point(0, 0), Value(3.0)})), -1);
}

// A table may be any object, its missing entries counting 0; a table
// left out keeps its channel. Tables often come from arrays set sparsely,
// far out, which must cost no more than the elements set.
TEST_F(ScriptBitmaps, PaletteTablesAreAnyObjectAndSparseArraysStaySmall)
{
    const Value bitmap = newBitmap({Value(1.0), Value(1.0), Value(false), Value(double(0xFF112233))});
    Object *sparse = m.newArray({});
    m.set(sparse, "3000000000", Value(7.0));
    EXPECT_EQ(m.toNumber(m.get(sparse, "length")), 3000000001.0);
    EXPECT_EQ(m.toNumber(m.get(sparse, "3000000000")), 7);
    Object *green = m.newObject();
    m.set(green, "34", Value(double(0x4400)));
    call(bitmap, "paletteMap", {bitmap, rect(0, 0, 1, 1), point(0, 0), Value(sparse), Value(green)});
    EXPECT_EQ(pixel32(bitmap, 0, 0), 0xFF004433u);
    call(bitmap, "paletteMap", {bitmap, rect(0, 0, 1, 1), point(0, 0)});
    EXPECT_EQ(pixel32(bitmap, 0, 0), 0xFF004433u);
}

// Pixels count against the script memory: a loop making bitmaps is
// stopped by the budget, and disposing gives the memory back.
TEST_F(ScriptBitmaps, PixelsCountAgainstTheScriptMemory)
{
    EXPECT_THROW(
        {
            for (int i = 0; i < 100; ++i)
                newBitmap({Value(2880.0), Value(2880.0)});
        },
        ScriptAbort);
    m.collect({});
    for (int i = 0; i < 20; ++i)
        call(newBitmap({Value(2880.0), Value(2880.0)}), "dispose");
}

TEST(SurfaceCharacters, DrawWhatTheSurfaceHoldsNowAndNothingOnceDisposed)
{
    auto surface = std::make_shared<BitmapSurface>(MakeSurface(4, 4, 0xFFFF0000));
    swf::SurfaceCharacter character(surface, false);
    auto draw = [&] {
        QImage target(4, 4, QImage::Format_ARGB32_Premultiplied);
        target.fill(0);
        QPainter painter(&target);
        swf::RenderContext context;
        context.painter = &painter;
        context.stageToDevice = QTransform::fromScale(1.0 / 20, 1.0 / 20);
        character.render(context, swf::Matrix(), swf::ColorTransform(), 0);
        painter.end();
        return target.pixel(2, 2);
    };
    EXPECT_EQ(draw(), 0xFFFF0000u);
    FillRect(*surface, SurfaceRect(*surface), 0xFF0000FF);
    EXPECT_EQ(draw(), 0xFF0000FFu);
    surface->pixels = QImage();
    EXPECT_EQ(draw(), 0u);
    EXPECT_EQ(character.bounds().xMax, 0);
}

}  // namespace
