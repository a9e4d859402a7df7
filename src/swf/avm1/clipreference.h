#pragma once
// A script value holding a clip holds it softly. While the clip is on the
// stage the value is that clip, whatever it has been renamed since; once it
// is removed the value reaches the clip found at the path the removed one
// first had, when there is one, and else nothing (no properties, an empty
// path) though typeof still says "movieclip".

#include "swf/avm1/object.h"
#include "swf/avm1/value.h"

namespace swf::avm1 {

class ClipObject;
class Machine;

// The clip `clip` stands for now: itself while on the stage, else the live
// clip at its first path, else null.
ClipObject *CurrentClip(Machine &machine, ClipObject *clip);
Value CurrentClipValue(Machine &machine, const Value &value);

inline bool IsClipKind(const Object *object)
{
    return object && (object->kind() == Object::Kind::Clip || object->kind() == Object::Kind::Button);
}

// `value` with a removed clip swapped for the clip now at its path (kept
// as it is when there is none).
inline Value CurrentValue(Machine &machine, const Value &value)
{
    return IsClipKind(value.object()) ? CurrentClipValue(machine, value) : value;
}

// Strict equality with clips compared as they stand now: a removed clip's
// reference equals the clip now at its path.
inline bool StrictlyEqual(Machine &machine, const Value &a, const Value &b)
{
    return CurrentValue(machine, a).strictEquals(CurrentValue(machine, b));
}

}  // namespace swf::avm1
