#include "swf/avm1/scriptengine.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/interpreter.h"
#include "swf/avm1/keyobject.h"
#include "swf/avm1/textutil.h"
#include "swf/avm1/scriptdepth.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/timers.h"
#include "swf/characters/dictionary.h"
#include "swf/timeline/button.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

// Event handler methods (onEnterFrame, onUnload...) came with SWF 6.
constexpr int kHandlerMethodVersion = 6;
constexpr int kOwnConstructorBelowVersion = 7;
// Before SWF 6 scripts saw a button as a clip.
constexpr int kButtonObjectVersion = 6;

}  // namespace

ScriptEngine::ScriptEngine(const MovieFacts &facts)
    : facts_(facts), sounds_(facts.dictionary, facts.exports), machine_(facts.version), loader_(machine_, *this, facts)
{
    machine_.clips = this;
    machine_.scriptSounds = &sounds_;
    machine_.bitmaps = &bitmaps_;
    machine_.sharedObjects = &sharedObjects_;
    machine_.setScriptLimits(facts.maxRecursionDepth, facts.scriptTimeoutSeconds);
    machine_.refillActionBudget();
    emptyTimeline_.setFrameCount(1);
    keys_ = dynamic_cast<KeyObject *>(machine_.get(machine_.global, "Key").object());
    selection_ = machine_.get(machine_.global, "Selection").object();
    machine_.focus = FocusOf(selection_);
    if (machine_.focus) {
        machine_.focus->actsAsButton = [this](TimelineState &clip) { return clipTakesMouse(clip); };
        machine_.focus->rolled = [this](TimelineState &clip, bool over) { focusRolled(clip, over); };
    }
}

ScriptEngine::~ScriptEngine()
{
    loader_.clear();
    machine_.clips = nullptr;
    machine_.focus = nullptr;
    machine_.scriptSounds = nullptr;
    machine_.bitmaps = nullptr;
}

void ScriptEngine::setLoading(PlayerContext *context, MovieReader movies, TextReader texts)
{
    loader_.setPlayer(context, root_);
    loader_.setReaders(std::move(movies), std::move(texts));
}

void ScriptEngine::dataArrived(TimelineState &state)
{
    guarded([&] {
        queueClipEvents(state, kClipEventData, queue_);
        ClipObject *clip = objectFor(&state);
        if (handlerMethods() && machine_.get(clip, "onData").isObject())
            queue_.push_back({Queued::Kind::Method, clip, nullptr, "onData"});
    });
}

std::string ScriptEngine::levelName(const TimelineState *top) const
{
    const std::string name = loader_.levelName(top);
    return name.empty() ? "_level0" : name;
}

void ScriptEngine::renewObject(TimelineState &state)
{
    auto it = objects_.find(&state);
    if (it == objects_.end())
        return;
    ClipObject *clip = it->second;
    if (!clip->movedSinceMade()) {
        std::vector<std::string> keys;
        for (const Property *property : clip->ownNewestFirst())
            keys.push_back(machine_.key(property->name));
        for (const std::string &key : keys)
            clip->removeOwn(key);
        clip->setProto(machine_.clipProto);
        return;
    }
    clip->detach();
    drag_.forget(clip);
    objects_.erase(it);
    objectFor(&state)->takeClipFlags(*clip);
}

void ScriptEngine::startLoaded(TimelineState &state)
{
    guarded([&] {
        queueCreation(state);
        state.start();
    });
}

std::shared_ptr<const Code> ScriptEngine::codeFor(const ActionBlock &block)
{
    auto it = codes_.find(block.data);
    if (it != codes_.end())
        return it->second;
    auto code = Code::decode(block.data, block.size, facts_.version);
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
    const DisplayObject *owner = state->owner();
    const bool button = machine_.version() >= kButtonObjectVersion && owner
                        && dynamic_cast<const ButtonCharacter *>(owner->character);
    ClipObject *object = button
                             ? machine_.make<ClipObject>(machine_.buttonProto, *this, state, Object::Kind::Button)
                             : machine_.make<ClipObject>(machine_.clipProto, *this, state);
    objects_.emplace(state, object);
    return object;
}

ClipObject *ScriptEngine::level(int number)
{
    return objectFor(loader_.level(number));
}

void ScriptEngine::beginTick()
{
    machine_.refillActionBudget();
    // Timers that fell due since the last frame run before the next one
    // moves, on the clock of the frame still shown.
    runScripts([this] { RunDueTimers(machine_); });
    machine_.clockMs += facts_.frameRate > 0 ? 1000.0 / facts_.frameRate : 1000.0 / 12;
    loader_.beginTick();
    try {
        loader_.reportFailures();
    } catch (const ScriptAbort &) {
    } catch (const ScriptThrow &) {
    }
}

// The timeline calls in while it moves; a limit hit while queueing (a
// getter that runs away, the memory budget) must not unwind through it.
template <class F> void ScriptEngine::guarded(F &&queueing)
{
    try {
        queueing();
    } catch (const ScriptAbort &) {
        dropQueued();
    } catch (const ScriptThrow &) {
    }
}

void ScriptEngine::dropQueued()
{
    initQueue_.clear();
    constructQueue_.clear();
    std::deque<Queued> kept;
    for (Queued &entry : queue_)
        if (entry.kind == Queued::Kind::FinishUnload)
            kept.push_back(std::move(entry));
    queue_ = std::move(kept);
}

void ScriptEngine::enterFrame(TimelineState &timeline)
{
    guarded([&] {
        queueClipEvents(timeline, kClipEventEnterFrame, queue_);
        auto it = objects_.find(&timeline);
        if (handlerMethods() && it != objects_.end() && machine_.get(it->second, "onEnterFrame").isObject())
            queue_.push_back({Queued::Kind::Method, it->second, nullptr, "onEnterFrame"});
    });
}

void ScriptEngine::initActionsDue(TimelineState &timeline, const InitActionBlock &init)
{
    if (!loader_.isMovieTop(&timeline) || !initDone_.insert(init.actions.data).second)
        return;
    guarded([&] {
        if (auto code = codeFor(init.actions))
            initQueue_.push_back({Queued::Kind::Code, objectFor(&timeline), code});
    });
}

void ScriptEngine::actionsDue(TimelineState &timeline, const ActionBlock &actions)
{
    guarded([&] {
        if (auto code = codeFor(actions))
            queue_.push_back({Queued::Kind::Code, objectFor(&timeline), code});
    });
}

void ScriptEngine::queueClipEvents(TimelineState &timeline, uint32_t event, std::deque<Queued> &queue)
{
    const DisplayObject *owner = timeline.owner();
    // Buttons take no clip events.
    if (!owner || !owner->clipEvents || dynamic_cast<const ButtonCharacter *>(owner->character))
        return;
    for (const ClipEventHandler &handler : *owner->clipEvents)
        if (handler.events & event)
            if (auto code = codeFor(handler.actions))
                queue.push_back({Queued::Kind::Code, objectFor(&timeline), code, {}, event == kClipEventUnload});
}

Object *ScriptEngine::registeredClass(const TimelineState &timeline)
{
    const DisplayObject *owner = timeline.owner();
    if (!owner || !facts_.exports || machine_.registeredClasses.empty())
        return nullptr;
    for (const auto &[name, id] : *facts_.exports) {
        if (id != owner->characterId)
            continue;
        auto registered = machine_.registeredClasses.find(name);
        if (registered != machine_.registeredClasses.end() && registered->second)
            return registered->second;
    }
    return nullptr;
}

void ScriptEngine::constructAs(ClipObject *clip, Object *constructor)
{
    if (Object *proto = machine_.get(constructor, "prototype").object())
        clip->setProto(proto);
    // As `new` does: the class in `__constructor__`, and in `constructor`
    // too before SWF 7.
    machine_.defineValue(clip, "__constructor__", Value(constructor), kDontEnum | kVersion6Up);
    if (facts_.version < kOwnConstructorBelowVersion)
        machine_.defineValue(clip, "constructor", Value(constructor), kDontEnum);
    machine_.call(Value(constructor), Value(clip), Args());
}

void ScriptEngine::queueCreation(TimelineState &timeline)
{
    queueClipEvents(timeline, kClipEventInitialize, initQueue_);
    queueClipEvents(timeline, kClipEventConstruct, constructQueue_);
    const DisplayObject *owner = timeline.owner();
    // Clips made by scripts run their class where they are made.
    if (owner && !owner->scripted)
        constructQueue_.push_back({Queued::Kind::Construct, objectFor(&timeline)});
    queueClipEvents(timeline, kClipEventLoad, queue_);
    if (handlerMethods())
        queue_.push_back({Queued::Kind::Method, objectFor(&timeline), nullptr, "onLoad"});
}

void ScriptEngine::rootStarted()
{
    if (root_ && handlerMethods())
        queue_.push_back({Queued::Kind::Method, objectFor(root_), nullptr, "onLoad"});
}

void ScriptEngine::clipCreated(TimelineState &timeline)
{
    guarded([&] { queueCreation(timeline); });
}

bool ScriptEngine::queueUnloadHandlers(TimelineState &timeline)
{
    bool any = false;
    for (auto &entry : timeline.displayList().objects())
        if (entry.second.children && !entry.second.unloading)
            any = queueUnloadHandlers(*entry.second.children) || any;
    const size_t before = queue_.size();
    queueClipEvents(timeline, kClipEventUnload, queue_);
    if (handlerMethods()) {
        ClipObject *clip = objectFor(&timeline);
        if (machine_.get(clip, "onUnload").isObject())
            queue_.push_back({Queued::Kind::Method, clip, nullptr, "onUnload", true});
    }
    return any || queue_.size() > before;
}

bool ScriptEngine::clipUnloading(TimelineState &timeline)
{
    bool any = false;
    guarded([&] { any = queueUnloadHandlers(timeline); });
    if (any)
        queue_.push_back({Queued::Kind::FinishUnload, objectFor(&timeline)});
    return any;
}

void ScriptEngine::finishUnload(ClipObject *clip)
{
    TimelineState *state = clip->state();
    TimelineState *parent = state ? state->parent() : nullptr;
    Depth depth = 0;
    if (parent && parent->displayList().depthOf(state->owner(), depth))
        parent->displayList().remove(depth);
}

void ScriptEngine::clipRemoved(TimelineState &timeline)
{
    auto it = objects_.find(&timeline);
    if (it == objects_.end())
        return;
    it->second->detach();
    drag_.forget(it->second);
    objects_.erase(it);
    loader_.forget(&timeline);
}

void ScriptEngine::placementRefused(int depth)
{
    if (machine_.traceSink)
        machine_.traceSink("Warning: Failed to place object at depth " + std::to_string(depth) + ".");
}

bool ScriptEngine::takeNext(Queued &entry)
{
    std::deque<Queued> &from = !initQueue_.empty() ? initQueue_ : !constructQueue_.empty() ? constructQueue_ : queue_;
    if (from.empty())
        return false;
    entry = std::move(from.front());
    from.pop_front();
    return true;
}

void ScriptEngine::runOne(const Queued &entry)
{
    if (entry.kind == Queued::Kind::FinishUnload) {
        finishUnload(entry.clip);
        return;
    }
    // A removed clip's queued actions are dropped, but for its unload
    // handlers.
    TimelineState *state = entry.clip->state();
    if (!entry.evenIfRemoved && (!state || state->isUnloading()))
        return;
    // The script that asked to quit ran to its end; nothing runs after it.
    if (quit_)
        return;
    // A throw out of one handler ends that handler only.
    try {
        switch (entry.kind) {
        case Queued::Kind::Code:
            RunClipCode(machine_, entry.code, entry.clip);
            break;
        case Queued::Kind::Method: {
            const Value method = machine_.get(entry.clip, entry.method);
            if (method.isObject())
                machine_.call(method, Value(entry.clip), Args());
            break;
        }
        case Queued::Kind::Construct:
            if (Object *constructor = registeredClass(*entry.clip->state()))
                constructAs(entry.clip, constructor);
            break;
        case Queued::Kind::FinishUnload:
            break;
        }
    } catch (const ScriptThrow &) {
    }
}

void ScriptEngine::buttonActionFired(TimelineState &timeline, DisplayObject &, const ButtonActionRecord &record)
{
    actionsDue(timeline, record.actions);
    machine_.refillActionBudget();
    clickRunning_ = true;
    runQueue();
    clickRunning_ = false;
}

void ScriptEngine::runQueue()
{
    runScripts([this] {
        sounds_.completeEnded(machine_);
        drain();
        loader_.runDue();
    });
}

template <class F> void ScriptEngine::runScripts(F &&then)
{
    if (running_)
        return;
    running_ = true;
    try {
        if (root_)
            textFields_.syncVariables(*root_);
        drain();
        then();
        drain();
        if (root_)
            textFields_.syncVariables(*root_);
    } catch (const ScriptAbort &) {
        dropQueued();
    } catch (const ScriptThrow &) {
        // A throw out of a handler or timer ends it, as one out of a frame.
    }
    // Whatever cut the run short, removed clips leave their lists.
    Queued entry;
    while (takeNext(entry))
        if (entry.kind == Queued::Kind::FinishUnload)
            finishUnload(entry.clip);
    machine_.stack.clear();
    running_ = false;
}

void ScriptEngine::drain()
{
    Queued entry;
    while (takeNext(entry)) {
        runOne(entry);
        collectIfWorthIt();
    }
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
    if (keys_)
        roots.push_back(keys_);
    sounds_.collectRoots(roots);
    for (const auto &entry : objects_)
        roots.push_back(entry.second);
    textFields_.addRoots(roots);
    if (selection_)
        roots.push_back(selection_);
    for (const auto *queue : {&initQueue_, &constructQueue_, &queue_})
        for (const Queued &queued : *queue)
            roots.push_back(queued.clip);
    loader_.addRoots(roots);
    sharedObjects_.addRoots(roots);
    machine_.collect(std::move(roots));
}

void ScriptEngine::fsCommand(const std::string &command, const std::string &)
{
    if (command == "quit")
        quit_ = true;
}

// Only web addresses, and only from a click: frame scripts and timers
// never open anything, and other schemes (javascript:, file:) never.
void ScriptEngine::navigate(const std::string &url, const std::string &)
{
    const std::string scheme = AsciiLower(url.substr(0, url.find(':') + 1));
    if (clickRunning_ && openUrl_ && (scheme == "http:" || scheme == "https:"))
        openUrl_(url);
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
    Depth listDepth = 0;
    TimelineState *state = parent ? parent->state() : nullptr;
    if (!state || !ScriptDepthToList(depth, listDepth))
        return nullptr;
    // A new clip takes the depth from whatever is there.
    state->removeObject(listDepth);
    TimelineState *made = state->placeClip(listDepth, characterId, timeline, name);
    return made ? objectFor(made) : nullptr;
}

ClipObject *ScriptEngine::duplicate(ClipObject *source, Machine &, const std::string &name, double depth,
                                    Object *initObject)
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
        // A copy runs its construct handlers while it is made.
        std::deque<Queued> construct;
        queueClipEvents(*made->state(), kClipEventConstruct, construct);
        for (const Queued &entry : construct)
            runOne(entry);
        // A copy of an exported symbol is an instance of its registered class.
        makeInstance(made, initObject);
    }
    return made;
}

void ScriptEngine::remove(ClipObject *clip)
{
    TimelineState *state = clip->state();
    if (!state || !state->parent() || state->isUnloading())
        return;
    const int depth = clip->depth();
    // Only clips at script depths can be removed by scripts.
    if (depth < 0)
        return;
    if (machine_.focus)
        machine_.focus->loseWithin(*state);
    state->parent()->removeObject(depth + kScriptDepthOffset);
}

ClipObject *ScriptEngine::attach(ClipObject *parent, const std::string &exportName, const std::string &name,
                                 double depth, Object *initObject)
{
    if (!facts_.exports)
        return nullptr;
    // Export names are compared as scripts see texts of this version.
    auto nameOf = [&](const auto &entry) { return TextFromMovie(entry.first, facts_.version); };
    auto it = std::find_if(facts_.exports->begin(), facts_.exports->end(),
                           [&](const auto &entry) { return nameOf(entry) == exportName; });
    // Then ignoring the case of ASCII letters, in every version.
    if (it == facts_.exports->end()) {
        const std::string wanted = AsciiLower(exportName);
        it = std::find_if(facts_.exports->begin(), facts_.exports->end(),
                          [&](const auto &entry) { return AsciiLower(nameOf(entry)) == wanted; });
        if (it == facts_.exports->end())
            return nullptr;
    }
    if (!exportReached(it->first))
        return nullptr;
    ClipObject *made = placeScripted(parent, it->second, nullptr, name, depth);
    if (made)
        makeInstance(made, initObject);
    return made;
}

void ScriptEngine::makeInstance(ClipObject *made, Object *initObject)
{
    Object *constructor = registeredClass(*made->state());
    if (constructor)
        if (Object *proto = machine_.get(constructor, "prototype").object())
            made->setProto(proto);
    CopyInitProperties(machine_, initObject, made);
    if (constructor)
        constructAs(made, constructor);
}

bool ScriptEngine::exportReached(const std::string &name) const
{
    if (!facts_.exportFrames || !root_)
        return true;
    const auto it = facts_.exportFrames->find(name);
    return it == facts_.exportFrames->end() || root_->furthestFrame() >= it->second;
}

ClipObject *ScriptEngine::createEmpty(ClipObject *parent, const std::string &name, double depth)
{
    return placeScripted(parent, 0, &emptyTimeline_, name, depth);
}

Object *ScriptEngine::textField(TimelineState &parent, DisplayObject &object)
{
    return textFields_.objectFor(parent, object);
}

Object *ScriptEngine::createTextField(ClipObject *parent, const std::string &name, double depth, const Rect &box)
{
    TimelineState *state = parent ? parent->state() : nullptr;
    return state ? textFields_.create(*state, name, depth, box) : nullptr;
}

}  // namespace swf::avm1
