#include "swf/timeline/timelinestate.h"

#include <algorithm>

#include "swf/characters/drawing.h"
#include "swf/characters/edittextcharacter.h"
#include "swf/timeline/framesounds.h"

namespace swf {

TimelineState::TimelineState(const Timeline &timeline, PlayerContext &context, int nesting,
                             const Dictionary *dictionary)
    : timeline_(&timeline), context_(context), nesting_(nesting), list_(context, dictionary)
{
}

TimelineState::~TimelineState()
{
    ForgetTimelineSounds(context_, this);
    context_.masks.forget(this);
    unlink();
    if (context_.scripts)
        context_.scripts->clipRemoved(*this);
}

void TimelineState::link()
{
    if (linked_)
        return;
    older_ = context_.newestTimeline;
    if (older_)
        older_->newer_ = this;
    context_.newestTimeline = this;
    linked_ = true;
}

void TimelineState::unlink()
{
    if (!linked_)
        return;
    if (newer_)
        newer_->older_ = older_;
    else
        context_.newestTimeline = older_;
    if (older_)
        older_->newer_ = newer_;
    newer_ = older_ = nullptr;
    linked_ = false;
}

void TimelineState::start()
{
    link();
    current_ = 0;
    enter(0);
    StartFrameSounds(*timeline_, 0, context_, this, list_.ownDictionary());
}

// Children are always newer than their parent, and a step removes only
// its own children, so the older neighbour read before a step is still
// there after it; clips made during the tick are newer than all and wait
// for the next one.
void TimelineState::AdvanceAll(PlayerContext &context, TimelineState &root, bool loop)
{
    for (TimelineState *state = context.newestTimeline; state;) {
        TimelineState *older = state->older_;
        state->step(state == &root ? loop : true);
        state = older;
    }
}

void TimelineState::step(bool loop)
{
    if (context_.scripts)
        context_.scripts->enterFrame(*this);
    if (!playing_)
        return;
    const int next = current_ + 1;
    if (next < frameCount())
        playInto(next);
    else if (!timeline_->complete)
        return;
    else if (!loop)
        playing_ = false;
    else if (current_ != 0)
        playInto(0);
}

void TimelineState::gotoFrame(int frame, bool withSounds)
{
    frame = std::clamp(frame, 0, frameCount() - 1);
    if (frame == current_)
        return;
    // The skipped frames' sounds stay silent.
    StopTimelineStream(context_, this);
    moveTo(frame);
    if (withSounds)
        StartFrameSounds(*timeline_, frame, context_, this, list_.ownDictionary());
}

void TimelineState::playInto(int frame)
{
    moveTo(frame);
    StartFrameSounds(*timeline_, frame, context_, this, list_.ownDictionary());
}

void TimelineState::moveTo(int frame)
{
    if (frame > current_) {
        for (int f = current_ + 1; f < frame; ++f)
            for (const DisplayCommand &command : timeline_->frame(f).commands)
                applyCommand(command, f);
        startNewChildren();
        const int from = current_;
        current_ = frame;
        if (!enter(frame)) {
            current_ = from;
            playing_ = false;
        }
        furthest_ = std::max(furthest_, current_);
        return;
    }
    rebuild(frame);
    current_ = frame;
    if (context_.scripts) {
        const Frame &entered = timeline_->frame(frame);
        for (const InitActionBlock &init : entered.initActions)
            context_.scripts->initActionsDue(*this, init);
        for (const ActionBlock &block : entered.actions)
            context_.scripts->actionsDue(*this, block);
    }
    startNewChildren();
}

namespace {

// A placement that neither names a character nor moves one is broken: the
// player gets no further than the commands before it.
bool IsBroken(const DisplayCommand &command)
{
    return command.kind == DisplayCommand::Kind::Place && !command.move && !command.hasCharacter;
}

}  // namespace

bool TimelineState::enter(int frame)
{
    const Frame &entered = timeline_->frame(frame);
    size_t nextInit = 0;
    size_t nextBlock = 0;
    auto reportUpTo = [&](size_t commands) {
        if (!context_.scripts)
            return;
        for (; nextInit < entered.initActions.size() && entered.initActions[nextInit].actions.commandsBefore <= commands;
             ++nextInit)
            context_.scripts->initActionsDue(*this, entered.initActions[nextInit]);
        for (; nextBlock < entered.actions.size() && entered.actions[nextBlock].commandsBefore <= commands;
             ++nextBlock)
            context_.scripts->actionsDue(*this, entered.actions[nextBlock]);
    };
    for (size_t i = 0; i < entered.commands.size(); ++i) {
        reportUpTo(i);
        if (IsBroken(entered.commands[i]))
            return false;
        if (DisplayObject *placed = applyCommand(entered.commands[i], frame))
            startChild(*placed);
    }
    reportUpTo(entered.commands.size());
    startNewChildren();
    return true;
}

DisplayObject *TimelineState::applyCommand(const DisplayCommand &command, int frame)
{
    if (command.kind == DisplayCommand::Kind::Remove) {
        removeObject(command.depth);
        return nullptr;
    }
    DisplayObject *placed = list_.apply(command, frame);
    if (placed && dynamic_cast<const EditTextCharacter *>(placed->character))
        nameUnnamed(*placed);
    return placed;
}

// What scripts can reach gets a name from the timeline that places it, in
// the order of placement; scripts name theirs themselves.
void TimelineState::nameUnnamed(DisplayObject &object)
{
    if (object.name.empty() && !object.scripted)
        object.name = "instance" + std::to_string(++context_.unnamedClips);
}

namespace {

// Where a removed clip waits: its depth mirrored below zero, so that
// scripts see -32769 minus the depth they knew.
Depth UnloadingDepth(Depth depth) { return -1 - depth; }

}  // namespace

bool TimelineState::keepForUnload(DisplayObject &object, Depth depth)
{
    if (object.unloading || depth < 0)
        return object.unloading;
    if (!object.children || !context_.scripts || !context_.scripts->clipUnloading(*object.children))
        return false;
    object.unloading = true;
    return true;
}

void TimelineState::removeObject(Depth depth)
{
    DisplayObject *object = list_.find(depth);
    if (!object)
        return;
    if (!keepForUnload(*object, depth)) {
        list_.remove(depth);
        return;
    }
    // A clip still waiting from an earlier removal at the same depth makes
    // way.
    list_.remove(UnloadingDepth(depth));
    list_.swap(depth, UnloadingDepth(depth));
}

bool TimelineState::isUnloading() const
{
    for (const TimelineState *state = this; state; state = state->parent_)
        if (state->owner_ && state->owner_->unloading)
            return true;
    return false;
}

namespace {

// Depths from here up belong to scripts: going back leaves what lies there
// where it is, even when the timeline placed it.
constexpr Depth kFirstScriptDepth = 16384;

// A clip (or a text field scripts changed) is somebody scripts may hold;
// drawn characters are the same whichever copy shows them.
bool HasIdentity(const DisplayObject &object) { return object.children || object.ownCharacter; }

// The placement found again on the way back takes the kept object's place
// on the stage; a script's own moves stand.
void TakePlacement(DisplayObject &kept, const DisplayObject &placed)
{
    if (!kept.transformedByScript) {
        kept.matrix = placed.matrix;
        kept.colorTransform = placed.colorTransform;
        kept.scaleRotationKnown = false;
    }
    kept.visible = placed.visible;
    kept.blendMode = placed.blendMode;
    kept.filters = placed.filters;
    kept.clipDepth = placed.clipDepth;
}

}  // namespace

// Going back compares what is on the list with what the timeline holds at
// the frame, depth by depth. An object the timeline holds there too stays,
// with its own state and children, when it is the timeline's own and its
// ratio is the placement's: the player tells its objects apart by depth and
// ratio, not by character, so clips that swapped depths stay as they are.
// Objects of the timeline's depths that the frame does not hold go, those
// of script depths stay; what goes waits for its unload handlers as a
// removed clip does.
void TimelineState::rebuild(int frame)
{
    DisplayList rebuilt(context_, list_.ownDictionary());
    for (int f = 0; f <= frame; ++f)
        for (const DisplayCommand &command : timeline_->frame(f).commands)
            rebuilt.apply(command, f);
    auto keepAt = [&](Depth depth, DisplayObject &object) {
        if (rebuilt.objects().insert_or_assign(depth, std::move(object)).second)
            ++context_.liveObjects;
    };
    for (auto &[depth, object] : list_.objects()) {
        DisplayObject *placed = rebuilt.find(depth);
        if (depth < 0 || (!placed && depth >= kFirstScriptDepth)) {
            keepAt(depth, object);
            continue;
        }
        if (placed && HasIdentity(object) && !object.scripted && object.ratio == placed->ratio) {
            TakePlacement(object, *placed);
            keepAt(depth, object);
            continue;
        }
        if (object.children && keepForUnload(object, depth))
            keepAt(UnloadingDepth(depth), object);
    }
    list_ = std::move(rebuilt);
    adoptChildren();
}

void TimelineState::adoptChildren()
{
    for (auto &entry : list_.objects()) {
        if (TimelineState *child = entry.second.children.get()) {
            child->parent_ = this;
            child->owner_ = &entry.second;
        }
    }
}

void TimelineState::startNewChildren()
{
    for (auto &entry : list_.objects())
        startChild(entry.second);
}

void TimelineState::startChild(DisplayObject &object)
{
    if (!object.childTimeline || object.children || nesting_ >= PlayerContext::kNestingLimit)
        return;
    nameUnnamed(object);
    object.children = std::make_unique<TimelineState>(*object.childTimeline, context_, nesting_ + 1,
                                                       list_.ownDictionary());
    TimelineState &child = *object.children;
    child.parent_ = this;
    child.owner_ = &object;
    if (context_.scripts)
        context_.scripts->clipCreated(child);
    child.start();
}

void TimelineState::load(const Timeline &timeline, const Dictionary *dictionary)
{
    StopTimelineStream(context_, this);
    // The old content goes first, its clips reporting their removal.
    list_ = DisplayList(context_, dictionary);
    timeline_ = &timeline;
    current_ = 0;
    furthest_ = 0;
    playing_ = true;
}

TimelineState *TimelineState::placeClip(Depth depth, uint16_t characterId, const Timeline *timeline,
                                       const std::string &name)
{
    if (nesting_ >= PlayerContext::kNestingLimit)
        return nullptr;
    DisplayObject *object = list_.placeNew(depth, characterId, timeline, name);
    if (!object)
        return nullptr;
    if (!object->childTimeline) {
        list_.remove(depth);
        return nullptr;
    }
    startChild(*object);
    return object->children.get();
}

Drawing &TimelineState::ensureDrawing()
{
    if (!drawing_)
        drawing_ = std::make_unique<Drawing>();
    return *drawing_;
}

}  // namespace swf
