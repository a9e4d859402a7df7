// What scripts change in the picture: the stage colour a movie and the
// movies it loads bring, text fields under colour transforms, text fields
// on either side of setMask, and the boxed values scripts draw with.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "actionassembler.h"
#include "swf/characters/drawing.h"
#include "swf/movie.h"
#include "swf/timeline/scriptmasks.h"
#include "swfbuilder.h"

using swftest::ActionAssembler;
using swftest::SwfBuilder;
using Item = ActionAssembler::Item;

namespace {

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kGetVariable = 0x1c, kSetMember = 0x4f, kGetMember = 0x4e,
                  kCallMethod = 0x52, kNewObject = 0x40, kAdd2 = 0x47, kGetUrl = 0x83,
                  kSetVariable = 0x1d, kInitObject = 0x43;
constexpr QRgb kWhite = 0xffffffff, kGreen = 0xff00ff00;

// target.method(args...), its result dropped.
ActionAssembler &Call(ActionAssembler &a, const char *target, const char *method, std::vector<Item> args = {})
{
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg)
        a.push({*arg});
    a.push({int(args.size()), target}).op(kGetVariable).push({method}).op(kCallMethod).op(kPop);
    return a;
}

ActionAssembler &SetMember(ActionAssembler &a, const char *target, const char *member, Item value)
{
    return a.push({target}).op(kGetVariable).push({member, value}).op(kSetMember);
}

// A field `t` filling 0..100 pixels with a green background, and a clip
// `a` with a blue square drawn over 50..150.
ActionAssembler FieldAndSquare()
{
    ActionAssembler a;
    Call(a, "this", "createTextField", {"t", 1, 0, 0, 100, 100});
    SetMember(a, "t", "background", Item::boolean(true));
    SetMember(a, "t", "backgroundColor", 0x00ff00);
    SetMember(a, "t", "text", "Hello");
    Call(a, "this", "createEmptyMovieClip", {"a", 2});
    Call(a, "a", "beginFill", {0x0000ff});
    Call(a, "a", "moveTo", {50, 50});
    for (const auto &[x, y] : {std::pair{150, 50}, {150, 150}, {50, 150}, {50, 50}})
        Call(a, "a", "lineTo", {x, y});
    Call(a, "a", "endFill");
    return a;
}

QByteArray MovieOf(const QByteArray &script, uint8_t version = 8)
{
    SwfBuilder b(version, swf::Rect{0, 4000, 0, 4000}, 12, 1);
    b.doAction(script + swftest::actions::stop()).showFrame();
    return b.bytes();
}

QImage Picture(const QByteArray &script)
{
    swf::MoviePlayer player(swf::LoadMovieFromBytes(MovieOf(script)));
    return player.renderImage(QSize(200, 200), swf::Quality::High);
}

QStringList Traces(const QByteArray &script, uint8_t version = 8)
{
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(MovieOf(script, version)),
                            [&lines](const QString &line) { lines << line; });
    return lines;
}

}  // namespace

TEST(Avm1FieldMasks, AFieldMaskedByAClipShowsOnlyWhereTheClipIs)
{
    // The clip's method borrowed by the field, as movies do.
    ActionAssembler a = FieldAndSquare();
    a.push({"t"}).op(kGetVariable).push({"setMask", "a"}).op(kGetVariable).push({"setMask"}).op(kGetMember);
    a.op(kSetMember);
    Call(a, "t", "setMask", {"a"});
    const QImage picture = Picture(a.bytes());
    EXPECT_EQ(picture.pixel(75, 75), kGreen) << "the field inside the mask";
    EXPECT_EQ(picture.pixel(25, 25), kWhite) << "the field outside the mask";
    EXPECT_EQ(picture.pixel(125, 125), kWhite) << "the mask itself is not drawn";
}

TEST(Avm1FieldMasks, DeviceTextMasksEverythingAway)
{
    ActionAssembler a = FieldAndSquare();
    a.push({"t"}).op(kGetVariable).push({1, "a"}).op(kGetVariable).push({"setMask"}).op(kCallMethod).op(kPop);
    const QImage picture = Picture(a.bytes());
    for (const QPoint &at : {QPoint(25, 25), QPoint(75, 75), QPoint(125, 125)})
        EXPECT_EQ(picture.pixel(at), kWhite) << "neither the field nor the clip it masks at " << at.x();
}

TEST(Avm1FieldMasks, NullUnmasksAField)
{
    ActionAssembler a = FieldAndSquare();
    a.push({"t"}).op(kGetVariable).push({"setMask", "a"}).op(kGetVariable).push({"setMask"}).op(kGetMember);
    a.op(kSetMember);
    Call(a, "t", "setMask", {"a"});
    Call(a, "t", "setMask", {Item::null()});
    const QImage picture = Picture(a.bytes());
    EXPECT_EQ(picture.pixel(25, 25), kGreen);
    EXPECT_EQ(picture.pixel(125, 125), 0xff0000ffu) << "the clip is drawn again";
}

TEST(Avm1FieldMasks, AFieldThatHasGoneTakesNoPart)
{
    swf::ScriptMasks masks;
    auto field = std::make_shared<swf::Drawing>();
    auto maskField = std::make_shared<swf::Drawing>();
    masks.set(swf::MaskParty::Field(field, nullptr), swf::MaskParty::Field(maskField, nullptr));
    const void *key = field.get();
    EXPECT_TRUE(masks.isMasked(key));
    EXPECT_TRUE(masks.isMask(maskField.get()));
    field.reset();
    EXPECT_FALSE(masks.isMasked(key));
    EXPECT_FALSE(masks.isMask(maskField.get())) << "the mask is drawn again once the field it masked is gone";
}

TEST(Avm1FieldLook, DeviceTextTakesTheColourButNotTheAlpha)
{
    ActionAssembler a;
    Call(a, "this", "createTextField", {"t", 1, 0, 0, 100, 100});
    SetMember(a, "t", "background", Item::boolean(true));
    SetMember(a, "t", "backgroundColor", 0x000000);
    // c = new Color(this); c.setTransform({rb: 255, aa: 20}): red, and faint.
    a.push({"c", "this"}).op(kGetVariable).push({1, "Color"}).op(kNewObject).op(kSetVariable);
    a.push({"rb", 255, "aa", 20, 2}).op(kInitObject);
    a.push({1, "c"}).op(kGetVariable).push({"setTransform"}).op(kCallMethod).op(kPop);
    const QImage picture = Picture(a.bytes());
    EXPECT_EQ(picture.pixel(50, 50), 0xffff0000u);
}

// Objects made with `new` keep the value they box.
TEST(Avm1Boxes, ConstructedValuesConvertToWhatTheyHold)
{
    struct Case {
        const char *constructor;
        std::vector<Item> args;
        const char *expected;
    };
    const std::vector<Case> cases = {
        {"Number", {5}, "5"},         {"Number", {}, "0"},       {"Boolean", {Item::boolean(true)}, "true"},
        {"String", {"ab"}, "ab"},     {"String", {}, ""},
    };
    for (const Case &c : cases) {
        ActionAssembler a;
        for (auto arg = c.args.rbegin(); arg != c.args.rend(); ++arg)
            a.push({*arg});
        a.push({int(c.args.size()), c.constructor}).op(kNewObject).op(kTrace);
        a.push({""}).push({0, "Number"}).op(kNewObject).op(kAdd2).push({"after"}).op(kAdd2).op(kTrace);
        EXPECT_EQ(Traces(a.bytes()), (QStringList{c.expected, "0after"})) << c.constructor;
    }
}

class StageColour : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir(dir_.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // A movie that sets `colours` in turn, one a frame, and loads
    // `levelMovie` into level 1 in its last frame.
    static QByteArray Movie(const std::vector<swf::Rgba> &colours, const char *levelMovie)
    {
        SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, uint16_t(colours.size() + 1));
        for (const swf::Rgba &colour : colours)
            b.setBackgroundColor(colour).showFrame();
        QByteArray load;
        if (levelMovie) {
            const QByteArray operands = QByteArray(levelMovie) + '\0' + "_level1" + '\0';
            load += char(kGetUrl);
            load += char(operands.size());
            load += '\0';
            load += operands;
        }
        b.doAction(load + swftest::actions::stop()).showFrame();
        return b.bytes();
    }

    swf::Rgba shownAfterFrames(const QString &path, int frames)
    {
        swf::MoviePlayer player(swf::LoadMovie(path));
        for (int i = 1; i < frames; ++i)
            player.advance();
        return player.backgroundColor();
    }

    QTemporaryDir dir_;
};

TEST_F(StageColour, TheFirstColourAMovieSetsStays)
{
    const QString path = write("main.swf", Movie({{255, 0, 0, 255}, {0, 255, 0, 255}}, nullptr));
    EXPECT_EQ(shownAfterFrames(path, 4), (swf::Rgba{255, 0, 0, 255}));
}

TEST_F(StageColour, AMovieWithoutAColourTakesTheOneALevelBrings)
{
    write("level.swf", Movie({{0, 0, 255, 255}}, nullptr));
    const QString bare = write("bare.swf", Movie({}, "level.swf"));
    EXPECT_EQ(shownAfterFrames(bare, 1), (swf::Rgba{255, 255, 255, 255})) << "white until the level arrives";
    EXPECT_EQ(shownAfterFrames(bare, 4), (swf::Rgba{0, 0, 255, 255}));
    const QString red = write("red.swf", Movie({{255, 0, 0, 255}}, "level.swf"));
    EXPECT_EQ(shownAfterFrames(red, 5), (swf::Rgba{255, 0, 0, 255})) << "a level never replaces the movie's own";
}

namespace {

constexpr uint8_t kNewMethod = 0x53, kInitArray = 0x42;

// bd = new flash.display.BitmapData(10, 10, false, 0xff0000)
ActionAssembler &RedBitmap(ActionAssembler &a)
{
    a.push({"bd", 0xff0000, Item::boolean(false), 10, 10, 4, "flash"}).op(kGetVariable);
    a.push({"display"}).op(kGetMember).push({"BitmapData"}).op(kNewMethod).op(kSetVariable);
    return a;
}

// target.method(variable, more...): the first argument is a variable's value.
ActionAssembler &CallOn(ActionAssembler &a, const char *target, const char *method, const char *variable,
                        std::vector<Item> more = {})
{
    for (auto arg = more.rbegin(); arg != more.rend(); ++arg)
        a.push({*arg});
    a.push({variable}).op(kGetVariable);
    a.push({int(more.size()) + 1, target}).op(kGetVariable).push({method}).op(kCallMethod).op(kPop);
    return a;
}

// A square over 0..50 in clip `a`, filled by `fill` (which leaves the
// clip's method call on the stack's top).
ActionAssembler SquareFilledBy(const std::function<void(ActionAssembler &)> &fill)
{
    ActionAssembler a;
    Call(a, "this", "createEmptyMovieClip", {"a", 1});
    fill(a);
    Call(a, "a", "moveTo", {0, 0});
    for (const auto &[x, y] : {std::pair{50, 0}, {50, 50}, {0, 50}, {0, 0}})
        Call(a, "a", "lineTo", {x, y});
    Call(a, "a", "endFill");
    return a;
}

// a.beginGradientFill("linear", [0xff0000, 0xff0000], [100, 100], [0, last], box, extra...)
void RedGradient(ActionAssembler &a, Item last, std::vector<Item> extra)
{
    for (auto arg = extra.rbegin(); arg != extra.rend(); ++arg)
        a.push({*arg});
    a.push({"matrixType", "box", "x", 0, "y", 0, "w", 50, "h", 50, "r", 0, 6}).op(kInitObject);
    a.push({last, 0, 2}).op(kInitArray).push({100, 100, 2}).op(kInitArray);
    a.push({0xff0000, 0xff0000, 2}).op(kInitArray).push({"linear"});
    a.push({int(extra.size()) + 5, "a"}).op(kGetVariable).push({"beginGradientFill"}).op(kCallMethod).op(kPop);
}

}  // namespace

TEST(Avm1BitmapFill, TheFillShowsTheBitmapAsItIsWhenDrawn)
{
    ActionAssembler a = SquareFilledBy([](ActionAssembler &s) {
        CallOn(RedBitmap(s), "a", "beginBitmapFill", "bd");
    });
    // Drawn after the fill was set: bd.fillRect(bd.rectangle, 0xff0000ff).
    a.push({4278190335.0, "bd"}).op(kGetVariable).push({"rectangle"}).op(kGetMember);
    a.push({2, "bd"}).op(kGetVariable).push({"fillRect"}).op(kCallMethod).op(kPop);
    EXPECT_EQ(Picture(a.bytes()).pixel(25, 25), 0xff0000ffu);
}

TEST(Avm1BitmapFill, ABitmapThatDoesNotRepeatCarriesItsEdgesOn)
{
    struct Case {
        const char *what;
        std::function<void(ActionAssembler &)> fill;
        QRgb at40;
    };
    const std::vector<Case> cases = {
        {"edges carried on",
         [](ActionAssembler &s) {
             CallOn(RedBitmap(s), "a", "beginBitmapFill", "bd", {Item::null(), Item::boolean(false)});
         },
         0xffff0000},
        {"repeated", [](ActionAssembler &s) { CallOn(RedBitmap(s), "a", "beginBitmapFill", "bd"); }, 0xffff0000},
        {"an empty matrix is the identity",
         [](ActionAssembler &s) {
             // a.beginBitmapFill(bd, {}, false): the bitmap's edges, not a point stretched.
             RedBitmap(s).push({Item::boolean(false), 0}).op(kInitObject).push({"bd"}).op(kGetVariable);
             s.push({3, "a"}).op(kGetVariable).push({"beginBitmapFill"}).op(kCallMethod).op(kPop);
         },
         0xffff0000},
        {"no bitmap fills nothing", [](ActionAssembler &s) { Call(s, "a", "beginBitmapFill", {42}); }, kWhite},
    };
    for (const Case &c : cases) {
        const QImage picture = Picture(SquareFilledBy(c.fill).bytes());
        EXPECT_EQ(picture.pixel(40, 40), c.at40) << c.what;
    }
}

TEST(Avm1GradientFill, RatiosAreWholeNumbersWithin0To255)
{
    struct Case {
        Item last;
        std::vector<Item> extra;
        QRgb at25;
    };
    const std::vector<Case> cases = {
        {255, {}, 0xffff0000},
        {255.9, {}, 0xffff0000},
        {256, {}, kWhite},
        {-1, {}, kWhite},
        {255, {"pad", "RGB", 0}, 0xffff0000},
        {255, {"pad", "RGB", 0, "one too many"}, kWhite},
    };
    for (const Case &c : cases) {
        const QImage picture = Picture(SquareFilledBy([&c](ActionAssembler &s) { RedGradient(s, c.last, c.extra); }).bytes());
        EXPECT_EQ(picture.pixel(25, 25), c.at25) << c.last.number << " with " << c.extra.size() << " more";
    }
}

TEST(Avm1ClipDisplay, OpaqueBackgroundAndBlendModeReadBackAsSet)
{
    ActionAssembler a;
    Call(a, "this", "createEmptyMovieClip", {"c", 1});
    const auto traceMember = [&a](const char *member) {
        a.push({"c"}).op(kGetVariable).push({member}).op(kGetMember).op(kTrace);
    };
    traceMember("opaqueBackground");
    traceMember("blendMode");
    SetMember(a, "c", "opaqueBackground", 0x1000ff00);
    SetMember(a, "c", "blendMode", "multiply");
    traceMember("opaqueBackground");
    traceMember("blendMode");
    SetMember(a, "c", "opaqueBackground", Item::null());
    SetMember(a, "c", "blendMode", 4);
    traceMember("opaqueBackground");
    traceMember("blendMode");
    SetMember(a, "c", "blendMode", "no such mode");
    traceMember("blendMode");
    EXPECT_EQ(Traces(a.bytes()), (QStringList{"undefined", "normal", "65280", "multiply", "undefined", "screen",
                                              "screen"}));
    EXPECT_EQ(Traces(a.bytes(), 7).mid(0, 2), (QStringList(2, "undefined"))) << "the properties came with version 8";
}

TEST(Avm1ClipDisplay, AnOpaqueBackgroundFillsTheClipsBox)
{
    // A blue triangle over the top left half of 0..100.
    ActionAssembler a;
    Call(a, "this", "createEmptyMovieClip", {"c", 1});
    Call(a, "c", "beginFill", {0x0000ff});
    Call(a, "c", "moveTo", {0, 0});
    for (const auto &[x, y] : {std::pair{100, 0}, {0, 100}, {0, 0}})
        Call(a, "c", "lineTo", {x, y});
    Call(a, "c", "endFill");
    SetMember(a, "c", "opaqueBackground", 0xff0000);
    const QImage picture = Picture(a.bytes());
    EXPECT_EQ(picture.pixel(20, 20), 0xff0000ffu) << "the drawing over its background";
    EXPECT_EQ(picture.pixel(80, 80), 0xffff0000u) << "the background where the drawing is not";
    EXPECT_EQ(picture.pixel(150, 150), kWhite) << "outside the box";
}
