#include <algorithm>
#include <climits>
#include <cmath>

#include "swf/avm1/bitmapdataobject.h"
#include "swf/avm1/filterobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

// The player's 45 degrees, as it holds them.
constexpr double kDefaultAngle = 0.785398163;

Rgba ToRgba(uint32_t colour, uint8_t alpha)
{
    return Rgba{uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour), alpha};
}

uint32_t ColourOf(const Rgba &rgba) { return (uint32_t(rgba.r) << 16) | (uint32_t(rgba.g) << 8) | rgba.b; }

void ToShade(const FilterState &s, Filter &f)
{
    f.blurX = float(s.blurX);
    f.blurY = float(s.blurY);
    f.passes = s.quality;
    f.angle = s.angle;
    f.distance = float(s.distance);
    f.strength = float(s.strength);
    f.knockout = s.knockout;
    f.inner = s.side == FilterState::Side::Inner;
    f.onTop = s.side == FilterState::Side::Full;
}

void FromShade(const Filter &f, FilterState &s)
{
    s.blurX = f.blurX;
    s.blurY = f.blurY;
    s.quality = f.passes;
    s.angle = f.angle;
    s.distance = f.distance;
    s.strength = f.strength;
    s.knockout = f.knockout;
    s.inner = f.inner;
    s.hideObject = !f.compositeSource;
    s.side = f.onTop ? FilterState::Side::Full : f.inner ? FilterState::Side::Inner : FilterState::Side::Outer;
}

}  // namespace

FilterState::FilterState(Type t) : type(t), angle(kDefaultAngle)
{
    for (int i = 0; i < 20; i += 6)
        colorMatrix[size_t(i)] = 1;
    if (t == Type::Glow) {
        color = 0xff0000;
        blurX = blurY = 6;
        strength = 2;
    }
    if (t == Type::Convolution || t == Type::DisplacementMap)
        alpha = 0;
}

void FilterState::collectReferences(std::vector<Object *> &out) const
{
    if (Object *bitmap = mapBitmap.object())
        out.push_back(bitmap);
}

bool FilterState::toFilter(Filter &f) const
{
    f = Filter();
    ToShade(*this, f);
    f.colour = ToRgba(color, alpha);
    switch (type) {
    case Type::DropShadow:
    case Type::Glow:
        f.kind = type == Type::Glow ? Filter::Kind::Glow : Filter::Kind::DropShadow;
        f.inner = inner;
        f.onTop = false;
        f.compositeSource = !hideObject;
        if (type == Type::Glow)
            f.angle = f.distance = 0;
        return true;
    case Type::Blur:
        f.kind = Filter::Kind::Blur;
        f.angle = f.distance = 0;
        f.strength = 1;
        return true;
    case Type::Bevel:
        f.kind = Filter::Kind::Bevel;
        f.highlight = ToRgba(highlightColor, highlightAlpha);
        return true;
    case Type::GradientGlow:
    case Type::GradientBevel:
        f.kind = type == Type::GradientGlow ? Filter::Kind::GradientGlow : Filter::Kind::GradientBevel;
        for (size_t i = 0; i < size_t(stopCount); ++i)
            f.gradient.push_back({ToRgba(stopColors[i], stopAlphas[i]), stopRatios[i]});
        return true;
    case Type::ColorMatrix:
        f.kind = Filter::Kind::ColorMatrix;
        std::transform(colorMatrix.begin(), colorMatrix.end(), f.matrix, [](double v) { return float(v); });
        return true;
    case Type::Convolution:
        f.kind = Filter::Kind::Convolution;
        f.kernelColumns = matrixX;
        f.kernelRows = matrixY;
        f.kernel.assign(size_t(matrixX * matrixY), 0.0f);
        for (size_t i = 0; i < f.kernel.size() && i < kernel.size(); ++i)
            f.kernel[i] = float(kernel[i]);
        f.divisor = float(divisor);
        f.bias = float(bias);
        f.edgeColour = ToRgba(color, alpha);
        f.clampEdges = clamp;
        f.preserveAlpha = preserveAlpha;
        return true;
    case Type::DisplacementMap:
        f.kind = Filter::Kind::DisplacementMap;
        if (BitmapDataObject *bitmap = LiveBitmapData(mapBitmap))
            f.map = bitmap->sharedSurface();
        f.mapOriginX = mapX;
        f.mapOriginY = mapY;
        f.componentX = componentX;
        f.componentY = componentY;
        f.scaleX = float(scaleX);
        f.scaleY = float(scaleY);
        f.edge = Filter::Edge(mode);
        f.edgeColour = ToRgba(color, alpha);
        return true;
    case Type::Base:
        break;
    }
    return false;
}

FilterState FilterState::FromFilter(const Filter &f)
{
    static constexpr std::pair<Filter::Kind, Type> kTypes[] = {
        {Filter::Kind::DropShadow, Type::DropShadow},       {Filter::Kind::Blur, Type::Blur},
        {Filter::Kind::Glow, Type::Glow},                   {Filter::Kind::Bevel, Type::Bevel},
        {Filter::Kind::GradientGlow, Type::GradientGlow},   {Filter::Kind::GradientBevel, Type::GradientBevel},
        {Filter::Kind::ColorMatrix, Type::ColorMatrix},     {Filter::Kind::Convolution, Type::Convolution},
        {Filter::Kind::DisplacementMap, Type::DisplacementMap},
    };
    Type type = Type::Blur;
    for (const auto &[kind, t] : kTypes)
        if (kind == f.kind)
            type = t;
    FilterState s(type);
    FromShade(f, s);
    s.color = ColourOf(f.colour);
    s.alpha = f.colour.a;
    s.highlightColor = ColourOf(f.highlight);
    s.highlightAlpha = f.highlight.a;
    s.stopCount = int(std::min(f.gradient.size(), size_t(kMaxStops)));
    for (size_t i = 0; i < size_t(s.stopCount); ++i) {
        s.stopColors[i] = ColourOf(f.gradient[i].colour);
        s.stopAlphas[i] = f.gradient[i].colour.a;
        s.stopRatios[i] = f.gradient[i].ratio;
    }
    std::copy(f.matrix, f.matrix + 20, s.colorMatrix.begin());
    if (type == Type::Convolution) {
        s.matrixX = std::clamp(f.kernelColumns, 0, kMaxKernelSide);
        s.matrixY = std::clamp(f.kernelRows, 0, kMaxKernelSide);
        s.kernel.assign(f.kernel.begin(), f.kernel.end());
        s.divisor = f.divisor;
        s.bias = f.bias;
        s.color = ColourOf(f.edgeColour);
        s.alpha = f.edgeColour.a;
        s.clamp = f.clampEdges;
        s.preserveAlpha = f.preserveAlpha;
    }
    if (type == Type::DisplacementMap) {
        s.mapX = f.mapOriginX;
        s.mapY = f.mapOriginY;
        s.componentX = f.componentX;
        s.componentY = f.componentY;
        s.scaleX = f.scaleX;
        s.scaleY = f.scaleY;
        s.mode = Mode(f.edge);
        s.color = ColourOf(f.edgeColour);
        s.alpha = f.edgeColour.a;
    }
    return s;
}

int32_t TruncatedInt(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT32_MIN;
    return int32_t(value);
}

uint32_t ColourValue(Machine &m, const Value &value) { return ToUint32(m.toNumber(value)) & 0xffffff; }

// A share in 0..1 as a byte, cut down; what is no number counts as opaque.
uint8_t AlphaValue(Machine &m, const Value &value)
{
    const double alpha = m.toNumber(value);
    if (std::isnan(alpha))
        return 255;
    return uint8_t(std::clamp(alpha, 0.0, 1.0) * 255.0);
}

}  // namespace swf::avm1
