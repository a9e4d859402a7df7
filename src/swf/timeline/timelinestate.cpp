#include "swf/timeline/timelinestate.h"

#include <algorithm>

#include "swf/timeline/framesounds.h"

namespace swf {

TimelineState::TimelineState(const Timeline &timeline, PlayerContext &context, int nesting)
    : timeline_(timeline), context_(context), nesting_(nesting), list_(context)
{
}

TimelineState::~TimelineState() { StopTimelineStream(context_, this); }

void TimelineState::start()
{
    current_ = 0;
    for (const DisplayCommand &command : timeline_.frame(0).commands)
        list_.apply(command, 0);
    startNewChildren();
    StartFrameSounds(timeline_, 0, context_, this);
    runActions(0);
    // Children made here start with this timeline; the tick that made this
    // one does not advance it, so they wait for the next tick as it does.
    settleNewChildren();
}

void TimelineState::advance(bool loop)
{
    if (playing_) {
        const int next = current_ + 1;
        if (next < frameCount()) {
            seek(next);
            StartFrameSounds(timeline_, next, context_, this);
            runActions(next);
        } else if (!loop) {
            playing_ = false;
        } else if (current_ != 0) {
            seek(0);
            StartFrameSounds(timeline_, 0, context_, this);
            runActions(0);
        }
    }
    advanceChildren();
}

void TimelineState::gotoFrame(int frame)
{
    frame = std::clamp(frame, 0, frameCount() - 1);
    if (frame == current_)
        return;
    // The host seeks: the skipped frames' sounds stay silent.
    StopTimelineStream(context_, this);
    seek(frame);
    runActions(frame);
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
    list_ = std::move(rebuilt);
}

void TimelineState::startNewChildren()
{
    if (nesting_ >= PlayerContext::kNestingLimit)
        return;
    for (auto &entry : list_.objects()) {
        DisplayObject &object = entry.second;
        if (!object.childTimeline || object.children)
            continue;
        object.children = std::make_unique<TimelineState>(*object.childTimeline, context_, nesting_ + 1);
        object.fresh = true;
        object.children->start();
    }
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

bool TimelineState::jump(int frame, bool play)
{
    playing_ = play;
    frame = std::clamp(frame, 0, frameCount() - 1);
    if (frame == current_)
        return false;
    StopTimelineStream(context_, this);
    seek(frame);
    StartFrameSounds(timeline_, frame, context_, this);
    return true;
}

void TimelineState::runActions(int frame, int chain)
{
    bool moved = false;
    for (const FrameAction &action : timeline_.frame(frame).actions) {
        switch (action.kind) {
        case FrameAction::Kind::Stop:
            playing_ = false;
            break;
        case FrameAction::Kind::Play:
            playing_ = true;
            break;
        case FrameAction::Kind::NextFrame:
            moved |= jump(current_ + 1, false);
            break;
        case FrameAction::Kind::PrevFrame:
            moved |= jump(current_ - 1, false);
            break;
        case FrameAction::Kind::GotoFrame:
            moved |= jump(action.frame, action.play);
            break;
        case FrameAction::Kind::GotoLabel: {
            const int target = timeline_.findLabel(action.label);
            if (target >= 0)
                moved |= jump(target, action.play);
            break;
        }
        }
    }
    // The frame a goto lands on runs its own actions after the script that
    // jumped; a chain of such jumps is cut short.
    if (moved && chain < PlayerContext::kChainedGotoLimit)
        runActions(current_, chain + 1);
}

}  // namespace swf
