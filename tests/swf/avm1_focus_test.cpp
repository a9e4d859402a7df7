// The keyboard focus as scripts and the person at the keys share it: where
// the focus rectangle is drawn and when, the movie's _focusrect and a
// clip's own, the focus leaving what a script removes or hides or what the
// timeline takes away, buttons whose key records take a key before the
// focus does, and a button's object that lives through its pictures.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "actionassembler.h"
#include "scriptparts.h"
#include "swf/avm1/code.h"
#include "swf/movie.h"
#include "swf/timeline/button.h"
#include "swf/timeline/keycodes.h"
#include "swfbuilder.h"
#include "tracerun.h"

using namespace swf::avm1;
using swftest::ActionAssembler;
using swftest::Call;
using swftest::Get;
using swftest::Set;
using swftest::SwfBuilder;
using Item = ActionAssembler::Item;

namespace {

constexpr int kStagePixels = 100;
constexpr double kTwips = 20;
constexpr uint16_t kSquareId = 1, kClipId = 2, kButtonId = 3;
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);

// Selection.method(path's value), its result traced or dropped.
ActionAssembler Selection(const char *method, const char *path = nullptr, bool traced = false)
{
    ActionAssembler a;
    if (path)
        Get(a, path);
    a.push({path ? 1 : 0, "Selection"}).op(kActionGetVariable).push({method}).op(kActionCallMethod);
    a.op(traced ? kActionTrace : kActionPop);
    return a;
}

// A Selection listener that traces the object that gains the focus.
ActionAssembler Listener()
{
    ActionAssembler body;
    Get(body, "gained").op(kActionTrace);
    ActionAssembler a;
    a.push({"listener", 0, "Object"}).op(kActionNewObject).op(kActionSetVariable);
    Get(a, "listener").push({"onSetFocus"}).function("", {"lost", "gained"}, body).op(kActionSetMember);
    Get(a, "listener").push({1, "Selection"}).op(kActionGetVariable).push({"addListener"});
    a.op(kActionCallMethod).op(kActionPop);
    return a;
}

ActionAssembler Script(std::initializer_list<ActionAssembler> parts)
{
    ActionAssembler all;
    for (const ActionAssembler &part : parts)
        all.append(part);
    return all;
}

// A 100 pixel stage on black with the clip "a": a red square of 20 pixels
// centred on (50, 50), turned by `degrees`. Each script is a frame.
struct Movie {
    uint8_t version = 8;
    double degrees = 0;
    std::vector<ActionAssembler> frames;

    QByteArray bytes() const
    {
        SwfBuilder b(version, swf::Rect{0, kStagePixels * 20, 0, kStagePixels * 20}, 12,
                     uint16_t(std::max<size_t>(frames.size(), 1)));
        b.setBackgroundColor(swf::Rgba{0, 0, 0, 255});
        b.defineRectangle(kSquareId, swf::Rect{-200, 200, -200, 200}, swf::Rgba{255, 0, 0, 255});
        b.defineSprite(kClipId, 1,
                       SwfBuilder::tagBytes(26, SwfBuilder::placeObject2Body(swftest::PlaceCharacter(1, kSquareId)))
                           + SwfBuilder::tagBytes(1, {}));
        swftest::Placement clip = swftest::PlaceCharacter(1, kClipId);
        clip.name = "a";
        clip.hasMatrix = true;
        const double turn = degrees * M_PI / 180;
        clip.matrix = swf::Matrix{std::cos(turn), std::sin(turn), -std::sin(turn), std::cos(turn), 50 * kTwips,
                                  50 * kTwips};
        b.placeObject2(clip);
        for (const ActionAssembler &frame : frames)
            b.doAction(frame.bytes()).showFrame();
        return b.bytes();
    }
};

struct Playing : swftest::TracedPlayer {
    explicit Playing(const Movie &movie) : TracedPlayer(movie.bytes()) {}
    QImage picture() const { return player->renderImage(QSize(kStagePixels, kStagePixels), swf::Quality::Low); }
    QRgb at(int x, int y) const { return picture().pixel(x, y); }
};

TEST(FocusRectangle, GoesRoundTheBoundsOfATurnedClipInsideThem)
{
    // Turned by 45 degrees the square's corners reach 50 +- 14.1 pixels.
    Movie movie{8, 45, {Script({Set("a", "focusEnabled", Item::boolean(true)), Selection("setFocus", "a")})}};
    Playing run(movie);
    const QImage shown = run.picture();
    EXPECT_EQ(shown.pixel(37, 37), kYellow) << "the band follows the bounds, not the turned square";
    EXPECT_EQ(shown.pixel(62, 50), kYellow);
    EXPECT_EQ(shown.pixel(50, 62), kYellow);
    EXPECT_EQ(shown.pixel(34, 50), kBlack) << "nothing outside the bounds";
    EXPECT_EQ(shown.pixel(41, 50), kRed) << "the band is three pixels wide";
}

struct FocusRectCase {
    const char *name;
    uint8_t version;
    ActionAssembler before;  // runs before the clip takes the focus
    ActionAssembler after;
    bool shown;
};

class FocusRectRules : public testing::TestWithParam<FocusRectCase> {};

TEST_P(FocusRectRules, DecideWhetherTheFocusedClipHasARectangle)
{
    const FocusRectCase &c = GetParam();
    Movie movie{c.version, 0,
                {Script({c.before, Set("a", "focusEnabled", Item::boolean(true)), Selection("setFocus", "a"), c.after})}};
    Playing run(movie);
    EXPECT_EQ(run.at(41, 50), c.shown ? kYellow : kRed);
}

INSTANTIATE_TEST_SUITE_P(
    Focus, FocusRectRules,
    testing::Values(
        FocusRectCase{"ShownByDefault", 8, {}, {}, true},
        FocusRectCase{"TheMoviesFalseHidesIt", 8, Set("_root", "_focusrect", Item::boolean(false)), {}, false},
        FocusRectCase{"TheClipsOwnOverridesTheMovies", 8,
                      Script({Set("_root", "_focusrect", Item::boolean(false)),
                              Set("a", "_focusrect", Item::boolean(true))}),
                      {}, true},
        FocusRectCase{"NullLetsTheClipFollowTheMovieAgain", 8,
                      Script({Set("a", "_focusrect", Item::boolean(false)), Set("a", "_focusrect", Item::null())}),
                      {}, true},
        FocusRectCase{"TheClipsOwnCountsAsItWasWhenTheFocusCame", 8, {},
                      Set("a", "_focusrect", Item::boolean(false)), true},
        FocusRectCase{"TheMoviesCountsAsItIsNow", 8, {}, Set("_root", "_focusrect", Item::boolean(false)), false},
        // Before SWF 6 every clip's _focusrect is the movie's, and null
        // changes nothing.
        FocusRectCase{"ASwf5ClipSetsTheMovies", 5, Set("a", "_focusrect", Item::boolean(false)), {}, false},
        FocusRectCase{"ASwf5NullChangesNothing", 5,
                      Script({Set("a", "_focusrect", Item::boolean(false)), Set("a", "_focusrect", Item::null())}),
                      {}, false}),
    [](const testing::TestParamInfo<FocusRectCase> &info) { return std::string(info.param.name); });

TEST(FocusRectangle, TheMouseHidesItUntilTheFocusMovesAgain)
{
    Movie movie{8, 0, {Set("a", "tabEnabled", Item::boolean(true))}};
    Playing run(movie);
    run.player->keyDown(swf::kKeyTab);
    EXPECT_EQ(run.at(41, 50), kYellow);
    run.player->mouseMove(QPointF(5, 5));
    EXPECT_EQ(run.at(41, 50), kRed);
    run.player->keyDown(swf::kKeyTab);  // the only stop: the focus stays, highlighted again
    EXPECT_EQ(run.at(41, 50), kYellow);
}

struct DropCase {
    const char *name;
    ActionAssembler focusAndDrop;
    QStringList heard;
};

class FocusDrops : public testing::TestWithParam<DropCase> {};

TEST_P(FocusDrops, WhenAScriptTakesTheFocusedObjectAway)
{
    const DropCase &c = GetParam();
    Movie movie{8, 0, {Script({Listener(), c.focusAndDrop, Selection("getFocus", nullptr, true)})}};
    EXPECT_EQ(Playing(movie).lines, c.heard);
}

ActionAssembler FieldInA()
{
    return Script({Call("a", "createTextField", {10, 10, 0, 0, 5, "f"}), Set("a.f", "type", "input")});
}

INSTANTIATE_TEST_SUITE_P(
    Focus, FocusDrops,
    testing::Values(
        DropCase{"AHiddenClip",
                 Script({Set("a", "focusEnabled", Item::boolean(true)), Selection("setFocus", "a"),
                         Set("a", "_visible", Item::boolean(false))}),
                 {"_level0.a", "null", "null"}},
        DropCase{"AHiddenField",
                 Script({FieldInA(), Selection("setFocus", "a.f"), Set("a.f", "_visible", Item::boolean(false))}),
                 {"_level0.a.f", "null", "null"}},
        DropCase{"ARemovedField",
                 Script({FieldInA(), Selection("setFocus", "a.f"), Call("a.f", "removeTextField")}),
                 {"_level0.a.f", "null", "null"}},
        DropCase{"AFieldInARemovedClip",
                 Script({Call("_root", "createEmptyMovieClip", {1, "e"}), Call("e", "createTextField", {10, 10, 0, 0, 5, "f"}),
                         Selection("setFocus", "e.f"), Call("e", "removeMovieClip")}),
                 {"_level0.e.f", "null", "null"}},
        DropCase{"NotWhenAnotherClipGoes",
                 Script({FieldInA(), Selection("setFocus", "a.f"), Call("_root", "createEmptyMovieClip", {1, "e"}),
                         Call("e", "removeMovieClip")}),
                 {"_level0.a.f", "_level0.a.f"}}),
    [](const testing::TestParamInfo<DropCase> &info) { return std::string(info.param.name); });

TEST(Focus, AClipTheTimelineRemovesQuietlyStopsHavingIt)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 2);
    b.defineRectangle(kSquareId, swf::Rect{0, 200, 0, 200}, swf::Rgba{255, 0, 0, 255});
    b.defineSprite(kClipId, 1,
                   SwfBuilder::tagBytes(26, SwfBuilder::placeObject2Body(swftest::PlaceCharacter(1, kSquareId)))
                       + SwfBuilder::tagBytes(1, {}));
    swftest::Placement clip = swftest::PlaceCharacter(1, kClipId);
    clip.name = "a";
    b.placeObject2(clip);
    b.doAction(Script({Listener(), Set("a", "focusEnabled", Item::boolean(true)), Selection("setFocus", "a")}).bytes());
    b.showFrame().removeObject2(1).doAction(Selection("getFocus", nullptr, true).bytes()).showFrame().end();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &l) { lines << l; });
    player.advance();
    EXPECT_EQ(lines, (QStringList{"_level0.a", "null"}));
}

// A button over the whole stage that goes to frame 1 when released and to
// frame 2 on a key record for `buttonKey`.
std::unique_ptr<swf::MoviePlayer> KeyedButton(int buttonKey)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 3);
    b.defineRectangle(kSquareId, swf::Rect{0, 2000, 0, 2000}, swf::Rgba{255, 0, 0, 255});
    swftest::ActionAssembler toFrame1, toFrame2;
    toFrame1.withBody(0x81, QByteArray("\x01\x00", 2));
    toFrame2.withBody(0x81, QByteArray("\x02\x00", 2));
    b.defineButton2(kButtonId, false, {{0x0f, kSquareId, 1, {}}},
                    {{swf::kOverDownToOverUp, toFrame1.bytes()}, {uint16_t(buttonKey << 9), toFrame2.bytes()}});
    b.placeObject2(swftest::PlaceCharacter(1, kButtonId));
    b.doAction(QByteArray(1, char(kActionStop))).showFrame().showFrame().showFrame().end();
    return std::make_unique<swf::MoviePlayer>(swf::LoadMovieFromBytes(b.bytes()));
}

TEST(ButtonKeys, AKeyRecordTakesTheKeyBeforeTheFocusedButtonIsClicked)
{
    auto player = KeyedButton(' ');
    player->keyDown(swf::kKeyTab);
    player->keyDown(swf::kKeySpace, U' ');
    EXPECT_EQ(player->currentFrame(), 2) << "the record for Space, not a click";
}

TEST(ButtonKeys, AKeyRecordForTabKeepsTheFocusWhereItIs)
{
    auto player = KeyedButton(18);  // Tab as key records name it
    player->keyDown(swf::kKeyTab);
    EXPECT_EQ(player->currentFrame(), 2);
    player->keyDown(swf::kKeyEnter, U'\r');
    EXPECT_EQ(player->currentFrame(), 2) << "Tab gave the button no focus, so Enter clicks nothing";
}

TEST(ButtonObject, KeepsItsPropertiesThroughItsPicturesAndHearsTheMouse)
{
    ActionAssembler body;
    Get(body, "this").push({"mark"}).op(kActionGetMember).op(kActionTrace);
    ActionAssembler script = Set("btn", "mark", "kept");
    Get(script, "btn").push({"onRelease"}).function("", {}, body).op(kActionSetMember);
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    b.defineRectangle(kSquareId, swf::Rect{0, 2000, 0, 2000}, swf::Rgba{255, 0, 0, 255});
    b.defineButton2(kButtonId, false, {{0x0f, kSquareId, 1, {}}});
    swftest::Placement button = swftest::PlaceCharacter(1, kButtonId);
    button.name = "btn";
    b.placeObject2(button).doAction(script.bytes()).showFrame().end();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &l) { lines << l; });
    player.mouseMove(QPointF(50, 50));  // the over picture
    player.mouseDown(QPointF(50, 50));  // the down picture
    player.mouseUp(QPointF(50, 50));
    EXPECT_EQ(lines, QStringList{"kept"});
}

}  // namespace
