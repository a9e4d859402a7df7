// The machine's collector: mark from the roots, free the rest, and count
// the memory again from what is left.

#include <algorithm>

#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

void AddValue(std::vector<Object *> &out, const Value &value)
{
    if (Object *o = value.object())
        out.push_back(o);
}

}  // namespace

void Machine::collect(std::vector<Object *> roots)
{
    for (Object *proto : {global, objectProto, functionProto, arrayProto, stringProto, numberProto, booleanProto,
                          clipProto, errorProto, buttonProto})
        if (proto)
            roots.push_back(proto);
    for (const auto &entry : registeredClasses)
        if (entry.second)
            roots.push_back(entry.second);
    for (const auto &entry : builtinPrototypes)
        roots.push_back(entry.second);
    for (const Timer &timer : timers) {
        AddValue(roots, timer.function);
        for (const Value &arg : timer.args.all())
            AddValue(roots, arg);
    }
    for (const Value &value : stack)
        AddValue(roots, value);
    std::vector<Object *> &pending = roots;
    while (!pending.empty()) {
        Object *object = pending.back();
        pending.pop_back();
        if (object->marked)
            continue;
        object->marked = true;
        object->collectReferences(pending);
    }
    auto dead = std::partition(heap_.begin(), heap_.end(), [](const std::unique_ptr<Object> &o) { return o->marked; });
    heap_.erase(dead, heap_.end());
    used_ = 0;
    for (const auto &object : heap_) {
        object->marked = false;
        used_ += object->footprint();
    }
    liveAfterCollect_ = used_;
}

}  // namespace swf::avm1
