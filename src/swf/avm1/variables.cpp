#include "swf/avm1/variables.h"

#include <cstdlib>

#include "swf/avm1/clipobject.h"
#include "swf/avm1/clipreference.h"

namespace swf::avm1 {

namespace {

int LevelOfKey(const std::string &k)
{
    if (k.size() <= 6 || k.compare(0, 6, "_level") != 0)
        return -1;
    for (size_t i = 6; i < k.size(); ++i)
        if (k[i] < '0' || k[i] > '9')
            return -1;
    return std::atoi(k.c_str() + 6);
}

}  // namespace

// "_level7" -> 7; -1 for other names.
int LevelNumber(Machine &machine, const std::string &name)
{
    std::string scratch;
    return LevelOfKey(machine.keyOf(name, scratch));
}

namespace {

bool IsPathSeparator(char c) { return c == '/' || c == '.' || c == ':'; }

}  // namespace

Object *ScopeClip(Activation &activation)
{
    Object *target = activation.target;
    if (target && target->kind() == Object::Kind::Clip && static_cast<ClipObject *>(target)->state())
        return target;
    return activation.baseClip;
}

namespace {

// One part of a path, looked up on `from`.
Object *PathStep(Machine &machine, Object *from, const std::string &part)
{
    if (part == "..") {
        auto *clip = dynamic_cast<ClipObject *>(from);
        return clip ? clip->parentClip() : nullptr;
    }
    const std::string k = machine.key(part);
    if (k == "this")
        return from;
    if (k == "_global")
        return machine.global;
    const int level = LevelNumber(machine, part);
    if (level >= 0 && machine.clips)
        return machine.clips->level(level);
    return machine.get(from, part).object();
}

// Splits "path:variable" (or SWF 5's "path.variable") at its last
// separator; false for a plain name.
bool SplitVariablePath(const std::string &name, std::string &path, std::string &variable)
{
    size_t at = name.rfind(':');
    if (at == std::string::npos) {
        at = name.find_last_of("./");
        if (at == std::string::npos || name.find('/') != std::string::npos)
            return false;
        // A dot path: "a.b.c" is variable c of a.b.
    }
    path = name.substr(0, at);
    variable = name.substr(at + 1);
    return true;
}

bool HasPath(const std::string &name)
{
    for (char c : name)
        if (IsPathSeparator(c))
            return true;
    return false;
}

// The first scope along the chain that has `name`; null when none does.
// An assignment never lands on the global object: a name only _global has
// is made anew on the timeline.
Object *ScopeHolding(Machine &machine, Activation &activation, const std::string &name, bool forWriting = false)
{
    for (const Scope *scope = activation.scope.get(); scope; scope = scope->parent.get()) {
        if (forWriting && scope->kind == Scope::Kind::Global)
            continue;
        Object *object = scope->object;
        if (scope->kind == Scope::Kind::Clip)
            object = ScopeClip(activation);
        if (machine.has(object, name))
            return object;
    }
    return nullptr;
}

}  // namespace

Object *ResolveTarget(Machine &machine, Activation &activation, const std::string &path)
{
    if (path.empty())
        return activation.target;
    // Without a live target, paths start from the code's own clip.
    Object *current = ScopeClip(activation);
    size_t pos = 0;
    if (path[0] == '/') {
        auto *clip = dynamic_cast<ClipObject *>(current);
        current = clip ? clip->rootClip() : (machine.clips ? machine.clips->level(0) : nullptr);
        pos = 1;
    }
    while (current && pos < path.size()) {
        size_t next = pos;
        while (next < path.size() && path[next] != '/' && path[next] != '.' && path[next] != ':')
            ++next;
        // ".." is a part of its own, not two separators.
        if (next == pos && path.compare(pos, 2, "..") == 0)
            next = pos + 2;
        const std::string part = path.substr(pos, next - pos);
        if (!part.empty())
            current = PathStep(machine, current, part);
        pos = next + 1;
    }
    return current;
}

Object *TargetOf(Machine &machine, Activation &activation, const Value &target)
{
    if (Object *object = target.object())
        return object;
    return ResolveTarget(machine, activation, machine.toString(target));
}

Value GetVariable(Machine &machine, Activation &activation, const std::string &name, Object **callee)
{
    std::string path, variable;
    if (HasPath(name)) {
        if (SplitVariablePath(name, path, variable)) {
            Object *holder = ResolveTarget(machine, activation, path);
            // A function called by its path runs on the clip the path names.
            if (callee)
                *callee = holder;
            return holder ? machine.get(holder, variable) : Value();
        }
        // A path names an object; a method found at its end is no target.
        Object *target = ResolveTarget(machine, activation, name);
        return target && target->kind() != Object::Kind::Function ? Value(target) : Value();
    }
    std::string scratch;
    const std::string &k = machine.keyOf(name, scratch);
    if (k == "this")
        return activation.selfByName ? activation.self : Value(ScopeClip(activation));
    if (k == "_global")
        return Value(machine.global);
    const int level = LevelOfKey(k);
    if (level >= 0 && machine.clips) {
        Object *clip = machine.clips->level(level);
        return clip ? Value(clip) : Value();
    }
    Value value;
    for (const Scope *scope = activation.scope.get(); scope; scope = scope->parent.get()) {
        Object *object = scope->kind == Scope::Kind::Clip ? ScopeClip(activation) : scope->object;
        if (machine.lookup(object, name, value)) {
            if (callee && (scope->kind == Scope::Kind::Local || scope->kind == Scope::Kind::With))
                *callee = object;
            return CurrentValue(machine, value);
        }
    }
    return {};
}

void SetVariable(Machine &machine, Activation &activation, const std::string &name, const Value &value)
{
    std::string path, variable;
    if (HasPath(name) && SplitVariablePath(name, path, variable)) {
        if (Object *holder = ResolveTarget(machine, activation, path))
            machine.set(holder, variable, value);
        return;
    }
    Object *holder = ScopeHolding(machine, activation, name, true);
    if (!holder)
        holder = ScopeClip(activation);
    machine.set(holder, name, value);
}

void DefineLocal(Machine &machine, Activation &activation, const std::string &name, const Value &value)
{
    Object *holder = activation.locals ? activation.locals : ScopeClip(activation);
    machine.set(holder, name, value);
}

bool DeleteVariable(Machine &machine, Activation &activation, const std::string &name)
{
    std::string path, variable;
    if (HasPath(name) && SplitVariablePath(name, path, variable)) {
        Object *holder = ResolveTarget(machine, activation, path);
        return holder && machine.remove(holder, variable);
    }
    Object *holder = ScopeHolding(machine, activation, name);
    return holder && machine.remove(holder, name);
}

}  // namespace swf::avm1
