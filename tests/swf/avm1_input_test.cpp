// What scripts see of the person at the mouse and the keys: clips dragged
// with the pointer (startDrag, the StartDrag action, their bounds and drop
// targets), clips whose hitArea names another clip's shapes, and the
// keyboard focus and text selection of Selection.

#include <gtest/gtest.h>

#include <functional>

#include "swf/movie.h"
#include "swfbuilder.h"

namespace actions = swftest::actions;
using swftest::SwfBuilder;

namespace {

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kGetVariable = 0x1c, kSetVariable = 0x1d, kGetMember = 0x4e,
                  kSetMember = 0x4f, kCallMethod = 0x52, kCallFunction = 0x3d, kStartDrag = 0x27,
                  kEndDrag = 0x28, kNewObject = 0x40;
constexpr double kTwips = 20;

// Action code written as it reads: values pushed, then the operation.
struct Code {
    QByteArray bytes;

    Code &num(double value) { return add(actions::pushNumber(value)); }
    Code &str(const std::string &text) { return add(actions::pushString(text)); }
    Code &op(uint8_t code) { return add(actions::op(code)); }
    Code &add(const QByteArray &more)
    {
        bytes += more;
        return *this;
    }
    Code &get(const std::string &variable) { return str(variable).op(kGetVariable); }
    Code &member(const std::string &object, const std::string &name) { return get(object).str(name).op(kGetMember); }
    Code &trace(const std::string &object, const std::string &name) { return member(object, name).op(kTrace); }
    // object.method(args...), the result left on the stack.
    Code &call(const std::string &object, const std::string &method, const std::vector<Code> &args = {})
    {
        for (auto it = args.rbegin(); it != args.rend(); ++it)
            add(it->bytes);
        return num(double(args.size())).get(object).str(method).op(kCallMethod);
    }
    Code &traceCall(const std::string &object, const std::string &method, const std::vector<Code> &args = {})
    {
        return call(object, method, args).op(kTrace);
    }
    Code &set(const std::string &object, const std::string &name, const Code &value)
    {
        get(object).str(name);
        return add(value.bytes).op(kSetMember);
    }
};

Code Num(double value) { return Code().num(value); }
Code Str(const std::string &text) { return Code().str(text); }
Code Var(const std::string &name) { return Code().get(name); }

// A sprite of one square, `left`..`left + size` pixels on both axes, placed
// as `name` at `depth`.
void PlaceSquare(SwfBuilder &b, uint16_t id, const std::string &name, uint16_t depth, int left, int size)
{
    const int32_t from = int32_t(left * kTwips), to = int32_t((left + size) * kTwips);
    b.defineRectangle(id, swf::Rect{from, to, from, to}, swf::Rgba{255, 0, 0, 255});
    b.defineSprite(uint16_t(id + 1), 1, SwfBuilder::tagBytes(26, SwfBuilder::placeObject2Body(swftest::PlaceCharacter(1, id))) + SwfBuilder::tagBytes(1, {}));
    swftest::Placement placement = swftest::PlaceCharacter(depth, id + 1);
    placement.name = name;
    b.placeObject2(placement);
}

// A movie of the square clip `c` (0..100) over the square clip `t`
// (200..300) whose frames run `frames`; `between(i)` acts as the person
// before frame i + 2 runs.
QStringList Play(const std::vector<Code> &frames, const std::function<void(swf::MoviePlayer &, int)> &between)
{
    SwfBuilder b(8, swf::Rect{0, 8000, 0, 8000}, 12, uint16_t(frames.size()));
    PlaceSquare(b, 1, "t", 1, 200, 100);
    PlaceSquare(b, 3, "c", 2, 0, 100);
    for (const Code &frame : frames)
        b.doAction(frame.bytes).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &l) { lines << l; });
    for (int i = 0; i + 1 < int(frames.size()); ++i) {
        between(player, i);
        player.advance();
    }
    return lines;
}

// Between the frames the pointer goes to `pointer[i]`.
QStringList PlayWithPointer(const std::vector<Code> &frames, const std::vector<QPointF> &pointer)
{
    return Play(frames, [&](swf::MoviePlayer &player, int i) { player.mouseMove(pointer.at(i)); });
}

TEST(ClipDragging, TheClipKeepsItsDistanceToThePointerAndItsDropTargetAfterTheDrag)
{
    const std::vector<Code> frames = {
        Code(),
        Code().call("c", "startDrag").op(kPop),
        Code().trace("c", "_x").trace("c", "_y").trace("c", "_droptarget").call("c", "stopDrag").op(kPop),
        Code().trace("c", "_x").trace("c", "_droptarget"),
    };
    EXPECT_EQ(PlayWithPointer(frames, {{20, 30}, {230, 250}, {10, 10}}),
              (QStringList{"210", "220", "/t", "210", "/t"}));
}

TEST(ClipDragging, TheDragActionCentresTheClipOnThePointerWithinItsRectangle)
{
    // left, top, right, bottom, constrained, lockCenter, target
    const Code dragInRectangle = Code().num(0).num(0).num(150).num(150).num(1).num(1).str("c").op(kStartDrag);
    const std::vector<Code> frames = {
        Code(),
        Code(dragInRectangle).trace("c", "_x").trace("c", "_y"),
        Code().trace("c", "_x").trace("c", "_y").trace("c", "_droptarget").op(kEndDrag),
        Code().trace("c", "_x"),
    };
    EXPECT_EQ(PlayWithPointer(frames, {{20, 30}, {400, -40}, {5, 5}}),
              (QStringList{"20", "30", "150", "0", "", "150"}));
}

TEST(ClipDragging, ANewDragEndsTheOldOneAndStopDragEndsItOnAnyClip)
{
    const std::vector<Code> frames = {
        Code().call("c", "startDrag", {Num(1)}).op(kPop).call("t", "startDrag", {Num(1)}).op(kPop),
        Code().trace("c", "_x").trace("t", "_x").call("c", "stopDrag").op(kPop),
        Code().trace("t", "_x"),
    };
    EXPECT_EQ(PlayWithPointer(frames, {{40, 40}, {60, 60}}), (QStringList{"0", "40", "40"}));
}

// A Selection listener that traces the object that gains the focus (and
// with `both`, first the one that loses it).
Code FocusReporter(bool both)
{
    Code body;
    if (both)
        body.member("arguments", "0").op(kTrace);
    body.member("arguments", "1").op(kTrace);
    return Code()
        .add(actions::defineFunction("report", body.bytes))
        .str("listener").num(0).str("Object").op(kNewObject).op(kSetVariable)
        .set("listener", "onSetFocus", Var("report"))
        .call("Selection", "addListener", {Var("listener")}).op(kPop);
}

Code MakeField(const std::string &name, double depth, double y)
{
    return Code()
        .call("_root", "createTextField", {Str(name), Num(depth), Num(0), Num(y), Num(100), Num(20)})
        .op(kPop);
}

TEST(Selection, FocusGoesToFieldsAndToClipsThatAskForItAndTheListenersHear)
{
    const Code script = Code(FocusReporter(true))
                            .call("_root", "createEmptyMovieClip", {Str("e"), Num(5)}).op(kPop)
                            .add(MakeField("f", 6, 0).bytes).set("f", "text", Str("hello"))
                            .traceCall("Selection", "setFocus", {Var("e")})
                            .set("e", "focusEnabled", Num(1))
                            .traceCall("Selection", "setFocus", {Var("e")})
                            .traceCall("Selection", "getFocus").traceCall("Selection", "getBeginIndex")
                            .traceCall("Selection", "setFocus", {Str("f")})
                            .traceCall("Selection", "getBeginIndex").traceCall("Selection", "getEndIndex")
                            .call("Selection", "setSelection", {Num(4), Num(1)}).op(kPop)
                            .traceCall("Selection", "getBeginIndex").traceCall("Selection", "getCaretIndex")
                            .call("Selection", "setSelection", {Num(-3), Num(99)}).op(kPop)
                            .traceCall("Selection", "getBeginIndex").traceCall("Selection", "getEndIndex")
                            .traceCall("Selection", "setFocus", {Var("nothing")})
                            .traceCall("Selection", "getFocus");
    EXPECT_EQ(PlayWithPointer({script}, {}),
              (QStringList{"false", "null", "_level0.e", "true", "_level0.e", "-1", "_level0.e", "_level0.f", "true",
                           "0", "5", "1", "4", "0", "5", "_level0.f", "null", "true", "null"}));
}

TEST(Selection, TabVisitsFieldsAndClipsByPositionOrByTabIndex)
{
    const std::vector<Code> frames = {
        Code(FocusReporter(false))
            .add(MakeField("a", 6, 50).bytes).add(MakeField("b", 7, 10).bytes)
            .set("a", "type", Str("input")).set("b", "type", Str("input"))
            .set("c", "tabEnabled", Num(1)).set("c", "_y", Num(30)),
        Code().set("a", "tabIndex", Num(1)).set("b", "tabIndex", Num(2)),
        Code(),
    };
    const auto press = [](swf::MoviePlayer &player, int key) {
        player.keyDown(key);
        player.keyUp(key);
    };
    const QStringList lines = Play(frames, [&](swf::MoviePlayer &player, int i) {
        for (int n = 0; n < (i == 0 ? 4 : 2); ++n)
            press(player, swf::kKeyTab);
        if (i == 1) {
            player.keyDown(swf::kKeyShift);
            press(player, swf::kKeyTab);
        }
    });
    EXPECT_EQ(lines, (QStringList{"_level0.b", "_level0.c", "_level0.a", "_level0.b", "_level0.a", "_level0.b",
                                  "_level0.a"}));
}

}  // namespace
