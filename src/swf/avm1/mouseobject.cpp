// Mouse: listeners told of the mouse (onMouseDown, onMouseUp,
// onMouseMove), kept in its `_listeners` array as broadcasters keep them,
// and show/hide, which answer whether the pointer was shown before.

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

ArrayObject *Listeners(Machine &m, const Value &self)
{
    Object *mouse = self.object();
    return mouse ? dynamic_cast<ArrayObject *>(m.get(mouse, "_listeners").object()) : nullptr;
}

bool SameObject(const Value &a, const Value &b) { return a.isObject() && a.object() == b.object(); }

Value AddListener(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *listeners = Listeners(m, self);
    if (!listeners || !args[0].isObject())
        return Value(false);
    for (const Value &listener : listeners->elements)
        if (SameObject(listener, args[0]))
            return Value(true);
    listeners->push(m, args[0]);
    return Value(true);
}

Value RemoveListener(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *listeners = Listeners(m, self);
    if (!listeners)
        return Value(false);
    auto &elements = listeners->elements;
    for (auto it = elements.begin(); it != elements.end(); ++it) {
        if (SameObject(*it, args[0])) {
            elements.erase(it);
            return Value(true);
        }
    }
    return Value(false);
}

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
    m.defineValue(mouse, "_listeners", Value(m.newArray()));
    m.defineMethod(mouse, "addListener", AddListener);
    m.defineMethod(mouse, "removeListener", RemoveListener);
    m.defineMethod(mouse, "show", Show);
    m.defineMethod(mouse, "hide", Hide);
}

}  // namespace swf::avm1
