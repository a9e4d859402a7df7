#pragma once
// The running state of one timeline: the root of a player, or one placed
// sprite or button. It knows its current frame and play state and keeps
// its display list in step with the frame: stepping forward replays only
// the commands of the frames entered; going back rebuilds the list from
// frame 0, keeping the objects (and their own running state) that the
// rebuild places again from the same frame, and those a script made. Each
// frame entered is reported to the player's script host once its display
// list has changed; the host runs the frame's actions. Frames shown by
// playing (and by a script's goto) start their sounds; a goto stops the
// timeline's stream. Owned by its parent object (or the player for the
// root); one player's thread.

#include <string>

#include "swf/timeline/displaylist.h"
#include "swf/timeline/timeline.h"

namespace swf {

class TimelineState {
public:
    TimelineState(const Timeline &timeline, PlayerContext &context, int nesting);
    ~TimelineState();
    TimelineState(const TimelineState &) = delete;
    TimelineState &operator=(const TimelineState &) = delete;

    // Shows frame 0 and reports it.
    void start();
    // One tick of the parent: this timeline's next frame when playing
    // (wrapping to 0 with `loop`, else stopping at the end), then one tick
    // of every child that was already there.
    void advance(bool loop);
    // Goes to `frame` (clamped) and reports it; the play state stays as it
    // was. The timeline's stream stops; `withSounds` starts the sounds of
    // the frame reached, as a script's goto does (a host's seek does not).
    void gotoFrame(int frame, bool withSounds = false);

    int currentFrame() const { return current_; }
    int frameCount() const { return timeline_.frameCount(); }
    const Timeline &timeline() const { return timeline_; }
    bool isPlaying() const { return playing_; }
    void setPlaying(bool playing) { playing_ = playing; }
    const DisplayList &displayList() const { return list_; }
    DisplayList &displayList() { return list_; }

    // The timeline this one is placed in (null for the root) and the
    // object that places it there.
    TimelineState *parent() const { return parent_; }
    DisplayObject *owner() const { return owner_; }
    PlayerContext &context() const { return context_; }

    // For scripts: a new sprite at `depth` (of `characterId`, or running
    // `timeline` when given), started at once; null when the depth is
    // taken, the character is no sprite or a limit is reached.
    TimelineState *placeClip(uint16_t depth, uint16_t characterId, const Timeline *timeline,
                             const std::string &name);

private:
    // Moves the display list to `frame` without reporting it.
    void seek(int frame);
    void rebuild(int frame);
    void startNewChildren();
    void advanceChildren();
    void settleNewChildren();
    void adoptChildren();
    void reportFrame();

    const Timeline &timeline_;
    PlayerContext &context_;
    int nesting_;
    int current_ = 0;
    bool playing_ = true;
    TimelineState *parent_ = nullptr;
    DisplayObject *owner_ = nullptr;
    DisplayList list_;
};

}  // namespace swf
