#pragma once
// `super` inside a method: reads come from the prototype above the one
// that holds the running method's class, calls run with the original
// `this`, and calling `super(...)` itself runs the superclass constructor.

#include "swf/avm1/function.h"

namespace swf::avm1 {

class SuperObject : public Object {
public:
    // `base`: the prototype the running method was found on; reads go to
    // the one above it.
    SuperObject(const Value &self, Object *base);

    const Value &self() const { return self_; }
    Object *base() const { return base_; }
    // The superclass constructor `super(...)` runs.
    Value constructor(Machine &machine) const;

    Value getSpecial(Machine &machine, const std::string &name, bool &found) override;
    void collectReferences(std::vector<Object *> &out) const override
    {
        Object::collectReferences(out);
        if (Object *o = self_.object())
            out.push_back(o);
        if (base_)
            out.push_back(base_);
    }

private:
    Value self_;
    Object *base_;
};

}  // namespace swf::avm1
