// How timelines move their clips: looping, gotos back and forth over
// placed clips, and the order in which clips hear of it.

#include <gtest/gtest.h>

#include <QtEndian>

#include "swf/movie.h"
#include "swfbuilder.h"
#include "tracerun.h"

using swftest::PlaceCharacter;
using swftest::Placement;
using swftest::SwfBuilder;
using swftest::TraceOf;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kGetVariable = 0x1c, kGetMember = 0x4e, kSetMember = 0x4f, kCallFunction = 0x3d;
constexpr uint16_t kDefineSprite = 39, kExportAssets = 56;
const swf::Rect kStage{0, 2000, 0, 2000};

QByteArray Str(const std::string &text) { return actions::pushString(text); }
QByteArray TraceOwnFrame()
{
    return Str("this") + actions::op(kGetVariable) + Str("_currentframe") + actions::op(kGetMember)
           + actions::op(kTrace);
}

QByteArray Member(const std::string &object, const std::string &name)
{
    return Str(object) + actions::op(kGetVariable) + Str(name) + actions::op(kGetMember);
}
QByteArray SetMember(const std::string &object, const std::string &name, const QByteArray &value)
{
    return Str(object) + actions::op(kGetVariable) + Str(name) + value + actions::op(kSetMember);
}
QByteArray Trace(const QByteArray &value) { return value + actions::op(kTrace); }
QByteArray AttachMovie(const std::string &linkage, const std::string &name, double depth)
{
    return actions::pushNumber(depth) + Str(name) + Str(linkage) + actions::pushNumber(3) + Str("attachMovie")
           + actions::op(kCallFunction);
}

QByteArray EmptySprite()
{
    SwfBuilder sprite(8, kStage);
    sprite.showFrame();
    return sprite.tags();
}

// The DefineSprite body of a two-frame sprite tracing its frame in both,
// with or without the End tag that closes its list.
QByteArray SpriteTracingFrames(uint16_t id, bool ended)
{
    SwfBuilder sprite(8, kStage);
    sprite.doAction(TraceOwnFrame()).showFrame().doAction(TraceOwnFrame()).showFrame();
    if (ended)
        sprite.end();
    QByteArray body;
    body.append(char(id & 0xff)).append(char(id >> 8)).append(char(2)).append(char(0));
    return body + sprite.tags();
}

TEST(Avm1Timeline, SpriteLoopsOnlyWhenItsTagListIsClosed)
{
    for (const bool ended : {true, false}) {
        SwfBuilder b(8, kStage, 12, 1);
        b.tag(kDefineSprite, SpriteTracingFrames(1, ended));
        b.placeObject2(PlaceCharacter(1, 1)).doAction(actions::stop()).showFrame().end();
        const QStringList expected = ended ? QStringList{"1", "2", "1", "2"} : QStringList{"1", "2"};
        EXPECT_EQ(TraceOf(b.bytes(), 3), expected) << (ended ? "closed" : "open");
    }
}

TEST(Avm1Timeline, GoingBackKeepsAClipPlacedAtTheSameDepthAndRatio)
{
    enum class Change { Move, PlaceAgain };
    struct Case {
        const char *what;
        Change change;
        int ratio;
        bool scriptMoves;
        QStringList expected;
    };
    const Case cases[] = {
        {"moved by the timeline", Change::Move, -1, false, {"0", "kept"}},
        {"moved by a script after the timeline", Change::Move, -1, true, {"50", "kept"}},
        {"placed again at the same ratio", Change::PlaceAgain, 0, false, {"0", "kept"}},
        {"placed again at another ratio", Change::PlaceAgain, 1, false, {"0", "undefined"}},
    };
    for (const Case &c : cases) {
        SwfBuilder b(8, kStage, 12, 3);
        b.defineSprite(1, 1, EmptySprite());
        Placement first = PlaceCharacter(1, 1);
        first.name = "c";
        first.hasMatrix = true;
        b.placeObject2(first).showFrame();
        Placement second = c.change == Change::Move ? Placement() : first;
        second.move = c.change == Change::Move;
        second.hasMatrix = true;
        second.matrix.tx = 2000;
        second.ratio = c.ratio;
        if (c.change == Change::PlaceAgain)
            b.removeObject2(1);
        b.placeObject2(second);
        QByteArray marks = SetMember("c", "mark", Str("kept"));
        if (c.scriptMoves)
            marks += SetMember("c", "_x", actions::pushNumber(50));
        b.doAction(marks).showFrame();
        b.doAction(actions::gotoFrame(0) + Trace(Member("c", "_x")) + Trace(Member("c", "mark")) + actions::stop())
            .showFrame()
            .end();
        EXPECT_EQ(TraceOf(b.bytes(), 2), c.expected) << c.what;
    }
}

TEST(Avm1Timeline, ExportedClipIsThereOnceTheMainTimelineGotToItsFrame)
{
    SwfBuilder b(8, kStage, 12, 3);
    b.defineSprite(1, 1, EmptySprite());
    b.doAction(Trace(AttachMovie("late", "a", 1)) + actions::gotoFrame(2)).showFrame();
    QByteArray exportBody("\x01\x00\x01\x00late", 8);
    exportBody.append('\0');
    b.tag(kExportAssets, exportBody).showFrame();
    // A goto over the exporting frame passes it as playing would.
    b.doAction(Trace(AttachMovie("late", "b", 2)) + actions::stop()).showFrame().end();
    EXPECT_EQ(TraceOf(b.bytes(), 1), (QStringList{"undefined", "_level0.b"}));
}

TEST(Avm1Timeline, PlacementOfNothingHaltsTheTimelineBeforeItsFrame)
{
    SwfBuilder b(8, kStage, 12, 3);
    b.showFrame();
    Placement nothing;
    b.placeObject2(nothing).showFrame();
    b.doAction(Trace(Str("third"))).showFrame().end();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    for (int i = 0; i < 4; ++i)
        player.advance();
    EXPECT_EQ(player.currentFrame(), 0);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_TRUE(lines.isEmpty());
}

TEST(Avm1Timeline, PlacementOfAnotherCharacterOnATakenDepthIsLoggedByLaterPlayers)
{
    struct Case {
        uint8_t version;
        uint16_t secondCharacter;
        bool logged;
    };
    const Case cases[] = {{5, 2, false}, {7, 2, false}, {8, 1, false}, {8, 2, true}};
    for (const Case &c : cases) {
        SwfBuilder b(c.version, kStage, 12, 1);
        b.defineSprite(1, 1, EmptySprite()).defineSprite(2, 1, EmptySprite());
        b.placeObject2(PlaceCharacter(1, 1)).placeObject2(PlaceCharacter(1, c.secondCharacter)).showFrame().end();
        const QStringList expected =
            c.logged ? QStringList{"Warning: Failed to place object at depth 1."} : QStringList{};
        EXPECT_EQ(TraceOf(b.bytes(), 0), expected) << int(c.version) << " " << c.secondCharacter;
    }
}

}  // namespace
