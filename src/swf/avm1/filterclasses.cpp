// flash.filters: BitmapFilter and its nine filter classes. Every value is
// an accessor on the class's prototype that writes through the player's
// limits into the object's FilterState; MovieClip.filters hands copies to
// and from the renderer's filters of the clip.

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdataobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/filterobject.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/timeline/displaylist.h"

namespace swf::avm1 {

namespace {

using Type = FilterState::Type;

enum class Field {
    Distance, Angle, Color, Alpha, HighlightColor, HighlightAlpha, BlurX, BlurY, Strength, Quality, Inner,
    Knockout, HideObject, Side, Colors, Alphas, Ratios, Matrix, MatrixX, MatrixY, Divisor, Bias, PreserveAlpha,
    Clamp, MapBitmap, MapPoint, ComponentX, ComponentY, ScaleX, ScaleY, Mode,
};

constexpr double kDegrees = 180.0 / M_PI;
// Array-like values longer than this are read only this far.
constexpr size_t kMostElements = 256;
constexpr const char *kSides[] = {"inner", "outer", "full"};
constexpr const char *kModes[] = {"wrap", "clamp", "ignore", "color"};

FilterState *StateOf(const Value &self) { return NativeOf<FilterState>(self); }

Value NumberArray(Machine &m, size_t count, const std::function<double(size_t)> &at)
{
    std::vector<Value> values;
    for (size_t i = 0; i < count; ++i)
        values.emplace_back(at(i));
    return Value(m.newArray(std::move(values)));
}

size_t LengthOf(Machine &m, const Value &value)
{
    const double length = m.toNumber(m.getMember(value, "length"));
    return length > 0 ? size_t(std::min(length, double(kMostElements))) : 0;
}

Value ElementOf(Machine &m, const Value &value, size_t i) { return m.getMember(value, std::to_string(i)); }

// Matrix entries: null and undefined are no numbers here.
double EntryOf(Machine &m, const Value &value, size_t i)
{
    const Value element = ElementOf(m, value, i);
    return element.isNullish() ? NAN : m.toNumber(element);
}

template <size_t N> int IndexOfName(const char *const (&names)[N], const std::string &name, int fallback)
{
    for (size_t i = 0; i < N; ++i)
        if (name == names[i])
            return int(i);
    return fallback;
}

double Clamped(Machine &m, const Value &value, double low, double high)
{
    const double n = m.toNumber(value);
    return std::isnan(n) ? low : std::clamp(n, low, high);
}

int KernelSide(Machine &m, const Value &value)
{
    return std::clamp(TruncatedInt(m.toNumber(value)), 0, FilterState::kMaxKernelSide);
}

// The kernel grows to its sides' product, never shrinks.
void FitKernel(FilterState &s)
{
    const size_t cells = size_t(s.matrixX * s.matrixY);
    if (s.kernel.size() < cells)
        s.kernel.resize(cells, 0.0);
}

// Gradient alphas round where single alphas cut.
uint8_t StopAlpha(Machine &m, const Value &value)
{
    const double alpha = m.toNumber(value);
    return std::isnan(alpha) ? 255 : uint8_t(std::lround(std::clamp(alpha, 0.0, 1.0) * 255.0));
}

void SetStops(Machine &m, FilterState &s, Field field, const Value &value)
{
    if (value.isNullish())
        return;
    const size_t length = LengthOf(m, value);
    if (field == Field::Colors)
        s.stopCount = int(std::min(length, size_t(FilterState::kMaxStops)));
    if (field == Field::Ratios)
        s.stopCount = int(std::min(size_t(s.stopCount), length));
    for (size_t i = 0; i < size_t(s.stopCount); ++i) {
        const Value element = ElementOf(m, value, i);
        if (field == Field::Colors)
            s.stopColors[i] = ColourValue(m, element);
        else if (field == Field::Alphas)
            s.stopAlphas[i] = StopAlpha(m, element);
        else
            s.stopRatios[i] = uint8_t(std::clamp(TruncatedInt(m.toNumber(element)), 0, 255));
    }
}

void SetMatrix(Machine &m, FilterState &s, const Value &value)
{
    if (s.type == Type::ColorMatrix) {
        if (value.isNullish())
            return;
        const size_t length = LengthOf(m, value);
        for (size_t i = 0; i < s.colorMatrix.size(); ++i)
            s.colorMatrix[i] = i < length ? EntryOf(m, value, i) : NAN;
        return;
    }
    const size_t length = LengthOf(m, value);
    s.kernel.assign(length, 0.0);
    for (size_t i = 0; i < length; ++i)
        s.kernel[i] = EntryOf(m, value, i);
    FitKernel(s);
}

// Both coordinates are read even when one throws; the first error comes
// out afterwards. A point without both becomes the origin.
void SetMapPoint(Machine &m, FilterState &s, const Value &value)
{
    Object *point = value.object();
    if (!point) {
        s.mapX = s.mapY = 0;
        return;
    }
    const Value x = m.get(point, "x"), y = m.get(point, "y");
    std::optional<ScriptThrow> error;
    auto convert = [&](const Value &v) {
        try {
            return TruncatedInt(m.toNumber(v));
        } catch (const ScriptThrow &thrown) {
            if (!error)
                error = thrown;
            return INT32_MIN;
        }
    };
    const int32_t px = convert(x), py = convert(y);
    const bool whole = !x.isUndefined() && !y.isUndefined();
    s.mapX = whole ? px : 0;
    s.mapY = whole ? py : 0;
    if (error)
        throw *error;
}

Value Read(Machine &m, const FilterState &s, Field field)
{
    switch (field) {
    case Field::Distance: return Value(s.distance);
    case Field::Angle: return Value(s.angle * kDegrees);
    case Field::Color: return Value(double(s.color));
    case Field::Alpha: return Value(s.alpha / 255.0);
    case Field::HighlightColor: return Value(double(s.highlightColor));
    case Field::HighlightAlpha: return Value(s.highlightAlpha / 255.0);
    case Field::BlurX: return Value(s.blurX);
    case Field::BlurY: return Value(s.blurY);
    case Field::Strength: return Value(s.strength);
    case Field::Quality: return Value(double(s.quality));
    case Field::Inner: return Value(s.inner);
    case Field::Knockout: return Value(s.knockout);
    case Field::HideObject: return Value(s.hideObject);
    case Field::Side: return Value(kSides[int(s.side)]);
    case Field::Colors:
        return NumberArray(m, size_t(s.stopCount), [&](size_t i) { return double(s.stopColors[i]); });
    case Field::Alphas:
        return NumberArray(m, size_t(s.stopCount), [&](size_t i) { return s.stopAlphas[i] / 255.0; });
    case Field::Ratios:
        return NumberArray(m, size_t(s.stopCount), [&](size_t i) { return double(s.stopRatios[i]); });
    case Field::Matrix:
        if (s.type == Type::ColorMatrix)
            return NumberArray(m, s.colorMatrix.size(), [&](size_t i) { return s.colorMatrix[i]; });
        return NumberArray(m, s.kernel.size(), [&](size_t i) { return s.kernel[i]; });
    case Field::MatrixX: return Value(double(s.matrixX));
    case Field::MatrixY: return Value(double(s.matrixY));
    case Field::Divisor: return Value(s.divisor);
    case Field::Bias: return Value(s.bias);
    case Field::PreserveAlpha: return Value(s.preserveAlpha);
    case Field::Clamp: return Value(s.clamp);
    case Field::MapBitmap: return s.mapBitmap;
    case Field::MapPoint: return Value(NewPoint(m, s.mapX, s.mapY));
    case Field::ComponentX: return Value(double(s.componentX));
    case Field::ComponentY: return Value(double(s.componentY));
    case Field::ScaleX: return Value(s.scaleX);
    case Field::ScaleY: return Value(s.scaleY);
    case Field::Mode: return Value(kModes[int(s.mode)]);
    }
    return {};
}

void Write(Machine &m, FilterState &s, Field field, const Value &v)
{
    switch (field) {
    case Field::Distance: s.distance = m.toNumber(v); break;
    case Field::Angle: s.angle = std::fmod(m.toNumber(v), 360.0) / kDegrees; break;
    case Field::Color: s.color = ColourValue(m, v); break;
    case Field::Alpha: s.alpha = AlphaValue(m, v); break;
    case Field::HighlightColor: s.highlightColor = ColourValue(m, v); break;
    case Field::HighlightAlpha: s.highlightAlpha = AlphaValue(m, v); break;
    case Field::BlurX: s.blurX = Clamped(m, v, 0, 255); break;
    case Field::BlurY: s.blurY = Clamped(m, v, 0, 255); break;
    case Field::Strength: s.strength = Clamped(m, v, 0, 255); break;
    case Field::Quality: s.quality = std::clamp(TruncatedInt(m.toNumber(v)), 0, 15); break;
    case Field::Inner: s.inner = m.toBoolean(v); break;
    case Field::Knockout: s.knockout = m.toBoolean(v); break;
    case Field::HideObject: s.hideObject = m.toBoolean(v); break;
    case Field::Side: s.side = FilterState::Side(IndexOfName(kSides, m.toString(v), 2)); break;
    case Field::Colors:
    case Field::Alphas:
    case Field::Ratios: SetStops(m, s, field, v); break;
    case Field::Matrix: SetMatrix(m, s, v); break;
    case Field::MatrixX: s.matrixX = KernelSide(m, v), FitKernel(s); break;
    case Field::MatrixY: s.matrixY = KernelSide(m, v), FitKernel(s); break;
    case Field::Divisor: s.divisor = m.toNumber(v); break;
    case Field::Bias: s.bias = m.toNumber(v); break;
    case Field::PreserveAlpha: s.preserveAlpha = m.toBoolean(v); break;
    case Field::Clamp: s.clamp = m.toBoolean(v); break;
    case Field::MapBitmap:
        if (v.isObject())
            s.mapBitmap = v;
        break;
    case Field::MapPoint: SetMapPoint(m, s, v); break;
    case Field::ComponentX: s.componentX = TruncatedInt(m.toNumber(v)); break;
    case Field::ComponentY: s.componentY = TruncatedInt(m.toNumber(v)); break;
    case Field::ScaleX: s.scaleX = Clamped(m, v, -65535, 65535); break;
    case Field::ScaleY: s.scaleY = Clamped(m, v, -65535, 65535); break;
    case Field::Mode: s.mode = FilterState::Mode(IndexOfName(kModes, m.toString(v), 0)); break;
    }
}

template <Field F> Value Getter(Machine &m, const Value &self, const Args &)
{
    const FilterState *state = StateOf(self);
    return state ? Read(m, *state, F) : Value();
}

template <Field F> Value Setter(Machine &m, const Value &self, const Args &args)
{
    if (FilterState *state = StateOf(self))
        Write(m, *state, F, args[0]);
    return {};
}

struct Accessor {
    const char *name;
    NativeFunction get, set;
};

template <Field F> constexpr Accessor A(const char *name) { return {name, Getter<F>, Setter<F>}; }

// A class: its accessors in the order for-in lists them, and the fields
// its constructor's arguments set, in their order.
struct FilterClass {
    const char *name;
    Type type;
    std::vector<Accessor> accessors;
    std::vector<Field> arguments;
};

std::vector<Accessor> GradientAccessors()
{
    using F = Field;
    return {A<F::Distance>("distance"), A<F::Angle>("angle"),      A<F::Colors>("colors"),
            A<F::Alphas>("alphas"),     A<F::Ratios>("ratios"),    A<F::BlurX>("blurX"),
            A<F::BlurY>("blurY"),       A<F::Quality>("quality"),  A<F::Strength>("strength"),
            A<F::Knockout>("knockout"), A<F::Side>("type")};
}

std::vector<Field> GradientArguments()
{
    using F = Field;
    return {F::Distance, F::Angle, F::Colors, F::Alphas, F::Ratios, F::BlurX,
            F::BlurY,    F::Strength, F::Quality, F::Side, F::Knockout};
}

const std::vector<FilterClass> &FilterClasses()
{
    using F = Field;
    static const std::vector<FilterClass> classes = {
        {"BevelFilter", Type::Bevel,
         {A<F::Distance>("distance"), A<F::Angle>("angle"), A<F::HighlightColor>("highlightColor"),
          A<F::HighlightAlpha>("highlightAlpha"), A<F::Color>("shadowColor"), A<F::Alpha>("shadowAlpha"),
          A<F::Quality>("quality"), A<F::Strength>("strength"), A<F::Knockout>("knockout"), A<F::BlurX>("blurX"),
          A<F::BlurY>("blurY"), A<F::Side>("type")},
         {F::Distance, F::Angle, F::HighlightColor, F::HighlightAlpha, F::Color, F::Alpha, F::BlurX, F::BlurY,
          F::Strength, F::Quality, F::Side, F::Knockout}},
        {"BlurFilter", Type::Blur,
         {A<F::BlurX>("blurX"), A<F::BlurY>("blurY"), A<F::Quality>("quality")},
         {F::BlurX, F::BlurY, F::Quality}},
        {"ColorMatrixFilter", Type::ColorMatrix, {A<F::Matrix>("matrix")}, {F::Matrix}},
        {"ConvolutionFilter", Type::Convolution,
         {A<F::MatrixX>("matrixX"), A<F::MatrixY>("matrixY"), A<F::Matrix>("matrix"), A<F::Divisor>("divisor"),
          A<F::Bias>("bias"), A<F::PreserveAlpha>("preserveAlpha"), A<F::Clamp>("clamp"), A<F::Color>("color"),
          A<F::Alpha>("alpha")},
         {F::MatrixX, F::MatrixY, F::Matrix, F::Divisor, F::Bias, F::PreserveAlpha, F::Clamp, F::Color, F::Alpha}},
        {"DisplacementMapFilter", Type::DisplacementMap,
         {A<F::MapBitmap>("mapBitmap"), A<F::MapPoint>("mapPoint"), A<F::ComponentX>("componentX"),
          A<F::ComponentY>("componentY"), A<F::ScaleX>("scaleX"), A<F::ScaleY>("scaleY"), A<F::Mode>("mode"),
          A<F::Color>("color"), A<F::Alpha>("alpha")},
         {F::MapBitmap, F::MapPoint, F::ComponentX, F::ComponentY, F::ScaleX, F::ScaleY, F::Mode, F::Color,
          F::Alpha}},
        {"DropShadowFilter", Type::DropShadow,
         {A<F::Distance>("distance"), A<F::Angle>("angle"), A<F::Color>("color"), A<F::Alpha>("alpha"),
          A<F::Quality>("quality"), A<F::Inner>("inner"), A<F::Knockout>("knockout"), A<F::BlurX>("blurX"),
          A<F::BlurY>("blurY"), A<F::Strength>("strength"), A<F::HideObject>("hideObject")},
         {F::Distance, F::Angle, F::Color, F::Alpha, F::BlurX, F::BlurY, F::Strength, F::Quality, F::Inner,
          F::Knockout, F::HideObject}},
        {"GlowFilter", Type::Glow,
         {A<F::Color>("color"), A<F::Alpha>("alpha"), A<F::Quality>("quality"), A<F::Inner>("inner"),
          A<F::Knockout>("knockout"), A<F::BlurX>("blurX"), A<F::BlurY>("blurY"), A<F::Strength>("strength")},
         {F::Color, F::Alpha, F::BlurX, F::BlurY, F::Strength, F::Quality, F::Inner, F::Knockout}},
        {"GradientBevelFilter", Type::GradientBevel, GradientAccessors(), GradientArguments()},
        {"GradientGlowFilter", Type::GradientGlow, GradientAccessors(), GradientArguments()},
    };
    return classes;
}

const FilterClass *ClassOf(Type type)
{
    for (const FilterClass &c : FilterClasses())
        if (c.type == type)
            return &c;
    return nullptr;
}

std::string PrototypeKey(Type type)
{
    const FilterClass *c = ClassOf(type);
    return std::string("flash.filters.") + (c ? c->name : "BitmapFilter");
}

// Arguments given set their fields; a colour given without its alpha
// makes it opaque, as an undefined alpha does.
void ApplyArguments(Machine &m, FilterState &s, const std::vector<Field> &fields, const Args &args)
{
    for (size_t i = 0; i < fields.size() && i < args.size(); ++i) {
        Write(m, s, fields[i], args[i]);
        const bool colour = fields[i] == Field::Color || fields[i] == Field::HighlightColor;
        if (colour && i + 1 == args.size() && i + 1 < fields.size())
            Write(m, s, fields[i + 1], Value());
    }
}

template <Type T> Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    auto state = std::make_unique<FilterState>(T);
    if (const FilterClass *c = ClassOf(T))
        ApplyArguments(m, *state, c->arguments, args);
    object->native = std::move(state);
    return {};
}

Value Clone(Machine &m, const Value &self, const Args &)
{
    const FilterState *state = StateOf(self);
    if (!state || state->type == Type::Base)
        return {};
    return Value(NewFilterObject(m, *state));
}

// A clip's filters come back as copies, a displacement map's bitmap too.
Value MapBitmapCopy(Machine &m, const Filter &filter)
{
    Object *bitmapClass = GlobalClass(m, {"flash", "display", "BitmapData"});
    if (!filter.map || filter.map->disposed() || !bitmapClass)
        return {};
    BitmapSurface copy;
    copy.transparent = filter.map->transparent;
    copy.pixels = filter.map->pixels.copy();
    return Value(WrapBitmapData(m, m.get(bitmapClass, "prototype").object(), std::move(copy)));
}

Value GetClipFilters(Machine &m, const Value &self, const Args &)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    const DisplayObject *placement = clip ? clip->displayObject() : nullptr;
    if (!placement)
        return {};
    std::vector<Value> filters;
    for (const Filter &filter : placement->filters) {
        FilterState state = FilterState::FromFilter(filter);
        state.mapBitmap = MapBitmapCopy(m, filter);
        filters.emplace_back(NewFilterObject(m, state));
    }
    return Value(m.newArray(std::move(filters)));
}

// Plain BitmapFilters and other values in the list are left out.
Value SetClipFilters(Machine &, const Value &self, const Args &args)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    DisplayObject *placement = clip ? clip->displayObject() : nullptr;
    if (!placement)
        return {};
    std::vector<Filter> filters;
    if (const auto *list = dynamic_cast<const ArrayObject *>(args[0].object()))
        for (const Value &element : list->elements) {
            Filter filter;
            if (const FilterState *state = StateOf(element); state && state->toFilter(filter))
                filters.push_back(std::move(filter));
        }
    placement->filters = std::move(filters);
    return {};
}

}  // namespace

Object *NewFilterObject(Machine &m, const FilterState &state)
{
    Object *object = m.make<Object>(m.builtinPrototypes[PrototypeKey(state.type)]);
    object->native = std::make_unique<FilterState>(state);
    return object;
}

void InstallFilterPackage(Machine &m)
{
    Object *package = FlashPackage(m, "filters");
    Object *baseProto = m.newObject();
    FunctionObject *base =
        DefinePackageClass(m, package, "BitmapFilter", "flash.filters.BitmapFilter", baseProto, Construct<Type::Base>);
    m.defineMethod(baseProto, "clone", Clone, kVersion8Up);
    static constexpr NativeFunction kConstructors[] = {
        Construct<Type::Bevel>,       Construct<Type::Blur>,         Construct<Type::ColorMatrix>,
        Construct<Type::Convolution>, Construct<Type::DisplacementMap>, Construct<Type::DropShadow>,
        Construct<Type::Glow>,        Construct<Type::GradientBevel>, Construct<Type::GradientGlow>,
    };
    size_t index = 0;
    for (const FilterClass &c : FilterClasses()) {
        Object *proto = m.make<Object>(baseProto);
        m.defineValue(proto, "__constructor__", Value(base));
        DefinePackageClass(m, package, c.name, std::string("flash.filters.") + c.name, proto, kConstructors[index++]);
        // The player's filter prototypes name no constructor of their own.
        proto->removeOwn(m.key("constructor"));
        for (const auto &accessor : c.accessors)
            DefineAccessor(m, proto, accessor.name, accessor.get, accessor.set);
    }
    DefineAccessor(m, m.clipProto, "filters", GetClipFilters, SetClipFilters, kDontEnum | kVersion8Up);
}

}  // namespace swf::avm1
