#pragma once
// Names as actions use them: plain names found along the scope chain,
// target paths in slash ("/a/b", "../c") and dot ("_root.a.b") form, and
// SWF 4 variable paths ("/a/b:v"). Shared by the interpreter's variable,
// property and tellTarget actions.

#include <string>

#include "swf/avm1/interpreter.h"

namespace swf::avm1 {

// The object a target path names, relative to the activation's target;
// null when some part of it names nothing.
Object *ResolveTarget(Machine &machine, Activation &activation, const std::string &path);
// The target of a value given as a target (a clip or a path).
Object *TargetOf(Machine &machine, Activation &activation, const Value &target);

// `this` of a function called by name: the object of the `with` that
// holds the name, else the clip timeline actions act on.
Value CallThis(Machine &machine, Activation &activation, const std::string &name);

Value GetVariable(Machine &machine, Activation &activation, const std::string &name);
void SetVariable(Machine &machine, Activation &activation, const std::string &name, const Value &value);
// `var name = value`: on the function's locals, else on the clip.
void DefineLocal(Machine &machine, Activation &activation, const std::string &name, const Value &value);
bool DeleteVariable(Machine &machine, Activation &activation, const std::string &name);

}  // namespace swf::avm1
