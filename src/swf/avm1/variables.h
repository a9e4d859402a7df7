#pragma once
// Names as actions use them: plain names found along the scope chain,
// target paths in slash ("/a/b", "../c") and dot ("_root.a.b") form, and
// SWF 4 variable paths ("/a/b:v"). Shared by the interpreter's variable,
// property and tellTarget actions.

#include <string>

#include "swf/avm1/interpreter.h"

namespace swf::avm1 {

// The clip whose variables timeline code sees: the target while it is a
// clip on the stage, else the clip the code belongs to.
Object *ScopeClip(Activation &activation);

// "_level7" -> 7; -1 for other names.
int LevelNumber(Machine &machine, const std::string &name);
// The object a target path names, relative to the activation's target;
// null when some part of it names nothing.
Object *ResolveTarget(Machine &machine, Activation &activation, const std::string &path);
// The target of a value given as a target (a clip or a path).
Object *TargetOf(Machine &machine, Activation &activation, const Value &target);

// `callee`, when given, learns the `this` of a call by name: the locals
// or `with` object the name was found on, else null (the timeline's).
Value GetVariable(Machine &machine, Activation &activation, const std::string &name, Object **callee = nullptr);
void SetVariable(Machine &machine, Activation &activation, const std::string &name, const Value &value);
// `var name = value`: on the function's locals, else on the clip.
void DefineLocal(Machine &machine, Activation &activation, const std::string &name, const Value &value);
bool DeleteVariable(Machine &machine, Activation &activation, const std::string &name);

}  // namespace swf::avm1
