// The interpreter's core rules that real movies rely on: the operand stack
// and constant pool shared between action lists, texts as each version
// stores them, tellTarget without a target, timer arguments, instanceof
// with marked prototypes, and the Date class.

#include <gtest/gtest.h>

#include <cmath>

#include "swf/avm1/machine.h"
#include "swf/avm1/textutil.h"
#include "swf/movie.h"
#include "swfbuilder.h"

using swf::avm1::Args;
using swf::avm1::Machine;
using swf::avm1::Object;
using swf::avm1::Value;
using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kAdd2 = 0x47, kPop = 0x17, kCallFunction = 0x3d, kGetVariable = 0x1c,
                  kSetTarget2 = 0x20, kGetProperty = 0x22;

QStringList RunFrame(const std::vector<QByteArray> &blocks, uint8_t version = 8)
{
    SwfBuilder b(version, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    for (const QByteArray &block : blocks)
        b.doAction(block);
    b.showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    return lines;
}

TEST(Avm1Core, LaterBlocksPopWhatEarlierOnesLeft)
{
    const QByteArray first = actions::pushString("left ");
    const QByteArray second = actions::pushString("behind") + actions::op(kAdd2) + actions::op(kTrace);
    EXPECT_EQ(RunFrame({first, second}), QStringList{"left behind"});
}

TEST(Avm1Core, ConstantPoolStaysInForceAcrossBlocks)
{
    const QByteArray first = actions::constantPool({"kept"});
    const QByteArray second = actions::pushConstant(0) + actions::op(kTrace);
    EXPECT_EQ(RunFrame({first, second}), QStringList{"kept"});
}

// A function body that pops more than it pushed gets undefined instead of
// its caller's values, while what it leaves stays for the caller.
TEST(Avm1Core, FunctionsNeverPopTheirCallersValues)
{
    const QByteArray body = actions::op(kPop) + actions::op(kPop) + actions::pushString("leftover");
    const QByteArray script = actions::pushString("mine") + actions::defineFunction("f", body)
                              + actions::pushNumber(0) + actions::pushString("f") + actions::op(kCallFunction)
                              + actions::op(kPop) + actions::op(kTrace) + actions::op(kTrace);
    EXPECT_EQ(RunFrame({script}), (QStringList{"leftover", "mine"}));
}

TEST(Avm1Core, TextsFollowTheMoviesVersion)
{
    using swf::avm1::TextFromMovie;
    const struct {
        const char *bytes;
        int version;
        const char *text;
    } cases[] = {
        {"plain", 5, "plain"},
        {"\xff\xe9", 5, "\xc3\xbf\xc3\xa9"},      // Latin-1 before SWF 6
        {"\xc3\xa9t\xc3\xa9", 6, "\xc3\xa9t\xc3\xa9"},  // valid UTF-8 stays
        {"a\xff", 6, ""},                          // a byte no UTF-8 has
        {"\xc3", 7, ""},                           // a sequence cut short
        {"\xc0\x80", 8, ""},                       // an overlong form
        {"\xf4\x90\x80\x80", 8, ""},               // past U+10FFFF
    };
    for (const auto &c : cases)
        EXPECT_EQ(TextFromMovie(c.bytes, c.version), c.text) << c.bytes << " v" << c.version;
}

// tellTarget to a name that is no clip: properties of the target read as
// undefined, variables still come from the clip the code belongs to.
TEST(Avm1Core, TargetThatIsNoClipHasNoProperties)
{
    constexpr int kName = 13;
    const QByteArray script = actions::pushString("v") + actions::pushString("own") + actions::op(0x1d)
                              + actions::pushString("nowhere") + actions::op(kSetTarget2) + actions::pushString("")
                              + actions::pushNumber(kName) + actions::op(kGetProperty) + actions::op(kTrace)
                              + actions::pushString("v") + actions::op(kGetVariable) + actions::op(kTrace);
    EXPECT_EQ(RunFrame({script}, 7), (QStringList{"undefined", "own"}));
}

Value Global(Machine &m, const char *name) { return m.get(m.global, name); }

TEST(Avm1Core, TimersNeedAFunctionAndAnInterval)
{
    Machine m(8);
    Object *holder = m.newObject();
    const Value f = m.get(m.objectProto, "toString");
    const Value setInterval = Global(m, "setInterval");
    const struct {
        std::vector<Value> args;
        bool made;
    } cases[] = {
        {{}, false},
        {{f}, false},                              // no interval
        {{Value(1.0), Value(10.0)}, false},        // no function
        {{Value(holder), Value(1.0), Value(10.0)}, false},  // a method name must be a string
        {{Value(holder), Value("m")}, false},      // no interval
        {{f, Value("soon")}, true},                // an interval that is no number counts as 0
        {{Value(holder), Value("m"), Value(5.0)}, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(m.call(setInterval, Value(), Args(c.args)).isNumber(), c.made);
    EXPECT_EQ(m.timers.size(), 2u);
    EXPECT_EQ(m.timers[0].id, 1);  // refused calls take no number
}

TEST(Avm1Core, MarkedProtoEndsInstanceOfByVersion)
{
    const struct {
        int version;
        uint16_t flag;
        bool stillInstance;
    } cases[] = {
        {5, 0x80, false}, {5, 0x400, false}, {5, 0x100, true},  {6, 0x80, true}, {6, 0x400, false},
        {6, 0x1000, true}, {7, 0x1000, false}, {7, 0x400, true}, {8, 0x2000, false}, {9, 0x2000, true},
    };
    for (const auto &c : cases) {
        Machine m(c.version);
        const Value objectClass = Global(m, "Object");
        Object *o = m.newObject();
        o->findOwn(swf::avm1::kProtoName)->flags = c.flag;
        EXPECT_EQ(m.instanceOf(Value(o), objectClass.object()), c.stillInstance)
            << "v" << c.version << " flag " << c.flag;
    }
}

// Dates are read in UTC here (local time is UTC in the tools and tests).
Value NewDate(Machine &m, std::vector<Value> args) { return m.construct(Global(m, "Date"), Args(std::move(args))); }
double Call(Machine &m, const Value &date, const char *method, std::vector<Value> args = {})
{
    return m.toNumber(m.callMethod(date, method, Args(std::move(args))));
}

TEST(Avm1Date, SplitsTimesIntoCalendarFields)
{
    Machine m(8);
    const struct {
        double time;
        double year, month, date, day, hours, minutes, seconds, ms;
    } cases[] = {
        {0, 1970, 0, 1, 4, 0, 0, 0, 0},
        {951782400000, 2000, 1, 29, 2, 0, 0, 0, 0},         // a leap day
        {-1, 1969, 11, 31, 3, 23, 59, 59, 999},             // before 1970
        {4102444799999, 2099, 11, 31, 4, 23, 59, 59, 999},
        {-62135596800000, 1, 0, 1, 1, 0, 0, 0, 0},           // year 1
    };
    for (const auto &c : cases) {
        const Value d = NewDate(m, {Value(c.time)});
        EXPECT_EQ(Call(m, d, "getUTCFullYear"), c.year) << c.time;
        EXPECT_EQ(Call(m, d, "getUTCMonth"), c.month) << c.time;
        EXPECT_EQ(Call(m, d, "getUTCDate"), c.date) << c.time;
        EXPECT_EQ(Call(m, d, "getUTCDay"), c.day) << c.time;
        EXPECT_EQ(Call(m, d, "getHours"), c.hours) << c.time;
        EXPECT_EQ(Call(m, d, "getMinutes"), c.minutes) << c.time;
        EXPECT_EQ(Call(m, d, "getSeconds"), c.seconds) << c.time;
        EXPECT_EQ(Call(m, d, "getMilliseconds"), c.ms) << c.time;
    }
}

// Far past the range later engines allow, the fields still come out.
TEST(Avm1Date, HugeTimesAreNotClipped)
{
    Machine m(5);
    const Value d = NewDate(m, {Value(3.0935415006117e+23)});
    EXPECT_EQ(Call(m, d, "getUTCMilliseconds"), 584);
    EXPECT_TRUE(std::isnan(Call(m, NewDate(m, {Value(NAN)}), "getUTCFullYear")));
}

TEST(Avm1Date, BuildsFromFieldsAndNormalisesThem)
{
    Machine m(8);
    EXPECT_EQ(Call(m, NewDate(m, {Value(2000.0), Value(0.0)}), "getTime"), 946684800000);
    // Two-digit years are 1900s.
    EXPECT_EQ(Call(m, NewDate(m, {Value(99.0), Value(11.0), Value(31.0)}), "getFullYear"), 1999);
    // Month 12 is January of the next year; day 0 the last of the month before.
    const Value d = NewDate(m, {Value(2001.0), Value(12.0), Value(0.0)});
    EXPECT_EQ(Call(m, d, "getFullYear"), 2001);
    EXPECT_EQ(Call(m, d, "getMonth"), 11);
    EXPECT_EQ(Call(m, d, "getDate"), 31);
    const Value utc = m.callMethod(Global(m, "Date"), "UTC", Args({Value(1970.0), Value(0.0), Value(2.0)}));
    EXPECT_EQ(m.toNumber(utc), 86400000);
}

TEST(Avm1Date, SettersChangeOneFieldAndKeepTheRest)
{
    Machine m(8);
    const Value d = NewDate(m, {Value(951782400000.0)});  // 29 Feb 2000
    Call(m, d, "setHours", {Value(25.0)});
    EXPECT_EQ(Call(m, d, "getDate"), 1);  // 25 hours run into 1 March
    EXPECT_EQ(Call(m, d, "getHours"), 1);
    Call(m, d, "setYear", {Value(5.0)});
    EXPECT_EQ(Call(m, d, "getFullYear"), 1905);
    EXPECT_EQ(Call(m, d, "getYear"), 5);
    // A date that is none stays none, except for a new year.
    const Value none = NewDate(m, {Value(NAN)});
    EXPECT_TRUE(std::isnan(Call(m, none, "setMonth", {Value(3.0)})));
    EXPECT_EQ(Call(m, none, "setFullYear", {Value(1970.0)}), 0);
}

TEST(Avm1Date, PrintsLikeThePlayer)
{
    Machine m(8);
    EXPECT_EQ(m.toString(NewDate(m, {Value(951825845000.0)})), "Tue Feb 29 12:04:05 GMT+0000 2000");
    EXPECT_EQ(m.toString(NewDate(m, {Value(NAN)})), "Invalid Date");
    m.utcOffsetMinutes = -90;
    EXPECT_EQ(m.toString(NewDate(m, {Value(0.0)})), "Wed Dec 31 22:30:00 GMT-0130 1969");
    EXPECT_EQ(Call(m, NewDate(m, {Value(0.0)}), "getTimezoneOffset"), 90);
}

}  // namespace
