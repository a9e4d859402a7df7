#pragma once
// A function call's local variables. `arguments` and `super` are among
// them from the start, as the player has them, but their objects are made
// only when the body first reads, writes or deletes the name: most calls
// never look, and a call is then no dearer than its own variables.

#include "swf/avm1/function.h"

namespace swf::avm1 {

// The `arguments` array of a call: its values and `callee`.
Object *MakeArguments(Machine &machine, FunctionObject *function, const Args &args);
// `super` for a call on `self` whose method was found on `base` (null:
// the prototype of `self`); undefined when `self` is no object.
Value MakeSuper(Machine &machine, const Value &self, Object *base);

class LocalsObject : public Object {
public:
    LocalsObject() : Object(nullptr) {}

    // `arguments` of `function` called with `args`.
    void offerArguments(FunctionObject *function, const Args &args);
    // `super` of a call on `self`, its method found on `base`.
    void offerSuper(const Value &self, Object *base);

    Value getSpecial(Machine &machine, const std::string &name, bool &found) override;
    bool setSpecial(Machine &machine, const std::string &name, const Value &value) override;
    void collectReferences(std::vector<Object *> &out) const override;
    size_t extraBytes() const override { return args_.size() * sizeof(Value); }

private:
    // Makes the offered object `name` names, if it is one still waiting.
    void makeIfOffered(Machine &machine, const std::string &name);

    bool argumentsOffered_ = false;
    bool superOffered_ = false;
    FunctionObject *function_ = nullptr;
    Args args_;
    Value self_;
    Object *base_ = nullptr;
};

}  // namespace swf::avm1
