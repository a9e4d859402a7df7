// TextSnapshot: the static text of one clip, as getTextSnapshot gives it.
// getTextSnapshot makes it through whatever _global.TextSnapshot is when
// it is called, so a script's replacement gets the clip too.

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/characters/textcharacter.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

struct SnapshotState : NativeState {
    Object *clip = nullptr;

    void collectReferences(std::vector<Object *> &out) const override
    {
        if (clip)
            out.push_back(clip);
    }
};

Value Construct(Machine &, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    auto state = std::make_unique<SnapshotState>();
    state->clip = dynamic_cast<ClipObject *>(args[0].object());
    object->native = std::move(state);
    return {};
}

Value Call(Machine &, const Value &, const Args &) { return {}; }

// The characters of the clip's own static text: one a glyph.
Value GetCount(Machine &, const Value &self, const Args &)
{
    const SnapshotState *state = NativeOf<SnapshotState>(self);
    auto *clip = state ? dynamic_cast<ClipObject *>(state->clip) : nullptr;
    if (!clip || !clip->state())
        return Value(0.0);
    size_t count = 0;
    for (const auto &entry : clip->state()->displayList().objects())
        if (const auto *text = dynamic_cast<const TextCharacter *>(entry.second.character))
            for (const TextCharacter::Run &run : text->runs())
                count += run.glyphs.size();
    return Value(double(count));
}

Value GetTextSnapshot(Machine &m, const Value &self, const Args &)
{
    if (!dynamic_cast<ClipObject *>(self.object()))
        return {};
    return m.construct(m.get(m.global, "TextSnapshot"), Args({self}));
}

}  // namespace

void InstallTextSnapshotClass(Machine &m)
{
    Object *proto = m.newObject();
    DefineClass(m, "TextSnapshot", proto, Call, Construct);
    m.defineMethod(proto, "getCount", GetCount);
    m.defineMethod(m.clipProto, "getTextSnapshot", GetTextSnapshot, kDontEnum | kVersion7Up);
}

}  // namespace swf::avm1
