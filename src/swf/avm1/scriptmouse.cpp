// The script engine's side of the mouse: clips that take it as buttons,
// clip events of the mouse and the Mouse object's listeners.

#include "swf/avm1/scriptengine.h"

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/quietly.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/timeline/button.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

enum MouseClipEvent : uint32_t {
    kClipEventMouseMove = 0x8,
    kClipEventMouseDown = 0x10,
    kClipEventMouseUp = 0x20,
    kClipEventPress = 0x400,
    kClipEventRelease = 0x800,
    kClipEventReleaseOutside = 0x1000,
    kClipEventRollOver = 0x2000,
    kClipEventRollOut = 0x4000,
    kClipEventDragOver = 0x8000,
    kClipEventDragOut = 0x10000,
};

constexpr uint32_t kButtonClipEvents = kClipEventPress | kClipEventRelease | kClipEventReleaseOutside
                                       | kClipEventRollOver | kClipEventRollOut | kClipEventDragOver
                                       | kClipEventDragOut;

struct ButtonEvent {
    uint16_t transition;
    uint32_t clipEvent;
    const char *method;
};

// A menu's transitions (a press coming in, leaving) are drags over and out.
constexpr ButtonEvent kButtonEvents[] = {
    {kIdleToOverUp, kClipEventRollOver, "onRollOver"},
    {kOverUpToIdle, kClipEventRollOut, "onRollOut"},
    {kOverUpToOverDown, kClipEventPress, "onPress"},
    {kOverDownToOverUp, kClipEventRelease, "onRelease"},
    {kOverDownToOutDown, kClipEventDragOut, "onDragOut"},
    {kOutDownToOverDown, kClipEventDragOver, "onDragOver"},
    {kOutDownToIdle, kClipEventReleaseOutside, "onReleaseOutside"},
    {kIdleToOverDown, kClipEventDragOver, "onDragOver"},
    {kOverDownToIdle, kClipEventDragOut, "onDragOut"},
};

bool HasClipEvent(const TimelineState &clip, uint32_t events)
{
    const DisplayObject *owner = clip.owner();
    if (!owner || !owner->clipEvents)
        return false;
    for (const ClipEventHandler &handler : *owner->clipEvents)
        if (handler.events & events)
            return true;
    return false;
}

// A property that counts as true while it is not set.
bool TrueUnlessSet(Machine &machine, Object *object, const char *name)
{
    const Value value = machine.get(object, name);
    return value.isUndefined() || machine.toBoolean(value);
}

}  // namespace

bool ScriptEngine::clipTakesMouse(TimelineState &clip)
{
    bool takes = false;
    Quietly([&] {
        auto it = objects_.find(&clip);
        Object *object = it == objects_.end() ? nullptr : it->second;
        takes = HasClipEvent(clip, kButtonClipEvents);
        for (const ButtonEvent &event : kButtonEvents)
            takes = takes || (object && handlerMethods() && machine_.get(object, event.method).isObject());
        takes = takes && (!object || TrueUnlessSet(machine_, object, "enabled"));
    });
    return takes;
}

bool ScriptEngine::clipShowsHand(TimelineState &clip)
{
    bool hand = true;
    Quietly([&] {
        auto it = objects_.find(&clip);
        hand = it == objects_.end() || TrueUnlessSet(machine_, it->second, "useHandCursor");
    });
    return hand;
}

TimelineState *ScriptEngine::clipHitArea(TimelineState &clip)
{
    TimelineState *area = nullptr;
    Quietly([&] {
        auto it = objects_.find(&clip);
        auto *named = it == objects_.end() ? nullptr : dynamic_cast<ClipObject *>(machine_.get(it->second, "hitArea").object());
        area = named ? named->state() : nullptr;
    });
    return area;
}

void ScriptEngine::clipMouseEvent(TimelineState &clip, uint16_t transition)
{
    Quietly([&] {
        for (const ButtonEvent &event : kButtonEvents) {
            if (event.transition != transition)
                continue;
            queueClipEvents(clip, event.clipEvent, queue_);
            ClipObject *object = objectFor(&clip);
            if (handlerMethods() && machine_.get(object, event.method).isObject())
                queue_.push_back({Queued::Kind::Method, object, nullptr, event.method});
        }
    });
    machine_.refillActionBudget();
    runQueue();
}

void ScriptEngine::queueMouseEvents(TimelineState &timeline, uint32_t event)
{
    const DisplayList &list = timeline.displayList();
    for (auto it = list.objects().rbegin(); it != list.objects().rend(); ++it)
        if (it->second.children)
            queueMouseEvents(*it->second.children, event);
    queueClipEvents(timeline, event, queue_);
}

void ScriptEngine::broadcastToMouseListeners(const char *method)
{
    Object *mouse = machine_.get(machine_.global, "Mouse").object();
    Object *listeners = mouse ? machine_.get(mouse, "_listeners").object() : nullptr;
    auto *array = dynamic_cast<ArrayObject *>(listeners);
    if (!array)
        return;
    // A listener may add or remove listeners: the list as it was counts.
    const std::vector<Value> snapshot = array->elements;
    for (const Value &listener : snapshot)
        if (listener.isObject() && machine_.get(listener.object(), method).isObject())
            machine_.callMethod(listener, method, Args());
}

void ScriptEngine::mouseInput(MouseInput input)
{
    if (!root_)
        return;
    const uint32_t event = input == MouseInput::Move   ? kClipEventMouseMove
                           : input == MouseInput::Down ? kClipEventMouseDown
                                                       : kClipEventMouseUp;
    const char *method = input == MouseInput::Move   ? "onMouseMove"
                         : input == MouseInput::Down ? "onMouseDown"
                                                     : "onMouseUp";
    if (machine_.focus)
        machine_.focus->mouseUsed();
    if (input == MouseInput::Move)
        drag_.follow(levelsTopFirst());
    Quietly([&] { queueMouseEvents(*root_, event); });
    machine_.refillActionBudget();
    runQueue();
    if (input == MouseInput::Down)
        clickTextField();
    if (handlerMethods())
        Quietly([&] { broadcastToMouseListeners(method); });
}

std::vector<TimelineState *> ScriptEngine::levelsTopFirst() const
{
    std::vector<TimelineState *> levels;
    const auto &loaded = loader_.levels();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it)
        levels.push_back(it->second.get());
    levels.push_back(root_);
    return levels;
}

void ScriptEngine::startDrag(ClipObject *clip, bool lockCenter, const std::optional<QRectF> &bounds)
{
    drag_.start(clip, lockCenter, bounds, levelsTopFirst());
}

void ScriptEngine::stopDrag() { drag_.stop(levelsTopFirst()); }

}  // namespace swf::avm1
