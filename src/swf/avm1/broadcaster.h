#pragma once
// Objects that keep listeners (AsBroadcaster): Key, Mouse and Stage are
// made so when the machine starts, scripts may make any object so.

#include <string>

#include "swf/avm1/function.h"

namespace swf::avm1 {

class Machine;

// Gives `target` the listener methods and an empty `_listeners`.
void MakeBroadcaster(Machine &machine, Object *target);
// Calls `message` on each listener of `source`; false when it has none.
bool Broadcast(Machine &machine, const Value &source, const std::string &message, const Args &args);

}  // namespace swf::avm1
