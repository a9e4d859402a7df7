// Mouse: a broadcaster whose listeners are told of the mouse (onMouseDown,
// onMouseUp, onMouseMove), and show/hide, which answer whether the pointer
// was shown before.

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

// The player draws its own pointer over the movie, so hiding it is only
// remembered for the answer.
Value ShowOrHide(Machine &m, const Value &self, bool show)
{
    Object *mouse = self.object();
    if (!mouse)
        return {};
    const Value hidden = m.get(mouse, "__hidden");
    const bool wasShown = !m.toBoolean(hidden);
    m.defineValue(mouse, "__hidden", Value(!show));
    return Value(wasShown ? 1.0 : 0.0);
}

Value Show(Machine &m, const Value &self, const Args &) { return ShowOrHide(m, self, true); }
Value Hide(Machine &m, const Value &self, const Args &) { return ShowOrHide(m, self, false); }

}  // namespace

void InstallMouseObject(Machine &m)
{
    Object *mouse = m.newObject();
    m.defineValue(m.global, "Mouse", Value(mouse));
    MakeBroadcaster(m, mouse);
    m.defineMethod(mouse, "show", Show);
    m.defineMethod(mouse, "hide", Hide);
}

}  // namespace swf::avm1
