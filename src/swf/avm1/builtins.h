#pragma once
// The built-in classes and global functions, one file each; the Machine
// installs them all when it is made.

namespace swf::avm1 {

class Machine;

void InstallBuiltins(Machine &machine);

void InstallObjectClass(Machine &machine);
void InstallFunctionClass(Machine &machine);
void InstallArrayClass(Machine &machine);
void InstallStringClass(Machine &machine);
void InstallNumberClass(Machine &machine);
void InstallBooleanClass(Machine &machine);
void InstallMathObject(Machine &machine);
void InstallErrorClass(Machine &machine);
void InstallGlobalFunctions(Machine &machine);
void InstallTimerFunctions(Machine &machine);
void InstallMovieClipClass(Machine &machine);
void InstallButtonClass(Machine &machine);
void InstallColorClass(Machine &machine);
void InstallGeomPackage(Machine &machine);
void InstallFilterPackage(Machine &machine);
void InstallDateClass(Machine &machine);
void InstallBroadcaster(Machine &machine);
void InstallKeyObject(Machine &machine);
void InstallStageObject(Machine &machine);
void InstallSystemObject(Machine &machine);
void InstallSoundClass(Machine &machine);
void InstallClipLoadingMethods(Machine &machine);
void InstallMovieClipLoaderClass(Machine &machine);
void InstallLoadVarsClass(Machine &machine);
void InstallBitmapDataClass(Machine &machine);
void InstallTextFieldClass(Machine &machine);
void InstallTextFormatClass(Machine &machine);
void InstallTextSnapshotClass(Machine &machine);
void InstallMouseObject(Machine &machine);
void InstallXmlClasses(Machine &machine);
void InstallSharedObjectClass(Machine &machine);
// After every class that adds to the flash.* packages is installed.
void FinishFlashPackages(Machine &machine);

}  // namespace swf::avm1

#include <string>

#include "swf/avm1/function.h"

namespace swf::avm1 {

// Makes a class: `name` on the global object is its constructor, whose
// `prototype` is `prototype`.
FunctionObject *DefineClass(Machine &machine, const std::string &name, Object *prototype,
                            NativeFunction call, NativeFunction construct = nullptr);
// For classes whose instances are objects of their own C++ type: `new`
// made `plain` first; `instance` takes over its prototype and the links
// `new` gave it.
void TakeOverInstance(Machine &machine, Object *plain, Object *instance);
// A flags argument (ASSetPropFlags) as its low bits.
int ToFlags(Machine &machine, const Value &value);

}  // namespace swf::avm1
