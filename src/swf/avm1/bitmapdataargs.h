#pragma once
// Reading the arguments of BitmapData's methods as the player reads them:
// numbers cut to whole ones (NaN as 0), rectangles and points from any
// object with the right properties, and the rectangles it answers made as
// flash.geom.Rectangle objects when that class is there.

#include "swf/avm1/bitmappixels.h"
#include "swf/avm1/function.h"

namespace swf::avm1 {

class Machine;

int IntArg(Machine &machine, const Value &value);
uint32_t ColorArg(Machine &machine, const Value &value);
// False when `value` is no object or lacks one of the names; a point
// reads what it has all the same.
bool ReadRect(Machine &machine, const Value &value, PixelRect &rect);
bool ReadPoint(Machine &machine, const Value &value, int &x, int &y);
// A flash.geom.Rectangle, or -1 when scripts have taken the class away.
Value MakeRectangle(Machine &machine, const PixelRect &rect);
// A ColorTransform's eight numbers, read by name.
PixelTransform ReadPixelTransform(Machine &machine, Object *object);
// The class of `path` under _global ("flash.geom.Rectangle"), or null.
Object *GlobalClass(Machine &machine, std::initializer_list<const char *> path);

}  // namespace swf::avm1
