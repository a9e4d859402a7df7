#include "swf/avm1/localsobject.h"

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/superobject.h"

namespace swf::avm1 {

Object *MakeArguments(Machine &machine, FunctionObject *function, const Args &args)
{
    ArrayObject *arguments = machine.newArray(args.all());
    machine.defineValue(arguments, "callee", Value(function));
    return arguments;
}

Value MakeSuper(Machine &machine, const Value &self, Object *base)
{
    if (!self.isObject())
        return {};
    return Value(machine.make<SuperObject>(self, base ? base : self.object()->proto()));
}

void LocalsObject::offerArguments(FunctionObject *function, const Args &args)
{
    argumentsOffered_ = true;
    function_ = function;
    args_ = args;
}

void LocalsObject::offerSuper(const Value &self, Object *base)
{
    superOffered_ = true;
    self_ = self;
    base_ = base;
}

void LocalsObject::makeIfOffered(Machine &machine, const std::string &name)
{
    if (!argumentsOffered_ && !superOffered_)
        return;
    std::string scratch;
    const std::string &key = machine.keyOf(name, scratch);
    if (argumentsOffered_ && key == "arguments") {
        argumentsOffered_ = false;
        machine.defineValue(this, "arguments", Value(MakeArguments(machine, function_, args_)), 0);
        args_ = Args();
    } else if (superOffered_ && key == "super") {
        superOffered_ = false;
        machine.defineValue(this, "super", MakeSuper(machine, self_, base_), 0);
        self_ = Value();
    }
}

Value LocalsObject::getSpecial(Machine &machine, const std::string &name, bool &found)
{
    // Once made, the object is an ordinary property of the locals.
    makeIfOffered(machine, name);
    found = false;
    return {};
}

bool LocalsObject::setSpecial(Machine &machine, const std::string &name, const Value &)
{
    makeIfOffered(machine, name);
    return false;
}

void LocalsObject::collectReferences(std::vector<Object *> &out) const
{
    Object::collectReferences(out);
    if (function_)
        out.push_back(function_);
    for (const Value &value : args_.all())
        if (Object *object = value.object())
            out.push_back(object);
    if (Object *object = self_.object())
        out.push_back(object);
    if (base_)
        out.push_back(base_);
}

}  // namespace swf::avm1
