#pragma once
// Which clip masks which, as scripts set it (setMask): a clip masks at most
// one clip and is masked by at most one; a mask is not drawn itself, it
// limits what its clip draws to its own shapes. An entry goes when either
// clip goes. Owned by the PlayerContext; the player's thread.

#include <unordered_map>

#include "swf/format/types.h"

namespace swf {

class TimelineState;

class ScriptMasks {
public:
    // `mask` null: masked by nothing, the clip shows nothing.
    void set(const TimelineState *clip, const TimelineState *mask);
    void remove(const TimelineState *clip);
    bool isMasked(const TimelineState *clip) const { return maskOf_.count(clip) != 0; }
    // Null when the clip is masked by nothing or not masked.
    const TimelineState *maskOf(const TimelineState *clip) const;
    bool isMask(const TimelineState *clip) const { return masked_.count(clip) != 0; }
    void forget(const TimelineState *clip);

private:
    std::unordered_map<const TimelineState *, const TimelineState *> maskOf_;
    std::unordered_map<const TimelineState *, const TimelineState *> masked_;
};

// The timeline's twips to the stage's, through the matrices of the objects
// that place it and its parents.
Matrix TimelineToStage(const TimelineState &timeline);

}  // namespace swf
