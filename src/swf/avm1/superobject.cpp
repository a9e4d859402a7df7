#include "swf/avm1/superobject.h"

#include "swf/avm1/machine.h"

namespace swf::avm1 {

SuperObject::SuperObject(const Value &self, Object *base)
    : Object(base ? base->proto() : nullptr), self_(self), base_(base)
{
}

// The class prototype (made by `new` or by extends) names the superclass
// constructor. One linked by hand (`__proto__`) names none: then the
// prototype above says whose it is. Never the class's own constructor,
// which would run it again.
Value SuperObject::constructor(Machine &machine) const
{
    if (!base_)
        return {};
    Value ctor = machine.get(base_, "__constructor__");
    if (!ctor.isObject() && base_->proto())
        ctor = machine.get(base_->proto(), "constructor");
    return ctor;
}

Value SuperObject::getSpecial(Machine &, const std::string &, bool &found)
{
    found = false;
    return {};
}

}  // namespace swf::avm1
