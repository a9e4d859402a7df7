// The life of clips: removed clips answer their unload handlers from below
// every depth and go afterwards, placements on taken or empty depths, and
// handlers that never end.

#include <gtest/gtest.h>
#include <cmath>

#include "swf/movie.h"
#include "swfbuilder.h"

using swftest::Placement;
using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kCallFunction = 0x3d, kCallMethod = 0x52, kGetVariable = 0x1c,
                  kGetMember = 0x4e, kSetMember = 0x4f, kAdd2 = 0x47, kTypeOf = 0x44;
constexpr uint16_t kSpriteId = 1;
const swf::Rect kStage{0, 2000, 0, 2000};

QByteArray Str(const std::string &text) { return actions::pushString(text); }
QByteArray Var(const std::string &name) { return Str(name) + actions::op(kGetVariable); }
QByteArray Trace(const QByteArray &value) { return value + actions::op(kTrace); }
// `base.name(number)` with one number argument, or none; the result is left.
QByteArray CallMethod(const QByteArray &base, const std::string &name, std::optional<double> arg = {})
{
    QByteArray args = arg ? actions::pushNumber(*arg) + actions::pushNumber(1) : actions::pushNumber(0);
    return args + base + Str(name) + actions::op(kCallMethod);
}
QByteArray Drop(const QByteArray &value) { return value + actions::op(kPop); }
// createEmptyMovieClip(name, depth) on the running clip.
QByteArray CreateEmpty(const std::string &name, double depth)
{
    return Drop(actions::pushNumber(depth) + Str(name) + actions::pushNumber(2) + Str("createEmptyMovieClip")
                + actions::op(kCallFunction));
}
// clip.onUnload = function () { trace(this._name + " " + this.getDepth()); }
QByteArray TraceNameAndDepthOnUnload(const QByteArray &clip)
{
    const QByteArray body = Trace(Var("this") + Str("_name") + actions::op(kGetMember) + Str(" ") + actions::op(kAdd2)
                                  + CallMethod(Var("this"), "getDepth") + actions::op(kAdd2));
    return clip + Str("onUnload") + actions::defineFunction("", body) + actions::op(kSetMember);
}
QByteArray TypeOf(const QByteArray &value) { return value + actions::op(kTypeOf); }

QStringList TraceOf(const SwfBuilder &b, int ticks)
{
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    for (int i = 0; i < ticks; ++i)
        player.advance();
    return lines;
}

TEST(Avm1Unload, RemovedClipAnswersItsHandlerFromBelowEveryDepthAndGoesAfter)
{
    SwfBuilder b(7, kStage, 12, 2);
    b.doAction(CreateEmpty("a", 5) + TraceNameAndDepthOnUnload(Var("a")) + Drop(CallMethod(Var("a"), "removeMovieClip"))
               + Trace(CallMethod(Var("a"), "getDepth")) + Trace(Str("end of frame")))
        .showFrame();
    b.doAction(Trace(TypeOf(Var("a"))) + actions::stop()).showFrame().end();
    EXPECT_EQ(TraceOf(b, 1), (QStringList{"-32774", "end of frame", "a -32774", "undefined"}));
}

TEST(Avm1Unload, InnerHandlersRunFirstAndWaitingClipsCannotBeRemovedAgain)
{
    SwfBuilder b(7, kStage, 12, 1);
    const QByteArray a = Var("a");
    const QByteArray inner = a + Str("b") + actions::op(kGetMember);
    b.doAction(CreateEmpty("a", 1) + Drop(actions::pushNumber(3) + Str("b") + actions::pushNumber(2) + a
                                          + Str("createEmptyMovieClip") + actions::op(kCallMethod))
               + TraceNameAndDepthOnUnload(a) + TraceNameAndDepthOnUnload(inner)
               + Drop(CallMethod(a, "removeMovieClip")) + Drop(CallMethod(a, "removeMovieClip"))
               + Drop(CallMethod(inner, "removeMovieClip")))
        .showFrame()
        .end();
    EXPECT_EQ(TraceOf(b, 0), (QStringList{"b 3", "a -32770"}));
}

TEST(Avm1Unload, HandlerThatNeverEndsIsCutOffAndTheClipStillGoes)
{
    SwfBuilder b(7, kStage, 12, 2);
    b.doAction(CreateEmpty("a", 0) + Var("a") + Str("onUnload") + actions::defineFunction("", actions::jump(-5))
               + actions::op(kSetMember) + Drop(CallMethod(Var("a"), "removeMovieClip")))
        .showFrame();
    b.doAction(Trace(TypeOf(Var("a"))) + actions::stop()).showFrame().end();
    EXPECT_EQ(TraceOf(b, 1), QStringList{"undefined"});
}

TEST(Avm1Unload, GoingBackUnloadsTheClipsTheEarlierFrameLacks)
{
    SwfBuilder sprite(7, kStage);
    sprite.showFrame();
    SwfBuilder b(7, kStage, 12, 2);
    b.defineSprite(kSpriteId, 1, sprite.tags());
    b.doAction(actions::stop()).showFrame();
    Placement named = swftest::PlaceCharacter(1, kSpriteId);
    named.name = "s";
    b.placeObject2(named).doAction(TraceNameAndDepthOnUnload(Var("s"))).showFrame().end();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    player.gotoFrame(1);
    player.gotoFrame(0);
    EXPECT_EQ(lines, QStringList{"s -16386"});
}

// Before SWF 6 a placement takes a taken depth; from then on it is refused.
// A move never makes an object on an empty depth.
struct PlacementCase {
    const char *what;
    uint8_t version;
    bool secondMoves;
    const char *first, *second;
};

class Avm1Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Avm1Placement, TakenAndEmptyDepths)
{
    const PlacementCase &c = GetParam();
    SwfBuilder sprite(c.version, kStage);
    sprite.showFrame();
    SwfBuilder b(c.version, kStage, 12, 2);
    b.defineSprite(kSpriteId, 1, sprite.tags());
    Placement first = swftest::PlaceCharacter(1, kSpriteId);
    first.name = "first";
    if (!c.secondMoves)
        b.placeObject2(first);
    b.showFrame();
    Placement second = swftest::PlaceCharacter(1, kSpriteId);
    second.name = "second";
    second.move = c.secondMoves;
    b.placeObject2(second)
        .doAction(Trace(TypeOf(Var("first"))) + Trace(TypeOf(Var("second"))) + actions::stop())
        .showFrame()
        .end();
    EXPECT_EQ(TraceOf(b, 1), (QStringList{c.first, c.second}));
}

INSTANTIATE_TEST_SUITE_P(Rules, Avm1Placement,
                         testing::Values(PlacementCase{"Swf5Replaces", 5, false, "undefined", "movieclip"},
                                         PlacementCase{"Swf6Refuses", 6, false, "movieclip", "undefined"},
                                         PlacementCase{"MoveOnEmptyDepth", 8, true, "undefined", "undefined"}),
                         [](const testing::TestParamInfo<PlacementCase> &info) { return info.param.what; });

}  // namespace

// swapDepths takes a number as ToInt32 does and keeps within the depths a
// script may use.
struct SwapCase {
    const char *what;
    double to;
    const char *depth;
};

class Avm1SwapDepths : public testing::TestWithParam<SwapCase> {};

TEST_P(Avm1SwapDepths, MovesWithinTheScriptDepths)
{
    SwfBuilder b(7, kStage, 12, 1);
    b.doAction(CreateEmpty("c", 5) + Drop(CallMethod(Var("c"), "swapDepths", GetParam().to))
               + Trace(CallMethod(Var("c"), "getDepth")))
        .showFrame()
        .end();
    EXPECT_EQ(TraceOf(b, 0), QStringList{GetParam().depth});
}

INSTANTIATE_TEST_SUITE_P(Depths, Avm1SwapDepths,
                         testing::Values(SwapCase{"Fraction", 999.234, "999"}, SwapCase{"Wraps", 4294967297.1, "1"},
                                         SwapCase{"Highest", 2130690044, "2130690044"},
                                         SwapCase{"AboveHighest", 2130690045, "5"},
                                         SwapCase{"Lowest", -16384, "-16384"}, SwapCase{"BelowLowest", -16385, "5"},
                                         SwapCase{"NotANumber", std::nan(""), "0"}),
                         [](const testing::TestParamInfo<SwapCase> &info) { return info.param.what; });

TEST(Avm1Depths, InstanceAtDepthIsTheClipOrNothing)
{
    SwfBuilder b(7, kStage, 12, 1);
    const QByteArray at5 = actions::pushNumber(5) + actions::pushNumber(1) + Var("this") + Str("getInstanceAtDepth")
                           + actions::op(kCallMethod);
    const QByteArray at6 = actions::pushNumber(6) + actions::pushNumber(1) + Var("this") + Str("getInstanceAtDepth")
                           + actions::op(kCallMethod);
    b.doAction(CreateEmpty("c", 5) + Trace(at5) + Trace(TypeOf(at6))).showFrame().end();
    EXPECT_EQ(TraceOf(b, 0), (QStringList{"_level0.c", "undefined"}));
}
