#include "swf/avm1/arrayobject.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

// Arrays longer than this are refused whatever the memory budget says:
// a script setting `length` to four billion must not allocate.
constexpr size_t kLengthLimit = size_t(1) << 24;

}  // namespace

int64_t ArrayObject::IndexOf(const std::string &name)
{
    if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0'))
        return -1;
    int64_t index = 0;
    for (char c : name) {
        if (c < '0' || c > '9')
            return -1;
        index = index * 10 + (c - '0');
    }
    return index < 4294967295LL ? index : -1;
}

void ArrayObject::resize(Machine &machine, size_t length)
{
    if (length > kLengthLimit)
        throw ScriptAbort{"array length"};
    if (length > elements.size())
        machine.book((length - elements.size()) * sizeof(Value));
    else
        machine.release((elements.size() - length) * sizeof(Value));
    elements.resize(length);
}

void ArrayObject::push(Machine &machine, const Value &value)
{
    resize(machine, elements.size() + 1);
    elements.back() = value;
}

Value ArrayObject::getSpecial(Machine &, const std::string &name, bool &found)
{
    found = false;
    if (name == "length") {
        found = true;
        return Value(double(std::max<uint64_t>(elements.size(), sparseLength_)));
    }
    const int64_t index = IndexOf(name);
    if (index >= 0 && size_t(index) < elements.size()) {
        found = true;
        return elements[size_t(index)];
    }
    return {};
}

bool ArrayObject::setSpecial(Machine &machine, const std::string &name, const Value &value)
{
    if (name == "length") {
        const double length = value.isNumber() ? value.number() : value.toNumberPrimitive(machine.version());
        if (std::isfinite(length) && length >= 0) {
            resize(machine, size_t(length));
            sparseLength_ = 0;
        }
        return true;
    }
    const int64_t index = IndexOf(name);
    if (index < 0)
        return false;
    // An element far out is kept as an ordinary property: only the length
    // remembers it, so that a[4000000000] costs one property, not the gap.
    if (size_t(index) >= kLengthLimit) {
        sparseLength_ = std::max(sparseLength_, uint64_t(index) + 1);
        return false;
    }
    if (size_t(index) >= elements.size())
        resize(machine, size_t(index) + 1);
    elements[size_t(index)] = value;
    return true;
}

void ArrayObject::enumerateSpecial(std::vector<std::string> &names) const
{
    for (size_t i = elements.size(); i-- > 0;)
        names.push_back(std::to_string(i));
}

}  // namespace swf::avm1
