// TextFormat: a bag of character and paragraph values, each null until
// set. The values live inside the object and are reached through
// accessors on the prototype, so every write is converted as the player
// converts it (sizes and margins to integers, the colour to an unsigned
// number, names to strings); the constructor takes the common ones in
// order and converts them a little differently (margins may stay below
// zero, an unknown alignment clears it).

#include <array>
#include <cmath>
#include <utility>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/textformatclass.h"

namespace swf::avm1 {

namespace {

enum class Kind { Text, Integer, Margin, Color, Flag, Align, List, Display };

struct Member {
    const char *name;
    Kind kind;
};

// In the constructor's order; the rest only by name.
constexpr Member kMembers[] = {
    {"font", Kind::Text},         {"size", Kind::Integer},       {"color", Kind::Color},
    {"bold", Kind::Flag},         {"italic", Kind::Flag},        {"underline", Kind::Flag},
    {"url", Kind::Text},          {"target", Kind::Text},        {"align", Kind::Align},
    {"leftMargin", Kind::Margin}, {"rightMargin", Kind::Margin}, {"indent", Kind::Margin},
    {"leading", Kind::Margin},    {"blockIndent", Kind::Margin}, {"bullet", Kind::Flag},
    {"tabStops", Kind::List},     {"kerning", Kind::Flag},       {"letterSpacing", Kind::Integer},
    {"display", Kind::Display},
};
constexpr size_t kMemberCount = std::size(kMembers);
constexpr size_t kConstructorArgs = 13;

struct TextFormatState : NativeState {
    std::array<Value, kMemberCount> values;

    void collectReferences(std::vector<Object *> &out) const override
    {
        for (const Value &value : values)
            if (value.object())
                out.push_back(value.object());
    }
};

double Truncated(Machine &m, const Value &v)
{
    const double n = m.toNumber(v);
    return std::isfinite(n) ? std::trunc(n) : (std::isnan(n) ? 0 : n);
}

enum class Writer { Constructor, Setter };

// The value a member holds once `value` is written to it; `current` is
// what it held before.
Value Converted(Machine &m, Kind kind, const Value &value, const Value &current, Writer writer)
{
    if (kind == Kind::Align) {
        const auto align = value.isNullish() ? std::nullopt : AlignFromName(QString::fromStdString(m.toString(value)));
        if (align)
            return Value(AlignName(*align));
        // A setter only takes the names it knows; the constructor clears.
        return writer == Writer::Setter ? current : Value::null();
    }
    if (kind == Kind::Display) {
        const std::string name = value.isNullish() ? std::string() : m.toString(value);
        return name == "inline" || name == "none" ? Value(name) : Value("block");
    }
    if (value.isNullish())
        return Value::null();
    switch (kind) {
    case Kind::Text:
        return Value(m.toString(value));
    case Kind::Integer:
        return Value(Truncated(m, value));
    case Kind::Margin:
        return Value(writer == Writer::Setter ? std::max(0.0, Truncated(m, value)) : Truncated(m, value));
    case Kind::Color:
        return Value(double(ToUint32(m.toNumber(value))));
    case Kind::Flag:
        return Value(m.toBoolean(value));
    case Kind::List:
        return value.isObject() ? value : Value::null();
    default:
        return Value::null();
    }
}

TextFormatState *StateOf(const Value &self) { return NativeOf<TextFormatState>(self); }

template <size_t I> Value GetMember(Machine &, const Value &self, const Args &)
{
    const TextFormatState *state = StateOf(self);
    return state ? state->values[I] : Value();
}

template <size_t I> Value SetMember(Machine &m, const Value &self, const Args &args)
{
    if (TextFormatState *state = StateOf(self))
        state->values[I] = Converted(m, kMembers[I].kind, args[0], state->values[I], Writer::Setter);
    return {};
}

template <size_t... I> void DefineMembers(Machine &m, Object *proto, std::index_sequence<I...>)
{
    (DefineAccessor(m, proto, kMembers[I].name, GetMember<I>, SetMember<I>), ...);
}

Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    auto state = std::make_unique<TextFormatState>();
    for (size_t i = 0; i < kMemberCount; ++i) {
        const Value given = i < kConstructorArgs ? args[i] : Value();
        state->values[i] = Converted(m, kMembers[i].kind, given, Value::null(), Writer::Constructor);
    }
    object->native = std::move(state);
    return {};
}

Value Call(Machine &, const Value &, const Args &) { return {}; }

std::optional<QString> TextOf(Machine &m, const Value &v)
{
    if (v.isNullish())
        return std::nullopt;
    return QString::fromStdString(m.toString(v));
}

std::optional<double> NumberOf(Machine &m, const Value &v)
{
    if (v.isNullish())
        return std::nullopt;
    return Truncated(m, v);
}

std::optional<bool> FlagOf(Machine &m, const Value &v)
{
    if (v.isNullish())
        return std::nullopt;
    return m.toBoolean(v);
}

Value TextValue(const std::optional<QString> &text) { return text ? Value(text->toStdString()) : Value::null(); }
Value NumberValue(const std::optional<double> &n) { return n ? Value(*n) : Value::null(); }
Value FlagValue(const std::optional<bool> &b) { return b ? Value(*b) : Value::null(); }

}  // namespace

TextFormat ReadTextFormat(Machine &m, Object *object)
{
    TextFormat f;
    if (!object)
        return f;
    auto get = [&](const char *name) { return m.get(object, name); };
    f.font = TextOf(m, get("font"));
    f.size = NumberOf(m, get("size"));
    const Value color = get("color");
    if (!color.isNullish())
        f.color = ToUint32(m.toNumber(color));
    f.bold = FlagOf(m, get("bold"));
    f.italic = FlagOf(m, get("italic"));
    f.underline = FlagOf(m, get("underline"));
    f.url = TextOf(m, get("url"));
    f.target = TextOf(m, get("target"));
    if (const auto align = TextOf(m, get("align")))
        f.align = AlignFromName(*align);
    // Margins and indents below zero count as zero in a field.
    auto margin = [&](const char *name) {
        auto n = NumberOf(m, get(name));
        if (n)
            n = std::max(0.0, *n);
        return n;
    };
    f.leftMargin = margin("leftMargin");
    f.rightMargin = margin("rightMargin");
    f.indent = NumberOf(m, get("indent"));
    f.leading = NumberOf(m, get("leading"));
    f.blockIndent = margin("blockIndent");
    f.bullet = FlagOf(m, get("bullet"));
    f.kerning = FlagOf(m, get("kerning"));
    f.letterSpacing = NumberOf(m, get("letterSpacing"));
    if (auto *stops = dynamic_cast<ArrayObject *>(get("tabStops").object())) {
        std::vector<double> list;
        for (const Value &stop : stops->elements)
            list.push_back(Truncated(m, stop));
        f.tabStops = list;
    }
    const Value display = get("display");
    if (!display.isNullish())
        f.display = QString::fromStdString(m.toString(display));
    return f;
}

Object *NewTextFormatObject(Machine &m, const TextFormat &f)
{
    Object *object = m.make<Object>(m.textFormatProto);
    auto state = std::make_unique<TextFormatState>();
    Value stops = Value::null();
    if (f.tabStops) {
        std::vector<Value> list(f.tabStops->begin(), f.tabStops->end());
        stops = Value(m.newArray(std::move(list)));
    }
    state->values = {
        TextValue(f.font),
        NumberValue(f.size),
        f.color ? Value(double(*f.color)) : Value::null(),
        FlagValue(f.bold),
        FlagValue(f.italic),
        FlagValue(f.underline),
        TextValue(f.url),
        TextValue(f.target),
        f.align ? Value(AlignName(*f.align)) : Value::null(),
        NumberValue(f.leftMargin),
        NumberValue(f.rightMargin),
        NumberValue(f.indent),
        NumberValue(f.leading),
        NumberValue(f.blockIndent),
        FlagValue(f.bullet),
        stops,
        FlagValue(f.kerning),
        NumberValue(f.letterSpacing),
        TextValue(f.display),
    };
    object->native = std::move(state);
    return object;
}

void InstallTextFormatClass(Machine &m)
{
    m.textFormatProto = m.newObject();
    DefineClass(m, "TextFormat", m.textFormatProto, Call, Construct);
    DefineMembers(m, m.textFormatProto, std::make_index_sequence<kMemberCount>());
}

}  // namespace swf::avm1
