// Function: call and apply, and the constructor (which makes nothing
// callable: scripts define functions with actions).

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

Value FunctionCall(Machine &m, const Value &, const Args &) { return Value(m.newObject()); }

Value ThisFor(Machine &m, const Value &self)
{
    return self.isNullish() ? Value(m.global) : self;
}

Value CallMethod(Machine &m, const Value &self, const Args &args)
{
    std::vector<Value> rest;
    for (size_t i = 1; i < args.size(); ++i)
        rest.push_back(args[i]);
    return m.call(Value(self), ThisFor(m, args[0]), Args(std::move(rest)));
}

Value ApplyMethod(Machine &m, const Value &self, const Args &args)
{
    std::vector<Value> list;
    if (auto *array = dynamic_cast<ArrayObject *>(args[1].object()))
        list = array->elements;
    return m.call(Value(self), ThisFor(m, args[0]), Args(std::move(list)));
}

}  // namespace

void InstallFunctionClass(Machine &m)
{
    m.functionClass = DefineClass(m, "Function", m.functionProto, FunctionCall);
    // Movies of SWF 5 see no Function class, though their functions have it
    // as their constructor.
    m.global->findOwn(m.key("Function"))->flags |= kVersion6Up;
    m.defineMethod(m.functionProto, "call", CallMethod);
    m.defineMethod(m.functionProto, "apply", ApplyMethod);
}

}  // namespace swf::avm1
