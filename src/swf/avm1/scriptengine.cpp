#include "swf/avm1/scriptengine.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/interpreter.h"
#include "swf/avm1/timers.h"
#include "swf/characters/dictionary.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

constexpr int kDepthOffset = 16384;
// Event handler methods (onEnterFrame, onUnload...) came with SWF 6.
constexpr int kHandlerMethodVersion = 6;

// A script depth as a display list depth (NaN, as from a missing
// argument, is depth 0); false when out of range.
bool ListDepth(double depth, uint16_t &out)
{
    if (std::isnan(depth))
        depth = 0;
    if (!std::isfinite(depth))
        return false;
    const double shifted = std::trunc(depth) + kDepthOffset;
    if (shifted < 0 || shifted > 65535)
        return false;
    out = uint16_t(shifted);
    return true;
}

}  // namespace

ScriptEngine::ScriptEngine(const MovieFacts &facts) : facts_(facts), machine_(facts.version)
{
    machine_.clips = this;
    emptyTimeline_.setFrameCount(1);
}

ScriptEngine::~ScriptEngine()
{
    machine_.clips = nullptr;
}

std::shared_ptr<const Code> ScriptEngine::codeFor(const ActionBlock &block)
{
    auto it = codes_.find(block.data);
    if (it != codes_.end())
        return it->second;
    auto code = Code::decode(block.data, block.size);
    try {
        machine_.book(code->bytes());
    } catch (const ScriptAbort &) {
        return nullptr;
    }
    codes_.emplace(block.data, code);
    return code;
}

ClipObject *ScriptEngine::objectFor(TimelineState *state)
{
    if (!state)
        return nullptr;
    auto it = objects_.find(state);
    if (it != objects_.end())
        return it->second;
    ClipObject *object = machine_.make<ClipObject>(machine_.clipProto, *this, state);
    objects_.emplace(state, object);
    return object;
}

ClipObject *ScriptEngine::level(int number)
{
    return number == 0 ? objectFor(root_) : nullptr;
}

void ScriptEngine::beginTick()
{
    machine_.clockMs += facts_.frameRate > 0 ? 1000.0 / facts_.frameRate : 1000.0 / 12;
    machine_.refillActionBudget();
}

// The timeline calls in while it moves; a limit hit while queueing (a
// getter that runs away, the memory budget) must not unwind through it.
template <class F> void ScriptEngine::guarded(F &&queueing)
{
    try {
        queueing();
    } catch (const ScriptAbort &) {
        initQueue_.clear();
        queue_.clear();
    } catch (const ScriptThrow &) {
    }
}

void ScriptEngine::enterFrame(TimelineState &timeline)
{
    guarded([&] {
        queueClipEvents(timeline, kClipEventEnterFrame, queue_);
        auto it = objects_.find(&timeline);
        if (handlerMethods() && it != objects_.end() && machine_.get(it->second, "onEnterFrame").isObject())
            queue_.push_back({it->second, nullptr, "onEnterFrame"});
    });
}

void ScriptEngine::queueInitActions(const Frame &frame)
{
    for (const InitActionBlock &init : frame.initActions) {
        if (!initDone_.insert(init.actions.data).second)
            continue;
        if (auto code = codeFor(init.actions))
            initQueue_.push_back({objectFor(root_), code, {}});
    }
}

void ScriptEngine::frameEntered(TimelineState &timeline, int frame)
{
    if (&timeline == root_)
        guarded([&] { queueInitActions(timeline.timeline().frame(frame)); });
}

void ScriptEngine::actionsDue(TimelineState &timeline, const ActionBlock &actions)
{
    guarded([&] {
        if (auto code = codeFor(actions))
            queue_.push_back({objectFor(&timeline), code, {}});
    });
}

void ScriptEngine::queueClipEvents(TimelineState &timeline, uint32_t event, std::deque<Queued> &queue)
{
    const DisplayObject *owner = timeline.owner();
    if (!owner || !owner->clipEvents)
        return;
    for (const ClipEventHandler &handler : *owner->clipEvents)
        if (handler.events & event)
            if (auto code = codeFor(handler.actions))
                queue.push_back({objectFor(&timeline), code, {}, event == kClipEventUnload});
}

void ScriptEngine::clipCreated(TimelineState &timeline)
{
    guarded([&] { queueClipEvents(timeline, kClipEventInitialize, initQueue_); });
}

void ScriptEngine::clipPlaced(TimelineState &timeline)
{
    guarded([&] { queueClipEvents(timeline, kClipEventLoad, queue_); });
}

void ScriptEngine::clipRemoved(TimelineState &timeline)
{
    guarded([&] { queueClipEvents(timeline, kClipEventUnload, queue_); });
    auto it = objects_.find(&timeline);
    if (it == objects_.end())
        return;
    ClipObject *clip = it->second;
    if (handlerMethods())
        guarded([&] {
            if (machine_.get(clip, "onUnload").isObject())
                queue_.push_back({clip, nullptr, "onUnload", true});
        });
    clip->detach();
    objects_.erase(it);
}

bool ScriptEngine::takeNext(Queued &entry)
{
    std::deque<Queued> &from = initQueue_.empty() ? queue_ : initQueue_;
    if (from.empty())
        return false;
    entry = std::move(from.front());
    from.pop_front();
    return true;
}

void ScriptEngine::runOne(const Queued &entry)
{
    if (!entry.clip->state() && !entry.evenIfRemoved)
        return;
    if (entry.code)
        RunClipCode(machine_, entry.code, entry.clip);
    else
        machine_.callMethod(Value(entry.clip), entry.method, Args());
}

void ScriptEngine::buttonActionFired(TimelineState &timeline, DisplayObject &, const ButtonActionRecord &record)
{
    actionsDue(timeline, record.actions);
    machine_.refillActionBudget();
    runQueue();
}

void ScriptEngine::runQueue()
{
    if (running_)
        return;
    running_ = true;
    Queued entry;
    try {
        while (takeNext(entry)) {
            runOne(entry);
            collectIfWorthIt();
        }
        RunDueTimers(machine_);
        while (takeNext(entry)) {
            runOne(entry);
            collectIfWorthIt();
        }
    } catch (const ScriptAbort &) {
        initQueue_.clear();
        queue_.clear();
    } catch (const ScriptThrow &) {
        // A throw out of a handler or timer ends it, as one out of a frame.
    }
    running_ = false;
}

bool ScriptEngine::handlerMethods() const
{
    return facts_.version >= kHandlerMethodVersion;
}

void ScriptEngine::collectIfWorthIt()
{
    if (!machine_.wantsCollection())
        return;
    std::vector<Object *> roots;
    for (const auto &entry : objects_)
        roots.push_back(entry.second);
    for (const auto *queue : {&initQueue_, &queue_})
        for (const Queued &queued : *queue)
            roots.push_back(queued.clip);
    machine_.collect(std::move(roots));
}

void ScriptEngine::fsCommand(const std::string &command, const std::string &)
{
    if (command == "quit")
        quit_ = true;
}

void ScriptEngine::callFrame(ClipObject *clip, Machine &, const Value &frame)
{
    TimelineState *state = clip->state();
    if (!state)
        return;
    int index = -1;
    if (frame.isString()) {
        index = state->timeline().findLabel(frame.string());
        if (index < 0) {
            const double n = machine_.toNumber(frame);
            index = std::isfinite(n) ? int(std::clamp(n, -1.0, 1e9)) - 1 : -1;
        }
    } else {
        const double n = machine_.toNumber(frame);
        index = std::isfinite(n) ? int(std::clamp(n, -1.0, 1e9)) - 1 : -1;
    }
    if (index < 0 || index >= state->frameCount())
        return;
    for (const ActionBlock &block : state->timeline().frame(index).actions)
        if (auto code = codeFor(block))
            RunClipCode(machine_, code, clip);
}

ClipObject *ScriptEngine::placeScripted(ClipObject *parent, uint16_t characterId, const Timeline *timeline,
                                        const std::string &name, double depth)
{
    uint16_t listDepth = 0;
    TimelineState *state = parent ? parent->state() : nullptr;
    if (!state || !ListDepth(depth, listDepth))
        return nullptr;
    // A new clip takes the depth from whatever is there.
    state->displayList().remove(listDepth);
    TimelineState *made = state->placeClip(listDepth, characterId, timeline, name);
    return made ? objectFor(made) : nullptr;
}

ClipObject *ScriptEngine::duplicate(ClipObject *source, Machine &, const std::string &name, double depth)
{
    const DisplayObject *original = source->displayObject();
    ClipObject *parent = source->parentClip();
    if (!original || !parent)
        return nullptr;
    // The copy may take the original's own depth, which removes it.
    const uint16_t characterId = original->characterId;
    const Timeline *timeline = original->character ? nullptr : original->childTimeline;
    const Matrix matrix = original->matrix;
    const ColorTransform colorTransform = original->colorTransform;
    const bool visible = original->visible;
    const std::vector<ClipEventHandler> *clipEvents = original->clipEvents;
    ClipObject *made = placeScripted(parent, characterId, timeline, name, depth);
    if (DisplayObject *placed = made ? made->displayObject() : nullptr) {
        placed->matrix = matrix;
        placed->colorTransform = colorTransform;
        placed->visible = visible;
        placed->clipEvents = clipEvents;
        queueClipEvents(*made->state(), kClipEventInitialize, initQueue_);
        queueClipEvents(*made->state(), kClipEventLoad, queue_);
    }
    return made;
}

void ScriptEngine::remove(ClipObject *clip)
{
    TimelineState *state = clip->state();
    if (!state || !state->parent())
        return;
    const int depth = clip->depth();
    // Only clips at script depths can be removed by scripts.
    if (depth < 0)
        return;
    state->parent()->displayList().remove(uint16_t(depth + kDepthOffset));
}

ClipObject *ScriptEngine::attach(ClipObject *parent, const std::string &exportName, const std::string &name,
                                 double depth)
{
    if (!facts_.exports)
        return nullptr;
    auto it = facts_.exports->find(exportName);
    if (it == facts_.exports->end()) {
        const std::string wanted = machine_.key(exportName);
        it = std::find_if(facts_.exports->begin(), facts_.exports->end(),
                          [&](const auto &entry) { return machine_.key(entry.first) == wanted; });
        if (it == facts_.exports->end())
            return nullptr;
    }
    ClipObject *made = placeScripted(parent, it->second, nullptr, name, depth);
    if (made) {
        auto registered = machine_.registeredClasses.find(it->first);
        if (registered != machine_.registeredClasses.end() && registered->second) {
            if (Object *proto = machine_.get(registered->second, "prototype").object())
                made->setProto(proto);
            machine_.call(Value(registered->second), Value(made), Args());
        }
    }
    return made;
}

ClipObject *ScriptEngine::createEmpty(ClipObject *parent, const std::string &name, double depth)
{
    return placeScripted(parent, 0, &emptyTimeline_, name, depth);
}

}  // namespace swf::avm1
