#include "swf/avm1/builtins.h"

#include "swf/avm1/machine.h"
#include "swf/avm1/scriptfocus.h"

namespace swf::avm1 {

void InstallBuiltins(Machine &machine)
{
    // The two prototypes every other object needs come first.
    machine.objectProto = machine.make<Object>(nullptr);
    machine.functionProto = machine.make<Object>(machine.objectProto);
    // The global object inherits nothing, not even Object's methods.
    machine.global = machine.make<Object>(nullptr);
    // Function before all others: every function names it as its maker.
    InstallFunctionClass(machine);
    InstallObjectClass(machine);
    InstallArrayClass(machine);
    InstallStringClass(machine);
    InstallNumberClass(machine);
    InstallBooleanClass(machine);
    InstallMathObject(machine);
    InstallErrorClass(machine);
    InstallGlobalFunctions(machine);
    InstallTimerFunctions(machine);
    InstallMovieClipClass(machine);
    InstallButtonClass(machine);
    InstallColorClass(machine);
    InstallGeomPackage(machine);
    InstallFilterPackage(machine);
    InstallDateClass(machine);
    InstallBroadcaster(machine);
    InstallKeyObject(machine);
    InstallStageObject(machine);
    InstallSystemObject(machine);
    InstallSoundClass(machine);
    InstallClipLoadingMethods(machine);
    InstallMovieClipLoaderClass(machine);
    InstallLoadVarsClass(machine);
    InstallBitmapDataClass(machine);
    InstallXmlClasses(machine);
    InstallSharedObjectClass(machine);
    FinishFlashPackages(machine);
    InstallTextFieldClass(machine);
    InstallMouseObject(machine);
    InstallSelectionObject(machine);
}

// A class: its constructor as a global, its prototype linked both ways.
FunctionObject *DefineClass(Machine &machine, const std::string &name, Object *prototype,
                            NativeFunction call, NativeFunction construct)
{
    FunctionObject *constructor = machine.newNative(call, construct);
    machine.defineValue(constructor, "prototype", Value(prototype), kDontEnum | kDontDelete);
    machine.defineValue(prototype, "constructor", Value(constructor), kDontEnum | kDontDelete);
    machine.defineValue(machine.global, name, Value(constructor));
    return constructor;
}

void TakeOverInstance(Machine &machine, Object *plain, Object *instance)
{
    if (!plain)
        return;
    instance->setProto(plain->proto());
    for (const Property *p : plain->ownNewestFirst())
        instance->putOwn(machine.key(p->name), p->name, p->value, p->flags);
}

}  // namespace swf::avm1
