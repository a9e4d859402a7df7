#include "swf/timeline/timelinestate.h"

#include <algorithm>

#include "swf/characters/drawing.h"
#include "swf/timeline/framesounds.h"

namespace swf {

TimelineState::TimelineState(const Timeline &timeline, PlayerContext &context, int nesting)
    : timeline_(timeline), context_(context), nesting_(nesting), list_(context)
{
}

TimelineState::~TimelineState()
{
    StopTimelineStream(context_, this);
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
    StartFrameSounds(timeline_, 0, context_, this);
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
        StartFrameSounds(timeline_, frame, context_, this);
}

void TimelineState::playInto(int frame)
{
    moveTo(frame);
    StartFrameSounds(timeline_, frame, context_, this);
}

void TimelineState::moveTo(int frame)
{
    if (frame > current_) {
        for (int f = current_ + 1; f < frame; ++f)
            for (const DisplayCommand &command : timeline_.frame(f).commands)
                list_.apply(command, f);
        startNewChildren();
        current_ = frame;
        enter(frame);
        return;
    }
    rebuild(frame);
    current_ = frame;
    if (context_.scripts) {
        context_.scripts->frameEntered(*this, frame);
        for (const ActionBlock &block : timeline_.frame(frame).actions)
            context_.scripts->actionsDue(*this, block);
    }
    startNewChildren();
}

void TimelineState::enter(int frame)
{
    const Frame &entered = timeline_.frame(frame);
    if (context_.scripts)
        context_.scripts->frameEntered(*this, frame);
    size_t nextBlock = 0;
    auto reportUpTo = [&](size_t commands) {
        for (; nextBlock < entered.actions.size() && entered.actions[nextBlock].commandsBefore <= commands;
             ++nextBlock)
            if (context_.scripts)
                context_.scripts->actionsDue(*this, entered.actions[nextBlock]);
    };
    for (size_t i = 0; i < entered.commands.size(); ++i) {
        reportUpTo(i);
        if (DisplayObject *placed = list_.apply(entered.commands[i], frame))
            startChild(*placed);
    }
    reportUpTo(entered.commands.size());
    startNewChildren();
}

void TimelineState::rebuild(int frame)
{
    DisplayList rebuilt(context_);
    for (int f = 0; f <= frame; ++f)
        for (const DisplayCommand &command : timeline_.frame(f).commands)
            rebuilt.apply(command, f);
    for (auto &[depth, object] : rebuilt.objects()) {
        DisplayObject *old = list_.find(depth);
        if (old && old->children && old->characterId == object.characterId
            && old->placeFrame == object.placeFrame)
            object.children = std::move(old->children);
    }
    // What scripts made stays where it is.
    for (auto &[depth, object] : list_.objects())
        if (object.scripted && !rebuilt.find(depth)) {
            ++context_.liveObjects;
            rebuilt.objects().emplace(depth, std::move(object));
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
    // The timeline names what it places; scripts name theirs themselves.
    if (object.name.empty() && !object.scripted)
        object.name = "instance" + std::to_string(++context_.unnamedClips);
    object.children = std::make_unique<TimelineState>(*object.childTimeline, context_, nesting_ + 1);
    TimelineState &child = *object.children;
    child.parent_ = this;
    child.owner_ = &object;
    if (context_.scripts)
        context_.scripts->clipCreated(child);
    child.start();
    if (context_.scripts)
        context_.scripts->clipPlaced(child);
}

TimelineState *TimelineState::placeClip(uint16_t depth, uint16_t characterId, const Timeline *timeline,
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
