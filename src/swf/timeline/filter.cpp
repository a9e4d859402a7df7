#include "swf/timeline/filter.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

enum FilterId : uint8_t {
    kDropShadow = 0,
    kBlur = 1,
    kGlow = 2,
    kBevel = 3,
    kGradientGlow = 4,
    kConvolution = 5,
    kColorMatrix = 6,
    kGradientBevel = 7,
};

// Blur, then angle and distance where the kind has them, strength and the
// flag byte: bevels and gradient filters give one bit to drawing on top
// and keep four for the passes, shadows and glows keep five.
void ReadShadeTail(SwfReader &r, Filter &f, bool hasAngle, bool hasOnTop)
{
    f.blurX = float(r.fixed16());
    f.blurY = float(r.fixed16());
    if (hasAngle) {
        f.angle = r.fixed16();
        f.distance = float(r.fixed16());
    }
    f.strength = float(r.fixed8());
    const uint8_t flags = r.u8();
    f.inner = flags & 0x80;
    f.knockout = flags & 0x40;
    f.compositeSource = flags & 0x20;
    f.onTop = hasOnTop && (flags & 0x10);
    f.passes = flags & (hasOnTop ? 0x0f : 0x1f);
}

Filter ReadShadowOrGlow(SwfReader &r, Filter::Kind kind)
{
    Filter f;
    f.kind = kind;
    f.colour = r.rgba();
    ReadShadeTail(r, f, kind == Filter::Kind::DropShadow, false);
    return f;
}

Filter ReadBevel(SwfReader &r)
{
    Filter f;
    f.kind = Filter::Kind::Bevel;
    // Files hold the lit side's colour first.
    f.highlight = r.rgba();
    f.colour = r.rgba();
    ReadShadeTail(r, f, true, true);
    return f;
}

Filter ReadGradientFilter(SwfReader &r, Filter::Kind kind)
{
    Filter f;
    f.kind = kind;
    f.gradient.resize(r.u8());
    for (Filter::Stop &stop : f.gradient)
        stop.colour = r.rgba();
    for (Filter::Stop &stop : f.gradient)
        stop.ratio = r.u8();
    ReadShadeTail(r, f, true, true);
    return f;
}

Filter ReadConvolution(SwfReader &r)
{
    Filter f;
    f.kind = Filter::Kind::Convolution;
    f.kernelColumns = r.u8();
    f.kernelRows = r.u8();
    f.divisor = r.f32();
    f.bias = r.f32();
    const size_t cells = size_t(f.kernelColumns) * size_t(f.kernelRows);
    if (cells * 4 > r.remaining()) {
        r.skip(r.remaining() + 1);  // marks the record as overrun
        return f;
    }
    f.kernel.resize(cells);
    for (float &weight : f.kernel)
        weight = r.f32();
    f.edgeColour = r.rgba();
    const uint8_t flags = r.u8();
    f.clampEdges = flags & 0x02;
    f.preserveAlpha = flags & 0x01;
    return f;
}

}  // namespace

void Filter::parseList(SwfReader &r, std::vector<Filter> &out)
{
    const uint8_t count = r.u8();
    for (unsigned i = 0; i < count && !r.overrun(); ++i) {
        Filter f;
        switch (r.u8()) {
        case kDropShadow:
            f = ReadShadowOrGlow(r, Kind::DropShadow);
            break;
        case kGlow:
            f = ReadShadowOrGlow(r, Kind::Glow);
            break;
        case kBlur:
            f.kind = Kind::Blur;
            f.blurX = float(r.fixed16());
            f.blurY = float(r.fixed16());
            f.passes = r.u8() >> 3;
            break;
        case kColorMatrix:
            f.kind = Kind::ColorMatrix;
            for (float &value : f.matrix)
                value = r.f32();
            break;
        case kBevel:
            f = ReadBevel(r);
            break;
        case kGradientGlow:
            f = ReadGradientFilter(r, Kind::GradientGlow);
            break;
        case kGradientBevel:
            f = ReadGradientFilter(r, Kind::GradientBevel);
            break;
        case kConvolution:
            f = ReadConvolution(r);
            break;
        default:  // the rest of the list cannot be sized
            r.skip(r.remaining());
            return;
        }
        if (!r.overrun())
            out.push_back(f);
    }
}

int Filter::passCount() const
{
    // The record holds five bits, but no player runs more than 15 passes.
    constexpr int kMaxPasses = 15;
    return std::clamp(passes, 1, kMaxPasses);
}

float Filter::reach() const
{
    if (kind == Kind::ColorMatrix || kind == Kind::Convolution || kind == Kind::DisplacementMap)
        return 0;
    // Each pass spreads by half its box, which is never wider than the blur.
    const float spread = std::max(blurX, blurY) / 2 * float(passCount());
    return std::clamp(spread + std::fabs(distance), 0.0f, 512.0f);
}

}  // namespace swf
