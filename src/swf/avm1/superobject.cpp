#include "swf/avm1/superobject.h"

#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

// The prototype one level above the one whose class `self` was made by:
// `self.__proto__.__proto__`.
Object *BaseOf(const Value &self)
{
    Object *object = self.object();
    Object *own = object ? object->proto() : nullptr;
    return own ? own->proto() : nullptr;
}

}  // namespace

SuperObject::SuperObject(const Value &self, FunctionObject *) : Object(BaseOf(self)), self_(self) {}

Value SuperObject::constructor(Machine &machine) const
{
    Object *base = proto();
    if (!base)
        return {};
    Value ctor = machine.get(base, "__constructor__");
    if (!ctor.isObject())
        ctor = machine.get(base, "constructor");
    return ctor;
}

Value SuperObject::getSpecial(Machine &, const std::string &, bool &found)
{
    found = false;
    return {};
}

}  // namespace swf::avm1
