// How timelines move their clips: looping, gotos back and forth over
// placed clips, and the order in which clips hear of it.

#include <gtest/gtest.h>

#include <QtEndian>

#include "swf/movie.h"
#include "swfbuilder.h"

using swftest::PlaceCharacter;
using swftest::Placement;
using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kGetVariable = 0x1c, kGetMember = 0x4e;
constexpr uint16_t kDefineSprite = 39;
const swf::Rect kStage{0, 2000, 0, 2000};

QByteArray Str(const std::string &text) { return actions::pushString(text); }
QByteArray TraceOwnFrame()
{
    return Str("this") + actions::op(kGetVariable) + Str("_currentframe") + actions::op(kGetMember)
           + actions::op(kTrace);
}

QStringList TraceOf(const QByteArray &bytes, int ticks)
{
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(bytes), [&lines](const QString &line) { lines << line; });
    for (int i = 0; i < ticks; ++i)
        player.advance();
    return lines;
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

}  // namespace
