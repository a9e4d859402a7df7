#include "swf/characters/fillstyle.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace swf {

namespace {

constexpr double kGradientHalfSize = 16384.0;  // the gradient square is -16384..16384 twips
constexpr int kLinearLightSteps = 8;           // extra stops per interval for linear-light blends

bool IsGradientType(uint8_t type) { return type == 0x10 || type == 0x12 || type == 0x13; }
bool IsBitmapType(uint8_t type) { return type >= 0x40 && type <= 0x43; }

// An unknown fill type leaves the rest of the record unreadable: stop there.
void Abandon(SwfReader &reader) { reader.seek(reader.size() + 1); }

FillKind GradientKind(uint8_t type)
{
    if (type == 0x10)
        return FillKind::LinearGradient;
    return type == 0x12 ? FillKind::RadialGradient : FillKind::FocalGradient;
}

void SetBitmapKind(FillStyle &fill, uint8_t type)
{
    fill.kind = (type & 0x01) ? FillKind::ClippedBitmap : FillKind::RepeatingBitmap;
    fill.smoothed = (type & 0x02) == 0;
}

// The flags byte in front of the gradient records: spread, interpolation
// and record count. Returns the count.
unsigned ReadGradientHeader(SwfReader &reader, Gradient &gradient)
{
    const unsigned spread = reader.ub(2);
    gradient.spread = spread == 1 ? SpreadMode::Reflect : spread == 2 ? SpreadMode::Repeat : SpreadMode::Pad;
    gradient.linearRgb = reader.ub(2) == 1;
    return reader.ub(4);
}

Gradient ReadGradient(SwfReader &reader, int shapeVersion, bool focal)
{
    Gradient gradient;
    const unsigned count = ReadGradientHeader(reader, gradient);
    for (unsigned i = 0; i < count && !reader.overrun(); ++i) {
        GradientStop stop;
        stop.position = reader.u8() / 255.0;
        stop.color = shapeVersion >= 3 ? reader.rgba() : reader.rgb();
        gradient.stops.push_back(stop);
    }
    if (focal)
        gradient.focalPoint = reader.fixed8();
    return gradient;
}

double Mix(double from, double to, double t) { return from + (to - from) * t; }

Gradient MixGradients(const Gradient &from, const Gradient &to, double t)
{
    Gradient mixed = from;
    mixed.focalPoint = Mix(from.focalPoint, to.focalPoint, t);
    const size_t count = std::min(from.stops.size(), to.stops.size());
    mixed.stops.resize(count);
    for (size_t i = 0; i < count; ++i) {
        mixed.stops[i].position = Mix(from.stops[i].position, to.stops[i].position, t);
        mixed.stops[i].color = lerp(from.stops[i].color, to.stops[i].color, t);
    }
    return mixed;
}

double ToLinear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

uint8_t ToSrgb(double linear)
{
    const double c = linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::clamp(std::lround(c * 255.0), 0L, 255L));
}

Rgba MixColors(const Rgba &from, const Rgba &to, double t, bool linearLight)
{
    if (!linearLight)
        return lerp(from, to, t);
    auto mix = [t](uint8_t a, uint8_t b) { return ToSrgb(Mix(ToLinear(a), ToLinear(b), t)); };
    Rgba mixed = lerp(from, to, t);  // alpha mixes plainly
    mixed.r = mix(from.r, to.r);
    mixed.g = mix(from.g, to.g);
    mixed.b = mix(from.b, to.b);
    return mixed;
}

bool RatiosRise(const std::vector<GradientStop> &stops)
{
    for (size_t i = 1; i < stops.size(); ++i)
        if (stops[i].position < stops[i - 1].position)
            return false;
    return true;
}

// Rising ratios, or a movie for older players: a stop placed at or before
// the one in front of it moves one ratio step past it, and stops pushed
// beyond the end are dropped. This keeps both colours of a hard edge.
std::vector<GradientStop> PushedForward(const std::vector<GradientStop> &stops)
{
    constexpr double kRatioStep = 1 / 255.0;
    constexpr double kSlack = 1e-9;
    std::vector<GradientStop> ordered;
    for (const GradientStop &stop : stops) {
        GradientStop placed = stop;
        if (!ordered.empty())
            placed.position = std::max(placed.position, ordered.back().position + kRatioStep);
        if (placed.position > 1 + kSlack)
            break;
        placed.position = std::clamp(placed.position, 0.0, 1.0);
        ordered.push_back(placed);
    }
    return ordered;
}

// Out-of-order ratios as players from version 8 on show them: every ratio
// step takes the first stop at or past it (scanning onwards from the last
// step's) and blends from the stop just before that one.
std::vector<GradientStop> LookedUpPerStep(const Gradient &gradient)
{
    const std::vector<GradientStop> &stops = gradient.stops;
    std::vector<GradientStop> sampled;
    size_t next = 0;
    for (int step = 0; step < 256; ++step) {
        const double position = step / 255.0;
        while (next < stops.size() && stops[next].position < position - 1e-9)
            ++next;
        Rgba color;
        if (next == 0 || next == stops.size()) {
            color = next == 0 ? stops.front().color : stops.back().color;
        } else {
            const GradientStop &from = stops[next - 1];
            const GradientStop &to = stops[next];
            const double t = (position - from.position) / (to.position - from.position);
            color = MixColors(from.color, to.color, std::clamp(t, 0.0, 1.0), gradient.linearRgb);
        }
        sampled.push_back({position, color});
    }
    return sampled;
}

std::vector<GradientStop> EffectiveStops(const Gradient &gradient)
{
    if (gradient.stops.empty() || gradient.legacyOrder || RatiosRise(gradient.stops))
        return PushedForward(gradient.stops);
    return LookedUpPerStep(gradient);
}

// Qt blends stops in sRGB; linear-light blends get extra stops in between.
QGradientStops BuildStops(const Gradient &gradient, const std::vector<GradientStop> &stops,
                          const ColorTransform &cx)
{
    const bool addSteps = gradient.linearRgb && stops.size() < 256;
    QGradientStops qstops;
    for (size_t i = 0; i < stops.size(); ++i) {
        if (addSteps && i > 0)
            for (int step = 1; step < kLinearLightSteps; ++step) {
                const double t = double(step) / kLinearLightSteps;
                const Rgba color = MixColors(stops[i - 1].color, stops[i].color, t, true);
                qstops.append({Mix(stops[i - 1].position, stops[i].position, t), cx.apply(color).toQColor()});
            }
        qstops.append({stops[i].position, cx.apply(stops[i].color).toQColor()});
    }
    return qstops;
}

QGradient::Spread QtSpread(SpreadMode mode)
{
    switch (mode) {
    case SpreadMode::Reflect: return QGradient::ReflectSpread;
    case SpreadMode::Repeat: return QGradient::RepeatSpread;
    case SpreadMode::Pad: break;
    }
    return QGradient::PadSpread;
}

QBrush GradientBrush(const FillStyle &fill, const ColorTransform &cx)
{
    const Gradient &gradient = fill.gradient;
    // A gradient without stops paints black, one with a single stop its colour.
    const std::vector<GradientStop> ordered = EffectiveStops(gradient);
    if (ordered.empty())
        return QBrush(cx.apply(Rgba{0, 0, 0, 255}).toQColor());
    if (ordered.size() == 1)
        return QBrush(cx.apply(ordered.front().color).toQColor());

    QGradient qgradient;
    if (fill.kind == FillKind::LinearGradient) {
        qgradient = QLinearGradient(-kGradientHalfSize, 0, kGradientHalfSize, 0);
    } else {
        // A focal point right on the circle makes the cone degenerate.
        const double focal = fill.kind == FillKind::FocalGradient
                                 ? std::clamp(gradient.focalPoint, -0.98, 0.98) : 0.0;
        qgradient = QRadialGradient(QPointF(0, 0), kGradientHalfSize, QPointF(focal * kGradientHalfSize, 0));
    }
    qgradient.setSpread(QtSpread(gradient.spread));
    // Colour and opacity blend apart: a stop fading out keeps mixing its
    // colour in rather than disappearing as premultiplied black.
    qgradient.setInterpolationMode(QGradient::ComponentInterpolation);
    qgradient.setStops(BuildStops(gradient, ordered, cx));
    QBrush brush(qgradient);
    brush.setTransform(fill.matrix.toQTransform());
    return brush;
}

}  // namespace

bool FillStyle::isGradient() const
{
    return kind == FillKind::LinearGradient || kind == FillKind::RadialGradient || kind == FillKind::FocalGradient;
}

bool FillStyle::isBitmap() const
{
    return kind == FillKind::RepeatingBitmap || kind == FillKind::ClippedBitmap;
}

FillStyle ReadFillStyle(SwfReader &reader, int shapeVersion)
{
    FillStyle fill;
    const uint8_t type = reader.u8();
    if (type == 0x00) {
        fill.color = shapeVersion >= 3 ? reader.rgba() : reader.rgb();
    } else if (IsGradientType(type)) {
        fill.kind = GradientKind(type);
        fill.matrix = reader.matrix();
        fill.gradient = ReadGradient(reader, shapeVersion, type == 0x13);
    } else if (IsBitmapType(type)) {
        SetBitmapKind(fill, type);
        fill.bitmapId = reader.u16();
        fill.matrix = reader.matrix();
    } else {
        Abandon(reader);
    }
    return fill;
}

MorphFillStyle ReadMorphFillStyle(SwfReader &reader)
{
    MorphFillStyle morph;
    FillStyle &start = morph.start;
    FillStyle &end = morph.end;
    const uint8_t type = reader.u8();
    if (type == 0x00) {
        start.color = reader.rgba();
        end.color = reader.rgba();
    } else if (IsGradientType(type)) {
        start.kind = end.kind = GradientKind(type);
        start.matrix = reader.matrix();
        end.matrix = reader.matrix();
        const unsigned count = ReadGradientHeader(reader, start.gradient);
        end.gradient = start.gradient;
        for (unsigned i = 0; i < count && !reader.overrun(); ++i) {
            GradientStop from, to;
            from.position = reader.u8() / 255.0;
            from.color = reader.rgba();
            to.position = reader.u8() / 255.0;
            to.color = reader.rgba();
            start.gradient.stops.push_back(from);
            end.gradient.stops.push_back(to);
        }
        if (type == 0x13) {
            start.gradient.focalPoint = reader.fixed8();
            end.gradient.focalPoint = reader.fixed8();
        }
    } else if (IsBitmapType(type)) {
        SetBitmapKind(start, type);
        SetBitmapKind(end, type);
        start.bitmapId = end.bitmapId = reader.u16();
        start.matrix = reader.matrix();
        end.matrix = reader.matrix();
    } else {
        Abandon(reader);
    }
    return morph;
}

FillStyle MorphFillStyle::at(double t) const
{
    FillStyle mixed = start;
    mixed.color = lerp(start.color, end.color, t);
    mixed.matrix = lerp(start.matrix, end.matrix, t);
    if (start.isGradient())
        mixed.gradient = MixGradients(start.gradient, end.gradient, t);
    return mixed;
}

QBrush FillBrush(const FillStyle &fill, const ColorTransform &cx)
{
    if (fill.kind == FillKind::Solid)
        return QBrush(cx.apply(fill.color).toQColor());
    if (fill.isGradient())
        return GradientBrush(fill, cx);
    return Qt::NoBrush;
}

}  // namespace swf
