// Color: the colour transform of the clip named by its `target`, in the
// old percentages (ra, rb, ...) and as a solid colour (setRGB). The player
// keeps multipliers in 1/256 steps and whole offsets, so what getTransform
// returns is what setTransform could store.

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/variables.h"
#include "swf/timeline/displaylist.h"

namespace swf::avm1 {

namespace {

// The fields of getTransform and setTransform: a multiplier in percent and
// an offset per channel.
constexpr const char *kPercentNames[4] = {"ra", "ga", "ba", "aa"};
constexpr const char *kOffsetNames[4] = {"rb", "gb", "bb", "ab"};

// A path target is read from the first level, as natives run outside
// any timeline; an empty one names no clip.
DisplayObject *TargetPlacement(Machine &m, const Value &self)
{
    Object *color = self.object();
    if (!color)
        return nullptr;
    const Value target = m.get(color, "target");
    Object *object = target.object();
    if (!object && !target.isUndefined() && !m.toString(target).empty() && m.clips) {
        Activation activation;
        activation.baseClip = activation.target = m.clips->level(0);
        object = TargetOf(m, activation, target);
    }
    auto *clip = dynamic_cast<ClipObject *>(object);
    return clip ? clip->displayObject() : nullptr;
}

// Called plainly, Color makes nothing.
Value ColorCall(Machine &, const Value &, const Args &) { return {}; }

Value Construct(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object()) {
        m.defineValue(object, "target", args[0]);
        object->markAll(kDontEnum | kDontDelete | kReadOnly);
    }
    return {};
}

Value GetRgb(Machine &m, const Value &self, const Args &)
{
    const DisplayObject *placement = TargetPlacement(m, self);
    if (!placement)
        return {};
    const float *add = placement->colorTransform.add;
    const uint32_t rgb = (uint32_t(int(add[0])) << 16) | (uint32_t(int(add[1])) << 8) | uint32_t(int(add[2]));
    return Value(double(int32_t(rgb)));
}

Value SetRgb(Machine &m, const Value &self, const Args &args)
{
    DisplayObject *placement = TargetPlacement(m, self);
    if (!placement)
        return {};
    const uint32_t rgb = ToUint32(m.toNumber(args[0]));
    placement->transformedByScript = true;
    ColorTransform &colour = placement->colorTransform;
    for (int c = 0; c < 3; ++c) {
        colour.mult[c] = 0;
        colour.add[c] = float((rgb >> (16 - 8 * c)) & 0xff);
    }
    return {};
}

Value GetTransform(Machine &m, const Value &self, const Args &)
{
    const DisplayObject *placement = TargetPlacement(m, self);
    if (!placement)
        return {};
    Object *result = m.newObject();
    for (int c = 0; c < 4; ++c) {
        m.set(result, kPercentNames[c], Value(double(placement->colorTransform.mult[c]) * 100.0));
        m.set(result, kOffsetNames[c], Value(double(placement->colorTransform.add[c])));
    }
    return Value(result);
}

// Only the fields the object has itself change (inherited ones do not);
// what is no number counts as 0.
Value SetTransform(Machine &m, const Value &self, const Args &args)
{
    DisplayObject *placement = TargetPlacement(m, self);
    Object *fields = args[0].object();
    if (!placement || !fields)
        return {};
    placement->transformedByScript = true;
    ColorTransform &colour = placement->colorTransform;
    for (int c = 0; c < 4; ++c) {
        if (m.hasOwn(fields, kPercentNames[c]))
            colour.mult[c] = float(WrapInt16(m.toNumber(m.get(fields, kPercentNames[c])) * 256.0 / 100.0) / 256.0);
        if (m.hasOwn(fields, kOffsetNames[c]))
            colour.add[c] = float(WrapInt16(m.toNumber(m.get(fields, kOffsetNames[c]))));
    }
    return {};
}

}  // namespace

void InstallColorClass(Machine &m)
{
    Object *proto = m.newObject();
    DefineClass(m, "Color", proto, ColorCall, Construct);
    m.defineMethod(proto, "getRGB", GetRgb);
    m.defineMethod(proto, "getTransform", GetTransform);
    m.defineMethod(proto, "setRGB", SetRgb);
    m.defineMethod(proto, "setTransform", SetTransform);
    proto->markAll(kDontEnum | kDontDelete | kReadOnly);
}

}  // namespace swf::avm1
