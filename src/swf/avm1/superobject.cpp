#include "swf/avm1/superobject.h"

#include "swf/avm1/machine.h"

namespace swf::avm1 {

SuperObject::SuperObject(const Value &self, Object *base)
    : Object(base ? base->proto() : nullptr), self_(self), base_(base)
{
}

// The class prototype (made by `new` or by extends) names the superclass
// constructor.
Value SuperObject::constructor(Machine &machine) const
{
    if (!base_)
        return {};
    Value ctor = machine.get(base_, "__constructor__");
    if (!ctor.isObject())
        ctor = machine.get(base_, "constructor");
    return ctor;
}

Value SuperObject::getSpecial(Machine &, const std::string &, bool &found)
{
    found = false;
    return {};
}

}  // namespace swf::avm1
