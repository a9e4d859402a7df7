#pragma once
// What a timeline tells the script machine, which lives above this room:
// a frame was entered (its display list has changed, its actions are due),
// a sprite was placed or is going. The player installs one host in its
// PlayerContext; without one, timelines play without scripts. One
// player's thread.

namespace swf {

class TimelineState;

class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // Once per tick for every clip that was there before the tick.
    virtual void enterFrame(TimelineState &timeline) = 0;
    virtual void frameEntered(TimelineState &timeline, int frame) = 0;
    // After the new clip has shown its first frame.
    virtual void clipPlaced(TimelineState &timeline) = 0;
    virtual void clipRemoved(TimelineState &timeline) = 0;
};

}  // namespace swf
