#include "swf/avm1/superobject.h"

#include "swf/avm1/machine.h"

namespace swf::avm1 {

SuperObject::SuperObject(const Value &self, Object *base)
    : Object(base ? base->proto() : nullptr), self_(self), base_(base)
{
}

// The class prototype (made by `new` or by extends) names the superclass
// constructor. A function's own prototype names only the function itself
// (`constructor`), so a class without a superclass has nothing to call.
Value SuperObject::constructor(Machine &machine) const
{
    if (!base_)
        return {};
    return machine.get(base_, "__constructor__");
}

Value SuperObject::getSpecial(Machine &, const std::string &, bool &found)
{
    found = false;
    return {};
}

}  // namespace swf::avm1
