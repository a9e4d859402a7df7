#include "swf/timeline/scriptmasks.h"

#include "swf/timeline/playercontext.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

MaskParty MaskParty::Clip(const TimelineState *clip)
{
    MaskParty party;
    party.clip = clip;
    return party;
}

MaskParty MaskParty::Field(const std::shared_ptr<const Character> &field, const TimelineState *parent)
{
    MaskParty party;
    party.field = field;
    party.fieldKey = field.get();
    party.parent = parent;
    return party;
}

void ScriptMasks::set(const TimelineState *clip, const TimelineState *mask)
{
    set(MaskParty::Clip(clip), mask ? MaskParty::Clip(mask) : MaskParty());
}

void ScriptMasks::set(const MaskParty &masked, const MaskParty &mask)
{
    remove(masked.key());
    if (mask.key() == masked.key())
        return;
    // A mask serves one party: the one it masked before is free again.
    if (auto it = masked_.find(mask.key()); mask.key() && it != masked_.end()) {
        maskOf_.erase(it->second);
        masked_.erase(it);
    }
    maskOf_[masked.key()] = {masked, mask};
    if (mask.key())
        masked_[mask.key()] = masked.key();
}

void ScriptMasks::remove(const void *masked)
{
    auto it = maskOf_.find(masked);
    if (it == maskOf_.end())
        return;
    if (it->second.mask.key())
        masked_.erase(it->second.mask.key());
    maskOf_.erase(it);
}

const ScriptMasks::Entry *ScriptMasks::liveEntry(const void *masked) const
{
    auto it = maskOf_.find(masked);
    if (it == maskOf_.end() || it->second.masked.isGone() || it->second.mask.isGone())
        return nullptr;
    return &it->second;
}

const MaskParty *ScriptMasks::maskPartyOf(const void *masked) const
{
    const Entry *entry = liveEntry(masked);
    return entry ? &entry->mask : nullptr;
}

bool ScriptMasks::isMasked(const void *masked) const { return liveEntry(masked) != nullptr; }

const TimelineState *ScriptMasks::maskOf(const TimelineState *clip) const
{
    const MaskParty *mask = maskPartyOf(clip);
    return mask ? mask->clip : nullptr;
}

bool ScriptMasks::isMask(const void *party) const
{
    auto it = masked_.find(party);
    return it != masked_.end() && liveEntry(it->second) != nullptr;
}

void ScriptMasks::forget(const void *party)
{
    remove(party);
    if (auto it = masked_.find(party); it != masked_.end()) {
        maskOf_.erase(it->second);
        masked_.erase(it);
    }
}

Matrix TimelineToStage(const TimelineState &timeline)
{
    Matrix toStage;
    int steps = 0;
    for (const TimelineState *at = &timeline; at && at->owner() && steps <= PlayerContext::kNestingLimit;
         at = at->parent(), ++steps)
        toStage = at->owner()->matrix * toStage;
    return toStage;
}

}  // namespace swf
