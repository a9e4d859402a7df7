#pragma once
// BitmapData's methods in groups, each installed on the class's prototype
// (and its statics on the class) by InstallBitmapDataClass.

#include "swf/avm1/bitmapdataobject.h"
#include "swf/avm1/function.h"

namespace swf::avm1 {

class Machine;

// What a method on something that is no live BitmapData answers.
inline Value NotABitmap() { return Value(-1.0); }

void InstallPixelMethods(Machine &machine, Object *proto);
void InstallCopyMethods(Machine &machine, Object *proto);
void InstallNoiseMethods(Machine &machine, Object *proto);
void InstallDrawMethods(Machine &machine, Object *proto, Object *constructor);

}  // namespace swf::avm1
