#include "swf/timeline/timelinestate.h"

#include <algorithm>

#include "swf/timeline/framesounds.h"

namespace swf {

TimelineState::TimelineState(const Timeline &timeline, PlayerContext &context, int nesting)
    : timeline_(timeline), context_(context), nesting_(nesting), list_(context)
{
}

TimelineState::~TimelineState()
{
    StopTimelineStream(context_, this);
    if (context_.scripts)
        context_.scripts->clipRemoved(*this);
}

void TimelineState::reportFrame()
{
    if (context_.scripts)
        context_.scripts->frameEntered(*this, current_);
}

void TimelineState::start()
{
    current_ = 0;
    for (const DisplayCommand &command : timeline_.frame(0).commands)
        list_.apply(command, 0);
    StartFrameSounds(timeline_, 0, context_, this);
    reportFrame();
    startNewChildren();
    // Children made here start with this timeline; the tick that made this
    // one does not advance it, so they wait for the next tick as it does.
    settleNewChildren();
}

void TimelineState::advance(bool loop)
{
    if (context_.scripts)
        context_.scripts->enterFrame(*this);
    if (playing_) {
        const int next = current_ + 1;
        if (next < frameCount()) {
            seek(next);
            StartFrameSounds(timeline_, next, context_, this);
            reportFrame();
        } else if (!loop) {
            playing_ = false;
        } else if (current_ != 0) {
            seek(0);
            StartFrameSounds(timeline_, 0, context_, this);
            reportFrame();
        }
    }
    startNewChildren();
    advanceChildren();
}

void TimelineState::gotoFrame(int frame, bool withSounds)
{
    frame = std::clamp(frame, 0, frameCount() - 1);
    if (frame == current_)
        return;
    // The skipped frames' sounds stay silent.
    StopTimelineStream(context_, this);
    seek(frame);
    if (withSounds)
        StartFrameSounds(timeline_, frame, context_, this);
    reportFrame();
    startNewChildren();
    // A jump between ticks: what it made runs on from the next tick.
    settleNewChildren();
}

void TimelineState::seek(int frame)
{
    if (frame == current_)
        return;
    if (frame > current_) {
        for (int f = current_ + 1; f <= frame; ++f)
            for (const DisplayCommand &command : timeline_.frame(f).commands)
                list_.apply(command, f);
    } else {
        rebuild(frame);
    }
    current_ = frame;
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
    if (nesting_ >= PlayerContext::kNestingLimit)
        return;
    for (auto &entry : list_.objects()) {
        DisplayObject &object = entry.second;
        if (!object.childTimeline || object.children)
            continue;
        if (object.name.empty())
            object.name = "instance" + std::to_string(++context_.unnamedClips);
        object.children = std::make_unique<TimelineState>(*object.childTimeline, context_, nesting_ + 1);
        object.children->parent_ = this;
        object.children->owner_ = &object;
        object.fresh = true;
        object.children->start();
        if (context_.scripts)
            context_.scripts->clipPlaced(*object.children);
    }
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
    object->children = std::make_unique<TimelineState>(*object->childTimeline, context_, nesting_ + 1);
    object->children->parent_ = this;
    object->children->owner_ = object;
    object->children->start();
    if (context_.scripts)
        context_.scripts->clipPlaced(*object->children);
    return object->children.get();
}

void TimelineState::advanceChildren()
{
    for (auto &entry : list_.objects()) {
        DisplayObject &object = entry.second;
        if (object.children && !object.fresh)
            object.children->advance(true);
    }
    settleNewChildren();
}

void TimelineState::settleNewChildren()
{
    for (auto &entry : list_.objects())
        entry.second.fresh = false;
}

}  // namespace swf
