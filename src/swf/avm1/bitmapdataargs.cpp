#include "swf/avm1/bitmapdataargs.h"

#include "swf/avm1/function.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

bool HasAll(Machine &machine, Object *object, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        if (!machine.has(object, name))
            return false;
    return true;
}

}  // namespace

int IntArg(Machine &machine, const Value &value) { return ToInt32(machine.toNumber(value)); }

uint32_t ColorArg(Machine &machine, const Value &value) { return ToUint32(machine.toNumber(value)); }

bool ReadRect(Machine &machine, const Value &value, PixelRect &rect)
{
    Object *object = value.object();
    if (!object || !HasAll(machine, object, {"x", "y", "width", "height"}))
        return false;
    rect.x = IntArg(machine, machine.get(object, "x"));
    rect.y = IntArg(machine, machine.get(object, "y"));
    rect.width = IntArg(machine, machine.get(object, "width"));
    rect.height = IntArg(machine, machine.get(object, "height"));
    return true;
}

bool ReadPoint(Machine &machine, const Value &value, int &x, int &y)
{
    Object *object = value.object();
    if (!object)
        return false;
    x = IntArg(machine, machine.get(object, "x"));
    y = IntArg(machine, machine.get(object, "y"));
    return HasAll(machine, object, {"x", "y"});
}

Object *GlobalClass(Machine &machine, std::initializer_list<const char *> path)
{
    Object *at = machine.global;
    for (const char *name : path) {
        at = machine.get(at, name).object();
        if (!at)
            return nullptr;
    }
    return at;
}

Value MakeRectangle(Machine &machine, const PixelRect &rect)
{
    Args args({Value(double(rect.x)), Value(double(rect.y)), Value(double(rect.width)), Value(double(rect.height))});
    // Whatever flash.geom.Rectangle is now makes it; with no class there,
    // the player answers -1.
    Object *rectangle = GlobalClass(machine, {"flash", "geom", "Rectangle"});
    if (!dynamic_cast<FunctionObject *>(rectangle))
        return Value(-1.0);
    return machine.construct(Value(rectangle), args);
}

PixelTransform ReadPixelTransform(Machine &machine, Object *object)
{
    PixelTransform transform;
    static const char *const kChannels[4] = {"red", "green", "blue", "alpha"};
    for (int i = 0; i < 4; ++i) {
        const std::string channel = kChannels[i];
        transform.mult[i] = machine.toNumber(machine.get(object, channel + "Multiplier"));
        transform.add[i] = machine.toNumber(machine.get(object, channel + "Offset"));
    }
    return transform;
}

}  // namespace swf::avm1
