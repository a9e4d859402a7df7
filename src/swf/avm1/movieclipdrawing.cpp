// MovieClip's drawing methods: lineStyle, lineGradientStyle, beginFill,
// beginGradientFill, beginBitmapFill, moveTo, lineTo, curveTo, endFill and
// clear. They
// draw into the clip's own drawing, in pixels of the clip's space.

#include <algorithm>
#include <cmath>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/bitmapdataobject.h"
#include "swf/avm1/clipmethods.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/characters/drawing.h"
#include "swf/format/types.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

// Coordinates far outside any stage are held there, as twips must fit.
constexpr double kFarthestTwips = 1e8;
// What one drawn edge, move or style costs the script memory budget.
constexpr size_t kEdgeBytes = 96;
constexpr size_t kMostGradientStops = 15;
// type, colours, alphas, ratios, matrix, spread, interpolation, focal point.
constexpr size_t kMostGradientArgs = 8;
constexpr double kLastRatio = 255;
// The gradient square is 32768 twips wide; scripts give sizes in pixels.
constexpr double kGradientSquarePixels = 32768.0 / kTwipsPerPixel;

Drawing *DrawingOf(const Value &self)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    return clip && clip->state() ? &clip->state()->ensureDrawing() : nullptr;
}

double Twips(Machine &m, const Value &pixels)
{
    const double n = m.toNumber(pixels) * kTwipsPerPixel;
    return std::isnan(n) ? 0 : std::clamp(n, -kFarthestTwips, kFarthestTwips);
}

QPointF PointArg(Machine &m, const Args &args, size_t first)
{
    return QPointF(Twips(m, args[first]), Twips(m, args[first + 1]));
}

// Alpha in percent (100 when not given) as a byte.
uint8_t AlphaByte(Machine &m, const Value &percent)
{
    if (percent.isUndefined())
        return 255;
    const double n = m.toNumber(percent);
    if (std::isnan(n))
        return 0;
    return uint8_t(std::lround(std::clamp(n, 0.0, 100.0) * 2.55));
}

Rgba Colour(Machine &m, const Value &rgb, const Value &alpha)
{
    const uint32_t value = uint32_t(ToInt32(m.toNumber(rgb)));
    return {uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value), AlphaByte(m, alpha)};
}

// Growing the drawing books its memory; the budget bounds a runaway loop.
Drawing *GrowingDrawing(Machine &m, const Value &self)
{
    Drawing *drawing = DrawingOf(self);
    if (drawing)
        m.book(kEdgeBytes);
    return drawing;
}

std::vector<Value> ArrayValues(Machine &m, const Value &value)
{
    std::vector<Value> values;
    Object *object = value.object();
    if (!object)
        return values;
    const double length = m.toNumber(m.get(object, "length"));
    const size_t count = std::isfinite(length) && length > 0 ? size_t(std::min(length, 64.0)) : 0;
    for (size_t i = 0; i < count; ++i)
        values.push_back(m.get(object, std::to_string(i)));
    return values;
}

double NumberMember(Machine &m, Object *object, const char *name, double fallback = 0)
{
    const double n = m.toNumber(m.get(object, name));
    return std::isfinite(n) ? n : fallback;
}

// {a, b, c, d, tx, ty} with the translation in pixels, to twips; `unit`
// is the size of one unit of the source space in twips. A member that is
// no number keeps the identity's value.
Matrix AffineMatrix(Machine &m, Object *object, double unit)
{
    Matrix matrix;
    matrix.a = NumberMember(m, object, "a", 1) * unit;
    matrix.b = NumberMember(m, object, "b") * unit;
    matrix.c = NumberMember(m, object, "c") * unit;
    matrix.d = NumberMember(m, object, "d", 1) * unit;
    matrix.tx = NumberMember(m, object, "tx") * kTwipsPerPixel;
    matrix.ty = NumberMember(m, object, "ty") * kTwipsPerPixel;
    return matrix;
}

// The gradient square to the clip's twips, from a box description
// ({matrixType: "box", x, y, w, h, r}), a 3x3 matrix ({a, b, d, e, g, h}
// mapping a unit square) or an affine one ({a, b, c, d, tx, ty}).
Matrix GradientMatrix(Machine &m, const Value &value)
{
    Matrix matrix;
    Object *object = value.object();
    if (!object)
        return matrix;
    if (m.toString(m.get(object, "matrixType")) == "box") {
        const double w = NumberMember(m, object, "w"), h = NumberMember(m, object, "h");
        const double r = NumberMember(m, object, "r");
        const double sx = w / kGradientSquarePixels, sy = h / kGradientSquarePixels;
        matrix.a = std::cos(r) * sx;
        matrix.b = std::sin(r) * sx;
        matrix.c = -std::sin(r) * sy;
        matrix.d = std::cos(r) * sy;
        matrix.tx = (NumberMember(m, object, "x") + w / 2) * kTwipsPerPixel;
        matrix.ty = (NumberMember(m, object, "y") + h / 2) * kTwipsPerPixel;
        return matrix;
    }
    if (m.has(object, "tx"))
        return AffineMatrix(m, object, 1);
    matrix.a = NumberMember(m, object, "a") / kGradientSquarePixels;
    matrix.b = NumberMember(m, object, "b") / kGradientSquarePixels;
    matrix.c = NumberMember(m, object, "d") / kGradientSquarePixels;
    matrix.d = NumberMember(m, object, "e") / kGradientSquarePixels;
    matrix.tx = NumberMember(m, object, "g") * kTwipsPerPixel;
    matrix.ty = NumberMember(m, object, "h") * kTwipsPerPixel;
    return matrix;
}

SpreadMode Spread(const std::string &name)
{
    return name == "reflect" ? SpreadMode::Reflect : name == "repeat" ? SpreadMode::Repeat : SpreadMode::Pad;
}

// A ratio as the player takes it: whole, within 0..255; none outside.
std::optional<double> Ratio(Machine &m, const Value &value)
{
    const double ratio = m.toNumber(value);
    const double whole = std::isfinite(ratio) ? std::trunc(ratio) : 0;
    if (whole < 0 || whole > kLastRatio)
        return std::nullopt;
    return whole / kLastRatio;
}

// beginGradientFill's and lineGradientStyle's arguments: type, colours,
// alphas, ratios, matrix, spread, interpolation, focal point. None when
// the type is unknown, the arrays disagree, a ratio lies outside 0..255
// or the call brings more arguments than these.
std::optional<FillStyle> GradientArgs(Machine &m, const Args &args)
{
    const std::string type = m.toString(args[0]);
    if ((type != "linear" && type != "radial") || args.size() > kMostGradientArgs)
        return std::nullopt;
    const std::vector<Value> colours = ArrayValues(m, args[1]);
    const std::vector<Value> alphas = ArrayValues(m, args[2]);
    const std::vector<Value> ratios = ArrayValues(m, args[3]);
    if (colours.empty() || colours.size() != alphas.size() || colours.size() != ratios.size()
        || colours.size() > kMostGradientStops || !args[4].isObject())
        return std::nullopt;
    FillStyle fill;
    fill.kind = type == "linear" ? FillKind::LinearGradient : FillKind::RadialGradient;
    fill.matrix = GradientMatrix(m, args[4]);
    fill.gradient.spread = Spread(m.toString(args[5]));
    fill.gradient.linearRgb = m.toString(args[6]) == "linearRGB";
    if (fill.kind == FillKind::RadialGradient && !args[7].isUndefined()) {
        const double focal = m.toNumber(args[7]);
        fill.kind = FillKind::FocalGradient;
        fill.gradient.focalPoint = std::isfinite(focal) ? std::clamp(focal, -1.0, 1.0) : 0;
    }
    for (size_t i = 0; i < colours.size(); ++i) {
        const std::optional<double> position = Ratio(m, ratios[i]);
        if (!position)
            return std::nullopt;
        fill.gradient.stops.push_back({*position, Colour(m, colours[i], alphas[i])});
    }
    fill.gradient.legacyOrder = m.version() < 8;
    return fill;
}

CapStyle Cap(const std::string &name)
{
    return name == "none" ? CapStyle::None : name == "square" ? CapStyle::Square : CapStyle::Round;
}

JoinStyle Join(const std::string &name)
{
    return name == "miter" ? JoinStyle::Miter : name == "bevel" ? JoinStyle::Bevel : JoinStyle::Round;
}

// lineStyle(thickness, rgb, alpha, pixelHinting, noScale, caps, joints,
// miterLimit); without a thickness, edges draw no line.
Value LineStyleMethod(Machine &m, const Value &self, const Args &args)
{
    Drawing *drawing = GrowingDrawing(m, self);
    if (!drawing)
        return {};
    if (args[0].isUndefined()) {
        drawing->setLineStyle(std::nullopt);
        return {};
    }
    LineStyle line;
    const double thickness = m.toNumber(args[0]);
    line.width = std::isfinite(thickness) ? std::clamp(thickness, 0.0, 255.0) * kTwipsPerPixel : 0;
    line.color = Colour(m, args[1], args[2]);
    if (!args[4].isUndefined()) {
        const std::string scale = m.toString(args[4]);
        line.noHScale = scale == "none" || scale == "horizontal";
        line.noVScale = scale == "none" || scale == "vertical";
    }
    if (!args[5].isUndefined())
        line.startCap = line.endCap = Cap(m.toString(args[5]));
    if (!args[6].isUndefined())
        line.join = Join(m.toString(args[6]));
    if (!args[7].isUndefined()) {
        const double limit = m.toNumber(args[7]);
        line.miterLimit = std::isfinite(limit) ? std::clamp(limit, 1.0, 255.0) : 3;
    }
    drawing->setLineStyle(line);
    return {};
}

Value LineGradientStyle(Machine &m, const Value &self, const Args &args)
{
    Drawing *drawing = DrawingOf(self);
    if (!drawing)
        return {};
    if (std::optional<FillStyle> fill = GradientArgs(m, args))
        drawing->setLineFill(*fill);
    return {};
}

Value BeginFill(Machine &m, const Value &self, const Args &args)
{
    Drawing *drawing = GrowingDrawing(m, self);
    if (!drawing)
        return {};
    if (args[0].isUndefined()) {
        drawing->beginFill(std::nullopt);
        return {};
    }
    FillStyle fill;
    fill.color = Colour(m, args[0], args[1]);
    drawing->beginFill(fill);
    return {};
}

Value BeginGradientFill(Machine &m, const Value &self, const Args &args)
{
    if (Drawing *drawing = GrowingDrawing(m, self))
        drawing->beginFill(GradientArgs(m, args));
    return {};
}

// beginBitmapFill(bitmap, matrix, repeat, smoothing): the bitmap's pixels
// as they are whenever the clip is drawn, one to a pixel unless the matrix
// says otherwise; repeated unless `repeat` is false, when its edges go on
// instead. Anything but a live BitmapData fills nothing.
Value BeginBitmapFill(Machine &m, const Value &self, const Args &args)
{
    Drawing *drawing = GrowingDrawing(m, self);
    if (!drawing)
        return {};
    BitmapDataObject *bitmap = LiveBitmapData(args[0]);
    if (!bitmap) {
        drawing->beginFill(std::nullopt);
        return {};
    }
    FillStyle fill;
    fill.surface = bitmap->sharedSurface();
    const bool repeat = args[2].isUndefined() || m.toBoolean(args[2]);
    fill.kind = repeat ? FillKind::RepeatingBitmap : FillKind::ClippedBitmap;
    fill.smoothed = !args[3].isUndefined() && m.toBoolean(args[3]);
    if (Object *matrix = args[1].object())
        fill.matrix = AffineMatrix(m, matrix, kTwipsPerPixel);
    else
        fill.matrix.a = fill.matrix.d = kTwipsPerPixel;
    drawing->beginFill(fill);
    return {};
}

Value EndFill(Machine &m, const Value &self, const Args &)
{
    if (Drawing *drawing = GrowingDrawing(m, self))
        drawing->endFill();
    return {};
}

Value MoveTo(Machine &m, const Value &self, const Args &args)
{
    Drawing *drawing = GrowingDrawing(m, self);
    if (drawing && args.size() >= 2)
        drawing->moveTo(PointArg(m, args, 0));
    return {};
}

Value LineTo(Machine &m, const Value &self, const Args &args)
{
    Drawing *drawing = GrowingDrawing(m, self);
    if (drawing && args.size() >= 2)
        drawing->lineTo(PointArg(m, args, 0));
    return {};
}

Value CurveTo(Machine &m, const Value &self, const Args &args)
{
    Drawing *drawing = GrowingDrawing(m, self);
    if (drawing && args.size() >= 4)
        drawing->curveTo(PointArg(m, args, 0), PointArg(m, args, 2));
    return {};
}

Value Clear(Machine &m, const Value &self, const Args &)
{
    Drawing *drawing = DrawingOf(self);
    if (!drawing)
        return {};
    m.release(drawing->partCount() * kEdgeBytes);
    drawing->clear();
    return {};
}

}  // namespace

// Movies made for players before version 6 have no drawing methods, and
// lineGradientStyle and beginBitmapFill came with version 8.
void InstallClipDrawingMethods(Machine &m)
{
    if (m.version() < 6)
        return;
    const std::pair<const char *, NativeFunction> methods[] = {
        {"lineStyle", LineStyleMethod}, {"beginFill", BeginFill}, {"beginGradientFill", BeginGradientFill},
        {"endFill", EndFill},           {"moveTo", MoveTo},       {"lineTo", LineTo},
        {"curveTo", CurveTo},           {"clear", Clear},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(m.clipProto, name, fn);
    if (m.version() < 8)
        return;
    m.defineMethod(m.clipProto, "lineGradientStyle", LineGradientStyle);
    m.defineMethod(m.clipProto, "beginBitmapFill", BeginBitmapFill);
}

}  // namespace swf::avm1
