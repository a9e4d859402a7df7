#pragma once
// For the engine's answers to the host (the mouse, the keys): a script
// that hits a limit or throws past its last handler ends there, and the
// host goes on.

#include "swf/avm1/machine.h"

namespace swf::avm1 {

template <class F> void Quietly(F &&f)
{
    try {
        f();
    } catch (const ScriptAbort &) {
    } catch (const ScriptThrow &) {
    }
}

}  // namespace swf::avm1
