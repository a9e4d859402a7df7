// Button: a named button of an SWF 6 or later movie is an object of its own
// kind (typeof "object"). It answers the display properties a clip does,
// but has none of a clip's timeline methods.

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

Value ButtonCall(Machine &, const Value &, const Args &) { return {}; }

}  // namespace

// After the MovieClip class, whose getDepth buttons share.
void InstallButtonClass(Machine &m)
{
    m.buttonProto = m.newObject();
    DefineClass(m, "Button", m.buttonProto, ButtonCall);
    m.defineValue(m.buttonProto, "getDepth", m.get(m.clipProto, "getDepth"), kDontEnum);
    m.defineValue(m.buttonProto, "useHandCursor", Value(true), kDontEnum);
    m.defineValue(m.buttonProto, "enabled", Value(true), kDontEnum);
}

}  // namespace swf::avm1
