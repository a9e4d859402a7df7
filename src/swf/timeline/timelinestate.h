#pragma once
// The running state of one timeline: the root of a player, or one placed
// sprite or button. It knows its current frame and play state and keeps
// its display list in step with the frame: stepping forward replays only
// the commands of the frames entered; going back rebuilds the list from
// frame 0, keeping the objects (and their own running state) that the
// rebuild places again at their depth with the same ratio, and what lies
// at script depths. The
// frame entered is reported to the player's script host as its tags come:
// its action blocks between its placements, a new sprite starting (and
// showing its first frame) where it is placed. Owned by its parent object
// (or the player for the root); one player's thread. Frames shown by
// playing (and by a script's goto) start their sounds; a goto stops the
// timeline's stream.

#include <memory>
#include <string>

#include "swf/timeline/displaylist.h"
#include "swf/timeline/timeline.h"

namespace swf {

class Drawing;

class TimelineState {
public:
    // `dictionary`: the characters of a movie loaded into a clip or a level,
    // when not the player's own; the clips it places inherit it.
    TimelineState(const Timeline &timeline, PlayerContext &context, int nesting,
                  const Dictionary *dictionary = nullptr);
    ~TimelineState();
    TimelineState(const TimelineState &) = delete;
    TimelineState &operator=(const TimelineState &) = delete;

    // Shows frame 0 and reports it; from then on it is in the player's
    // list of running timelines.
    void start();
    // One tick of the whole player: every running timeline, newest first,
    // moves to its next frame when playing. Sprites loop; the root wraps
    // to frame 0 only with `loop`, else it stops at its end. A timeline
    // whose tags stop short of their End tag waits on its last frame; one
    // that meets a placement of nothing stops before that frame.
    static void AdvanceAll(PlayerContext &context, TimelineState &root, bool loop);
    // Goes to `frame` (clamped) and reports it; the play state stays as it
    // was. The timeline's stream stops; `withSounds` starts the sounds of
    // the frame reached, as a script's goto does (a host's seek does not).
    void gotoFrame(int frame, bool withSounds = false);

    int currentFrame() const { return current_; }
    // The furthest frame it has been on since it started.
    int furthestFrame() const { return furthest_; }
    int frameCount() const { return timeline_->frameCount(); }
    const Timeline &timeline() const { return *timeline_; }
    bool isPlaying() const { return playing_; }
    void setPlaying(bool playing) { playing_ = playing; }
    const DisplayList &displayList() const { return list_; }
    DisplayList &displayList() { return list_; }

    // The timeline this one is placed in (null for the root) and the
    // object that places it there.
    TimelineState *parent() const { return parent_; }
    DisplayObject *owner() const { return owner_; }
    // The root's own placement, kept by the player: scripts move and
    // recolour the root through it as they do a placed sprite.
    void setRootPlacement(DisplayObject *placement) { owner_ = parent_ ? owner_ : placement; }
    PlayerContext &context() const { return context_; }

    // For scripts: a movie loaded into this clip or level replaces what it
    // played (running `timeline`, characters from `dictionary`); start()
    // shows its first frame.
    void load(const Timeline &timeline, const Dictionary *dictionary);
    // For scripts: a new sprite at `depth` (of `characterId`, or running
    // `timeline` when given), started at once; null when the depth is
    // taken, the character is no sprite or a limit is reached.
    TimelineState *placeClip(Depth depth, uint16_t characterId, const Timeline *timeline,
                             const std::string &name);
    // Takes the object at `depth` off the list, as a RemoveObject does: a
    // clip whose unload handlers must run first moves below every depth.
    void removeObject(Depth depth);
    // Part of a clip whose unload handlers are pending.
    bool isUnloading() const;

    // What scripts drew into the clip, beneath its objects; null until
    // they draw. It stays when the timeline moves.
    Drawing *drawing() const { return drawing_.get(); }
    Drawing &ensureDrawing();

private:
    // This timeline's own step of a tick.
    void step(bool loop);
    // Moves to `frame`: the frames on the way change the display list
    // only; the frame itself is entered tag by tag.
    void moveTo(int frame);
    // Moves to `frame` as playing does, starting its sounds.
    void playInto(int frame);
    // False when a broken placement stopped it part way.
    bool enter(int frame);
    DisplayObject *applyCommand(const DisplayCommand &command, int frame);
    void rebuild(int frame);
    // Keeps the clip of `object` (at `depth` of the list) for its unload
    // handlers when the host wants them run; false when it can go now.
    bool keepForUnload(DisplayObject &object, Depth depth);
    void startNewChildren();
    void startChild(DisplayObject &object);
    void nameUnnamed(DisplayObject &object);
    void adoptChildren();
    void link();
    void unlink();

    const Timeline *timeline_;
    PlayerContext &context_;
    int nesting_;
    int current_ = 0;
    int furthest_ = 0;
    bool playing_ = true;
    TimelineState *parent_ = nullptr;
    DisplayObject *owner_ = nullptr;
    // Neighbours in the player's list of running timelines.
    TimelineState *newer_ = nullptr;
    TimelineState *older_ = nullptr;
    bool linked_ = false;
    DisplayList list_;
    std::unique_ptr<Drawing> drawing_;
};

}  // namespace swf
