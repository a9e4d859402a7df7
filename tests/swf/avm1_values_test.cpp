// Which of an object's valueOf and toString the player asks, and in what
// order, when an operator or a built-in needs a primitive of it.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "actionassembler.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/operators.h"
#include "swfbuilder.h"
#include "tracerun.h"

using swf::avm1::Add2;
using swf::avm1::Args;
using swf::avm1::Machine;
using swf::avm1::Object;
using swf::avm1::Value;
using swftest::ActionAssembler;
using Item = swftest::ActionAssembler::Item;

namespace {

// The methods below note their calls here, so a test sees the order.
std::string calls;

Value ValueOfNumber(Machine &, const Value &, const Args &)
{
    calls += "v";
    return Value(5.0);
}
Value ValueOfSelf(Machine &, const Value &self, const Args &)
{
    calls += "v";
    return self;
}
Value ToStringText(Machine &, const Value &, const Args &)
{
    calls += "s";
    return Value("text");
}
Value ToStringSelf(Machine &, const Value &self, const Args &)
{
    calls += "s";
    return self;
}

enum class Answer { None, Primitive, Self };

Object *Probe(Machine &m, Answer valueOf, Answer toString)
{
    Object *o = m.make<Object>(nullptr);
    if (valueOf != Answer::None)
        m.set(o, "valueOf", Value(m.newNative(valueOf == Answer::Primitive ? ValueOfNumber : ValueOfSelf)));
    if (toString != Answer::None)
        m.set(o, "toString", Value(m.newNative(toString == Answer::Primitive ? ToStringText : ToStringSelf)));
    return o;
}

TEST(Avm1Conversions, AddAsksValueOfThenToStringOnlyForAnObject)
{
    const struct {
        Answer valueOf, toString;
        const char *joined;
        const char *asked;
    } cases[] = {
        {Answer::Primitive, Answer::Primitive, "5!", "v"},
        {Answer::Self, Answer::Primitive, "text!", "vs"},
        {Answer::Self, Answer::Self, "[type Object]!", "vs"},
        // Without a valueOf the answer is undefined, itself a primitive.
        {Answer::None, Answer::Primitive, "undefined!", ""},
    };
    for (const auto &c : cases) {
        Machine m(7);
        calls.clear();
        const Value sum = Add2(m, Value(Probe(m, c.valueOf, c.toString)), Value("!"));
        EXPECT_EQ(m.toString(sum), c.joined);
        EXPECT_EQ(calls, c.asked) << c.joined;
    }
}

TEST(Avm1Conversions, AddOfAnObjectAndANumberJoinsWhenToStringAnswers)
{
    Machine m(7);
    calls.clear();
    const Value sum = Add2(m, Value(Probe(m, Answer::Self, Answer::Primitive)), Value(1.0));
    EXPECT_EQ(m.toString(sum), "text1");
    EXPECT_EQ(calls, "vs");
}

TEST(Avm1Conversions, ANumberIsAskedOfValueOfAlone)
{
    Machine m(7);
    calls.clear();
    EXPECT_TRUE(std::isnan(m.toNumber(Value(Probe(m, Answer::Self, Answer::Primitive)))));
    EXPECT_EQ(calls, "v");
    calls.clear();
    EXPECT_EQ(m.toNumber(Value(Probe(m, Answer::Primitive, Answer::Primitive))), 5.0);
    EXPECT_EQ(calls, "v");
}

TEST(Avm1Conversions, ADateJoinsAsTextFromSwf6AndAsItsTimeBefore)
{
    for (int version : {5, 6}) {
        Machine m(version);
        const Value date = m.construct(m.get(m.global, "Date"), Args({Value(1.5)}));
        const std::string joined = m.toString(Add2(m, Value(""), date));
        if (version == 5)
            EXPECT_EQ(joined, "1.5");  // the fraction of a millisecond stays
        else
            EXPECT_NE(joined.find("1970"), std::string::npos) << joined;
    }
}

TEST(Avm1Conversions, Swf5MoviesSeeNoFunctionClass)
{
    Machine old(5);
    EXPECT_TRUE(old.get(old.global, "Function").isUndefined());
    Machine m(6);
    EXPECT_EQ(m.get(m.global, "Function").object(), m.functionClass);
}

TEST(Avm1Conversions, Swf5LookupsStopAtAFunctionsHiddenLink)
{
    for (int version : {5, 6}) {
        Machine m(version);
        Object *function = m.newNative(ValueOfNumber);
        Object *instance = m.make<Object>(function);  // a prototype that is a function
        EXPECT_EQ(m.get(instance, "toString").isUndefined(), version == 5) << version;
    }
}

// Clip references, written as a movie's frame script would run them.
enum : uint8_t {
    kPop = 0x17, kGetVariable = 0x1c, kSetVariable = 0x1d, kTrace = 0x26, kCallFunction = 0x3d,
    kTypeOf = 0x44, kEquals2 = 0x49, kGetMember = 0x4e, kSetMember = 0x4f, kCallMethod = 0x52,
};

void CreateEmpty(ActionAssembler &a, const char *name, int depth)
{
    a.push({depth, name, 2, "createEmptyMovieClip"}).op(kCallFunction);
}
void TraceVariable(ActionAssembler &a, const char *name) { a.push({name}).op(kGetVariable).op(kTrace); }

QStringList RunFrameScript(const ActionAssembler &script)
{
    swftest::SwfBuilder b(7, swf::Rect{0, 2000, 0, 2000});
    b.doAction(script.bytes()).showFrame().end();
    return swftest::TraceOf(b.bytes(), 1);
}

TEST(Avm1ClipReferences, ARemovedClipIsReachedAgainOnlyAtThePathItFirstHad)
{
    ActionAssembler a;
    a.push({"r"});
    CreateEmpty(a, "a", 1);
    a.op(kSetVariable);
    a.push({"a"}).op(kGetVariable).push({"_name", "b"}).op(kSetMember);
    TraceVariable(a, "r");  // a live clip is followed through its renaming
    a.push({0, "b"}).op(kGetVariable).push({"removeMovieClip"}).op(kCallMethod).op(kPop);
    CreateEmpty(a, "b", 2);
    a.op(kPop);
    TraceVariable(a, "r");  // the new b is not the clip first called a
    a.push({"r"}).op(kGetVariable).op(kTypeOf).op(kTrace);
    a.push({0, "r"}).op(kGetVariable).push({"getDepth"}).op(kCallMethod).op(kTrace);
    CreateEmpty(a, "a", 3);
    a.op(kPop);
    TraceVariable(a, "r");
    a.push({"r"}).op(kGetVariable).push({"a"}).op(kGetVariable).op(kEquals2).op(kTrace);
    a.push({0, "r"}).op(kGetVariable).push({"getDepth"}).op(kCallMethod).op(kTrace);
    EXPECT_EQ(RunFrameScript(a),
              QStringList({"_level0.b", "", "movieclip", "undefined", "_level0.a", "true", "3"}));
}

TEST(Avm1ClipReferences, AListenerAddedAgainReplacesTheRemovedClipsEntry)
{
    ActionAssembler a;
    a.push({"first"});
    CreateEmpty(a, "c", 1);
    a.op(kSetVariable);
    a.push({"first"}).op(kGetVariable).push({1, "Key"}).op(kGetVariable).push({"addListener"}).op(kCallMethod).op(kPop);
    a.push({0, "c"}).op(kGetVariable).push({"removeMovieClip"}).op(kCallMethod).op(kPop);
    CreateEmpty(a, "c", 1);
    a.op(kPop);
    a.push({"c"}).op(kGetVariable).push({1, "Key"}).op(kGetVariable).push({"addListener"}).op(kCallMethod).op(kPop);
    a.push({"Key"}).op(kGetVariable).push({"_listeners"}).op(kGetMember).op(kTrace);
    EXPECT_EQ(RunFrameScript(a), QStringList({"_level0.c"}));
}

}  // namespace
