// AsBroadcaster: the listener lists of Key, Mouse, Stage and of any object
// a script gives one (AsBroadcaster.initialize). The list is the object's
// `_listeners` array; a message goes to a copy of it, so listeners that
// add or remove others while it runs change only later messages.

#include "swf/avm1/broadcaster.h"

#include <algorithm>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/clipreference.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

ArrayObject *Listeners(Machine &m, const Value &self)
{
    return dynamic_cast<ArrayObject *>(m.getMember(self, "_listeners").object());
}

Value AddListener(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *listeners = Listeners(m, self);
    if (!listeners)
        return Value(false);
    auto &list = listeners->elements;
    list.erase(std::remove_if(list.begin(), list.end(), [&](const Value &v) { return StrictlyEqual(m, v, args[0]); }),
               list.end());
    listeners->push(m, args[0]);
    return Value(true);
}

Value RemoveListener(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *listeners = Listeners(m, self);
    if (!listeners)
        return Value(false);
    auto &list = listeners->elements;
    auto it = std::find_if(list.begin(), list.end(), [&](const Value &v) { return StrictlyEqual(m, v, args[0]); });
    if (it == list.end())
        return Value(false);
    list.erase(it);
    return Value(true);
}

Value BroadcastMessage(Machine &m, const Value &self, const Args &args)
{
    if (args.size() == 0)
        return {};
    const std::vector<Value> rest(args.all().begin() + 1, args.all().end());
    return Value(Broadcast(m, self, m.toString(args[0]), Args(rest)));
}

Value Initialize(Machine &m, const Value &, const Args &args)
{
    if (Object *target = args[0].object())
        MakeBroadcaster(m, target);
    return {};
}

Value BroadcasterCall(Machine &, const Value &, const Args &) { return {}; }

}  // namespace

bool Broadcast(Machine &m, const Value &source, const std::string &message, const Args &args)
{
    ArrayObject *listeners = Listeners(m, source);
    if (!listeners)
        return false;
    const std::vector<Value> copy = listeners->elements;
    for (const Value &listener : copy)
        m.callMethod(listener, message, args);
    return !copy.empty();
}

void MakeBroadcaster(Machine &m, Object *target)
{
    Object *broadcaster = m.get(m.global, "AsBroadcaster").object();
    for (const char *method : {"addListener", "removeListener", "broadcastMessage"})
        m.defineValue(target, method, broadcaster ? m.get(broadcaster, method) : Value());
    m.defineValue(target, "_listeners", Value(m.newArray()));
}

void InstallBroadcaster(Machine &m)
{
    FunctionObject *broadcaster = DefineClass(m, "AsBroadcaster", m.newObject(), BroadcasterCall);
    m.defineMethod(broadcaster, "initialize", Initialize);
    m.defineMethod(broadcaster, "addListener", AddListener);
    m.defineMethod(broadcaster, "removeListener", RemoveListener);
    m.defineMethod(broadcaster, "broadcastMessage", BroadcastMessage);
}

}  // namespace swf::avm1
