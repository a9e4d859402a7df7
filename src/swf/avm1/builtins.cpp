#include "swf/avm1/builtins.h"

#include "swf/avm1/machine.h"

namespace swf::avm1 {

void InstallBuiltins(Machine &machine)
{
    // The two prototypes every other object needs come first.
    machine.objectProto = machine.make<Object>(nullptr);
    machine.functionProto = machine.make<Object>(machine.objectProto);
    machine.global = machine.make<Object>(machine.objectProto);
    InstallObjectClass(machine);
    InstallFunctionClass(machine);
    InstallArrayClass(machine);
    InstallStringClass(machine);
    InstallNumberClass(machine);
    InstallBooleanClass(machine);
    InstallMathObject(machine);
    InstallErrorClass(machine);
    InstallGlobalFunctions(machine);
    InstallTimerFunctions(machine);
    InstallMovieClipClass(machine);
    InstallMouseObject(machine);
}

// A class: its constructor as a global, its prototype linked both ways.
FunctionObject *DefineClass(Machine &machine, const std::string &name, Object *prototype,
                            NativeFunction call, NativeFunction construct)
{
    FunctionObject *constructor = machine.newNative(call, construct);
    machine.defineValue(constructor, "prototype", Value(prototype), kDontEnum | kDontDelete);
    machine.defineValue(prototype, "constructor", Value(constructor));
    machine.defineValue(machine.global, name, Value(constructor));
    return constructor;
}

}  // namespace swf::avm1
