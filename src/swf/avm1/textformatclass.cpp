// TextFormat: a bag of character and paragraph values, each null until
// set; the constructor takes the common ones in order and converts each
// as the player does (sizes and margins to integers, the colour to an
// unsigned number, names to strings).

#include <cmath>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/textformatclass.h"

namespace swf::avm1 {

namespace {

enum class Kind { Text, Integer, Color, Flag, Align, List, Display };

struct Member {
    const char *name;
    Kind kind;
};

// In the constructor's order; the rest only by name.
const Member kMembers[] = {
    {"font", Kind::Text},          {"size", Kind::Integer},       {"color", Kind::Color},
    {"bold", Kind::Flag},          {"italic", Kind::Flag},        {"underline", Kind::Flag},
    {"url", Kind::Text},           {"target", Kind::Text},        {"align", Kind::Align},
    {"leftMargin", Kind::Integer}, {"rightMargin", Kind::Integer}, {"indent", Kind::Integer},
    {"leading", Kind::Integer},    {"blockIndent", Kind::Integer}, {"bullet", Kind::Flag},
    {"tabStops", Kind::List},      {"kerning", Kind::Flag},       {"letterSpacing", Kind::Integer},
    {"display", Kind::Display},
};
constexpr size_t kConstructorArgs = 13;

double Truncated(Machine &m, const Value &v)
{
    const double n = m.toNumber(v);
    return std::isfinite(n) ? std::trunc(n) : (std::isnan(n) ? 0 : n);
}

// The value a member holds once `value` is written to it.
Value Converted(Machine &m, Kind kind, const Value &value)
{
    if (value.isNullish())
        return kind == Kind::Display ? Value("block") : Value::null();
    switch (kind) {
    case Kind::Text:
        return Value(m.toString(value));
    case Kind::Integer:
        return Value(Truncated(m, value));
    case Kind::Color:
        return Value(double(ToUint32(m.toNumber(value))));
    case Kind::Flag:
        return Value(m.toBoolean(value));
    case Kind::Align: {
        const auto align = AlignFromName(QString::fromStdString(m.toString(value)));
        return align ? Value(AlignName(*align)) : Value::null();
    }
    case Kind::Display: {
        const std::string name = m.toString(value);
        return name == "inline" || name == "none" ? Value(name) : Value("block");
    }
    case Kind::List:
        return value.isObject() ? value : Value::null();
    }
    return Value::null();
}

Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    for (size_t i = 0; i < std::size(kMembers); ++i) {
        const Value given = i < kConstructorArgs ? args[i] : Value();
        m.set(object, kMembers[i].name, Converted(m, kMembers[i].kind, given));
    }
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
        f.display = QString::fromStdString(m.toString(Converted(m, Kind::Display, display)));
    return f;
}

Object *NewTextFormatObject(Machine &m, const TextFormat &f)
{
    Object *object = m.make<Object>(m.textFormatProto);
    auto put = [&](const char *name, const Value &value) { m.set(object, name, value); };
    put("font", TextValue(f.font));
    put("size", NumberValue(f.size));
    put("color", f.color ? Value(double(*f.color)) : Value::null());
    put("bold", FlagValue(f.bold));
    put("italic", FlagValue(f.italic));
    put("underline", FlagValue(f.underline));
    put("url", TextValue(f.url));
    put("target", TextValue(f.target));
    put("align", f.align ? Value(AlignName(*f.align)) : Value::null());
    put("leftMargin", NumberValue(f.leftMargin));
    put("rightMargin", NumberValue(f.rightMargin));
    put("indent", NumberValue(f.indent));
    put("leading", NumberValue(f.leading));
    put("blockIndent", NumberValue(f.blockIndent));
    put("bullet", FlagValue(f.bullet));
    Value stops = Value::null();
    if (f.tabStops) {
        std::vector<Value> list(f.tabStops->begin(), f.tabStops->end());
        stops = Value(m.newArray(std::move(list)));
    }
    put("tabStops", stops);
    put("kerning", FlagValue(f.kerning));
    put("letterSpacing", NumberValue(f.letterSpacing));
    put("display", TextValue(f.display));
    return object;
}

void InstallTextFormatClass(Machine &m)
{
    m.textFormatProto = m.newObject();
    DefineClass(m, "TextFormat", m.textFormatProto, Call, Construct);
}

}  // namespace swf::avm1
