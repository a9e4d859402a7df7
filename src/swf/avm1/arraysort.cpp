// Array.prototype.sort and sortOn. The player compares as texts unless
// told otherwise, case-sensitively, undefined last; NUMERIC compares
// numbers, DESCENDING reverses, UNIQUESORT gives up (returns 0) when two
// elements compare equal, RETURNINDEXEDARRAY returns the order instead of
// sorting.

#include <algorithm>
#include <cmath>
#include <numeric>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/textutil.h"

namespace swf::avm1 {

namespace {

// -1, 0 or 1 for two values by the flags, or by a script comparer.
class Comparer {
public:
    Comparer(Machine &m, Value function, int flags) : m_(m), function_(std::move(function)), flags_(flags) {}

    int operator()(const Value &a, const Value &b) const
    {
        int order = function_.isObject() ? byFunction(a, b) : byFlags(a, b);
        return (flags_ & kDescending) ? -order : order;
    }

private:
    int byFunction(const Value &a, const Value &b) const
    {
        const double n = m_.toNumber(m_.call(function_, Value(), Args({a, b})));
        return n < 0 ? -1 : n > 0 ? 1 : 0;
    }

    int byFlags(const Value &a, const Value &b) const
    {
        if (a.isUndefined() || b.isUndefined())
            return int(a.isUndefined()) - int(b.isUndefined());
        if ((flags_ & kNumeric) && a.isNumber() && b.isNumber())
            return a.number() < b.number() ? -1 : a.number() > b.number() ? 1 : 0;
        std::u16string x = ToUtf16(m_.toString(a));
        std::u16string y = ToUtf16(m_.toString(b));
        if (flags_ & kCaseInsensitive) {
            x = ToUtf16(ToLowerText(ToUtf8(x)));
            y = ToUtf16(ToLowerText(ToUtf8(y)));
        }
        return x < y ? -1 : x > y ? 1 : 0;
    }

    Machine &m_;
    Value function_;
    int flags_;
};

// Sorts `keys` (one per element) and applies the order to the array or
// returns it, as the flags say.
Value SortByKeys(Machine &m, ArrayObject *array, const std::vector<Value> &keys, const Comparer &compare, int flags)
{
    std::vector<size_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    bool equalSeen = false;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = compare(keys[a], keys[b]);
        equalSeen |= c == 0 && a != b;
        return c < 0;
    });
    if ((flags & kUniqueSort) && equalSeen)
        return Value(0.0);
    if (flags & kReturnIndexedArray) {
        std::vector<Value> indices;
        for (size_t i : order)
            indices.emplace_back(double(i));
        return Value(m.newArray(std::move(indices)));
    }
    std::vector<Value> sorted;
    sorted.reserve(order.size());
    for (size_t i : order)
        sorted.push_back(array->elements[i]);
    array->elements = std::move(sorted);
    return Value(array);
}

Value Sort(Machine &m, const Value &self, const Args &args)
{
    auto *array = dynamic_cast<ArrayObject *>(self.object());
    if (!array)
        return {};
    Value function;
    size_t flagArg = 0;
    if (args[0].object()) {
        function = args[0];
        flagArg = 1;
    }
    const int flags = args.size() > flagArg ? ToFlags(m, args[flagArg]) : 0;
    return SortByKeys(m, array, array->elements, Comparer(m, function, flags), flags);
}

Value SortOn(Machine &m, const Value &self, const Args &args)
{
    auto *array = dynamic_cast<ArrayObject *>(self.object());
    if (!array)
        return {};
    std::string field;
    if (auto *names = dynamic_cast<ArrayObject *>(args[0].object()))
        field = names->elements.empty() ? "" : m.toString(names->elements[0]);
    else
        field = m.toString(args[0]);
    const int flags = ToFlags(m, args[1]);
    std::vector<Value> keys;
    for (const Value &element : array->elements)
        keys.push_back(element.isObject() ? m.get(element.object(), field) : Value());
    return SortByKeys(m, array, keys, Comparer(m, Value(), flags), flags);
}

}  // namespace

void InstallArraySort(Machine &m, Object *prototype)
{
    m.defineMethod(prototype, "sort", Sort);
    m.defineMethod(prototype, "sortOn", SortOn);
}

}  // namespace swf::avm1
