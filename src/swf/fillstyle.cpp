#include "swf/fillstyle.h"

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

int ToSrgb(double linear)
{
    const double c = linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return std::clamp(static_cast<int>(std::lround(c * 255.0)), 0, 255);
}

QColor MixLinearLight(const QColor &from, const QColor &to, double t)
{
    auto mix = [t](int a, int b) { return ToSrgb(Mix(ToLinear(a), ToLinear(b), t)); };
    const int alpha = static_cast<int>(std::lround(Mix(from.alpha(), to.alpha(), t)));
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()), alpha);
}

// Qt merges stops at equal positions and rejects positions outside 0..1;
// hard colour edges need both stops, so positions are made strictly rising.
void MakePositionsRising(QGradientStops &stops)
{
    constexpr double kStep = 1e-6;
    for (int i = 1; i < stops.size(); ++i)
        stops[i].first = std::max(stops[i].first, stops[i - 1].first + kStep);
    for (int i = stops.size() - 1; i >= 0; --i) {
        const double limit = i + 1 < stops.size() ? stops[i + 1].first - kStep : 1.0;
        stops[i].first = std::clamp(std::min(stops[i].first, limit), 0.0, 1.0);
    }
}

QGradientStops BuildStops(const Gradient &gradient, const ColorTransform &cx)
{
    QGradientStops stops;
    QColor previous;
    double previousPosition = 0;
    for (size_t i = 0; i < gradient.stops.size(); ++i) {
        const QColor color = cx.apply(gradient.stops[i].color).toQColor();
        const double position = gradient.stops[i].position;
        if (gradient.linearRgb && i > 0)
            for (int step = 1; step < kLinearLightSteps; ++step) {
                const double t = double(step) / kLinearLightSteps;
                stops.append({Mix(previousPosition, position, t), MixLinearLight(previous, color, t)});
            }
        stops.append({position, color});
        previous = color;
        previousPosition = position;
    }
    MakePositionsRising(stops);
    return stops;
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
    if (gradient.stops.empty())
        return Qt::NoBrush;
    if (gradient.stops.size() == 1)
        return QBrush(cx.apply(gradient.stops.front().color).toQColor());

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
    qgradient.setStops(BuildStops(gradient, cx));
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
