#include <QImage>
#include <gtest/gtest.h>

#include "swf/movie.h"
#include "swfbuilder.h"

using swf::MoviePlayer;
using swf::Rect;
using swf::Rgba;
using swftest::Placement;
using swftest::PlaceCharacter;
using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

// A 100 by 100 pixel stage (2000 twips) and a few characters on it.
const Rect kStage{0, 2000, 0, 2000};
const Rect kWhole{0, 2000, 0, 2000};
const Rect kLeftHalf{0, 1000, 0, 2000};
const Rgba kRed{255, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kGreen{0, 255, 0, 255};
const QRgb kWhite = qRgb(255, 255, 255);
constexpr uint16_t kRedId = 1, kBlueId = 2, kGreenLeftId = 3, kSpriteId = 10;

SwfBuilder StageWithCharacters(uint16_t frameCount)
{
    SwfBuilder b(8, kStage, 12, frameCount);
    b.defineRectangle(kRedId, kWhole, kRed);
    b.defineRectangle(kBlueId, kWhole, kBlue);
    b.defineRectangle(kGreenLeftId, kLeftHalf, kGreen);
    return b;
}

std::unique_ptr<MoviePlayer> Play(const SwfBuilder &b)
{
    QString error;
    auto movie = swf::LoadMovieFromBytes(b.bytes(), &error);
    EXPECT_TRUE(movie) << error.toStdString();
    return std::make_unique<MoviePlayer>(movie);
}

// Colours at the left and right half of the stage.
std::pair<QRgb, QRgb> Sample(const MoviePlayer &player)
{
    const QImage image = player.renderImage(QSize(100, 100), swf::Quality::Low);
    return {image.pixel(25, 50), image.pixel(75, 50)};
}

QRgb Colour(const Rgba &c) { return qRgb(c.r, c.g, c.b); }

}  // namespace

TEST(Timeline, StepsFramesAndWrapsOrStopsAtTheEnd)
{
    SwfBuilder b = StageWithCharacters(3);
    b.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    Placement toBlue = PlaceCharacter(1, kBlueId);
    toBlue.move = true;
    b.placeObject2(toBlue).showFrame();
    b.removeObject2(1).showFrame().end();
    auto player = Play(b);
    ASSERT_EQ(player->frameCount(), 3);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_EQ(Sample(*player).first, Colour(kRed));
    player->advance();
    EXPECT_EQ(player->currentFrame(), 1);
    EXPECT_EQ(Sample(*player).first, Colour(kBlue));
    player->advance();
    EXPECT_EQ(Sample(*player).first, kWhite);
    player->advance(true);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_EQ(Sample(*player).first, Colour(kRed));

    player->gotoFrame(2);
    player->advance(false);
    EXPECT_EQ(player->currentFrame(), 2);
    EXPECT_FALSE(player->isPlaying());
}

TEST(Timeline, GotoClampsAndGoingBackRebuildsTheList)
{
    SwfBuilder b = StageWithCharacters(3);
    b.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    b.removeObject2(1).placeObject2(PlaceCharacter(2, kGreenLeftId)).showFrame();
    b.placeObject2(PlaceCharacter(1, kBlueId)).showFrame().end();
    auto player = Play(b);
    const QImage first = player->renderImage(QSize(100, 100), swf::Quality::Low);
    player->gotoFrame(1000);
    EXPECT_EQ(player->currentFrame(), 2);
    // Blue below green: green on the left, blue on the right.
    EXPECT_EQ(Sample(*player), std::make_pair(Colour(kGreen), Colour(kBlue)));
    player->gotoFrame(-7);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_EQ(player->renderImage(QSize(100, 100), swf::Quality::Low), first);
    player->gotoFrame(1);
    EXPECT_EQ(Sample(*player), std::make_pair(Colour(kGreen), kWhite));
}

TEST(Timeline, MoveReplacesTheCharacterAndKeepsItsMatrix)
{
    SwfBuilder b = StageWithCharacters(2);
    Placement red = PlaceCharacter(1, kRedId);
    red.hasMatrix = true;
    red.matrix.tx = 1000;  // right half only
    b.placeObject2(red).showFrame();
    Placement blue = PlaceCharacter(1, kBlueId);
    blue.move = true;
    b.placeObject2(blue).showFrame().end();
    auto player = Play(b);
    EXPECT_EQ(Sample(*player), std::make_pair(kWhite, Colour(kRed)));
    player->advance();
    EXPECT_EQ(Sample(*player), std::make_pair(kWhite, Colour(kBlue)));
}

TEST(Timeline, ColourTransformAppliesToTheObject)
{
    SwfBuilder b = StageWithCharacters(1);
    Placement red = PlaceCharacter(1, kRedId);
    red.hasColorTransform = true;
    red.colorTransform.mult[0] = 0;
    red.colorTransform.add[2] = 255;
    b.placeObject2(red).showFrame().end();
    auto player = Play(b);
    EXPECT_EQ(Sample(*player).first, Colour(kBlue));
}

TEST(Timeline, ClipLayerMasksTheDepthsUpToItsClipDepth)
{
    SwfBuilder b = StageWithCharacters(1);
    Placement mask = PlaceCharacter(1, kGreenLeftId);
    mask.clipDepth = 2;
    b.placeObject2(mask);
    Placement masked = PlaceCharacter(2, kRedId);
    b.placeObject2(masked);
    Placement above = PlaceCharacter(3, kBlueId);
    above.hasMatrix = true;
    above.matrix.ty = 1500;  // bottom quarter, not masked
    b.placeObject2(above).showFrame().end();
    auto player = Play(b);
    const QImage image = player->renderImage(QSize(100, 100), swf::Quality::Low);
    EXPECT_EQ(image.pixel(25, 25), Colour(kRed));
    EXPECT_EQ(image.pixel(75, 25), kWhite);  // outside the mask, and the mask itself is not drawn
    EXPECT_EQ(image.pixel(75, 90), Colour(kBlue));
}

TEST(Timeline, ClipLayerInsideASpriteMasksOnlyItsSiblings)
{
    SwfBuilder sprite(8, kStage);
    Placement mask = PlaceCharacter(1, kGreenLeftId);
    mask.clipDepth = 5;
    sprite.placeObject2(mask).placeObject2(PlaceCharacter(2, kRedId)).showFrame();
    SwfBuilder b = StageWithCharacters(1);
    b.defineSprite(kSpriteId, 1, sprite.tags());
    Placement behind = PlaceCharacter(1, kBlueId);
    b.placeObject2(behind).placeObject2(PlaceCharacter(2, kSpriteId)).showFrame().end();
    auto player = Play(b);
    EXPECT_EQ(Sample(*player), std::make_pair(Colour(kRed), Colour(kBlue)));
}

TEST(Timeline, FrameActionsStopAndJump)
{
    SwfBuilder b = StageWithCharacters(4);
    b.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    b.doAction(actions::gotoFrame(3)).showFrame();  // frame 1 jumps to 3 and stops
    b.showFrame();
    b.removeObject2(1).frameLabel("last").showFrame().end();
    auto player = Play(b);
    player->advance();
    EXPECT_EQ(player->currentFrame(), 3);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(Sample(*player).first, kWhite);
    player->advance();
    EXPECT_EQ(player->currentFrame(), 3);
}

TEST(Timeline, EachScriptFreeActionMovesThePlayhead)
{
    const struct {
        const char *name;
        QByteArray script;
        int expectedFrame;
        bool expectedPlaying;
    } cases[] = {
        {"stop", actions::stop(), 1, false},
        {"play after stop", actions::stop() + actions::play(), 1, true},
        {"next frame", actions::nextFrame(), 2, false},
        {"previous frame", actions::prevFrame(), 0, false},
        {"go to label", actions::gotoLabel("Target"), 3, false},
        {"go to label ignoring case", actions::gotoLabel("target"), 3, false},
        {"unknown label", actions::gotoLabel("nowhere"), 1, true},
        {"goto2 number and play", actions::pushNumber(4) + actions::gotoFrame2(true), 3, true},
        {"goto2 label and stop", actions::pushString("Target") + actions::gotoFrame2(false), 3, false},
        {"goto2 number string", actions::pushString("3") + actions::gotoFrame2(false), 2, false},
        {"goto past the end clamps", actions::gotoFrame(60), 4, false},
        {"goto2 pooled label", actions::constantPool({"x", "Target"}) + actions::pushConstant(1) + actions::gotoFrame2(true), 3, true},
        {"goto2 after a non-constant push", actions::pushNumber(4) + QByteArray(1, char(0x0a)) + actions::gotoFrame2(false), 1, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SwfBuilder b = StageWithCharacters(5);
        b.showFrame().doAction(c.script).showFrame().showFrame().frameLabel("Target").showFrame().showFrame().end();
        auto player = Play(b);
        player->advance();
        EXPECT_EQ(player->currentFrame(), c.expectedFrame);
        EXPECT_EQ(player->isPlaying(), c.expectedPlaying);
    }
}

TEST(Timeline, JumpingFramesCannotLoopForever)
{
    SwfBuilder b = StageWithCharacters(3);
    b.showFrame();
    b.doAction(actions::gotoFrame(2) + actions::play()).showFrame();
    b.doAction(actions::gotoFrame(1) + actions::play()).showFrame().end();
    auto player = Play(b);
    player->advance();
    EXPECT_GE(player->currentFrame(), 1);
}

TEST(Timeline, SpritesAdvanceWithTheirParentAndStartFreshWhenPlaced)
{
    SwfBuilder sprite(8, kStage);
    sprite.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    sprite.removeObject2(1).placeObject2(PlaceCharacter(1, kBlueId)).showFrame();
    SwfBuilder b = StageWithCharacters(3);
    b.defineSprite(kSpriteId, 2, sprite.tags());
    b.showFrame();
    b.placeObject2(PlaceCharacter(1, kSpriteId)).doAction(actions::stop()).showFrame().showFrame().end();
    auto player = Play(b);
    EXPECT_EQ(Sample(*player).first, kWhite);
    player->advance();  // placed: its first frame
    EXPECT_EQ(Sample(*player).first, Colour(kRed));
    player->advance();  // root stopped, the sprite goes on
    EXPECT_EQ(player->currentFrame(), 1);
    EXPECT_EQ(Sample(*player).first, Colour(kBlue));
    player->advance();  // and loops
    EXPECT_EQ(Sample(*player).first, Colour(kRed));
}

TEST(Timeline, GoingBackKeepsASpritePlacedAtTheSameFrame)
{
    SwfBuilder sprite(8, kStage);
    sprite.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    sprite.removeObject2(1).placeObject2(PlaceCharacter(1, kBlueId)).doAction(actions::stop()).showFrame();
    SwfBuilder b = StageWithCharacters(2);
    b.defineSprite(kSpriteId, 2, sprite.tags());
    b.placeObject2(PlaceCharacter(1, kSpriteId)).showFrame().showFrame().end();
    auto player = Play(b);
    player->advance();
    EXPECT_EQ(Sample(*player).first, Colour(kBlue));
    player->gotoFrame(0);
    EXPECT_EQ(Sample(*player).first, Colour(kBlue));
}

TEST(Timeline, ButtonShowsItsUpState)
{
    swftest::BitWriter w;
    w.u16(20);  // button id
    w.u8(0);    // not a menu
    w.u16(0);   // no actions
    const struct { uint8_t states; uint16_t id; } records[] = {{0x01, kRedId}, {0x0e, kBlueId}};
    for (const auto &r : records) {
        w.u8(r.states);
        w.u16(r.id);
        w.u16(1);
        w.matrix(swf::Matrix());
        w.colorTransform(swf::ColorTransform(), true);
    }
    w.u8(0);
    SwfBuilder b = StageWithCharacters(1);
    b.tag(34, w.data());
    b.placeObject2(PlaceCharacter(1, 20)).showFrame().end();
    auto player = Play(b);
    EXPECT_EQ(Sample(*player).first, Colour(kRed));
}

TEST(Timeline, StageIsFittedAndCentredInTheBackgroundColour)
{
    SwfBuilder b(8, Rect{0, 2000, 0, 1000});
    b.setBackgroundColor(kGreen);
    b.defineRectangle(kRedId, Rect{0, 2000, 0, 1000}, kRed);
    b.placeObject2(PlaceCharacter(1, kRedId)).showFrame().end();
    auto player = Play(b);
    EXPECT_EQ(player->backgroundColor(), kGreen);
    const QImage image = player->renderImage(QSize(100, 100), swf::Quality::High);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(image.pixel(50, 10), Colour(kGreen));  // margin above
    EXPECT_EQ(image.pixel(50, 50), Colour(kRed));
    EXPECT_EQ(image.pixel(50, 90), Colour(kGreen));  // margin below
}

TEST(Timeline, TagsRunningPastTheEndAreClipped)
{
    SwfBuilder b = StageWithCharacters(2);
    b.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    b.tag(26, SwfBuilder::placeObject2Body(PlaceCharacter(2, kBlueId)).left(3), true);
    QByteArray bytes = b.bytes();
    // Claim a longer last tag than the file holds.
    bytes[bytes.size() - 4] = char(0x7f);
    auto movie = swf::LoadMovieFromBytes(bytes);
    ASSERT_TRUE(movie);
    MoviePlayer player(movie);
    EXPECT_EQ(Sample(player).first, Colour(kRed));
    player.advance();
    player.advance();
    EXPECT_EQ(Sample(player).first, Colour(kRed));
}

TEST(Timeline, PlacingOnAnOccupiedDepthKeepsTheFirstObject)
{
    SwfBuilder b = StageWithCharacters(1);
    b.placeObject2(PlaceCharacter(1, kRedId)).placeObject2(PlaceCharacter(1, kBlueId)).showFrame().end();
    auto player = Play(b);
    EXPECT_EQ(Sample(*player).first, Colour(kRed));
}

TEST(Timeline, SpriteReachedByTheHostsGotoRunsOnAtTheNextTick)
{
    SwfBuilder sprite(8, kStage);
    sprite.placeObject2(PlaceCharacter(1, kRedId)).showFrame();
    sprite.removeObject2(1).placeObject2(PlaceCharacter(1, kBlueId)).doAction(actions::stop()).showFrame();
    SwfBuilder b = StageWithCharacters(3);
    b.defineSprite(kSpriteId, 2, sprite.tags());
    b.showFrame().showFrame().placeObject2(PlaceCharacter(1, kSpriteId)).doAction(actions::stop()).showFrame().end();
    auto player = Play(b);
    player->gotoFrame(2);
    EXPECT_EQ(Sample(*player).first, Colour(kRed));
    player->advance();
    EXPECT_EQ(Sample(*player).first, Colour(kBlue));
}
