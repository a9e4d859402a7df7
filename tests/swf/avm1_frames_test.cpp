// How a movie's frames come out of its file: the length and the frame
// count its header records against what the file holds, tags after the last
// frame, characters placed before they are defined, and what scripts see of
// it (byte counts, gotos to no frame).

#include <gtest/gtest.h>

#include <QtEndian>

#include "swf/movie.h"
#include "swf/moviedefinition.h"
#include "swfbuilder.h"
#include "tracerun.h"

using swftest::PlaceCharacter;
using swftest::Placement;
using swftest::SwfBuilder;
using swftest::TraceOf;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kCallFunction = 0x3d, kCallMethod = 0x52, kGetVariable = 0x1c;
const swf::Rect kStage{0, 2000, 0, 2000};
const swf::Rect kSquare{0, 200, 0, 200};
const swf::Rgba kRed{255, 0, 0, 255};

QByteArray Str(const std::string &text) { return actions::pushString(text); }
QByteArray Var(const std::string &name) { return Str(name) + actions::op(kGetVariable); }
QByteArray Trace(const QByteArray &value) { return value + actions::op(kTrace); }
QByteArray CallMethod(const QByteArray &base, const std::string &name)
{
    return actions::pushNumber(0) + base + Str(name) + actions::op(kCallMethod);
}

QByteArray WithRecordedLength(QByteArray bytes, quint32 length)
{
    qToLittleEndian<quint32>(length, bytes.data() + 4);
    return bytes;
}

TEST(Avm1Frames, TimelineHasTheFramesItsFileHolds)
{
    struct Case {
        const char *what;
        uint16_t headerFrames;
        int showFrames;
        bool trailingTags;
        bool end;
        int expected;
    };
    const Case cases[] = {
        {"the header states more", 10, 3, false, true, 3},
        {"the header states fewer", 2, 5, false, true, 5},
        {"tags after the last frame of a finished list", 3, 3, true, true, 3},
        {"tags after the last frame of a cut-off list", 3, 2, true, false, 3},
        {"tags but no frame", 3, 0, true, true, 1},
        {"nothing at all", 4, 0, false, true, 1},
    };
    for (const Case &c : cases) {
        SwfBuilder b(8, kStage, 12, c.headerFrames);
        for (int i = 0; i < c.showFrames; ++i)
            b.showFrame();
        if (c.trailingTags)
            b.doAction(actions::stop());
        if (c.end)
            b.end();
        const auto movie = swf::LoadMovieFromBytes(b.bytes());
        ASSERT_TRUE(movie) << c.what;
        EXPECT_EQ(movie->timeline.frameCount(), c.expected) << c.what;
    }
}

TEST(Avm1Frames, TagsPastTheRecordedLengthAreNotReadAndScriptsSeeThatLength)
{
    SwfBuilder b(8, kStage, 12, 2);
    b.doAction(Trace(CallMethod(Var("_root"), "getBytesTotal")) + Trace(CallMethod(Var("_root"), "getBytesLoaded")))
        .showFrame();
    const int recorded = b.bytes().size();
    b.doAction(Trace(Str("second frame"))).showFrame().end();
    const QString length = QString::number(recorded);
    // One frame is left, so the first one's actions run once.
    EXPECT_EQ(TraceOf(WithRecordedLength(b.bytes(), quint32(recorded)), 3), (QStringList{length, length}));
}

TEST(Avm1Frames, ClipsOfTheirOwnCountTheirTagsAndEmptyClipsNothing)
{
    SwfBuilder sprite(8, kStage);
    sprite.showFrame();
    SwfBuilder b(8, kStage, 12, 1);
    b.defineSprite(1, 1, sprite.tags());
    Placement placed = PlaceCharacter(1, 1);
    placed.name = "s";
    b.placeObject2(placed);
    const QByteArray createEmpty = actions::pushNumber(2) + Str("e") + actions::pushNumber(2)
                                   + Str("createEmptyMovieClip") + actions::op(kCallFunction) + actions::op(kPop);
    b.doAction(createEmpty + Trace(CallMethod(Var("s"), "getBytesTotal")) + Trace(CallMethod(Var("e"), "getBytesTotal")))
        .showFrame()
        .end();
    // The sprite's list: one ShowFrame and its End tag, two bytes each.
    EXPECT_EQ(TraceOf(b.bytes(), 0), (QStringList{"4", "0"}));
}

TEST(Avm1Frames, MainTimelinePlacesOnlyCharactersDefinedBeforeThePlacement)
{
    SwfBuilder b(8, kStage, 12, 3);
    b.defineRectangle(2, kSquare, kRed).placeObject2(PlaceCharacter(1, 2)).placeObject2(PlaceCharacter(3, 1));
    b.showFrame();
    // A replacement by a character still to come leaves a plain move.
    Placement replace = PlaceCharacter(1, 1);
    replace.move = true;
    b.placeObject2(replace).showFrame();
    b.defineRectangle(1, kSquare, kRed).placeObject2(PlaceCharacter(4, 1)).showFrame().end();
    const auto movie = swf::LoadMovieFromBytes(b.bytes());
    ASSERT_TRUE(movie);
    ASSERT_EQ(movie->timeline.frames.size(), 3u);
    ASSERT_EQ(movie->timeline.frames[0].commands.size(), 1u);
    EXPECT_EQ(movie->timeline.frames[0].commands[0].depth, 1);
    ASSERT_EQ(movie->timeline.frames[1].commands.size(), 1u);
    EXPECT_TRUE(movie->timeline.frames[1].commands[0].move);
    EXPECT_FALSE(movie->timeline.frames[1].commands[0].hasCharacter);
    ASSERT_EQ(movie->timeline.frames[2].commands.size(), 1u);
    EXPECT_TRUE(movie->timeline.frames[2].commands[0].hasCharacter);
}

TEST(Avm1Frames, GotoActionReadsWholeNumbersAsFramesAndOtherTextAsLabels)
{
    SwfBuilder b(7, kStage, 12, 5);
    b.doAction(actions::gotoFrame(4)).showFrame();
    b.frameLabel("-2").frameLabel("\xc3\xa0" "b").showFrame();
    b.frameLabel("4.5").showFrame();
    b.frameLabel("End").showFrame();
    const QByteArray gotoAndTrace[] = {
        actions::pushNumber(0),           // no frame
        Str("-2"),                        // a number before the first frame, not the label
        Str("4.5"),                       // not a whole number: the label
        actions::pushNumber(4294967298),  // counted modulo 2^32: frame 2
        Str("eND"),                       // labels match whatever the case of A-Z
        Str("\xc3\x80" "B"),            // but other letters keep their case
    };
    QByteArray script;
    for (const QByteArray &frame : gotoAndTrace)
        script += frame + actions::gotoFrame2(false) + Trace(Var("_currentframe"));
    b.doAction(actions::stop() + script).showFrame().end();
    EXPECT_EQ(TraceOf(b.bytes(), 1), (QStringList{"5", "5", "3", "2", "4", "4"}));
}

TEST(Avm1Frames, FunctionsCalledByPathRunOnTheClipThePathNames)
{
    SwfBuilder b(7, kStage, 12, 3);
    b.defineSprite(1, 2, SwfBuilder::tagBytes(12, actions::stop() + QByteArray(1, '\0')) + SwfBuilder::tagBytes(1, {})
                             + SwfBuilder::tagBytes(1, {}));
    swftest::Placement clip = PlaceCharacter(1, 1);
    clip.name = "mc";
    b.placeObject2(clip);
    auto callByName = [](const std::string &name) {
        return actions::pushNumber(2) + actions::pushNumber(1) + Str(name) + actions::op(kCallFunction)
               + actions::op(kPop);
    };
    // A slash path ending in a method names no clip: nothing is called, and
    // above all not the method of the calling timeline.
    const QByteArray script = callByName("/mc/gotoAndStop") + Trace(Var("/mc:_currentframe"))
                              + Trace(Var("_currentframe")) + callByName("/mc:gotoAndStop")
                              + Trace(Var("/mc:_currentframe")) + Trace(Var("_currentframe"));
    b.doAction(actions::stop() + script).showFrame().showFrame().showFrame().end();
    EXPECT_EQ(TraceOf(b.bytes(), 1), (QStringList{"1", "1", "2", "1"}));
}

}  // namespace
