// Built-ins a movie talks to the player through: listeners (AsBroadcaster,
// Key), Stage, watch and the Sound object.

#include <gtest/gtest.h>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/soundobject.h"
#include "swf/movie.h"
#include "swfbuilder.h"

using swf::avm1::Args;
using swf::avm1::FunctionObject;
using swf::avm1::Machine;
using swf::avm1::Object;
using swf::avm1::Value;
using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

Value Global(Machine &m, const char *name) { return m.get(m.global, name); }

// A native listener that counts its calls in the object's `calls`.
Value CountCall(Machine &m, const Value &self, const Args &)
{
    if (Object *o = self.object())
        m.set(o, "calls", Value(m.toNumber(m.get(o, "calls")) + 1));
    return {};
}

Object *Listener(Machine &m, const char *message)
{
    Object *listener = m.newObject();
    m.set(listener, "calls", Value(0.0));
    m.set(listener, message, Value(m.newNative(CountCall)));
    return listener;
}

TEST(Avm1Broadcaster, ListenersAreKeptOnceAndToldInOrder)
{
    Machine m(8);
    Object *source = m.newObject();
    m.callMethod(Global(m, "AsBroadcaster"), "initialize", Args({Value(source)}));
    Object *a = Listener(m, "onPing");
    Object *b = Listener(m, "onPing");
    EXPECT_TRUE(m.toBoolean(m.callMethod(Value(source), "addListener", Args({Value(a)}))));
    m.callMethod(Value(source), "addListener", Args({Value(b)}));
    m.callMethod(Value(source), "addListener", Args({Value(a)}));  // moves to the end, not twice
    auto *list = dynamic_cast<swf::avm1::ArrayObject *>(m.get(source, "_listeners").object());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->elements.size(), 2u);
    EXPECT_EQ(list->elements[0].object(), b);
    m.callMethod(Value(source), "broadcastMessage", Args({Value("onPing")}));
    EXPECT_EQ(m.toNumber(m.get(a, "calls")), 1);
    EXPECT_TRUE(m.toBoolean(m.callMethod(Value(source), "removeListener", Args({Value(a)}))));
    EXPECT_FALSE(m.toBoolean(m.callMethod(Value(source), "removeListener", Args({Value(a)}))));
    m.callMethod(Value(source), "broadcastMessage", Args({Value("onPing")}));
    EXPECT_EQ(m.toNumber(m.get(a, "calls")), 1);
    EXPECT_EQ(m.toNumber(m.get(b, "calls")), 2);
}

// Key.isDown and the listeners follow the keys the player passes on.
TEST(Avm1Key, PressesReachStateAndListeners)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    // Key.addListener({onKeyDown: function () { trace(Key.getCode() + " " + Key.isDown(37)); }})
    constexpr uint8_t kCallMethod = 0x52, kInitObject = 0x43, kAdd2 = 0x47, kTrace = 0x26;
    auto keyMethod = [&](const char *method, int args) {
        return actions::pushNumber(args) + actions::pushString("Key") + actions::op(0x1c) + actions::pushString(method)
               + actions::op(kCallMethod);
    };
    const QByteArray body = keyMethod("getCode", 0) + actions::pushString(" ") + actions::op(kAdd2)
                            + actions::pushNumber(37) + keyMethod("isDown", 1) + actions::op(kAdd2)
                            + actions::op(kTrace);
    const QByteArray script = actions::pushString("onKeyDown") + actions::defineFunction("", body)
                              + actions::pushNumber(1) + actions::op(kInitObject) + keyMethod("addListener", 1)
                              + actions::op(0x17);
    b.doAction(script).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    player.keyDown(37, 0);
    player.keyUp(37, 0);
    player.keyDown(65, U'a');
    EXPECT_EQ(lines, (QStringList{"37 true", "65 false"}));
}

TEST(Avm1Stage, SizeIsTheMoviesAndReadOnly)
{
    SwfBuilder b(8, swf::Rect{0, 6400, 0, 4800}, 12, 1);
    constexpr uint8_t kGetMember = 0x4e, kSetMember = 0x4f, kTrace = 0x26;
    auto stage = [] { return actions::pushString("Stage") + actions::op(0x1c); };
    b.doAction(stage() + actions::pushString("width") + actions::pushNumber(1) + actions::op(kSetMember) + stage()
               + actions::pushString("width") + actions::op(kGetMember) + actions::op(kTrace) + stage()
               + actions::pushString("height") + actions::op(kGetMember) + actions::op(kTrace))
        .showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    EXPECT_EQ(lines, (QStringList{"320", "240"}));
}

// A watcher's answer is what is stored; it does not watch its own writes.
Value Doubler(Machine &m, const Value &self, const Args &args)
{
    m.set(self.object(), "seen", args[1]);
    return Value(m.toNumber(args[2]) * 2);
}

TEST(Avm1Watch, CallbackDecidesTheStoredValue)
{
    Machine m(8);
    Object *o = m.newObject();
    FunctionObject *doubler = m.newNative(Doubler);
    EXPECT_FALSE(m.toBoolean(m.callMethod(Value(o), "watch", Args({Value("x")}))));
    EXPECT_TRUE(m.toBoolean(m.callMethod(Value(o), "watch", Args({Value("x"), Value(doubler)}))));
    m.set(o, "x", Value(3.0));
    EXPECT_EQ(m.toNumber(m.get(o, "x")), 6);
    m.set(o, "x", Value(5.0));
    EXPECT_EQ(m.toNumber(m.get(o, "seen")), 6);  // the old value it was given
    EXPECT_EQ(m.toNumber(m.get(o, "x")), 10);
    EXPECT_TRUE(m.toBoolean(m.callMethod(Value(o), "unwatch", Args({Value("x")}))));
    m.set(o, "x", Value(1.0));
    EXPECT_EQ(m.toNumber(m.get(o, "x")), 1);
}

// Without a movie to play it, a Sound has nothing attached: it reports no
// duration and ignores start; its volume and pan belong to its target.
TEST(Avm1Sound, VolumeAndPanBelongToTheTarget)
{
    Machine m(8);
    const Value sound = m.construct(Global(m, "Sound"), Args());
    EXPECT_TRUE(m.callMethod(sound, "getDuration", Args()).isUndefined());
    m.callMethod(sound, "start", Args());
    EXPECT_TRUE(m.get(sound.object(), "position").isUndefined());
    swf::avm1::ScriptSounds sounds(nullptr, nullptr);
    m.scriptSounds = &sounds;
    EXPECT_EQ(m.toNumber(m.callMethod(sound, "getVolume", Args())), 100);
    m.callMethod(sound, "setVolume", Args({Value(40.5)}));
    m.callMethod(sound, "setPan", Args({Value(-30.0)}));
    const Value other = m.construct(Global(m, "Sound"), Args({Value::null()}));
    EXPECT_EQ(m.toNumber(m.callMethod(other, "getVolume", Args())), 40);  // the same target: the whole movie
    EXPECT_EQ(m.toNumber(m.callMethod(other, "getPan", Args())), -30);
    Object *transform = m.callMethod(other, "getTransform", Args()).object();
    ASSERT_NE(transform, nullptr);
    EXPECT_EQ(m.toNumber(m.get(transform, "ll")), 100);
    EXPECT_EQ(m.toNumber(m.get(transform, "rr")), 70);
    // A target that names no clip has no settings at all.
    const Value lost = m.construct(Global(m, "Sound"), Args({Value("nowhere")}));
    EXPECT_TRUE(m.callMethod(lost, "getVolume", Args()).isUndefined());
    m.scriptSounds = nullptr;
}

QByteArray GetUrl(const std::string &url)
{
    QByteArray payload = QByteArray::fromStdString(url) + '\0' + "_blank" + '\0';
    return QByteArray(1, char(0x83)) + char(payload.size() & 0xff) + char(payload.size() >> 8) + payload;
}

// Web addresses open only from a click's handler; other schemes never.
TEST(Avm1GetUrl, OpensWebAddressesOnlyFromAClick)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    b.defineRectangle(1, swf::Rect{0, 2000, 0, 2000}, swf::Rgba{0, 0, 255, 255});
    b.defineButton(2, {{0x0f, 1, 1, {}}}, GetUrl("javascript:alert(1)") + GetUrl("https://example.org/"));
    b.placeObject2(swftest::PlaceCharacter(1, 2)).doAction(GetUrl("http://frame.example/")).showFrame();
    QStringList opened;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()));
    player.setUrlHandler([&opened](const QString &url) { opened << url; });
    player.advance();
    EXPECT_TRUE(opened.isEmpty());
    player.mouseMove(QPointF(50, 50));
    player.mouseDown(QPointF(50, 50));
    player.mouseUp(QPointF(50, 50));
    EXPECT_EQ(opened, QStringList{"https://example.org/"});
}

// Date's now is the host's clock where one is given, moving on with the
// frames, and the tools' fixed moment otherwise.
TEST(Avm1Date, NowFollowsTheHostsClock)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 10, 2);
    constexpr uint8_t kNewObject = 0x40, kCallMethod = 0x52, kTrace = 0x26;
    // trace(new Date()[method]())
    auto traceDateMethod = [](const char *method) {
        return actions::pushNumber(0) + actions::pushNumber(0) + actions::pushString("Date") + actions::op(kNewObject)
               + actions::pushString(method) + actions::op(kCallMethod) + actions::op(kTrace);
    };
    const QByteArray script = traceDateMethod("getTime") + traceDateMethod("getTimezoneOffset");
    b.doAction(script).showFrame().doAction(script).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; }, {},
                            swf::DateClock{1e12, 60});
    player.setDateClock(swf::DateClock{2e12, -120});
    player.advance();
    EXPECT_EQ(lines, (QStringList{"1000000000000", "-60", "2000000000100", "120"}));

    QStringList fixed;
    swf::MoviePlayer tool(swf::LoadMovieFromBytes(b.bytes()), [&fixed](const QString &line) { fixed << line; });
    EXPECT_EQ(fixed, (QStringList{"0", "0"}));
}

}  // namespace
