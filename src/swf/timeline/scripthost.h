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
    // A frame was entered: its init actions are due, then each of its
    // action blocks as the frame's tags reach it.
    virtual void frameEntered(TimelineState &timeline, int frame) = 0;
    virtual void actionsDue(TimelineState &timeline, const ActionBlock &actions) = 0;
    // A new clip, before it shows its first frame and after.
    virtual void clipCreated(TimelineState &timeline) = 0;
    virtual void clipPlaced(TimelineState &timeline) = 0;
    virtual void clipRemoved(TimelineState &timeline) = 0;
};

}  // namespace swf
