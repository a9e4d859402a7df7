// Hostile scripts: each is cut off within its frame, and the movie goes
// on with the next frame's script.

#include <gtest/gtest.h>

#include "swf/movie.h"
#include "swfbuilder.h"

using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kCallFunction = 0x3d, kCallMethod = 0x52, kGetVariable = 0x1c,
                  kSetVariable = 0x1d, kInitArray = 0x42;

QByteArray Trace(const std::string &text) { return actions::pushString(text) + actions::op(kTrace); }

QByteArray CallByName(const std::string &name)
{
    return actions::pushNumber(0) + actions::pushString(name) + actions::op(kCallFunction) + actions::op(kPop);
}

// Frame 1 traces "start" and then runs `hostile`; frame 2 traces "frame 2".
QStringList RunTwoFrames(const QByteArray &hostile, uint8_t version = 8)
{
    SwfBuilder b(version, swf::Rect{0, 2000, 0, 2000}, 12, 2);
    b.doAction(Trace("start") + hostile + Trace("not reached")).showFrame();
    b.doAction(Trace("frame 2") + actions::stop()).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    player.advance();
    return lines;
}

TEST(Avm1Safety, EndlessLoopIsCutOff)
{
    const QByteArray loop = actions::jump(-5);  // jumps back onto itself
    EXPECT_EQ(RunTwoFrames(loop), (QStringList{"start", "frame 2"}));
}

TEST(Avm1Safety, EndlessRecursionIsCutOff)
{
    const QByteArray recursion = actions::defineFunction("f", CallByName("f")) + CallByName("f");
    EXPECT_EQ(RunTwoFrames(recursion), (QStringList{"start", "frame 2"}));
}

TEST(Avm1Safety, EverGrowingArrayIsCutOff)
{
    // a = []; while (true) a.push("x");
    const QByteArray makeArray = actions::pushString("a") + actions::pushNumber(0) + actions::op(kInitArray)
                                 + actions::op(kSetVariable);
    const QByteArray pushOne = actions::pushString("xxxxxxxxxxxxxxxx") + actions::pushNumber(1)
                               + actions::pushString("a") + actions::op(kGetVariable) + actions::pushString("push")
                               + actions::op(kCallMethod) + actions::op(kPop);
    const QByteArray loop = pushOne + actions::jump(int16_t(-(pushOne.size() + 5)));
    EXPECT_EQ(RunTwoFrames(makeArray + loop), (QStringList{"start", "frame 2"}));
}

TEST(Avm1Safety, EverGrowingTextIsCutOff)
{
    // s = "x"; while (true) s = s + s;
    constexpr uint8_t kAdd2 = 0x47;
    const QByteArray init = actions::pushString("s") + actions::pushString("x") + actions::op(kSetVariable);
    const QByteArray twice = actions::pushString("s") + actions::pushString("s") + actions::op(kGetVariable)
                             + actions::pushString("s") + actions::op(kGetVariable) + actions::op(kAdd2)
                             + actions::op(kSetVariable);
    const QByteArray loop = twice + actions::jump(int16_t(-(twice.size() + 5)));
    EXPECT_EQ(RunTwoFrames(init + loop), (QStringList{"start", "frame 2"}));
}

TEST(Avm1Safety, TruncatedActionsEndTheScript)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    QByteArray cut = Trace("before") + actions::pushString("unfinished");
    cut.chop(4);  // the push claims more bytes than are there
    b.doAction(cut).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    EXPECT_EQ(lines, QStringList{"before"});
}

}  // namespace
