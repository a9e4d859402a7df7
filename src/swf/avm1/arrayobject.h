#pragma once
// An Array: its elements kept densely, indices and `length` answered by
// the object itself so that arrays stay fast; other properties (and
// elements set far beyond the rest) are ordinary ones. Growing an array
// books its elements in the machine's memory budget, so a script that
// grows one without end is stopped.

#include <vector>

#include "swf/avm1/object.h"

namespace swf::avm1 {

// The flags of sort and sortOn, as Array's constants name them.
enum SortFlag : int {
    kCaseInsensitive = 1,
    kDescending = 2,
    kUniqueSort = 4,
    kReturnIndexedArray = 8,
    kNumeric = 16,
};

class ArrayObject : public Object {
public:
    explicit ArrayObject(Object *proto) : Object(proto, Kind::Array) {}

    std::vector<Value> elements;

    // Resizes, booking or releasing the change in the memory budget.
    void resize(Machine &machine, size_t length);
    void push(Machine &machine, const Value &value);

    Value getSpecial(Machine &machine, const std::string &name, bool &found) override;
    bool setSpecial(Machine &machine, const std::string &name, const Value &value) override;
    void enumerateSpecial(std::vector<std::string> &names) const override;
    size_t extraBytes() const override { return elements.capacity() * sizeof(Value); }
    void collectReferences(std::vector<Object *> &out) const override
    {
        Object::collectReferences(out);
        for (const Value &v : elements)
            if (Object *o = v.object())
                out.push_back(o);
    }

    // "0".."4294967294" written plainly; -1 for any other name.
    static int64_t IndexOf(const std::string &name);

private:
    // One past the furthest element kept as an ordinary property.
    uint64_t sparseLength_ = 0;
};

}  // namespace swf::avm1
