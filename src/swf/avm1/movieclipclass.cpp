// MovieClip: the methods of MovieClip.prototype, acting on the clip's
// timeline and display list.

#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipmethods.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

ClipObject *ThisClip(const Value &self)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    return clip && clip->state() ? clip : nullptr;
}

Value Play(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = ThisClip(self))
        clip->play();
    return {};
}

Value Stop(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = ThisClip(self))
        clip->stop();
    return {};
}

Value GotoAndPlay(Machine &m, const Value &self, const Args &args)
{
    if (ClipObject *clip = ThisClip(self))
        clip->gotoValue(m, args[0], true);
    return {};
}

Value GotoAndStop(Machine &m, const Value &self, const Args &args)
{
    if (ClipObject *clip = ThisClip(self))
        clip->gotoValue(m, args[0], false);
    return {};
}

Value NextFrame(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = ThisClip(self))
        clip->nextFrame();
    return {};
}

Value PrevFrame(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = ThisClip(self))
        clip->prevFrame();
    return {};
}

Value GetDepth(Machine &, const Value &self, const Args &)
{
    ClipObject *clip = ThisClip(self);
    return clip ? Value(double(clip->depth())) : Value();
}

Value GetNextHighestDepth(Machine &, const Value &self, const Args &)
{
    ClipObject *clip = ThisClip(self);
    if (!clip)
        return {};
    const auto &objects = clip->state()->displayList().objects();
    const int highest = objects.empty() ? -1 : int(objects.rbegin()->first) - 16384;
    return Value(double(std::max(0, highest + 1)));
}

Value SwapDepths(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = ThisClip(self);
    ClipObject *parent = clip ? clip->parentClip() : nullptr;
    if (!parent || !parent->state())
        return {};
    double target = 0;
    if (auto *other = dynamic_cast<ClipObject *>(args[0].object())) {
        if (other->parentClip() != parent)
            return {};
        target = other->depth();
    } else {
        target = m.toNumber(args[0]);
    }
    const double shifted = std::trunc(target) + 16384;
    if (!std::isfinite(shifted) || shifted < 0 || shifted > 65535)
        return {};
    parent->state()->displayList().swap(uint16_t(clip->depth() + 16384), uint16_t(shifted));
    return {};
}

Value CreateEmptyMovieClip(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = ThisClip(self);
    if (!clip || args.size() < 2)
        return {};
    ClipObject *made = clip->binding().createEmpty(clip, m.toString(args[0]), m.toNumber(args[1]));
    return made ? Value(made) : Value();
}

void CopyProperties(Machine &m, Object *from, Object *to)
{
    if (!from || !to)
        return;
    for (const std::string &name : m.enumerate(from))
        m.set(to, name, m.get(from, name));
}

Value AttachMovie(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = ThisClip(self);
    if (!clip || args.size() < 3)
        return {};
    ClipObject *made = clip->binding().attach(clip, m.toString(args[0]), m.toString(args[1]), m.toNumber(args[2]));
    if (!made)
        return {};
    CopyProperties(m, args[3].object(), made);
    return Value(made);
}

Value DuplicateMovieClip(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = ThisClip(self);
    if (!clip || args.size() < 2)
        return {};
    ClipObject *made = clip->binding().duplicate(clip, m, m.toString(args[0]), m.toNumber(args[1]));
    if (!made)
        return {};
    CopyProperties(m, args[2].object(), made);
    return Value(made);
}

Value RemoveMovieClip(Machine &, const Value &self, const Args &)
{
    if (ClipObject *clip = ThisClip(self))
        clip->binding().remove(clip);
    return {};
}

Value GetBytes(Machine &, const Value &self, const Args &)
{
    return ThisClip(self) ? Value(1.0) : Value();
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
        {"attachMovie", AttachMovie},
        {"duplicateMovieClip", DuplicateMovieClip},
        {"removeMovieClip", RemoveMovieClip},
        {"getBytesLoaded", GetBytes},
        {"getBytesTotal", GetBytes},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(m.clipProto, name, fn);
    // Movies made for players before version 6 (7) do not have these.
    if (m.version() >= 6)
        m.defineMethod(m.clipProto, "createEmptyMovieClip", CreateEmptyMovieClip);
    if (m.version() >= 7)
        m.defineMethod(m.clipProto, "getNextHighestDepth", GetNextHighestDepth);
    InstallClipDrawingMethods(m);
    InstallClipGeometryMethods(m);
}

}  // namespace swf::avm1
