// Which of an object's valueOf and toString the player asks, and in what
// order, when an operator or a built-in needs a primitive of it.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "swf/avm1/machine.h"
#include "swf/avm1/operators.h"

using swf::avm1::Add2;
using swf::avm1::Args;
using swf::avm1::Machine;
using swf::avm1::Object;
using swf::avm1::Value;

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

}  // namespace
