// What scripts change in the picture: the stage colour a movie and the
// movies it loads bring, text fields under colour transforms, text fields
// on either side of setMask, and the boxed values scripts draw with.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
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
