#pragma once
// setInterval and setTimeout on the player's clock: the host calls
// RunDueTimers at the start of each frame, before it moves Machine::clockMs
// on, so a timer that fell due during the frame just shown runs after that
// frame's loads have arrived and before the next frame's events. Each timer
// that is due runs once (an interval whose period passed several times
// still runs once per frame, as the player does).

#include <vector>

#include "swf/avm1/function.h"

namespace swf::avm1 {

struct Timer {
    int id = 0;
    Value function;   // a function, or the object whose method runs
    std::string method;
    Args args;
    double interval = 0;
    double due = 0;
    bool repeat = true;
};

void RunDueTimers(Machine &machine);

}  // namespace swf::avm1
