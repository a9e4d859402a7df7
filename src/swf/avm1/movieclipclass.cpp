// MovieClip: the methods of MovieClip.prototype, acting on the clip's
// timeline and display list.

#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipmethods.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/movieloader.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/avm1/variables.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

Value Play(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = LiveClip(self))
        clip->play();
    return {};
}

Value Stop(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = LiveClip(self))
        clip->stop();
    return {};
}

Value GotoAndPlay(Machine &m, const Value &self, const Args &args)
{
    if (ClipObject *clip = LiveClip(self))
        clip->gotoValue(m, args[0], true);
    return {};
}

Value GotoAndStop(Machine &m, const Value &self, const Args &args)
{
    if (ClipObject *clip = LiveClip(self))
        clip->gotoValue(m, args[0], false);
    return {};
}

Value NextFrame(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = LiveClip(self))
        clip->nextFrame();
    return {};
}

Value PrevFrame(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = LiveClip(self))
        clip->prevFrame();
    return {};
}

Value GetDepth(Machine &, const Value &self, const Args &)
{
    ClipObject *clip = LiveClip(self);
    return clip ? Value(double(clip->depth())) : Value();
}

Value GetNextHighestDepth(Machine &, const Value &self, const Args &)
{
    ClipObject *clip = LiveClip(self);
    if (!clip)
        return {};
    const auto &objects = clip->state()->displayList().objects();
    const int highest = objects.empty() ? -1 : int(objects.rbegin()->first) - kScriptDepthOffset;
    return Value(double(std::max(0, highest + 1)));
}

// What scripts see at a depth: a clip or a text field as itself, a shape
// or other drawn object as the clip that holds it.
Value GetInstanceAtDepth(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    Depth depth = 0;
    if (!clip || args.size() == 0 || !ScriptDepthToList(m.toNumber(args[0]), depth))
        return {};
    DisplayObject *object = clip->state()->displayList().find(depth);
    if (!object)
        return {};
    if (object->children)
        return Value(clip->binding().objectFor(object->children.get()));
    if (Object *field = clip->binding().textField(*clip->state(), *object))
        return Value(field);
    return Value(clip);
}

// The clip a swapDepths argument names: a clip, or a target path from
// `clip`.
ClipObject *SwapPartner(Machine &m, ClipObject *clip, const Value &arg)
{
    if (auto *other = dynamic_cast<ClipObject *>(arg.object()))
        return other;
    if (!arg.isString())
        return nullptr;
    Activation activation;
    activation.self = Value(clip);
    activation.baseClip = clip;
    activation.target = clip;
    return dynamic_cast<ClipObject *>(ResolveTarget(m, activation, arg.string()));
}

Value SwapDepths(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    ClipObject *parent = clip ? clip->parentClip() : nullptr;
    if (!parent || !parent->state() || args[0].isUndefined() || clip->state()->isUnloading())
        return {};
    double target = 0;
    if (ClipObject *other = SwapPartner(m, clip, args[0])) {
        if (other->parentClip() != parent)
            return {};
        target = other->depth();
    } else {
        target = ToInt32(m.toNumber(args[0]));
    }
    Depth listDepth = 0;
    const Depth ownDepth = Depth(clip->depth() + kScriptDepthOffset);
    if (!ScriptDepthToList(target, listDepth) || listDepth == ownDepth)
        return {};
    DisplayList &list = parent->state()->displayList();
    list.swap(ownDepth, listDepth);
    // Swapped clips are the script's: the timeline's moves pass them by.
    for (Depth depth : {ownDepth, listDepth})
        if (DisplayObject *object = list.find(depth))
            object->transformedByScript = true;
    return {};
}

Value CreateEmptyMovieClip(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    if (!clip || args.size() < 2)
        return {};
    ClipObject *made = clip->binding().createEmpty(clip, m.toString(args[0]), m.toNumber(args[1]));
    return made ? Value(made) : Value();
}

Value AttachMovie(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    if (!clip || args.size() < 3)
        return {};
    ClipObject *made = clip->binding().attach(clip, m.toString(args[0]), m.toString(args[1]), m.toNumber(args[2]),
                                              args[3].object());
    return made ? Value(made) : Value();
}

Value DuplicateMovieClip(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    if (!clip || args.size() < 2)
        return {};
    ClipObject *made = clip->binding().duplicate(clip, m, m.toString(args[0]), m.toNumber(args[1]), args[2].object());
    return made ? Value(made) : Value();
}

constexpr int kFieldMethodsVersion = 6;

Value RemoveMovieClip(Machine &m, const Value &self, const Args &)
{
    if (ClipObject *clip = LiveClip(self)) {
        clip->binding().remove(clip);
    } else if (auto *field = dynamic_cast<TextFieldObject *>(self.object());
               field && m.version() >= kFieldMethodsVersion) {
        // SWF 5 knows no field methods: removeMovieClip lent to one leaves it.
        DropFocusFrom(m, field);
        field->removeFromParent();
    }
    return {};
}

// A movie that is there whole: loaded bytes and total bytes agree.
Value GetBytes(Machine &m, const Value &self, const Args &)
{
    ClipObject *clip = LiveClip(self);
    if (!clip || !clip->state() || !m.clips)
        return {};
    return Value(m.clips->loader().bytesOf(clip->state()));
}

Value ClipCall(Machine &, const Value &, const Args &) { return {}; }

}  // namespace

void InstallMovieClipClass(Machine &m)
{
    m.clipProto = m.newObject();
    DefineClass(m, "MovieClip", m.clipProto, ClipCall);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"play", Play},
        {"stop", Stop},
        {"gotoAndPlay", GotoAndPlay},
        {"gotoAndStop", GotoAndStop},
        {"nextFrame", NextFrame},
        {"prevFrame", PrevFrame},
        {"getDepth", GetDepth},
        {"swapDepths", SwapDepths},
        {"getInstanceAtDepth", GetInstanceAtDepth},
        {"attachMovie", AttachMovie},
        {"duplicateMovieClip", DuplicateMovieClip},
        {"removeMovieClip", RemoveMovieClip},
        {"getBytesLoaded", GetBytes},
        {"getBytesTotal", GetBytes},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(m.clipProto, name, fn);
    // Came with Flash Player 6 (7); older movies do not see them.
    m.defineMethod(m.clipProto, "createEmptyMovieClip", CreateEmptyMovieClip, kDontEnum | kVersion6Up);
    m.defineMethod(m.clipProto, "getNextHighestDepth", GetNextHighestDepth, kDontEnum | kVersion7Up);
    InstallClipDrawingMethods(m);
    InstallClipGeometryMethods(m);
    InstallClipDisplayProperties(m);
}

}  // namespace swf::avm1
