#include "swf/avm1/actionrunner.h"

#include "swf/avm1/clipobject.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

void ActionRunner::runAll()
{
    uint32_t jump = 0;
    run(0, uint32_t(a_.code->actions.size()), jump);
}

Value ActionRunner::runRange(uint32_t begin, uint32_t end)
{
    uint32_t jump = 0;
    if (run(begin, end, jump) == Exit::Return)
        return returned_;
    return {};
}

ActionRunner::Exit ActionRunner::run(uint32_t begin, uint32_t end, uint32_t &jump, bool leftByJumpToEnd)
{
    const std::vector<Action> &actions = a_.code->actions;
    end = std::min<uint32_t>(end, uint32_t(actions.size()));
    uint32_t pc = begin;
    while (pc < end) {
        const Action &action = actions[pc];
        m_.countActions(1);
        uint32_t next = pc + 1;
        bool jumped = false;
        switch (action.code) {
        case kActionJump:
            next = action.a;
            jumped = true;
            break;
        case kActionIf:
            if (m_.toBoolean(pop())) {
                next = action.a;
                jumped = true;
            }
            break;
        case kActionReturn:
            returned_ = pop();
            return Exit::Return;
        case kActionEnd:
            returned_ = Value();
            return Exit::Return;
        case kActionWaitForFrame:
        case kActionWaitForFrame2:
            if (!waitedFrameLoaded(action))
                next = pc + 1 + (action.code == kActionWaitForFrame ? action.b : action.a);
            break;
        case kActionDefineFunction:
        case kActionDefineFunction2:
            defineFunction(action);
            next = a_.code->functions[action.a].end;
            break;
        case kActionWith:
        case kActionTry: {
            const Exit exit = action.code == kActionWith ? runWith(action, pc, next) : runTry(action, pc, next);
            if (exit == Exit::Return)
                return exit;
            jumped = exit == Exit::Jump;
            break;
        }
        default:
            execute(action);
            break;
        }
        if (next < begin || next > end || (jumped && leftByJumpToEnd && next == end)) {
            jump = next;
            return Exit::Jump;
        }
        if (!jumped && !openWiths_.empty() && openWiths_.back().end == next) {
            a_.scope = std::move(openWiths_.back().outer);
            openWiths_.pop_back();
        }
        pc = next;
    }
    return Exit::End;
}

ActionRunner::Exit ActionRunner::runWith(const Action &action, uint32_t pc, uint32_t &next)
{
    Object *object = m_.toObject(pop());
    next = action.a;
    if (!object)
        return Exit::End;
    ScopePtr saved = a_.scope;
    a_.scope = std::make_shared<const Scope>(Scope{Scope::Kind::With, object, saved});
    uint32_t jump = 0;
    Exit exit = Exit::End;
    try {
        exit = run(pc + 1, action.a, jump, true);
    } catch (...) {
        a_.scope = saved;
        throw;
    }
    if (exit == Exit::Jump) {
        openWiths_.push_back({action.a, std::move(saved)});
        next = jump;
    } else {
        a_.scope = saved;
    }
    return exit;
}

ActionRunner::Exit ActionRunner::runTry(const Action &action, uint32_t pc, uint32_t &next)
{
    const TryInfo &info = a_.code->tries[action.a];
    next = info.finallyEnd;
    uint32_t jump = 0;
    Exit exit = Exit::End;
    bool pending = false;
    Value thrown;
    const size_t depth = stack_.size();
    try {
        exit = run(pc + 1, info.tryEnd, jump);
    } catch (const ScriptThrow &error) {
        stack_.resize(std::max(base_, std::min(depth, stack_.size())));
        if (info.hasCatch) {
            if (info.catchInRegister) {
                if (info.reg < a_.registers.size())
                    a_.registers[info.reg] = error.value;
            } else {
                DefineLocal(m_, a_, *info.name, error.value);
            }
            try {
                exit = run(info.tryEnd, info.catchEnd, jump);
            } catch (const ScriptThrow &again) {
                pending = true;
                thrown = again.value;
            }
        } else {
            pending = true;
            thrown = error.value;
        }
    }
    if (info.hasFinally) {
        uint32_t finallyJump = 0;
        const Value keptReturn = returned_;
        const Exit finallyExit = run(info.catchEnd, info.finallyEnd, finallyJump);
        if (finallyExit != Exit::End) {
            jump = finallyJump;
            exit = finallyExit;
            pending = false;
        } else {
            returned_ = keptReturn;
        }
    }
    if (pending)
        throw ScriptThrow{thrown};
    if (exit == Exit::Jump)
        next = jump;
    return exit;
}

void ActionRunner::defineFunction(const Action &action)
{
    const FunctionInfo &info = a_.code->functions[action.a];
    auto *function = m_.make<FunctionObject>(m_.functionProto, a_.code, action.a, a_.scope, a_.pool,
                                             ScopeClip(a_));
    m_.dressFunction(function);
    Object *prototype = m_.newObject();
    m_.defineValue(prototype, "constructor", Value(function));
    m_.defineValue(function, "prototype", Value(prototype));
    if (info.name->empty())
        push(Value(function));
    else
        DefineLocal(m_, a_, *info.name, Value(function));
}

Value ActionRunner::pop()
{
    if (stackEmpty())
        return {};
    Value value = std::move(stack_.back());
    stack_.pop_back();
    return value;
}

void ActionRunner::push(Value value)
{
    if (stack_.size() >= kStackLimit)
        throw ScriptAbort{"stack"};
    stack_.push_back(std::move(value));
}

void ActionRunner::pushBoolean(bool value)
{
    if (m_.version() < 5)
        push(Value(value ? 1.0 : 0.0));
    else
        push(Value(value));
}

std::vector<Value> ActionRunner::popArgs()
{
    const double count = popNumber();
    std::vector<Value> args;
    if (!(count > 0))
        return args;
    const size_t n = std::min<size_t>(size_t(std::min(count, 1e9)), stack_.size() - base_);
    args.reserve(n);
    for (size_t i = 0; i < n; ++i)
        args.push_back(pop());
    return args;
}

void ActionRunner::pushItems(const Action &action)
{
    const std::vector<PushItem> &items = a_.code->pushes;
    for (uint32_t i = action.a; i < action.a + action.b; ++i) {
        const PushItem &item = items[i];
        switch (item.kind) {
        case PushItem::Kind::Value:
            push(item.value);
            break;
        case PushItem::Kind::Register:
            push(item.index < a_.registers.size() ? a_.registers[item.index] : Value());
            break;
        case PushItem::Kind::Constant:
            push(a_.pool && item.index < a_.pool->size() ? Value((*a_.pool)[item.index]) : Value());
            break;
        }
    }
}

ClipObject *ActionRunner::targetClip() const
{
    return LiveClip(a_.target);
}

void ActionRunner::setTarget(const std::string &path)
{
    a_.target = a_.baseClip;
    if (path.empty())
        return;
    // A path that names no clip leaves the code without a target: timeline
    // actions and properties of "" do nothing until the next SetTarget.
    Object *found = ResolveTarget(m_, a_, path);
    a_.target = dynamic_cast<ClipObject *>(found) ? found : nullptr;
}

}  // namespace swf::avm1
