#include "swf/timeline/scriptmasks.h"

#include "swf/timeline/playercontext.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

void ScriptMasks::set(const TimelineState *clip, const TimelineState *mask)
{
    remove(clip);
    if (mask == clip)
        return;
    // A mask serves one clip: the clip it masked before is free again.
    if (auto it = masked_.find(mask); mask && it != masked_.end()) {
        maskOf_.erase(it->second);
        masked_.erase(it);
    }
    maskOf_[clip] = mask;
    if (mask)
        masked_[mask] = clip;
}

void ScriptMasks::remove(const TimelineState *clip)
{
    auto it = maskOf_.find(clip);
    if (it == maskOf_.end())
        return;
    if (it->second)
        masked_.erase(it->second);
    maskOf_.erase(it);
}

const TimelineState *ScriptMasks::maskOf(const TimelineState *clip) const
{
    auto it = maskOf_.find(clip);
    return it == maskOf_.end() ? nullptr : it->second;
}

void ScriptMasks::forget(const TimelineState *clip)
{
    remove(clip);
    if (auto it = masked_.find(clip); it != masked_.end()) {
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
