// Array: the constructor and the methods of Array.prototype, sort and
// sortOn with the player's flags.

#include <algorithm>
#include <cmath>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/textutil.h"

namespace swf::avm1 {

namespace {

ArrayObject *ThisArray(const Value &self) { return dynamic_cast<ArrayObject *>(self.object()); }

// A relative index argument (negative counts from the end), clamped.
size_t ClampIndex(Machine &m, const Value &value, size_t length, size_t fallback)
{
    if (value.isUndefined())
        return fallback;
    double n = std::trunc(m.toNumber(value));
    if (std::isnan(n))
        n = 0;
    if (n < 0)
        n = std::max(0.0, double(length) + n);
    return size_t(std::min(n, double(length)));
}

Value ArrayCall(Machine &m, const Value &, const Args &args)
{
    if (args.size() == 1 && args[0].isNumber()) {
        ArrayObject *array = m.newArray();
        const double length = args[0].number();
        if (length >= 0 && std::isfinite(length))
            array->resize(m, size_t(length));
        return Value(array);
    }
    return Value(m.newArray(args.all()));
}

Value Push(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *array = ThisArray(self);
    if (!array)
        return {};
    for (const Value &v : args.all())
        array->push(m, v);
    return Value(double(array->elements.size()));
}

Value Pop(Machine &m, const Value &self, const Args &)
{
    ArrayObject *array = ThisArray(self);
    if (!array || array->elements.empty())
        return {};
    Value last = array->elements.back();
    array->resize(m, array->elements.size() - 1);
    return last;
}

Value Shift(Machine &m, const Value &self, const Args &)
{
    ArrayObject *array = ThisArray(self);
    if (!array || array->elements.empty())
        return {};
    Value first = array->elements.front();
    array->elements.erase(array->elements.begin());
    m.release(sizeof(Value));
    return first;
}

Value Unshift(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *array = ThisArray(self);
    if (!array)
        return {};
    m.book(args.size() * sizeof(Value));
    array->elements.insert(array->elements.begin(), args.all().begin(), args.all().end());
    return Value(double(array->elements.size()));
}

std::string JoinElements(Machine &m, const std::vector<Value> &elements, const std::string &separator)
{
    std::string out;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i)
            out += separator;
        out += m.toString(elements[i]);
        m.book(0);
    }
    m.book(out.size());
    return out;
}

Value Join(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *array = ThisArray(self);
    if (!array)
        return {};
    const std::string separator = args[0].isUndefined() ? "," : m.toString(args[0]);
    return Value(JoinElements(m, array->elements, separator));
}

Value ToStringMethod(Machine &m, const Value &self, const Args &)
{
    ArrayObject *array = ThisArray(self);
    return array ? Value(JoinElements(m, array->elements, ",")) : Value("[object Object]");
}

Value Reverse(Machine &, const Value &self, const Args &)
{
    if (ArrayObject *array = ThisArray(self))
        std::reverse(array->elements.begin(), array->elements.end());
    return self;
}

Value Concat(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *array = ThisArray(self);
    std::vector<Value> elements = array ? array->elements : std::vector<Value>{};
    for (const Value &v : args.all()) {
        if (auto *other = dynamic_cast<ArrayObject *>(v.object()))
            elements.insert(elements.end(), other->elements.begin(), other->elements.end());
        else
            elements.push_back(v);
    }
    return Value(m.newArray(std::move(elements)));
}

Value Slice(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *array = ThisArray(self);
    if (!array)
        return {};
    const size_t length = array->elements.size();
    const size_t start = ClampIndex(m, args[0], length, 0);
    const size_t end = ClampIndex(m, args[1], length, length);
    std::vector<Value> part;
    if (start < end)
        part.assign(array->elements.begin() + long(start), array->elements.begin() + long(end));
    return Value(m.newArray(std::move(part)));
}

Value Splice(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *array = ThisArray(self);
    if (!array || args.size() == 0)
        return {};
    auto &elements = array->elements;
    const size_t start = ClampIndex(m, args[0], elements.size(), 0);
    size_t count = elements.size() - start;
    if (args.size() > 1) {
        const double n = std::trunc(m.toNumber(args[1]));
        count = n > 0 ? size_t(std::min(n, double(count))) : 0;
    }
    std::vector<Value> removed(elements.begin() + long(start), elements.begin() + long(start + count));
    elements.erase(elements.begin() + long(start), elements.begin() + long(start + count));
    std::vector<Value> inserted;
    for (size_t i = 2; i < args.size(); ++i)
        inserted.push_back(args[i]);
    m.book(inserted.size() * sizeof(Value));
    elements.insert(elements.begin() + long(start), inserted.begin(), inserted.end());
    return Value(m.newArray(std::move(removed)));
}

}  // namespace

void InstallArraySort(Machine &m, Object *prototype);

void InstallArrayClass(Machine &m)
{
    m.arrayProto = m.make<ArrayObject>(m.objectProto);
    FunctionObject *array = DefineClass(m, "Array", m.arrayProto, ArrayCall, ArrayCall);
    m.defineMethod(m.arrayProto, "push", Push);
    m.defineMethod(m.arrayProto, "pop", Pop);
    m.defineMethod(m.arrayProto, "shift", Shift);
    m.defineMethod(m.arrayProto, "unshift", Unshift);
    m.defineMethod(m.arrayProto, "join", Join);
    m.defineMethod(m.arrayProto, "toString", ToStringMethod);
    m.defineMethod(m.arrayProto, "reverse", Reverse);
    m.defineMethod(m.arrayProto, "concat", Concat);
    m.defineMethod(m.arrayProto, "slice", Slice);
    m.defineMethod(m.arrayProto, "splice", Splice);
    InstallArraySort(m, m.arrayProto);
    const std::pair<const char *, int> flags[] = {{"CASEINSENSITIVE", kCaseInsensitive},
                                                  {"DESCENDING", kDescending},
                                                  {"UNIQUESORT", kUniqueSort},
                                                  {"RETURNINDEXEDARRAY", kReturnIndexedArray},
                                                  {"NUMERIC", kNumeric}};
    for (const auto &[name, value] : flags)
        m.defineValue(array, name, Value(value), kDontEnum | kDontDelete | kReadOnly);
}

}  // namespace swf::avm1
