#pragma once
// The script machine of one player: the heap of objects, the global object
// and the built-in prototypes, property access along prototype chains,
// the conversions that may call script code, calls and constructions, and
// the limits that keep a hostile movie in check (call depth, actions per
// frame, memory). The interpreter, the built-ins and the clip binding all
// work through it. One player's thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/avm1/function.h"
#include "swf/avm1/timers.h"

namespace swf::avm1 {

class ArrayObject;
class ClipBinding;

// Thrown by `throw` in a script; carries the thrown value up to its catch.
struct ScriptThrow {
    Value value;
};
// Thrown when a limit is hit: the running action list ends at once.
struct ScriptAbort {
    const char *reason;
};

class Machine {
public:
    static constexpr int kDefaultCallDepth = 256;
    static constexpr uint64_t kActionsPerFrame = 3'000'000;
    static constexpr size_t kMemoryLimit = size_t(128) << 20;
    static constexpr size_t kCollectFloor = size_t(8) << 20;

    explicit Machine(int version);
    ~Machine();
    Machine(const Machine &) = delete;
    Machine &operator=(const Machine &) = delete;

    int version() const { return version_; }
    // The lookup key of a name: itself from SWF 7 on, else lower case.
    std::string key(const std::string &name) const;

    // Objects. Every new object is booked; past the limit ScriptAbort.
    template <class T, class... A> T *make(A &&...args)
    {
        book(sizeof(T) + 64);
        auto owned = std::make_unique<T>(std::forward<A>(args)...);
        T *raw = owned.get();
        heap_.push_back(std::move(owned));
        return raw;
    }
    Object *newObject() { return make<Object>(objectProto); }
    ArrayObject *newArray(std::vector<Value> elements = {});
    FunctionObject *newNative(NativeFunction fn, NativeFunction constructor = nullptr);
    // A native method (or other function) on `target`, hidden from for-in.
    FunctionObject *defineMethod(Object *target, const std::string &name, NativeFunction fn);
    void defineValue(Object *target, const std::string &name, const Value &value, uint8_t flags = kDontEnum);
    // Books or releases bytes beyond the objects themselves.
    void book(size_t bytes);
    void release(size_t bytes) { used_ = bytes > used_ ? 0 : used_ - bytes; }

    // Frees what `roots`, the global object, the prototypes, registered
    // classes and timers do not reach. Only between action lists: objects
    // on a running script's stack are not roots.
    void collect(std::vector<Object *> roots);
    // Worth collecting: the heap grew well past what was live last time.
    bool wantsCollection() const { return used_ > kCollectFloor && used_ > liveAfterCollect_ * 2; }

    // Property access along the prototype chain, getters and setters
    // included; a primitive base is read through its class's prototype.
    Value get(Object *object, const std::string &name);
    Value getMember(const Value &base, const std::string &name);
    void set(Object *object, const std::string &name, const Value &value);
    bool has(Object *object, const std::string &name);
    bool hasOwn(Object *object, const std::string &name);
    bool remove(Object *object, const std::string &name);
    // Every enumerable name of the object and its prototypes, newest first.
    std::vector<std::string> enumerate(Object *object);

    // Conversions; objects go through valueOf and toString.
    Value toPrimitive(const Value &value, bool preferString = false);
    double toNumber(const Value &value);
    std::string toString(const Value &value);
    bool toBoolean(const Value &value) const { return value.toBooleanPrimitive(version_); }
    Object *toObject(const Value &value);
    std::string typeOf(const Value &value);

    Value call(const Value &function, const Value &self, const Args &args);
    Value callMethod(const Value &base, const std::string &name, const Args &args);
    Value construct(const Value &constructor, const Args &args);
    // The prototype chain of `value` reaches `constructor.prototype`, or
    // `constructor` is one of the interfaces declared along it.
    bool instanceOf(const Value &value, Object *constructor);

    // Equality and comparison by the rules of the movie's version.
    bool looseEquals(const Value &a, const Value &b);
    // a < b: true, false, or undefined when a number is NaN.
    Value lessThan(const Value &a, const Value &b);

    // Call depth and the frame's action budget.
    void enterCall();
    void leaveCall() { --callDepth_; }
    void setCallDepthLimit(int limit) { callDepthLimit_ = limit; }
    void countActions(uint64_t count)
    {
        if (actionsLeft_ < count)
            throw ScriptAbort{"action budget"};
        actionsLeft_ -= count;
    }
    void refillActionBudget() { actionsLeft_ = kActionsPerFrame; }

    // Where trace() writes; the clip side; the player's clock.
    std::function<void(const std::string &)> traceSink;
    ClipBinding *clips = nullptr;
    double clockMs = 0;

    std::vector<Timer> timers;
    int nextTimerId = 1;

    // Object.registerClass: linkage name -> constructor.
    std::unordered_map<std::string, Object *> registeredClasses;

    Object *global = nullptr;
    Object *objectProto = nullptr;
    Object *functionProto = nullptr;
    Object *arrayProto = nullptr;
    Object *stringProto = nullptr;
    Object *numberProto = nullptr;
    Object *booleanProto = nullptr;
    Object *clipProto = nullptr;
    Object *errorProto = nullptr;
    Object *buttonProto = nullptr;
    Object *textFieldProto = nullptr;
    Object *textFormatProto = nullptr;

private:
    Value callScript(FunctionObject *function, const Value &self, const Args &args);
    Value callGetter(Object *getter, Object *self);
    Property *findProperty(Object *object, const std::string &key, Object **holder);

    int version_;
    int callDepth_ = 0;
    int callDepthLimit_ = kDefaultCallDepth;
    uint64_t actionsLeft_ = kActionsPerFrame;
    size_t used_ = 0;
    size_t liveAfterCollect_ = 0;
    std::vector<std::unique_ptr<Object>> heap_;
};

}  // namespace swf::avm1
