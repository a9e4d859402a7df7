// Buttons under the mouse and the keys: the picture of each state, the hit
// area, the state machine's transitions as the action records see them,
// key conditions, focus, and buttons inside sprites and under masks.

#include <QImage>
#include <gtest/gtest.h>

#include "swf/movie.h"
#include "swf/timeline/buttontracker.h"
#include "swf/timeline/keycodes.h"
#include "swfbuilder.h"

using swf::MoviePlayer;
using swf::Rect;
using swf::Rgba;
using swftest::ButtonCondition;
using swftest::ButtonRecord;
using swftest::Placement;
using swftest::PlaceCharacter;
using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

// A 100 by 100 pixel stage; the button's pictures cover it whole, its hit
// area only the left half.
const Rect kStage{0, 2000, 0, 2000};
const Rect kLeftHalf{0, 1000, 0, 2000};
const Rect kTopHalf{0, 2000, 0, 1000};
const Rgba kRed{255, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kGrey{128, 128, 128, 255};
constexpr uint16_t kUpId = 1, kOverId = 2, kDownId = 3, kHitId = 4, kTopId = 5, kButtonId = 20, kSpriteId = 30;
const QPointF kOnHitArea(25, 50);
const QPointF kOffHitArea(75, 50);  // on the picture, off the hit area

QRgb Colour(const Rgba &c) { return qRgb(c.r, c.g, c.b); }

std::vector<ButtonRecord> Records()
{
    return {{0x01, kUpId, 1, {}}, {0x02, kOverId, 1, {}}, {0x04, kDownId, 1, {}}, {0x08, kHitId, 2, {}}};
}

// One condition record per transition, so that a listener sees which fired.
std::vector<ButtonCondition> EveryTransition()
{
    std::vector<ButtonCondition> conditions;
    for (uint16_t bit = 1; bit <= swf::kOverDownToIdle; bit <<= 1)
        conditions.push_back({bit, {}});
    return conditions;
}

SwfBuilder Characters(uint16_t frameCount)
{
    SwfBuilder b(8, kStage, 12, frameCount);
    b.setBackgroundColor(kGrey);
    b.defineRectangle(kUpId, kStage, kRed);
    b.defineRectangle(kOverId, kStage, kBlue);
    b.defineRectangle(kDownId, kStage, kGreen);
    b.defineRectangle(kHitId, kLeftHalf, kGrey);
    b.defineRectangle(kTopId, kTopHalf, kGrey);
    return b;
}

// A movie that does not load plays as an empty one, and every test fails.
std::unique_ptr<MoviePlayer> Play(const SwfBuilder &b)
{
    return std::make_unique<MoviePlayer>(swf::LoadMovieFromBytes(b.bytes()));
}

std::unique_ptr<MoviePlayer> OneButton(bool trackAsMenu = false,
                                       const std::vector<ButtonCondition> &conditions = EveryTransition())
{
    SwfBuilder b = Characters(1);
    b.defineButton2(kButtonId, trackAsMenu, Records(), conditions);
    b.placeObject2(PlaceCharacter(1, kButtonId)).showFrame().end();
    return Play(b);
}

QRgb Shown(const MoviePlayer &player)
{
    return player.renderImage(QSize(100, 100), swf::Quality::Low).pixel(50, 50);
}

// Collects the transitions (or key codes) of the records that fire.
class FiredRecords : public swf::ButtonActionListener {
public:
    void buttonActionFired(swf::TimelineState &, swf::DisplayObject &, const swf::ButtonActionRecord &record) override
    {
        fired.push_back(record.conditions);
    }
    std::vector<uint16_t> fired;
};

enum class Input { In, Out, Down, Up };

void Apply(MoviePlayer &player, Input input, QPointF &at)
{
    switch (input) {
    case Input::In:
        at = kOnHitArea;
        player.mouseMove(at);
        break;
    case Input::Out:
        at = kOffHitArea;
        player.mouseMove(at);
        break;
    case Input::Down:
        player.mouseDown(at);
        break;
    case Input::Up:
        player.mouseUp(at);
        break;
    }
}

}  // namespace

TEST(Button, ThePointerOverTheHitAreaShowsTheOverPictureAndTheHand)
{
    auto player = OneButton();
    EXPECT_EQ(Shown(*player), Colour(kRed));
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Arrow);
    player->mouseMove(kOnHitArea);
    EXPECT_EQ(Shown(*player), Colour(kBlue));
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Hand);
    // The picture covers the right half too, the hit area does not.
    player->mouseMove(kOffHitArea);
    EXPECT_EQ(Shown(*player), Colour(kRed));
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Arrow);
}

TEST(Button, PressingShowsTheDownPictureAndReleasingTheOverPicture)
{
    auto player = OneButton();
    player->mouseMove(kOnHitArea);
    player->mouseDown(kOnHitArea);
    EXPECT_EQ(Shown(*player), Colour(kGreen));
    player->mouseMove(kOffHitArea);  // dragged out: the over picture
    EXPECT_EQ(Shown(*player), Colour(kBlue));
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Arrow);
    player->mouseMove(kOnHitArea);
    EXPECT_EQ(Shown(*player), Colour(kGreen));
    player->mouseUp(kOnHitArea);
    EXPECT_EQ(Shown(*player), Colour(kBlue));
    player->mouseLeave();
    EXPECT_EQ(Shown(*player), Colour(kRed));
}

struct TransitionCase {
    const char *name;
    bool trackAsMenu;
    std::vector<Input> inputs;
    std::vector<uint16_t> fired;
};

class ButtonTransitions : public testing::TestWithParam<TransitionCase> {};

TEST_P(ButtonTransitions, FireTheRecordsThatNameThem)
{
    const TransitionCase &c = GetParam();
    auto player = OneButton(c.trackAsMenu);
    FiredRecords listener;
    player->buttons().setListener(&listener);
    QPointF at = kOffHitArea;
    for (Input input : c.inputs)
        Apply(*player, input, at);
    EXPECT_EQ(listener.fired, c.fired);
}

using In = Input;
INSTANTIATE_TEST_SUITE_P(
    Button, ButtonTransitions,
    testing::Values(
        TransitionCase{"RollOverAndOut", false, {In::In, In::Out}, {swf::kIdleToOverUp, swf::kOverUpToIdle}},
        TransitionCase{"ClickFiresPressAndRelease", false, {In::In, In::Down, In::Up},
                       {swf::kIdleToOverUp, swf::kOverUpToOverDown, swf::kOverDownToOverUp}},
        TransitionCase{"DragOutAndBack", false, {In::In, In::Down, In::Out, In::In, In::Up},
                       {swf::kIdleToOverUp, swf::kOverUpToOverDown, swf::kOverDownToOutDown,
                        swf::kOutDownToOverDown, swf::kOverDownToOverUp}},
        TransitionCase{"ReleaseOutside", false, {In::In, In::Down, In::Out, In::Up},
                       {swf::kIdleToOverUp, swf::kOverUpToOverDown, swf::kOverDownToOutDown,
                        swf::kOutDownToIdle}},
        // A press that began elsewhere is no press of a plain button; it
        // rolls over once the button is let go.
        TransitionCase{"PressFromElsewhere", false, {In::Down, In::In, In::Up}, {swf::kIdleToOverUp}},
        TransitionCase{"MenuTakesAPressFromElsewhere", true, {In::Down, In::In, In::Up},
                       {swf::kIdleToOverDown, swf::kOverDownToOverUp}},
        TransitionCase{"MenuLetsGoOfAPressThatLeaves", true, {In::In, In::Down, In::Out, In::Up},
                       {swf::kIdleToOverUp, swf::kOverUpToOverDown, swf::kOverDownToIdle}}),
    [](const testing::TestParamInfo<TransitionCase> &info) { return std::string(info.param.name); });

TEST(Button, ReleaseRunsItsActionsOnTheTimelineThatHoldsTheButton)
{
    SwfBuilder b = Characters(3);
    b.defineButton2(kButtonId, false, Records(),
                    {{swf::kOverDownToOverUp, actions::gotoFrame(2)}, {swf::kIdleToOverUp, actions::play()}});
    b.placeObject2(PlaceCharacter(1, kButtonId)).doAction(actions::stop()).showFrame();
    b.showFrame().showFrame().end();
    auto player = Play(b);
    player->mouseMove(kOnHitArea);  // play
    EXPECT_TRUE(player->isPlaying());
    player->setPlaying(false);
    player->mouseDown(kOnHitArea);
    EXPECT_EQ(player->currentFrame(), 0);
    player->mouseUp(kOnHitArea);
    EXPECT_EQ(player->currentFrame(), 2);
    EXPECT_FALSE(player->isPlaying());
}

TEST(Button, TheFirstVersionFiresItsActionsOnRelease)
{
    SwfBuilder b = Characters(2);
    b.defineButton(kButtonId, Records(), actions::nextFrame());
    b.placeObject2(PlaceCharacter(1, kButtonId)).doAction(actions::stop()).showFrame().showFrame().end();
    auto player = Play(b);
    player->mouseMove(kOnHitArea);
    player->mouseDown(kOnHitArea);
    EXPECT_EQ(Shown(*player), Colour(kGreen));
    EXPECT_EQ(player->currentFrame(), 0);
    player->mouseUp(kOnHitArea);
    EXPECT_EQ(player->currentFrame(), 1);
}

TEST(Button, KeysFireTheRecordsThatNameThem)
{
    const uint16_t keyA = uint16_t('a') << 9, keyLeft = uint16_t(1) << 9, keyEnter = uint16_t(13) << 9;
    auto player = OneButton(false, {{keyA, {}}, {keyLeft, {}}, {keyEnter, {}}});
    FiredRecords listener;
    player->buttons().setListener(&listener);
    player->keyDown('A', U'a');
    player->keyUp('A', U'a');
    player->keyDown('B', U'b');
    player->keyDown(swf::kKeyLeft);
    player->keyDown(swf::kKeyEnter, U'\r');
    EXPECT_EQ(listener.fired, (std::vector<uint16_t>{keyA, keyLeft, keyEnter}));
}

TEST(Button, TabFocusesTheButtonsInReadingOrderAndSpaceOrEnterClicksTheFocusedOne)
{
    SwfBuilder b = Characters(3);
    const uint16_t kLowerId = kButtonId + 1;
    b.defineButton2(kButtonId, false, Records(), {{swf::kOverDownToOverUp, actions::gotoFrame(1)}});
    b.defineButton2(kLowerId, false, Records(), {{swf::kOverDownToOverUp, actions::gotoFrame(2)}});
    Placement lower = PlaceCharacter(1, kLowerId);
    lower.hasMatrix = true;
    lower.matrix.ty = 500;
    b.placeObject2(lower).placeObject2(PlaceCharacter(2, kButtonId)).doAction(actions::stop()).showFrame();
    b.showFrame().showFrame().end();
    auto player = Play(b);
    player->keyDown(swf::kKeySpace, U' ');  // nothing has the focus yet
    EXPECT_EQ(player->currentFrame(), 0);
    player->keyDown(swf::kKeyTab);  // the upper one
    player->keyDown(swf::kKeySpace, U' ');
    EXPECT_EQ(player->currentFrame(), 1);
    player->keyDown(swf::kKeyTab);
    player->keyDown(swf::kKeyEnter, U'\r');
    EXPECT_EQ(player->currentFrame(), 2);
}

TEST(Button, AButtonInsideAMovedSpriteIsHitWhereItShows)
{
    SwfBuilder b = Characters(1);
    b.defineButton2(kButtonId, false, Records());
    b.defineSprite(kSpriteId, 1,
                   SwfBuilder::tagBytes(26, SwfBuilder::placeObject2Body(PlaceCharacter(1, kButtonId)))
                       + SwfBuilder::tagBytes(1, {}));
    Placement moved = PlaceCharacter(1, kSpriteId);
    moved.hasMatrix = true;
    moved.matrix.tx = 1000;  // the hit area now covers the right half
    b.placeObject2(moved).showFrame().end();
    auto player = Play(b);
    player->mouseMove(kOnHitArea);
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Arrow);
    player->mouseMove(kOffHitArea);
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Hand);
}

TEST(Button, AMaskOverTheButtonLimitsWhereItIsHit)
{
    SwfBuilder b = Characters(1);
    b.defineButton2(kButtonId, false, Records());
    Placement mask = PlaceCharacter(1, kTopId);
    mask.clipDepth = 5;
    b.placeObject2(mask).placeObject2(PlaceCharacter(2, kButtonId)).showFrame().end();
    auto player = Play(b);
    player->mouseMove(QPointF(25, 75));
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Arrow);
    player->mouseMove(QPointF(25, 25));
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Hand);
}

TEST(Button, AButtonThatGoesAwayUnderThePointerLeavesNothingBehind)
{
    SwfBuilder b = Characters(2);
    b.defineButton2(kButtonId, false, Records(), EveryTransition());
    b.placeObject2(PlaceCharacter(1, kButtonId)).showFrame();
    b.removeObject2(1).showFrame().end();
    auto player = Play(b);
    player->mouseMove(kOnHitArea);
    player->mouseDown(kOnHitArea);
    player->advance();
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Arrow);
    player->mouseUp(kOnHitArea);
    // Back at the first frame the new button comes under the resting
    // pointer and rolls over at once.
    player->advance();
    EXPECT_EQ(player->cursor(), swf::MouseCursor::Hand);
    EXPECT_EQ(Shown(*player), Colour(kBlue));
}

TEST(Button, StagePointsFollowTheFittedAndCentredStage)
{
    auto player = OneButton();
    const QRect wide(0, 0, 200, 100);  // the stage shows 100 pixels wide from x 50
    EXPECT_EQ(player->stagePointAt(wide, QPointF(50, 0)), QPointF(0, 0));
    EXPECT_EQ(player->stagePointAt(wide, QPointF(100, 50)), QPointF(50, 50));
    const QRect doubled(10, 10, 200, 200);
    EXPECT_EQ(player->stagePointAt(doubled, QPointF(110, 210)), QPointF(50, 100));
}

struct LyingActionsCase {
    const char *name;
    bool offsetPastTheEnd;
    uint16_t recordSize;
};

class ButtonLyingActions : public testing::TestWithParam<LyingActionsCase> {};

TEST_P(ButtonLyingActions, AreLeftOut)
{
    swftest::BitWriter records;
    records.u8(0x0f);
    records.u16(kUpId);
    records.u16(1);
    records.matrix(swf::Matrix());
    records.colorTransform(swf::ColorTransform(), true);
    records.u8(0);
    swftest::BitWriter w;
    w.u16(kButtonId);
    w.u8(0);
    w.u16(GetParam().offsetPastTheEnd ? 0xfff0 : uint16_t(2 + records.data().size()));
    w.bytes(records.data());
    w.u16(GetParam().recordSize);
    w.u16(swf::kIdleToOverUp);
    SwfBuilder b = Characters(1);
    b.tag(34, w.data());
    b.placeObject2(PlaceCharacter(1, kButtonId)).showFrame().end();
    auto player = Play(b);
    FiredRecords listener;
    player->buttons().setListener(&listener);
    player->mouseMove(QPointF(50, 50));
    EXPECT_EQ(Shown(*player), Colour(kRed));  // the one picture of all states
    EXPECT_TRUE(listener.fired.empty());
}

INSTANTIATE_TEST_SUITE_P(Button, ButtonLyingActions,
                         testing::Values(LyingActionsCase{"OffsetPastTheEnd", true, 0},
                                         LyingActionsCase{"RecordShorterThanItsHeader", false, 2},
                                         LyingActionsCase{"RecordLongerThanTheTag", false, 400}),
                         [](const testing::TestParamInfo<LyingActionsCase> &info) {
                             return std::string(info.param.name);
                         });
