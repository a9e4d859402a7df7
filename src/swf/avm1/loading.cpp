#include "swf/avm1/loading.h"

#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/movieloader.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

namespace {

// What a MovieClip method reports for an object that is no clip.
constexpr double kNotAClip = -1;

Value LoadMovieMethod(Machine &m, const Value &self, const Args &args)
{
    if (ClipObject *clip = LiveClip(self); clip && m.clips)
        m.clips->loader().request({clip, -1}, m.toString(args[0]));
    return {};
}

Value UnloadMovieMethod(Machine &m, const Value &self, const Args &)
{
    if (ClipObject *clip = LiveClip(self); clip && m.clips)
        m.clips->loader().request({clip, -1}, std::string());
    return {};
}

Value LoadVariablesMethod(Machine &m, const Value &self, const Args &args)
{
    if (ClipObject *clip = LiveClip(self); clip && m.clips)
        m.clips->loader().requestVariables({clip, -1}, m.toString(args[0]));
    return {};
}

// The version of the movie a clip or a text field came from.
Value GetSwfVersion(Machine &m, const Value &self, const Args &)
{
    const TimelineState *state = nullptr;
    if (ClipObject *clip = LiveClip(self))
        state = clip->state();
    else if (auto *field = dynamic_cast<TextFieldObject *>(self.object()))
        state = field->parentState();
    if (!state || !m.clips)
        return Value(kNotAClip);
    return Value(double(m.clips->loader().factsOf(state).version));
}

}  // namespace

bool RequestFromGetUrl(Machine &machine, Activation &activation, const std::string &url,
                       const std::string &target, int flags)
{
    if (!machine.clips)
        return false;
    LoadTarget where;
    if (flags & kGetUrlLoadTarget) {
        where.clip = dynamic_cast<ClipObject *>(ResolveTarget(machine, activation, target));
        // A level that is not there yet is made by the load.
        if (!where.clip)
            where.level = LevelNumber(machine, target);
        if (!where.clip && where.level < 0)
            return true;
    } else {
        where.level = LevelNumber(machine, target);
        if (where.level < 0)
            return false;
    }
    if (flags & kGetUrlLoadVariables)
        machine.clips->loader().requestVariables(where, url);
    else
        machine.clips->loader().request(where, url);
    return true;
}

void InstallClipLoadingMethods(Machine &machine)
{
    machine.defineMethod(machine.clipProto, "loadMovie", LoadMovieMethod);
    machine.defineMethod(machine.clipProto, "unloadMovie", UnloadMovieMethod);
    machine.defineMethod(machine.clipProto, "loadVariables", LoadVariablesMethod);
    machine.defineMethod(machine.clipProto, "getSWFVersion", GetSwfVersion);
}

}  // namespace swf::avm1
