#pragma once
// Function objects: native ones (the built-ins, a C++ routine) and script
// ones (a range of a decoded Code block with the scope chain it was made
// in, the constant pool then in force and the clip it was defined on).
// A closure keeps its Code alive; everything else it points at lives in
// the Heap.

#include <memory>
#include <vector>

#include "swf/avm1/code.h"
#include "swf/avm1/object.h"

namespace swf::avm1 {

class Machine;

// Arguments of a call; missing ones read as undefined.
class Args {
public:
    Args() = default;
    explicit Args(std::vector<Value> values) : values_(std::move(values)) {}
    size_t size() const { return values_.size(); }
    const Value &operator[](size_t i) const
    {
        static const Value undefined;
        return i < values_.size() ? values_[i] : undefined;
    }
    const std::vector<Value> &all() const { return values_; }

private:
    std::vector<Value> values_;
};

// `self` is `this`; for a construction it is the new object.
using NativeFunction = Value (*)(Machine &, const Value &self, const Args &args);

// One link of a scope chain: the global object, a clip's timeline, a
// function's locals or the object of a `with`.
struct Scope {
    enum class Kind : uint8_t { Global, Clip, Local, With };
    Kind kind;
    Object *object;
    std::shared_ptr<const Scope> parent;
};
using ScopePtr = std::shared_ptr<const Scope>;

class FunctionObject : public Object {
public:
    FunctionObject(Object *proto, NativeFunction native) : Object(proto, Kind::Function), native_(native) {}
    FunctionObject(Object *proto, std::shared_ptr<const Code> code, uint32_t function, ScopePtr scope,
                   PoolPtr pool, Object *clip)
        : Object(proto, Kind::Function),
          code_(std::move(code)),
          info_(&code_->functions[function]),
          scope_(std::move(scope)),
          pool_(std::move(pool)),
          clip_(clip)
    {
    }

    bool isNative() const { return native_ != nullptr; }
    NativeFunction native() const { return native_; }
    // A native constructor that `new` calls instead of `native` (Number,
    // String, Boolean: called plainly they convert, with new they box).
    NativeFunction constructor = nullptr;

    const std::shared_ptr<const Code> &code() const { return code_; }
    const FunctionInfo &info() const { return *info_; }
    const ScopePtr &scope() const { return scope_; }
    const PoolPtr &pool() const { return pool_; }
    Object *clip() const { return clip_; }

    void collectReferences(std::vector<Object *> &out) const override
    {
        Object::collectReferences(out);
        for (const Scope *scope = scope_.get(); scope; scope = scope->parent.get())
            out.push_back(scope->object);
        if (clip_)
            out.push_back(clip_);
    }

private:
    NativeFunction native_ = nullptr;
    std::shared_ptr<const Code> code_;
    const FunctionInfo *info_ = nullptr;
    ScopePtr scope_;
    PoolPtr pool_;
    Object *clip_ = nullptr;
};

}  // namespace swf::avm1
