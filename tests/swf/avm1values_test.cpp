// Script values as the player converts, prints and compares them.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

using swf::avm1::Machine;
using swf::avm1::NumberToString;
using swf::avm1::Object;
using swf::avm1::Value;

namespace {

TEST(Avm1Numbers, PrintLikeThePlayer)
{
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1.5, "-1.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345, "123456789012345"},
        {999999999999999, "999999999999999"},
        {1e15, "1e+15"},
        {1e21, "1e+21"},
        {1.5e300, "1.5e+300"},
        {0.0001, "0.0001"},
        {0.00001, "0.00001"},
        {0.000001, "1e-6"},
        {1.2e-7, "1.2e-7"},
        {-2.5e-10, "-2.5e-10"},
        {9999999999999999.0, "1e+16"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {std::numeric_limits<double>::infinity(), "Infinity"},
        {-std::numeric_limits<double>::infinity(), "-Infinity"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberToString(c.value), c.text) << c.text;
}

TEST(Avm1Numbers, ReadStrictlyAndLeniently)
{
    using swf::avm1::ParseFloatPrefix;
    using swf::avm1::ParseIntPrefix;
    using swf::avm1::StringToNumberStrict;
    EXPECT_EQ(StringToNumberStrict("  12.5"), 12.5);
    EXPECT_EQ(StringToNumberStrict("0x1F"), 31);
    EXPECT_EQ(StringToNumberStrict("-3e2"), -300);
    EXPECT_TRUE(std::isnan(StringToNumberStrict("")));
    EXPECT_TRUE(std::isnan(StringToNumberStrict("12px")));
    EXPECT_EQ(ParseFloatPrefix("12.34A"), 12.34);
    EXPECT_TRUE(std::isnan(ParseFloatPrefix("A12")));
    EXPECT_EQ(ParseIntPrefix("0x10", 0), 16);
    EXPECT_EQ(ParseIntPrefix("017", 0), 15);
    EXPECT_EQ(ParseIntPrefix("ff", 16), 255);
    EXPECT_EQ(ParseIntPrefix("-42abc", 10), -42);
}

// Undefined and texts read differently before SWF 7 and before SWF 5.
TEST(Avm1Values, ConversionsFollowTheVersion)
{
    const struct {
        int version;
        Value value;
        double number;  // NaN written as -999
        const char *text;
        bool boolean;
    } cases[] = {
        {6, Value(), 0, "", false},
        {7, Value(), -999, "undefined", false},
        {6, Value::null(), 0, "null", false},
        {7, Value::null(), -999, "null", false},
        {4, Value("12abc"), 12, "12abc", true},
        {5, Value("12abc"), -999, "12abc", false},
        {6, Value("abc"), -999, "abc", false},
        {7, Value("abc"), -999, "abc", true},
        {7, Value("0"), 0, "0", true},
        {6, Value("0"), 0, "0", false},
        {7, Value(true), 1, "true", true},
        {7, Value(-0.0), 0, "0", false},
    };
    for (const auto &c : cases) {
        const double n = c.value.toNumberPrimitive(c.version);
        if (c.number == -999)
            EXPECT_TRUE(std::isnan(n)) << c.text << " v" << c.version;
        else
            EXPECT_EQ(n, c.number) << c.text << " v" << c.version;
        EXPECT_EQ(c.value.toStringPrimitive(c.version), c.text) << " v" << c.version;
        EXPECT_EQ(c.value.toBooleanPrimitive(c.version), c.boolean) << c.text << " v" << c.version;
    }
}

TEST(Avm1Values, LooseEqualityTable)
{
    Machine m(8);
    Machine old(6);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        Value a, b;
        bool equal;
    } cases[] = {
        {Value(), Value::null(), true},
        {Value(), Value(0.0), false},
        {Value(1.0), Value("1"), true},
        {Value("1.0"), Value(1.0), true},
        {Value(true), Value(1.0), true},
        {Value(true), Value("1"), true},
        {Value(nan), Value(nan), false},
        {Value("a"), Value("a"), true},
        {Value(""), Value(0.0), false},
        {Value::null(), Value(0.0), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(m.looseEquals(c.a, c.b), c.equal)
            << m.toString(c.a) << " == " << m.toString(c.b);
    EXPECT_FALSE(old.looseEquals(Value(), Value(0.0)));
}

TEST(Avm1Values, ComparisonIsUndefinedWithNaN)
{
    Machine m(8);
    EXPECT_TRUE(m.lessThan(Value(1.0), Value(2.0)).boolean());
    EXPECT_TRUE(m.lessThan(Value("B"), Value("a")).boolean());
    EXPECT_FALSE(m.lessThan(Value("10"), Value(9.0)).boolean());
    EXPECT_TRUE(m.lessThan(Value("x"), Value(1.0)).isUndefined());
}

TEST(Avm1Objects, NamesFoldBelowVersionSeven)
{
    Machine old(6);
    Object *a = old.newObject();
    old.set(a, "Name", Value(1.0));
    EXPECT_EQ(old.get(a, "name").number(), 1);

    Machine current(7);
    Object *b = current.newObject();
    current.set(b, "Name", Value(1.0));
    EXPECT_TRUE(current.get(b, "name").isUndefined());
}

}  // namespace
