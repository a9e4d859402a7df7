#pragma once
// The script machine of one player: the heap of objects, the global object
// and the built-in prototypes, property access along prototype chains,
// the conversions that may call script code, calls and constructions, and
// the limits that keep a hostile movie in check (call depth, actions per
// frame, memory). The interpreter, the built-ins and the clip binding all
// work through it. One player's thread.

#include <chrono>
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
struct Activation;
class ClipBinding;
class ScriptSounds;
class ClipBitmaps;
class SharedObjects;
class ScriptFocus;

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
    // However deep a movie asks to recurse: each level of script calls
    // takes native stack.
    static constexpr int kMaxCallDepth = 1000;
    static constexpr uint64_t kActionsPerFrame = 3'000'000;
    // A frame's scripts end after this long even if the movie allows more,
    // and after as long as the movie allows if that is less.
    static constexpr int kMaxScriptSeconds = 2;
    static constexpr size_t kMemoryLimit = size_t(128) << 20;
    static constexpr size_t kCollectFloor = size_t(8) << 20;

    explicit Machine(int version);
    ~Machine();
    Machine(const Machine &) = delete;
    Machine &operator=(const Machine &) = delete;

    int version() const { return version_; }
    // The lookup key of a name: itself from SWF 7 on, else lower case.
    std::string key(const std::string &name) const;
    // The same without a copy where none is needed: `name` itself from
    // SWF 7 on, else `scratch` holding the folded name.
    const std::string &keyOf(const std::string &name, std::string &scratch) const
    {
        if (version_ >= kCaseSensitiveVersion)
            return name;
        scratch = key(name);
        return scratch;
    }

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
    // Gives a new function its own `__proto__` and `constructor`.
    void dressFunction(FunctionObject *function);
    // A native method (or other function) on `target`, hidden from for-in.
    FunctionObject *defineMethod(Object *target, const std::string &name, NativeFunction fn,
                                 uint16_t flags = kDontEnum);
    void defineValue(Object *target, const std::string &name, const Value &value, uint16_t flags = kDontEnum);
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
    // Like get, but tells whether some object along the chain has the name
    // (a name that is there with the value undefined is found).
    bool lookup(Object *object, const std::string &name, Value &value);
    Value getMember(const Value &base, const std::string &name);
    void set(Object *object, const std::string &name, const Value &value);
    bool has(Object *object, const std::string &name);
    bool hasOwn(Object *object, const std::string &name);
    bool remove(Object *object, const std::string &name);
    // Writes `__proto__` unless it is read-only; the chain follows it.
    void assignProto(Object *object, const Value &value);
    // Every enumerable name of the object and its prototypes, newest first.
    std::vector<std::string> enumerate(Object *object);

    // Conversions; objects go through valueOf and toString.
    Value toPrimitive(const Value &value, bool preferString = false);
    double toNumber(const Value &value);
    std::string toString(const Value &value);
    bool toBoolean(const Value &value) const { return value.toBooleanPrimitive(version_); }
    Object *toObject(const Value &value);
    std::string typeOf(const Value &value);

    // `base`: the prototype the function was found on (a method's holder,
    // the class prototype of a construction); `super` inside it starts
    // there. Null: the prototype of `self`.
    Value call(const Value &function, const Value &self, const Args &args, Object *base = nullptr);
    // The object along the chain of `object` that holds `name`.
    Object *holderOf(Object *object, const std::string &name);
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
    // The movie's ScriptLimits, 0 meaning the default, each within its cap.
    void setScriptLimits(int maxRecursionDepth, int timeoutSeconds);
    int callDepthLimit() const { return callDepthLimit_; }
    double scriptSeconds() const { return scriptSeconds_; }
    void countActions(uint64_t count)
    {
        if (actionsLeft_ < count)
            throw ScriptAbort{"action budget"};
        actionsLeft_ -= count;
        // Reading the clock is dear; every few thousand actions will do.
        if ((actionsLeft_ & kClockCheckMask) == 0)
            checkDeadline();
    }
    void refillActionBudget();
    uint64_t actionsLeft() const { return actionsLeft_; }

    // Where trace() writes; the clip side; the player's clock.
    std::function<void(const std::string &)> traceSink;
    ClipBinding *clips = nullptr;
    // The sounds scripts start; null where nothing plays (a bare machine).
    ScriptSounds *scriptSounds = nullptr;
    ClipBitmaps *bitmaps = nullptr;
    // SharedObject.getLocal's files; null where there are none.
    SharedObjects *sharedObjects = nullptr;
    // The keyboard focus; null where no player keeps one (a bare machine).
    ScriptFocus *focus = nullptr;
    double clockMs = 0;
    // The action list running now (the innermost), for the calls it makes.
    Activation *running = nullptr;
    // What Date takes for now and for local time: the host's wall clock at
    // the start (0 in the tools, so that their logs repeat) and its
    // distance from UTC.
    double dateEpochMs = 0;
    int utcOffsetMinutes = 0;

    // The operand stack every action list shares: what a block or a
    // function body leaves on it, the next block or the caller may pop.
    // Emptied once a tick's scripts are done.
    std::vector<Value> stack;
    // The constant pool last set; the next timeline action list starts with it.
    PoolPtr carriedPool;

    std::vector<Timer> timers;
    int nextTimerId = 1;

    // Object.registerClass: linkage name -> constructor.
    std::unordered_map<std::string, Object *> registeredClasses;
    // Prototypes of built-in classes whose objects other built-ins make
    // ("flash.geom.Matrix"), as they were installed.
    std::unordered_map<std::string, Object *> builtinPrototypes;

    Object *global = nullptr;
    Object *objectProto = nullptr;
    Object *functionProto = nullptr;
    // The Function constructor, every function's `constructor`.
    Object *functionClass = nullptr;
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
    static constexpr int kCaseSensitiveVersion = 7;
    static constexpr uint64_t kClockCheckMask = 4095;
    void checkDeadline() const;
    void setWatched(Object *object, const std::string &name, const std::string &key, const Value &value);
    void setUnwatched(Object *object, const std::string &name, const std::string &key, const Value &value);
    Value callGetter(Object *getter, Object *self);
    Object *visibleProto(Object *object) const;
    Property *findProperty(Object *object, const std::string &key, Object **holder);

    int version_;
    // The version flags of built-ins this movie does not have.
    uint16_t hiddenFlags_;
    int callDepth_ = 0;
    int callDepthLimit_ = kDefaultCallDepth;
    uint64_t actionsLeft_ = kActionsPerFrame;
    double scriptSeconds_ = kMaxScriptSeconds;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
    size_t used_ = 0;
    size_t liveAfterCollect_ = 0;
    std::vector<std::unique_ptr<Object>> heap_;
};

}  // namespace swf::avm1
