#pragma once
// Which clip masks which, as scripts set it (setMask): a clip masks at most
// one clip and is masked by at most one; a mask is not drawn itself, it
// limits what its clip draws to its own shapes. A text field takes part
// like a clip, on either side: it is named by its character and the
// timeline that holds it. An entry goes when either side goes. Owned by
// the PlayerContext; the player's thread.

#include <memory>
#include <unordered_map>

#include "swf/format/types.h"

namespace swf {

class Character;
class TimelineState;

// One side of a mask: a clip, or a text field. Nothing on the mask's side
// means the masked one shows nothing.
struct MaskParty {
    const TimelineState *clip = nullptr;
    // A field is held weakly: a field that has gone masks nothing and is
    // masked by nothing, even if a new one takes its address.
    std::weak_ptr<const Character> field;
    const Character *fieldKey = nullptr;
    const TimelineState *parent = nullptr;  // the timeline that holds the field

    static MaskParty Clip(const TimelineState *clip);
    static MaskParty Field(const std::shared_ptr<const Character> &field, const TimelineState *parent);
    // What the maps know it by: the clip's timeline or the field's character.
    const void *key() const { return clip ? static_cast<const void *>(clip) : fieldKey; }
    bool isGone() const { return fieldKey && field.expired(); }
};

class ScriptMasks {
public:
    // `mask` null: masked by nothing, the clip shows nothing.
    void set(const TimelineState *clip, const TimelineState *mask);
    void set(const MaskParty &masked, const MaskParty &mask);
    // Parties are named by key(): a clip's timeline or a field's character.
    void remove(const void *masked);
    bool isMasked(const void *masked) const;
    // Null when the clip is masked by nothing or not masked.
    const TimelineState *maskOf(const TimelineState *clip) const;
    // The mask's side; null when not masked.
    const MaskParty *maskPartyOf(const void *masked) const;
    bool isMask(const void *party) const;
    void forget(const void *party);

private:
    struct Entry {
        MaskParty masked;
        MaskParty mask;
    };
    // An entry with a field that has gone counts for nothing.
    const Entry *liveEntry(const void *masked) const;

    std::unordered_map<const void *, Entry> maskOf_;   // by the masked party
    std::unordered_map<const void *, const void *> masked_;  // mask to masked
};

// The timeline's twips to the stage's, through the matrices of the objects
// that place it and its parents.
Matrix TimelineToStage(const TimelineState &timeline);

}  // namespace swf
