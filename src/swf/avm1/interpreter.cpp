#include "swf/avm1/interpreter.h"

#include <algorithm>

#include "swf/avm1/actionrunner.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/localsobject.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

namespace {

// Timeline code and DefineFunction bodies get four registers.
constexpr size_t kDefaultRegisters = 4;

enum PreloadFlag : uint16_t {
    kPreloadThis = 0x0001,
    kSuppressThis = 0x0002,
    kPreloadArguments = 0x0004,
    kSuppressArguments = 0x0008,
    kPreloadSuper = 0x0010,
    kSuppressSuper = 0x0020,
    kPreloadRoot = 0x0040,
    kPreloadParent = 0x0080,
    kPreloadGlobal = 0x0100,
};

void StoreParameter(Machine &machine, Activation &activation, const FunctionParam &param, const Value &value)
{
    if (param.reg != 0 && param.reg < activation.registers.size())
        activation.registers[param.reg] = value;
    else if (param.reg == 0)
        machine.set(activation.locals, *param.name, value);
}

constexpr int kLastCallerClipVersion = 5;

// DefineFunction2 puts `this`, `arguments`, `super`, `_root`, `_parent` and
// `_global` in registers 1, 2, ... in that order, each when asked for; a
// suppressed one is not there even if asked for.
void Preload(Machine &machine, Activation &activation, FunctionObject *function, const Args &args)
{
    uint16_t flags = function->info().flags;
    flags &= ~((flags & (kSuppressThis | kSuppressArguments | kSuppressSuper)) >> 1);
    auto *clip = dynamic_cast<ClipObject *>(activation.baseClip);
    size_t next = 1;
    auto load = [&](const Value &value) {
        if (next < activation.registers.size())
            activation.registers[next] = value;
        ++next;
    };
    if (flags & kPreloadThis)
        load(activation.self);
    if (flags & kPreloadArguments)
        load(Value(MakeArguments(machine, function, args)));
    if (flags & kPreloadSuper)
        load(MakeSuper(machine, activation.self, activation.base));
    if (flags & kPreloadRoot)
        load(clip ? Value(clip->rootClip()) : Value());
    if (flags & kPreloadParent)
        load(clip && clip->parentClip() ? Value(clip->parentClip()) : Value());
    if (flags & kPreloadGlobal)
        load(Value(machine.global));
}

// `arguments` and `super` among the locals, unless DefineFunction2 put
// them in registers or left them out.
void OfferLocals(LocalsObject &locals, const Activation &activation, const Args &args)
{
    FunctionObject *function = activation.callee;
    const FunctionInfo &info = function->info();
    const uint16_t flags = info.withRegisters ? info.flags : 0;
    if (!(flags & (kPreloadArguments | kSuppressArguments)))
        locals.offerArguments(function, args);
    if (!(flags & (kPreloadSuper | kSuppressSuper)))
        locals.offerSuper(activation.self, activation.base);
}

// Up to SWF 5 a function acts on its caller's clip, later on its own; once
// that is gone, on `this` if it is a clip, else on the first level.
Object *ClipOfCall(Machine &machine, FunctionObject *function, const Value &self)
{
    if (machine.version() <= kLastCallerClipVersion && machine.running)
        return ScopeClip(*machine.running);
    Object *own = function->clip();
    if (!own || LiveClip(own))
        return own;
    if (LiveClip(self))
        return self.object();
    return machine.clips ? machine.clips->level(0) : own;
}

}  // namespace

void RunClipCode(Machine &machine, std::shared_ptr<const Code> code, Object *clip)
{
    Activation activation;
    activation.code = std::move(code);
    auto global = std::make_shared<const Scope>(Scope{Scope::Kind::Global, machine.global, nullptr});
    activation.scope = std::make_shared<const Scope>(Scope{Scope::Kind::Clip, clip, global});
    activation.self = Value(clip);
    activation.baseClip = clip;
    activation.target = clip;
    activation.registers.resize(kDefaultRegisters);
    activation.pool = machine.carriedPool;
    // Timeline code may pop what earlier blocks left on the stack.
    ActionRunner runner(machine, activation, 0);
    try {
        runner.runAll();
    } catch (const ScriptThrow &) {
        // An uncaught throw ends the action list, as in the player.
    }
    machine.carriedPool = activation.pool;
}

Value RunFunction(Machine &machine, FunctionObject *function, const Value &self, const Args &args, Object *base)
{
    const FunctionInfo &info = function->info();
    Activation activation;
    activation.code = function->code();
    activation.callee = function;
    activation.self = self;
    activation.base = base;
    Object *clip = ClipOfCall(machine, function, self);
    activation.baseClip = clip;
    activation.target = clip;
    activation.pool = function->pool();
    auto *locals = machine.make<LocalsObject>();
    activation.locals = locals;
    activation.scope = std::make_shared<const Scope>(Scope{Scope::Kind::Local, locals, function->scope()});
    activation.registers.resize(info.withRegisters ? std::max<size_t>(info.registerCount, 1) : kDefaultRegisters);
    if (info.withRegisters) {
        Preload(machine, activation, function, args);
        activation.selfByName = !(info.flags & (kPreloadThis | kSuppressThis));
    }
    OfferLocals(*locals, activation, args);
    for (size_t i = 0; i < info.params.size(); ++i)
        StoreParameter(machine, activation, info.params[i], args[i]);
    ActionRunner runner(machine, activation, machine.stack.size());
    return runner.runRange(info.begin, info.end);
}

}  // namespace swf::avm1
