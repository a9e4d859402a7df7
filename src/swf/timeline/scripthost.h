#pragma once
// What a timeline tells the script machine, which lives above this room:
// a frame was entered (its display list has changed, its actions are due),
// a sprite was placed or is going. The player installs one host in its
// PlayerContext; without one, timelines play without scripts. One
// player's thread.

#include "swf/timeline/actionblock.h"

namespace swf {

class TimelineState;

class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // Once per tick for every clip that was there before the tick, before
    // it moves on.
    virtual void enterFrame(TimelineState &timeline) = 0;
    // A frame was entered: its init actions and its action blocks are due
    // as the frame's tags reach them.
    virtual void initActionsDue(TimelineState &timeline, const InitActionBlock &init) = 0;
    virtual void actionsDue(TimelineState &timeline, const ActionBlock &actions) = 0;
    // A new clip, before it shows its first frame.
    virtual void clipCreated(TimelineState &timeline) = 0;
    // A clip leaves its timeline's display list (by the timeline, a goto
    // back or a script): the host queues its unload handlers and answers
    // whether the clip must stay until they have run. Such a clip waits
    // below every depth; the host removes it after its last handler.
    virtual bool clipUnloading(TimelineState &timeline) = 0;
    // A clip's running state is going away.
    virtual void clipRemoved(TimelineState &timeline) = 0;
    // A timeline's placement found its depth taken and was refused; the
    // player's log says so.
    virtual void placementRefused(int depth) { (void)depth; }
};

}  // namespace swf
