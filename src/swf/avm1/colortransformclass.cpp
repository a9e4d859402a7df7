// flash.geom.ColorTransform: eight numbers kept as written, read and
// written through accessors on the prototype, with rgb, concat and
// toString.

#include <memory>

#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

enum Channel { kRed, kGreen, kBlue, kAlpha };

template <int C, bool Offset> Value GetPart(Machine &, const Value &self, const Args &)
{
    const auto *state = NativeOf<ColorTransformState>(self);
    if (!state)
        return {};
    return Value(Offset ? state->add[C] : state->mult[C]);
}

template <int C, bool Offset> Value SetPart(Machine &m, const Value &self, const Args &args)
{
    auto *state = NativeOf<ColorTransformState>(self);
    if (state)
        (Offset ? state->add[C] : state->mult[C]) = m.toNumber(args[0]);
    return {};
}

Value GetRgb(Machine &, const Value &self, const Args &)
{
    const auto *state = NativeOf<ColorTransformState>(self);
    if (!state)
        return {};
    const uint32_t rgb = (uint32_t(ToInt32(state->add[kRed])) << 16) | (uint32_t(ToInt32(state->add[kGreen])) << 8) |
                         uint32_t(ToInt32(state->add[kBlue]));
    return Value(double(int32_t(rgb)));
}

// Setting rgb makes the colour solid: offsets from the value, no share of
// the original colour left; alpha stays.
Value SetRgb(Machine &m, const Value &self, const Args &args)
{
    auto *state = NativeOf<ColorTransformState>(self);
    if (!state)
        return {};
    const uint32_t rgb = ToUint32(m.toNumber(args[0]));
    for (int c = kRed; c <= kBlue; ++c) {
        state->mult[c] = 0;
        state->add[c] = double((rgb >> (16 - 8 * c)) & 0xff);
    }
    return {};
}

// this = this after other: the other transform's result goes through this one.
Value Concat(Machine &, const Value &self, const Args &args)
{
    auto *state = NativeOf<ColorTransformState>(self);
    const auto *other = NativeOf<ColorTransformState>(args[0]);
    if (!state || !other)
        return {};
    for (int c = 0; c < 4; ++c) {
        state->add[c] += state->mult[c] * other->add[c];
        state->mult[c] *= other->mult[c];
    }
    return {};
}

Value ToStringMethod(Machine &m, const Value &self, const Args &)
{
    return Value(DescribeProperties(m, self.object(),
                                    {{"redMultiplier", "redMultiplier"},
                                     {"greenMultiplier", "greenMultiplier"},
                                     {"blueMultiplier", "blueMultiplier"},
                                     {"alphaMultiplier", "alphaMultiplier"},
                                     {"redOffset", "redOffset"},
                                     {"greenOffset", "greenOffset"},
                                     {"blueOffset", "blueOffset"},
                                     {"alphaOffset", "alphaOffset"}}));
}

// Eight numbers (multipliers, then offsets) or the identity when fewer
// are given.
Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    auto state = std::make_unique<ColorTransformState>();
    if (args.size() >= 8)
        for (int i = 0; i < 8; ++i)
            (i < 4 ? state->mult[i] : state->add[i - 4]) = m.toNumber(args[size_t(i)]);
    object->native = std::move(state);
    return {};
}

}  // namespace

Object *NewColorTransform(Machine &m, const ColorTransformState &state)
{
    Object *object = m.make<Object>(m.builtinPrototypes["flash.geom.ColorTransform"]);
    object->native = std::make_unique<ColorTransformState>(state);
    return object;
}

void InstallColorTransformClass(Machine &m, Object *package)
{
    Object *proto = m.newObject();
    DefinePackageClass(m, package, "ColorTransform", "flash.geom.ColorTransform", proto, Construct);
    // Declared in this order, so that for-in lists them backwards.
    DefineAccessor(m, proto, "alphaMultiplier", GetPart<kAlpha, false>, SetPart<kAlpha, false>);
    DefineAccessor(m, proto, "redMultiplier", GetPart<kRed, false>, SetPart<kRed, false>);
    DefineAccessor(m, proto, "greenMultiplier", GetPart<kGreen, false>, SetPart<kGreen, false>);
    DefineAccessor(m, proto, "blueMultiplier", GetPart<kBlue, false>, SetPart<kBlue, false>);
    DefineAccessor(m, proto, "alphaOffset", GetPart<kAlpha, true>, SetPart<kAlpha, true>);
    DefineAccessor(m, proto, "redOffset", GetPart<kRed, true>, SetPart<kRed, true>);
    DefineAccessor(m, proto, "greenOffset", GetPart<kGreen, true>, SetPart<kGreen, true>);
    DefineAccessor(m, proto, "blueOffset", GetPart<kBlue, true>, SetPart<kBlue, true>);
    DefineAccessor(m, proto, "rgb", GetRgb, SetRgb);
    m.defineMethod(proto, "concat", Concat);
    m.defineMethod(proto, "toString", ToStringMethod);
    for (const char *name : {"concat", "toString"})
        proto->findOwn(m.key(name))->flags = 0;
}

}  // namespace swf::avm1
