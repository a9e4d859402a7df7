// MovieClip's properties of how the clip is composed onto what lies below
// (SWF 8): opaqueBackground, the colour its box is filled with, and
// blendMode, by name or by number.

#include <array>
#include <cmath>

#include "swf/avm1/clipmethods.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/timeline/displaylist.h"

namespace swf::avm1 {

namespace {

// Blend modes by their numbers in a placement; 0 reads as "normal" too.
constexpr std::array<const char *, 15> kBlendModes = {
    "normal", "normal", "layer",  "multiply", "screen", "lighten", "darken",   "difference",
    "add",    "subtract", "invert", "alpha",   "erase",  "overlay", "hardlight",
};

DisplayObject *PlacementOf(const Value &self)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    return clip ? clip->displayObject() : nullptr;
}

Value GetOpaqueBackground(Machine &, const Value &self, const Args &)
{
    const DisplayObject *placement = PlacementOf(self);
    if (!placement || !placement->hasBackground)
        return {};
    const Rgba &c = placement->background;
    return Value(double(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b));
}

// undefined and null take the background away; anything else is a colour.
Value SetOpaqueBackground(Machine &m, const Value &self, const Args &args)
{
    DisplayObject *placement = PlacementOf(self);
    if (!placement)
        return {};
    placement->hasBackground = !args[0].isUndefined() && !args[0].isNull();
    if (placement->hasBackground) {
        const uint32_t rgb = uint32_t(ToInt32(m.toNumber(args[0])));
        placement->background = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
    }
    return {};
}

Value GetBlendMode(Machine &, const Value &self, const Args &)
{
    const DisplayObject *placement = PlacementOf(self);
    if (!placement)
        return {};
    return Value(placement->blendMode < kBlendModes.size() ? kBlendModes[placement->blendMode] : "normal");
}

// A name the player knows, or a number of one; anything else is ignored.
Value SetBlendMode(Machine &m, const Value &self, const Args &args)
{
    DisplayObject *placement = PlacementOf(self);
    if (!placement)
        return {};
    if (args[0].isNumber()) {
        const double n = args[0].number();
        if (n >= 1 && n < double(kBlendModes.size()))
            placement->blendMode = uint8_t(n);
        return {};
    }
    const std::string name = m.toString(args[0]);
    for (size_t i = 1; i < kBlendModes.size(); ++i)
        if (name == kBlendModes[i]) {
            placement->blendMode = uint8_t(i);
            break;
        }
    return {};
}

}  // namespace

void InstallClipDisplayProperties(Machine &m)
{
    if (m.version() < 8)
        return;
    DefineAccessor(m, m.clipProto, "opaqueBackground", GetOpaqueBackground, SetOpaqueBackground, kDontEnum);
    DefineAccessor(m, m.clipProto, "blendMode", GetBlendMode, SetBlendMode, kDontEnum);
}

}  // namespace swf::avm1
