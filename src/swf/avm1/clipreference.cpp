#include "swf/avm1/clipreference.h"

#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

ClipObject *CurrentClip(Machine &machine, ClipObject *clip)
{
    if (!clip || clip->state())
        return clip;
    const std::string &path = clip->originPath();
    size_t dot = path.find('.');
    const int level = LevelNumber(machine, path.substr(0, dot));
    ClipObject *found = level >= 0 ? clip->binding().level(level) : nullptr;
    while (found && dot != std::string::npos) {
        const size_t next = path.find('.', dot + 1);
        const std::string name = path.substr(dot + 1, next == std::string::npos ? next : next - dot - 1);
        // A shape or a text field of that name is no clip to reach.
        Object *child = found->namedChild(machine, name);
        found = child == found ? nullptr : LiveClip(child);
        dot = next;
    }
    return LiveClip(found);
}

Value CurrentClipValue(Machine &machine, const Value &value)
{
    auto *clip = dynamic_cast<ClipObject *>(value.object());
    if (!clip || clip->state())
        return value;
    ClipObject *current = CurrentClip(machine, clip);
    return current ? Value(current) : value;
}

}  // namespace swf::avm1
