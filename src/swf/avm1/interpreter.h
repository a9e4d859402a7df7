#pragma once
// Runs decoded actions. One Activation is one running action list: a
// frame's script, an event handler or a function body, with its scope
// chain, `this`, the clip its timeline actions act on (tellTarget may
// change it for a while), its registers and the constant pool in force.

#include <memory>
#include <vector>

#include "swf/avm1/machine.h"

namespace swf::avm1 {

struct Activation {
    std::shared_ptr<const Code> code;
    ScopePtr scope;
    Value self;
    // False where DefineFunction2 put `this` in a register or left it out:
    // the name then means the clip the code acts on.
    bool selfByName = true;
    // The clip the code belongs to, and the one timeline actions act on.
    Object *baseClip = nullptr;
    Object *target = nullptr;
    // A function's locals; null for timeline code (locals go to the clip).
    Object *locals = nullptr;
    FunctionObject *callee = nullptr;
    // Where `super` starts: the prototype the running method was found on.
    Object *base = nullptr;
    std::vector<Value> registers;
    PoolPtr pool;
};

// A timeline's action list, run on `clip` (DoAction, DoInitAction, clip
// and button events). Script errors end it quietly, limits too.
void RunClipCode(Machine &machine, std::shared_ptr<const Code> code, Object *clip);
// A script function's body (Machine::call comes here).
Value RunFunction(Machine &machine, FunctionObject *function, const Value &self, const Args &args, Object *base);

}  // namespace swf::avm1
