// The object model's rules that the trace logs pin down only in part:
// `__proto__` as an own property (hidden, permanent, writable, deletable
// once its flags allow), the own `__proto__` and `constructor` of every
// function, and properties of a later player passed by on reads and writes.

#include <gtest/gtest.h>

#include "swf/avm1/machine.h"

using swf::avm1::Args;
using swf::avm1::Machine;
using swf::avm1::Object;
using swf::avm1::Value;

namespace {

Value Global(Machine &m, const char *name) { return m.get(m.global, name); }

void SetFlags(Machine &m, Object *object, const char *name, double set, double clear)
{
    m.callMethod(Value(m.global), "ASSetPropFlags", Args({Value(object), Value(name), Value(set), Value(clear)}));
}

bool Enumerates(Machine &m, Object *object, const std::string &name)
{
    for (const std::string &listed : m.enumerate(object))
        if (listed == name)
            return true;
    return false;
}

TEST(Avm1ObjectModel, ProtoIsAHiddenPermanentOwnProperty)
{
    Machine m(8);
    Object *o = m.newObject();
    EXPECT_TRUE(m.hasOwn(o, "__proto__"));
    EXPECT_EQ(m.get(o, "__proto__").object(), m.objectProto);
    EXPECT_FALSE(Enumerates(m, o, "__proto__"));
    EXPECT_FALSE(m.remove(o, "__proto__"));
    SetFlags(m, o, "__proto__", 0, 1);
    EXPECT_TRUE(Enumerates(m, o, "__proto__"));
    // Once deletable it goes, and the chain with it.
    SetFlags(m, o, "__proto__", 0, 2);
    EXPECT_TRUE(m.remove(o, "__proto__"));
    EXPECT_FALSE(m.hasOwn(o, "__proto__"));
    EXPECT_TRUE(m.get(o, "hasOwnProperty").isUndefined());
    // Written again it is an ordinary property and links the chain anew.
    m.set(o, "__proto__", Value(m.objectProto));
    EXPECT_TRUE(m.hasOwn(o, "__proto__"));
    EXPECT_FALSE(m.get(o, "hasOwnProperty").isUndefined());
}

TEST(Avm1ObjectModel, ProtoHoldsAnyValueAndHonoursReadOnly)
{
    Machine m(8);
    Object *o = m.newObject();
    m.set(o, "__proto__", Value("text"));
    EXPECT_EQ(m.toString(m.get(o, "__proto__")), "text");
    EXPECT_EQ(o->proto(), nullptr);
    m.set(o, "__proto__", Value(m.objectProto));
    SetFlags(m, o, "__proto__", 4, 0);
    m.set(o, "__proto__", Value());
    EXPECT_EQ(o->proto(), m.objectProto);
    // A name that is not the link is never found through the chain.
    Object *child = m.make<Object>(o);
    EXPECT_EQ(m.get(child, "__proto__").object(), o);
}

TEST(Avm1ObjectModel, EveryFunctionHasItsOwnProtoAndConstructor)
{
    for (int version : {5, 6, 8}) {
        Machine m(version);
        Object *functionClass = m.functionClass;
        ASSERT_NE(functionClass, nullptr);
        for (Object *function : {Global(m, "Object").object(), functionClass, m.get(m.objectProto, "toString").object(),
                                 static_cast<Object *>(m.newNative(nullptr))}) {
            ASSERT_NE(function, nullptr);
            EXPECT_TRUE(m.hasOwn(function, "__proto__")) << version;
            EXPECT_TRUE(m.hasOwn(function, "constructor")) << version;
            EXPECT_EQ(m.get(function, "constructor").object(), functionClass) << version;
            EXPECT_FALSE(m.remove(function, "constructor")) << version;
            // Before SWF 6 the link is there but cannot be read.
            EXPECT_EQ(m.get(function, "__proto__").object(), version >= 6 ? m.functionProto : nullptr) << version;
            EXPECT_EQ(function->proto(), m.functionProto) << version;
        }
    }
}

TEST(Avm1ObjectModel, NewGivesConstructorLinksByVersion)
{
    const struct {
        int version;
        bool seesConstructorLink;
        bool ownConstructor;
    } cases[] = {{5, false, true}, {6, true, true}, {7, true, false}, {8, true, false}};
    for (const auto &c : cases) {
        Machine m(c.version);
        const Value objectClass = Global(m, "Object");
        Object *made = m.construct(objectClass, Args()).object();
        ASSERT_NE(made, nullptr);
        EXPECT_TRUE(m.hasOwn(made, "__constructor__")) << c.version;
        EXPECT_EQ(m.get(made, "__constructor__").isUndefined(), !c.seesConstructorLink) << c.version;
        EXPECT_EQ(m.hasOwn(made, "constructor"), c.ownConstructor) << c.version;
        EXPECT_EQ(m.get(made, "constructor").object(), objectClass.object()) << c.version;
    }
}

TEST(Avm1ObjectModel, LaterPlayersPropertiesArePassedBy)
{
    Machine m(6);
    Object *base = m.newObject();
    m.set(base, "shared", Value(1.0));
    Object *o = m.make<Object>(base);
    m.set(o, "shared", Value(2.0));
    SetFlags(m, o, "shared", double(swf::avm1::kVersion8Up), 0);
    // Hidden from SWF 6: the prototype's value shows through.
    EXPECT_EQ(m.toNumber(m.get(o, "shared")), 1.0);
    EXPECT_TRUE(m.hasOwn(o, "shared"));
    SetFlags(m, o, "shared", double(swf::avm1::kNotVersion6), double(swf::avm1::kVersion8Up));
    EXPECT_EQ(m.toNumber(m.get(o, "shared")), 1.0);
    SetFlags(m, o, "shared", 0, double(swf::avm1::kNotVersion6));
    EXPECT_EQ(m.toNumber(m.get(o, "shared")), 2.0);
}

}  // namespace
