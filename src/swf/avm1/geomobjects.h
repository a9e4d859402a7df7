#pragma once
// The flash.geom objects other built-ins make and read: colour transforms
// (native state, read through accessors on their prototype), matrices,
// points and rectangles (plain properties, as scripts may build them
// themselves). Colour, Transform, the filters and MovieClip share them.

#include <initializer_list>
#include <string>
#include <utility>

#include "swf/avm1/function.h"
#include "swf/format/types.h"

namespace swf::avm1 {

class Machine;

// The native state of `value` when it is of type T, else null.
template <class T> T *NativeOf(const Value &value)
{
    Object *object = value.object();
    return object ? dynamic_cast<T *>(object->native.get()) : nullptr;
}

// A ColorTransform's eight numbers, kept as scripts wrote them.
struct ColorTransformState : NativeState {
    // red, green, blue, alpha
    double mult[4] = {1, 1, 1, 1};
    double add[4] = {0, 0, 0, 0};

    static ColorTransformState From(const ColorTransform &transform);
    // What a display object can hold: multipliers in 1/256 steps and whole
    // offsets, both within 16 bits.
    ColorTransform toDisplay() const;
};


Object *NewColorTransform(Machine &machine, const ColorTransformState &state);
// `matrix` in twips; the script object holds pixels for tx and ty.
Object *NewMatrix(Machine &machine, const Matrix &matrix);
// Reads a matrix-like object into twips; false when one of its six
// numbers is missing.
bool ReadMatrix(Machine &machine, Object *object, Matrix &matrix);
Object *NewPoint(Machine &machine, double x, double y);
Object *NewRectangle(Machine &machine, double x, double y, double width, double height);

// An accessor property (a getter and an optional setter) on `target`.
void DefineAccessor(Machine &machine, Object *target, const std::string &name, NativeFunction getter,
                    NativeFunction setter, uint16_t flags = 0);
// A class of a package: `name` on `package` is its constructor; its
// prototype is kept in the machine's built-in prototypes as `fullName`.
FunctionObject *DefinePackageClass(Machine &machine, Object *package, const std::string &name,
                                   const std::string &fullName, Object *prototype, NativeFunction construct);
// "(label=value, ...)" from the object's properties, read as scripts read
// them (getters run, a missing one prints as undefined does).
std::string DescribeProperties(Machine &machine, Object *object,
                               std::initializer_list<std::pair<const char *, const char *>> labelled);

// A number as the player stores a colour transform's parts: cut to an
// integer as ToInt32 does (NaN and the infinities read as 0), of which
// the low 16 bits count.
int WrapInt16(double value);

// The classes of flash.geom, each installed on `package`.
void InstallColorTransformClass(Machine &machine, Object *package);
void InstallMatrixClass(Machine &machine, Object *package);
void InstallPointClass(Machine &machine, Object *package);
void InstallRectangleClass(Machine &machine, Object *package);
void InstallTransformClass(Machine &machine, Object *package);
// _global.flash, made on first use.
Object *FlashPackage(Machine &machine, const std::string &name);

}  // namespace swf::avm1
