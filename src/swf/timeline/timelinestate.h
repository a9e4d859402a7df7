#pragma once
// The running state of one timeline: the root of a player, or one placed
// sprite or button. It knows its current frame and play state and keeps
// its display list in step with the frame: stepping forward replays only
// the commands of the frames entered; going back rebuilds the list from
// frame 0, keeping the objects (and their own running state) that the
// rebuild places again from the same frame. The frame actions of a frame
// run once its display list has changed. Owned by its parent object (or
// the player for the root); one player's thread. Frames shown by playing
// (and by a frame action's goto) start their sounds; a goto stops the
// timeline's stream.

#include "swf/timeline/displaylist.h"
#include "swf/timeline/timeline.h"

namespace swf {

class TimelineState {
public:
    TimelineState(const Timeline &timeline, PlayerContext &context, int nesting);
    ~TimelineState();
    TimelineState(const TimelineState &) = delete;
    TimelineState &operator=(const TimelineState &) = delete;

    // Shows frame 0 and runs its actions.
    void start();
    // One tick of the parent: this timeline's next frame when playing
    // (wrapping to 0 with `loop`, else stopping at the end), then one tick
    // of every child that was already there.
    void advance(bool loop);
    // Goes to `frame` (clamped) and runs its actions; the play state stays
    // as it was unless those actions change it.
    void gotoFrame(int frame);

    int currentFrame() const { return current_; }
    int frameCount() const { return timeline_.frameCount(); }
    bool isPlaying() const { return playing_; }
    void setPlaying(bool playing) { playing_ = playing; }
    const DisplayList &displayList() const { return list_; }
    DisplayList &displayList() { return list_; }
    const Timeline &timeline() const { return timeline_; }

private:
    // Moves the display list to `frame` without running actions.
    void seek(int frame);
    void rebuild(int frame);
    void startNewChildren();
    void advanceChildren();
    void settleNewChildren();
    void runActions(int frame, int chain = 0);
    // A goto from a frame action: moves there and says whether its
    // actions are due.
    bool jump(int frame, bool play);

    const Timeline &timeline_;
    PlayerContext &context_;
    int nesting_;
    int current_ = 0;
    bool playing_ = true;
    DisplayList list_;
};

}  // namespace swf
