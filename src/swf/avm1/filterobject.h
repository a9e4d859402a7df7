#pragma once
// The state of a flash.filters object as scripts see it, with the player's
// limits applied as each value is written, and its conversion to and from
// the filters the renderer draws (a placed clip's `filters`).

#include <array>
#include <cstdint>
#include <vector>

#include "swf/avm1/object.h"
#include "swf/timeline/filter.h"

namespace swf::avm1 {

class Machine;

struct FilterState : NativeState {
    enum class Type : uint8_t {
        Base,  // a plain BitmapFilter: draws nothing, clones to nothing
        DropShadow,
        Blur,
        Glow,
        Bevel,
        GradientGlow,
        GradientBevel,
        ColorMatrix,
        Convolution,
        DisplacementMap,
    };
    enum class Side : uint8_t { Inner, Outer, Full };
    enum class Mode : uint8_t { Wrap, Clamp, Ignore, Color };
    static constexpr int kMaxStops = 16;
    static constexpr int kMaxKernelSide = 15;

    explicit FilterState(Type type = Type::Base);

    Type type;
    double distance = 4;
    double angle;  // radians
    double blurX = 4, blurY = 4;
    double strength = 1;
    int quality = 1;
    uint32_t color = 0;
    uint8_t alpha = 255;
    uint32_t highlightColor = 0xffffff;
    uint8_t highlightAlpha = 255;
    bool inner = false, knockout = false, hideObject = false;
    Side side = Side::Inner;
    // Gradient stops: the first `stopCount` of each slot list count; the
    // rest keep what they held, as the player does.
    int stopCount = 0;
    std::array<uint32_t, kMaxStops> stopColors{};
    std::array<uint8_t, kMaxStops> stopAlphas{};
    std::array<uint8_t, kMaxStops> stopRatios{};
    std::array<double, 20> colorMatrix{};
    int matrixX = 0, matrixY = 0;
    std::vector<double> kernel;
    double divisor = 1, bias = 0;
    bool preserveAlpha = true, clamp = true;
    Value mapBitmap;
    int32_t mapX = 0, mapY = 0;
    int32_t componentX = 0, componentY = 0;
    double scaleX = 0, scaleY = 0;
    Mode mode = Mode::Wrap;

    void collectReferences(std::vector<Object *> &out) const override;

    // False for the kinds the renderer has no drawing for.
    bool toFilter(Filter &out) const;
    static FilterState FromFilter(const Filter &filter);
};

// A new script object of the filter's class holding `state`.
Object *NewFilterObject(Machine &machine, const FilterState &state);

// The player's conversions of written values.
uint32_t ColourValue(Machine &machine, const Value &value);
uint8_t AlphaValue(Machine &machine, const Value &value);
// A number cut to an int32 the way the player's processor does: NaN and
// values out of range become the lowest int32.
int32_t TruncatedInt(double value);

}  // namespace swf::avm1
