// String: conversion, boxing and the methods of String.prototype, all
// counting in UTF-16 units as the player does.

#include <cmath>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/textutil.h"

namespace swf::avm1 {

namespace {

std::u16string ThisText(Machine &m, const Value &self)
{
    Object *object = self.object();
    if (object && object->primitive.isString())
        return ToUtf16(object->primitive.string());
    return ToUtf16(m.toString(self));
}

Value Text(const std::u16string &units) { return Value(ToUtf8(units)); }

// A position argument as an integer; NaN and missing read as `fallback`.
double Position(Machine &m, const Value &v, double fallback)
{
    if (v.isUndefined())
        return fallback;
    const double n = m.toNumber(v);
    return std::isnan(n) ? 0 : std::trunc(n);
}

Value StringCall(Machine &m, const Value &, const Args &args)
{
    return Value(args.size() ? m.toString(args[0]) : std::string());
}

Value StringConstruct(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object())
        object->primitive = StringCall(m, self, args);
    return self;
}

Value ToStringMethod(Machine &m, const Value &self, const Args &) { return Text(ThisText(m, self)); }

Value CharAt(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    const double i = Position(m, args[0], 0);
    return i >= 0 && i < double(text.size()) ? Text(text.substr(size_t(i), 1)) : Value("");
}

Value CharCodeAt(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    const double i = Position(m, args[0], 0);
    return i >= 0 && i < double(text.size()) ? Value(double(text[size_t(i)])) : Value(NAN);
}

Value Concat(Machine &m, const Value &self, const Args &args)
{
    std::string out = ToUtf8(ThisText(m, self));
    for (const Value &v : args.all())
        out += m.toString(v);
    m.book(out.size());
    return Value(out);
}

Value IndexOf(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    const std::u16string needle = ToUtf16(m.toString(args[0]));
    const double from = std::max(0.0, Position(m, args[1], 0));
    if (from > double(text.size()))
        return Value(-1.0);
    const size_t at = text.find(needle, size_t(from));
    return Value(at == std::u16string::npos ? -1.0 : double(at));
}

Value LastIndexOf(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    const std::u16string needle = ToUtf16(m.toString(args[0]));
    const double from = Position(m, args[1], double(text.size()));
    if (from < 0)
        return Value(-1.0);
    const size_t at = text.rfind(needle, size_t(std::min(from, double(text.size()))));
    return Value(at == std::u16string::npos ? -1.0 : double(at));
}

Value Slice(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    const double length = double(text.size());
    auto clamp = [&](double n) { return n < 0 ? std::max(0.0, length + n) : std::min(n, length); };
    const double start = clamp(Position(m, args[0], 0));
    const double end = clamp(Position(m, args[1], length));
    return start < end ? Text(text.substr(size_t(start), size_t(end - start))) : Value("");
}

Value Substring(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    const double length = double(text.size());
    auto clamp = [&](double n) { return std::min(std::max(n, 0.0), length); };
    double start = clamp(Position(m, args[0], 0));
    double end = clamp(Position(m, args[1], length));
    if (start > end)
        std::swap(start, end);
    return Text(text.substr(size_t(start), size_t(end - start)));
}

Value Substr(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    const double length = double(text.size());
    double start = Position(m, args[0], 0);
    if (start < 0)
        start = std::max(0.0, length + start);
    start = std::min(start, length);
    double count = Position(m, args[1], length - start);
    if (count < 0)
        count = std::max(0.0, length - start + count);
    count = std::min(count, length - start);
    return Text(text.substr(size_t(start), size_t(count)));
}

Value Split(Machine &m, const Value &self, const Args &args)
{
    const std::u16string text = ThisText(m, self);
    ArrayObject *parts = m.newArray();
    if (args[0].isUndefined()) {
        parts->push(m, Text(text));
        return Value(parts);
    }
    const std::u16string separator = ToUtf16(m.toString(args[0]));
    const double limit = args[1].isUndefined() ? 4294967295.0 : m.toNumber(args[1]);
    size_t start = 0;
    while (double(parts->elements.size()) < limit) {
        if (separator.empty()) {
            if (start >= text.size())
                break;
            parts->push(m, Text(text.substr(start++, 1)));
            continue;
        }
        const size_t at = text.find(separator, start);
        parts->push(m, Text(text.substr(start, at == std::u16string::npos ? std::u16string::npos : at - start)));
        if (at == std::u16string::npos)
            break;
        start = at + separator.size();
    }
    return Value(parts);
}

Value ToLowerCase(Machine &m, const Value &self, const Args &)
{
    return Value(ToLowerText(ToUtf8(ThisText(m, self))));
}

Value ToUpperCase(Machine &m, const Value &self, const Args &)
{
    return Value(ToUpperText(ToUtf8(ThisText(m, self))));
}

Value FromCharCode(Machine &m, const Value &, const Args &args)
{
    std::u16string units;
    for (const Value &v : args.all())
        units += char16_t(uint16_t(ToInt32(m.toNumber(v))));
    return Text(units);
}

}  // namespace

void InstallStringClass(Machine &m)
{
    m.stringProto = m.make<Object>(m.objectProto, Object::Kind::String);
    m.stringProto->primitive = Value("");
    FunctionObject *string = DefineClass(m, "String", m.stringProto, StringCall, StringConstruct);
    m.defineMethod(m.stringProto, "toString", ToStringMethod);
    m.defineMethod(m.stringProto, "valueOf", ToStringMethod);
    m.defineMethod(m.stringProto, "charAt", CharAt);
    m.defineMethod(m.stringProto, "charCodeAt", CharCodeAt);
    m.defineMethod(m.stringProto, "concat", Concat);
    m.defineMethod(m.stringProto, "indexOf", IndexOf);
    m.defineMethod(m.stringProto, "lastIndexOf", LastIndexOf);
    m.defineMethod(m.stringProto, "slice", Slice);
    m.defineMethod(m.stringProto, "substring", Substring);
    m.defineMethod(m.stringProto, "substr", Substr);
    m.defineMethod(m.stringProto, "split", Split);
    m.defineMethod(m.stringProto, "toLowerCase", ToLowerCase);
    m.defineMethod(m.stringProto, "toUpperCase", ToUpperCase);
    m.defineMethod(string, "fromCharCode", FromCharCode);
}

}  // namespace swf::avm1
