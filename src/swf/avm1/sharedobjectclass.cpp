// SharedObject: data a movie keeps between runs. getLocal hands out one
// object per file from the player's shared objects; without them (a bare
// machine) there is none to give.

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/sharedobjects.h"

namespace swf::avm1 {

namespace {

const char kPrototype[] = "SharedObject";

Value GetLocal(Machine &m, const Value &, const Args &args)
{
    if (!m.sharedObjects)
        return Value::null();
    return m.sharedObjects->getLocal(args[0], args[1], m.builtinPrototypes[kPrototype]);
}

Value Flush(Machine &m, const Value &self, const Args &args)
{
    if (!m.sharedObjects || !self.object())
        return Value(false);
    return m.sharedObjects->flush(self.object(), args[0].isUndefined() ? 0 : m.toNumber(args[0]));
}

Value Clear(Machine &m, const Value &self, const Args &)
{
    if (m.sharedObjects && self.object())
        m.sharedObjects->clear(self.object());
    return {};
}

Value GetSize(Machine &m, const Value &self, const Args &)
{
    if (!m.sharedObjects || !self.object())
        return Value(0.0);
    return Value(m.sharedObjects->size(self.object()));
}

Value Nothing(Machine &, const Value &, const Args &) { return {}; }
Value NoObject(Machine &, const Value &, const Args &) { return Value::null(); }

}  // namespace

void InstallSharedObjectClass(Machine &m)
{
    Object *proto = m.newObject();
    FunctionObject *constructor = DefineClass(m, "SharedObject", proto, Nothing, Nothing);
    m.builtinPrototypes[kPrototype] = proto;
    m.defineMethod(constructor, "getLocal", GetLocal);
    m.defineMethod(constructor, "getRemote", NoObject);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"flush", Flush},     {"clear", Clear},     {"getSize", GetSize}, {"setFps", Nothing},
        {"connect", Nothing}, {"close", Nothing},   {"send", Nothing},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
}

}  // namespace swf::avm1
