#pragma once
// BitmapData's methods in groups, each installed on the class's prototype
// (and its statics on the class) by InstallBitmapDataClass.

#include <optional>

#include "swf/avm1/bitmapdataobject.h"
#include "swf/avm1/bitmappixels.h"
#include "swf/avm1/function.h"

namespace swf::avm1 {

class Machine;

// What a method on something that is no live BitmapData answers.
inline Value NotABitmap() { return Value(-1.0); }

// The three arguments every method that copies from a source starts with.
struct CopyArgs {
    BitmapSurface *dest = nullptr;
    const BitmapSurface *source = nullptr;
    PixelRect sourceRect;
    int destX = 0, destY = 0;
};

// Reads those three of a call that needs `needed` arguments; what the
// player answers instead when they are short or wrong: -1 for too few (or
// a disposed target), -2 for a source that is no BitmapData, -3 for a
// disposed one, -4 for a source rectangle without its four numbers. A
// missing point is the origin.
std::optional<Value> ReadCopyArgs(Machine &machine, const Value &self, const Args &args, size_t needed,
                                  CopyArgs &out);

void InstallPixelMethods(Machine &machine, Object *proto);
void InstallCopyMethods(Machine &machine, Object *proto);
void InstallNoiseMethods(Machine &machine, Object *proto);
void InstallDrawMethods(Machine &machine, Object *proto, Object *constructor);
void InstallFilterMethods(Machine &machine, Object *proto);
void InstallPerlinNoise(Machine &machine, Object *proto);

}  // namespace swf::avm1
