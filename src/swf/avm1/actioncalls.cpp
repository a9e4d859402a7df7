// The actions that make objects, test types, call functions and drive
// timelines and clips.

#include <cmath>

#include "swf/avm1/actionrunner.h"
#include "swf/avm1/arrayobject.h"
#include "swf/avm1/clipdrag.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/loading.h"
#include "swf/avm1/movieloader.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/superobject.h"
#include "swf/avm1/textutil.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

namespace {

// The function `super(...)` or a method of `super` runs, with `super`
// inside it one level further up.
Value CallOnSuper(Machine &machine, SuperObject *super, const std::string &method, const Args &args)
{
    Object *above = super->proto();
    if (method.empty())
        return machine.call(super->constructor(machine), super->self(), args, above);
    return machine.call(machine.get(super, method), super->self(), args,
                        above ? machine.holderOf(above, method) : nullptr);
}

}  // namespace

void ActionRunner::executeTypes(const Action &action)
{
    switch (action.code) {
    case kActionInitArray:
        push(Value(m_.newArray(popArgs())));
        break;
    case kActionInitObject: {
        const double count = popNumber();
        Object *object = m_.newObject();
        for (double i = 0; i < count && !stackEmpty(); ++i) {
            Value value = pop();
            m_.set(object, popString(), value);
        }
        push(Value(object));
        break;
    }
    case kActionTypeOf:
        push(Value(m_.typeOf(pop())));
        break;
    case kActionEnumerate: {
        const std::string name = popString();
        enumerate(GetVariable(m_, a_, name).object());
        break;
    }
    case kActionEnumerate2:
        enumerate(pop().object());
        break;
    case kActionInstanceOf: {
        Object *constructor = pop().object();
        Value object = pop();
        pushBoolean(m_.instanceOf(object, constructor));
        break;
    }
    case kActionCastOp: {
        Value object = pop();
        Object *constructor = pop().object();
        push(m_.instanceOf(object, constructor) ? object : Value::null());
        break;
    }
    case kActionImplementsOp: {
        Object *constructor = pop().object();
        std::vector<Value> interfaces = popArgs();
        Object *prototype = constructor ? m_.get(constructor, "prototype").object() : nullptr;
        if (prototype) {
            prototype->interfaces.clear();
            for (const Value &declared : interfaces)
                if (Object *o = declared.object())
                    prototype->interfaces.push_back(o);
        }
        break;
    }
    case kActionExtends: {
        Object *superclass = pop().object();
        Object *subclass = pop().object();
        if (!superclass || !subclass)
            break;
        Object *prototype = m_.make<Object>(m_.get(superclass, "prototype").object());
        m_.defineValue(prototype, "__constructor__", Value(superclass));
        m_.defineValue(prototype, "constructor", Value(superclass));
        m_.set(subclass, "prototype", Value(prototype));
        break;
    }
    default:
        break;
    }
}

// The names go on the stack above a null, so that popping them gives the
// newest first.
void ActionRunner::enumerate(Object *object)
{
    push(Value::null());
    if (!object)
        return;
    std::vector<std::string> names = m_.enumerate(object);
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        push(Value(*it));
}

void ActionRunner::executeCalls(const Action &action)
{
    switch (action.code) {
    case kActionCallFunction: {
        const std::string name = popString();
        const Args args(popArgs());
        Object *callee = nullptr;
        Value function = GetVariable(m_, a_, name, &callee);
        if (auto *super = dynamic_cast<SuperObject *>(function.object())) {
            push(CallOnSuper(m_, super, "", args));
            break;
        }
        if (!callee)
            callee = a_.target;
        push(m_.call(function, callee ? Value(callee) : Value(), args));
        break;
    }
    case kActionCallMethod: {
        const Value nameValue = pop();
        Value base = pop();
        const Args args(popArgs());
        const std::string name = nameValue.isUndefined() ? std::string() : m_.toString(nameValue);
        if (auto *super = dynamic_cast<SuperObject *>(base.object())) {
            push(CallOnSuper(m_, super, name, args));
            break;
        }
        if (name.empty())
            push(m_.call(base, Value(), args));
        else
            push(m_.callMethod(base, name, args));
        break;
    }
    case kActionNewObject: {
        const std::string name = popString();
        const Args args(popArgs());
        push(m_.construct(GetVariable(m_, a_, name), args));
        break;
    }
    case kActionNewMethod: {
        const Value nameValue = pop();
        Value base = pop();
        const Args args(popArgs());
        const std::string name = nameValue.isUndefined() ? std::string() : m_.toString(nameValue);
        push(m_.construct(name.empty() ? base : m_.getMember(base, name), args));
        break;
    }
    case kActionThrow:
        throw ScriptThrow{pop()};
    default:
        break;
    }
}

// A movie is read whole, so every frame a timeline can have is there: up
// to the player's limit of 16000 frames, whatever the timeline's length.
// A label counts as there, found or not.
bool ActionRunner::waitedFrameLoaded(const Action &action)
{
    constexpr int32_t kLastFrameIndex = 16000;
    if (action.code == kActionWaitForFrame)
        return int32_t(action.a) <= kLastFrameIndex;
    const auto number = FrameNumberText(popString());
    // The index is counted in 32 bits, as the player does.
    return !number || int32_t(uint32_t(*number) - 1u) <= kLastFrameIndex;
}

void ActionRunner::executeTimeline(const Action &action)
{
    ClipObject *clip = targetClip();
    switch (action.code) {
    case kActionGotoFrame:
        if (clip)
            clip->gotoFrame(int(action.a), false);
        break;
    case kActionGotoLabel:
        if (clip)
            clip->gotoValue(m_, Value(a_.code->strings[action.a]), false);
        break;
    case kActionGotoFrame2: {
        Value frame = pop();
        if (clip)
            clip->gotoFrameText(m_, frame, action.a != 0, int(action.b));
        break;
    }
    case kActionNextFrame:
        if (clip)
            clip->nextFrame();
        break;
    case kActionPrevFrame:
        if (clip)
            clip->prevFrame();
        break;
    case kActionPlay:
        if (clip)
            clip->play();
        break;
    case kActionStop:
        if (clip)
            clip->stop();
        break;
    case kActionSetTarget: {
        setTarget(*a_.code->strings[action.a]);
        break;
    }
    case kActionSetTarget2: {
        // Every value is read as a path, a clip too (its path may name
        // another clip of the same name first).
        const Value target = pop();
        setTarget(target.isUndefined() && m_.version() < 7 ? std::string() : m_.toString(target));
        break;
    }
    case kActionGetURL:
        getUrl(*a_.code->strings[action.a], *a_.code->strings[action.b], 0);
        break;
    case kActionGetURL2: {
        const std::string target = popString();
        getUrl(popString(), target, int(action.a));
        break;
    }
    case kActionCall: {
        Value frame = pop();
        if (clip && m_.clips)
            m_.clips->callFrame(clip, m_, frame);
        break;
    }
    default:
        break;
    }
}

void ActionRunner::getUrl(const std::string &url, const std::string &target, int flags)
{
    // The scheme is matched without regard to case in every version.
    static const std::string kPrefix = "fscommand:";
    if (url.size() >= kPrefix.size() && AsciiLower(url.substr(0, kPrefix.size())) == kPrefix) {
        // Asked for as a load, the command waits for the loads' turn.
        const std::string command = AsciiLower(url.substr(kPrefix.size()));
        if (m_.clips && (flags & kGetUrlLoadTarget))
            m_.clips->loader().requestCommand(command, target);
        else if (m_.clips)
            m_.clips->fsCommand(command, target);
        return;
    }
    // Into a level or a clip the address loads; anything else is a page
    // for the browser, which only a person's click may open.
    if (!RequestFromGetUrl(m_, a_, url, target, flags) && m_.clips)
        m_.clips->navigate(url, target);
}

void ActionRunner::executeClips(const Action &action)
{
    switch (action.code) {
    case kActionGetProperty: {
        const int index = ToInt32(popNumber());
        auto *clip = dynamic_cast<ClipObject *>(TargetOf(m_, a_, pop()));
        push(clip ? clip->property(m_, index) : Value());
        break;
    }
    case kActionSetProperty: {
        Value value = pop();
        const int index = ToInt32(popNumber());
        if (auto *clip = dynamic_cast<ClipObject *>(TargetOf(m_, a_, pop())))
            clip->setProperty(m_, index, value);
        break;
    }
    case kActionCloneSprite: {
        const double depth = popNumber();
        const std::string name = popString();
        auto *source = dynamic_cast<ClipObject *>(TargetOf(m_, a_, pop()));
        // The action's depth counts as the file does, from script depth -16384.
        if (source && m_.clips)
            m_.clips->duplicate(source, m_, name, depth - kScriptDepthOffset);
        break;
    }
    case kActionRemoveSprite:
        if (auto *clip = dynamic_cast<ClipObject *>(TargetOf(m_, a_, pop())); clip && m_.clips)
            m_.clips->remove(clip);
        break;
    case kActionTargetPath: {
        auto *clip = dynamic_cast<ClipObject *>(pop().object());
        push(clip && clip->state() ? Value(clip->targetPath()) : Value());
        break;
    }
    case kActionStartDrag: {
        auto *clip = dynamic_cast<ClipObject *>(TargetOf(m_, a_, pop()));
        const bool lockCenter = m_.toBoolean(pop());
        std::optional<QRectF> bounds;
        if (m_.toBoolean(pop())) {
            const double bottom = popNumber(), right = popNumber(), top = popNumber(), left = popNumber();
            bounds = QRectF(QPointF(left, top), QPointF(right, bottom));
        }
        if (auto *drags = dynamic_cast<ClipDragHost *>(m_.clips); drags && clip && clip->state())
            drags->startDrag(clip, lockCenter, bounds);
        break;
    }
    case kActionEndDrag:
        if (auto *drags = dynamic_cast<ClipDragHost *>(m_.clips))
            drags->stopDrag();
        break;
    default:
        break;
    }
}

}  // namespace swf::avm1
