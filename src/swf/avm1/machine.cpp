#include "swf/avm1/machine.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/clipreference.h"
#include "swf/avm1/interpreter.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/textutil.h"

namespace swf::avm1 {

namespace {

uint16_t HiddenFlags(int version)
{
    if (version <= 5)
        return kVersion6Up | kVersion7Up | kVersion8Up | kVersion9Up;
    if (version == 6)
        return kNotVersion6 | kVersion7Up | kVersion8Up | kVersion9Up;
    if (version == 7)
        return kVersion8Up | kVersion9Up;
    return version == 8 ? kVersion9Up : 0;
}

// Prototype chains longer than this are treated as ending (a chain may be
// made circular by a script).
constexpr int kChainLimit = 256;

// The `__proto__` flags that end the chain for instanceof: any version
// flag below SWF 6, only the next version's flag from SWF 6 on.
uint16_t InstanceOfCut(int version)
{
    switch (version) {
    case 6:
        return kVersion7Up;
    case 7:
        return kVersion8Up;
    case 8:
        return kVersion9Up;
    default:
        return version <= 5 ? HiddenFlags(version) : 0;
    }
}

}  // namespace

Machine::Machine(int version) : version_(version), hiddenFlags_(HiddenFlags(version))
{
    InstallBuiltins(*this);
}

Machine::~Machine() = default;

std::string Machine::key(const std::string &name) const
{
    if (version_ >= kCaseSensitiveVersion)
        return name;
    // Letters beyond ASCII fold too.
    const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
    return ascii ? AsciiLower(name) : FoldNameCase(name);
}

void Machine::book(size_t bytes)
{
    if (bytes > kMemoryLimit - used_)
        throw ScriptAbort{"memory"};
    used_ += bytes;
}

ArrayObject *Machine::newArray(std::vector<Value> elements)
{
    ArrayObject *array = make<ArrayObject>(arrayProto);
    book(elements.size() * sizeof(Value));
    array->elements = std::move(elements);
    return array;
}

FunctionObject *Machine::newNative(NativeFunction fn, NativeFunction constructor)
{
    FunctionObject *function = make<FunctionObject>(functionProto, fn);
    function->constructor = constructor;
    dressFunction(function);
    return function;
}

// Every function, built-in or script, holds its own `__proto__` and
// `constructor`, both hidden and permanent. Movies before SWF 6 can
// neither read the first nor inherit through it (see visibleProto).
void Machine::dressFunction(FunctionObject *function)
{
    constexpr uint16_t kHiddenPermanent = kDontEnum | kDontDelete;
    if (Property *proto = function->findOwn(kProtoName))
        proto->flags = kHiddenPermanent | kVersion6Up;
    // The Function constructor itself is made before it can be named.
    Object *maker = functionClass ? functionClass : function;
    function->putOwn(key("constructor"), "constructor", Value(maker), kHiddenPermanent);
}

FunctionObject *Machine::defineMethod(Object *target, const std::string &name, NativeFunction fn, uint16_t flags)
{
    FunctionObject *function = newNative(fn);
    // A built-in of a later player is there for older movies too, but
    // hidden from them (lookups pass it by) until its flags are cleared.
    target->putOwn(key(name), name, Value(function), flags);
    return function;
}

void Machine::defineValue(Object *target, const std::string &name, const Value &value, uint16_t flags)
{
    target->putOwn(key(name), name, value, flags);
}

Property *Machine::findProperty(Object *object, const std::string &key, Object **holder)
{
    int steps = 0;
    for (Object *o = object; o && steps < kChainLimit; o = o->proto(), ++steps) {
        if (Property *p = o->findOwn(key)) {
            if (holder)
                *holder = o;
            return p;
        }
    }
    return nullptr;
}

// A link this movie cannot see (a function's, before SWF 6) is not
// followed by lookups past the object that holds it.
Object *Machine::visibleProto(Object *object) const
{
    if (object->kind() != Object::Kind::Function || !hiddenFlags_)
        return object->proto();
    const Property *p = object->findOwn(kProtoName);
    return p && (p->flags & hiddenFlags_) ? nullptr : object->proto();
}

Value Machine::callGetter(Object *getter, Object *self)
{
    return call(Value(getter), Value(self), Args());
}

Value Machine::get(Object *object, const std::string &name)
{
    if (!object)
        return {};
    if (name == kProtoName) {
        // Never inherited: a hidden or deleted link reads as nothing.
        const Property *p = object->findOwn(kProtoName);
        return p && !(p->flags & hiddenFlags_) && !p->isAccessor() ? p->value : Value();
    }
    Value value;
    lookup(object, name, value);
    return value;
}

bool Machine::lookup(Object *object, const std::string &name, Value &value)
{
    std::string scratch;
    const std::string &k = keyOf(name, scratch);
    int steps = 0;
    for (Object *o = object; o && steps < kChainLimit; o = visibleProto(o), ++steps) {
        bool found = false;
        Value special = o->getSpecial(*this, name, found);
        if (found) {
            value = std::move(special);
            return true;
        }
        Property *p = o->findOwn(k);
        // A property of a later player is not there for this movie.
        if (p && !(p->flags & hiddenFlags_)) {
            value = p->isAccessor() ? callGetter(p->getter, object) : p->value;
            return true;
        }
    }
    return false;
}

Value Machine::getMember(const Value &base, const std::string &name)
{
    switch (base.type()) {
    case Value::Type::Object: {
        Object *object = base.object();
        if (IsClipKind(object))
            object = CurrentClip(*this, static_cast<ClipObject *>(object));
        return object ? CurrentValue(*this, get(object, name)) : Value();
    }
    case Value::Type::String:
        if (name == "length")
            return Value(double(StringLength(base.string())));
        return get(stringProto, name);
    case Value::Type::Number:
        return get(numberProto, name);
    case Value::Type::Boolean:
        return get(booleanProto, name);
    default:
        return {};
    }
}

void Machine::set(Object *object, const std::string &name, const Value &value)
{
    if (!object)
        return;
    if (name == kProtoName)
        return assignProto(object, value);
    std::string scratch;
    const std::string &k = keyOf(name, scratch);
    if (!object->watches.empty())
        return setWatched(object, name, k, value);
    setUnwatched(object, name, k, value);
}

void Machine::assignProto(Object *object, const Value &value)
{
    const Property *p = object->findOwn(kProtoName);
    if (p && (p->flags & kReadOnly))
        return;
    object->putOwn(kProtoName, kProtoName, value);
}

void Machine::setWatched(Object *object, const std::string &name, const std::string &k, const Value &value)
{
    auto watch = std::find_if(object->watches.begin(), object->watches.end(),
                              [&](const Watch &w) { return w.key == k && !w.running; });
    if (watch == object->watches.end())
        return setUnwatched(object, name, k, value);
    const size_t index = size_t(watch - object->watches.begin());
    Object *callback = watch->callback;
    const Value userData = watch->userData;
    const Value old = get(object, name);
    watch->running = true;
    // The callback may add or remove watches: ours is found again by place.
    struct Done {
        Object *object;
        size_t index;
        ~Done()
        {
            if (index < object->watches.size())
                object->watches[index].running = false;
        }
    } done{object, index};
    Value stored;
    try {
        stored = call(Value(callback), Value(object), Args({Value(name), old, value, userData}));
    } catch (const ScriptThrow &) {
        // A callback that throws still leaves its (undefined) answer behind.
        setUnwatched(object, name, k, Value());
        throw;
    }
    setUnwatched(object, name, k, stored);
}

void Machine::setUnwatched(Object *object, const std::string &name, const std::string &k, const Value &value)
{
    if (object->setSpecial(*this, name, value))
        return;
    Object *holder = nullptr;
    Property *p = findProperty(object, k, &holder);
    // A property of a later player neither runs its setter nor refuses.
    if (p && (p->flags & hiddenFlags_))
        p = nullptr;
    if (p && p->isAccessor()) {
        if (p->setter)
            call(Value(p->setter), Value(object), Args({value}));
        return;
    }
    if (p && holder == object) {
        if (!(p->flags & kReadOnly))
            p->value = value;
        return;
    }
    book(sizeof(Property) + name.size() * 2 + 32);
    object->putOwn(k, name, value);
}

bool Machine::hasOwn(Object *object, const std::string &name)
{
    if (!object)
        return false;
    bool found = false;
    object->getSpecial(*this, name, found);
    std::string scratch;
    return found || object->findOwn(keyOf(name, scratch)) != nullptr;
}

bool Machine::has(Object *object, const std::string &name)
{
    int steps = 0;
    for (Object *o = object; o && steps < kChainLimit; o = o->proto(), ++steps)
        if (hasOwn(o, name))
            return true;
    return false;
}

bool Machine::remove(Object *object, const std::string &name)
{
    if (!object)
        return false;
    const std::string k = key(name);
    Property *p = object->findOwn(k);
    if (!p || (p->flags & kDontDelete))
        return false;
    return object->removeOwn(k);
}

// The player lists the farthest prototype's names first, each object's
// newest first; a name shadowed by a nearer object comes where that one
// lists it.
std::vector<std::string> Machine::enumerate(Object *object)
{
    std::vector<std::vector<std::string>> levels;
    std::vector<std::string> seen;
    int steps = 0;
    for (Object *o = object; o && steps < kChainLimit; o = o->proto(), ++steps) {
        std::vector<std::string> own;
        o->enumerateSpecial(own);
        for (const Property *p : o->ownNewestFirst())
            if (!(p->flags & kDontEnum))
                own.push_back(p->name);
        std::vector<std::string> &level = levels.emplace_back();
        for (std::string &name : own) {
            const std::string k = key(name);
            if (std::find(seen.begin(), seen.end(), k) != seen.end())
                continue;
            seen.push_back(k);
            level.push_back(std::move(name));
        }
    }
    std::vector<std::string> names;
    for (auto level = levels.rbegin(); level != levels.rend(); ++level)
        names.insert(names.end(), std::make_move_iterator(level->begin()), std::make_move_iterator(level->end()));
    return names;
}

Value Machine::toPrimitive(const Value &value, bool preferString)
{
    Object *object = value.object();
    if (!object)
        return value;
    if (auto *clip = dynamic_cast<ClipObject *>(object)) {
        ClipObject *current = CurrentClip(*this, clip);
        return Value(current ? current->targetPath() : std::string());
    }
    if (auto *field = dynamic_cast<TextFieldObject *>(object))
        return Value(field->targetPath());
    const char *first = preferString ? "toString" : "valueOf";
    const char *second = preferString ? "valueOf" : "toString";
    for (const char *method : {first, second}) {
        Value fn = get(object, method);
        if (fn.object() && fn.object()->kind() == Object::Kind::Function) {
            // A clip counts as a primitive here: it converts to its path.
            Value result = call(fn, value, Args());
            if (!result.isObject())
                return result;
            if (auto *clip = dynamic_cast<ClipObject *>(result.object()))
                return Value(clip->targetPath());
        }
    }
    if (object->kind() == Object::Kind::Function)
        return Value("[type Function]");
    return Value("[type Object]");
}

double Machine::toNumber(const Value &value)
{
    if (!value.isObject())
        return value.toNumberPrimitive(version_);
    // A number is asked of valueOf alone: an object that answers with an
    // object (a clip answers with itself) is no number.
    const Value primitive = callMethod(value, "valueOf", Args());
    return primitive.isObject() ? NAN : primitive.toNumberPrimitive(version_);
}

std::string Machine::toString(const Value &value)
{
    if (!value.isObject())
        return value.toStringPrimitive(version_);
    return toPrimitive(value, true).toStringPrimitive(version_);
}

Object *Machine::toObject(const Value &value)
{
    switch (value.type()) {
    case Value::Type::Object:
        return value.object();
    case Value::Type::String:
    case Value::Type::Number:
    case Value::Type::Boolean: {
        Object *proto = value.isString() ? stringProto : value.isNumber() ? numberProto : booleanProto;
        const Object::Kind kind = value.isString()   ? Object::Kind::String
                                  : value.isNumber() ? Object::Kind::Number
                                                     : Object::Kind::Boolean;
        Object *boxed = make<Object>(proto, kind);
        boxed->primitive = value;
        return boxed;
    }
    default:
        return nullptr;
    }
}

std::string Machine::typeOf(const Value &value)
{
    Object *object = value.object();
    if (!object)
        return value.typeName();
    if (object->kind() == Object::Kind::Function)
        return "function";
    if (object->kind() == Object::Kind::Clip)
        return "movieclip";
    // A button's object is a plain object to typeof.
    return "object";
}

void Machine::setScriptLimits(int maxRecursionDepth, int timeoutSeconds)
{
    callDepthLimit_ = maxRecursionDepth > 0 ? std::min(maxRecursionDepth, kMaxCallDepth) : kDefaultCallDepth;
    scriptSeconds_ = timeoutSeconds > 0 ? std::min(timeoutSeconds, kMaxScriptSeconds) : kMaxScriptSeconds;
}

void Machine::refillActionBudget()
{
    actionsLeft_ = kActionsPerFrame;
    deadline_ = std::chrono::steady_clock::now()
                + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    std::chrono::duration<double>(scriptSeconds_));
}

void Machine::checkDeadline() const
{
    if (std::chrono::steady_clock::now() > deadline_)
        throw ScriptAbort{"time"};
}

void Machine::enterCall()
{
    if (callDepth_ >= callDepthLimit_)
        throw ScriptAbort{"recursion"};
    ++callDepth_;
}

Value Machine::call(const Value &function, const Value &self, const Args &args, Object *base)
{
    auto *fn = dynamic_cast<FunctionObject *>(function.object());
    if (!fn)
        return {};
    enterCall();
    struct Leave {
        Machine &m;
        ~Leave() { m.leaveCall(); }
    } leave{*this};
    if (fn->isNative())
        return fn->native()(*this, self, args);
    return RunFunction(*this, fn, self, args, base);
}

Value Machine::callMethod(const Value &base, const std::string &name, const Args &args)
{
    const Value self = CurrentValue(*this, base);
    Object *object = self.object();
    return call(getMember(self, name), self, args, object ? holderOf(object, name) : nullptr);
}

Object *Machine::holderOf(Object *object, const std::string &name)
{
    std::string scratch;
    const std::string &k = keyOf(name, scratch);
    int steps = 0;
    for (Object *o = object; o && steps < kChainLimit; o = o->proto(), ++steps) {
        bool found = false;
        o->getSpecial(*this, name, found);
        if (found || o->findOwn(k))
            return o;
    }
    return nullptr;
}

Value Machine::construct(const Value &constructor, const Args &args)
{
    auto *fn = dynamic_cast<FunctionObject *>(constructor.object());
    if (!fn)
        return {};
    Value protoValue = get(fn, "prototype");
    Object *instance = make<Object>(protoValue.object() ? protoValue.object() : objectProto);
    defineValue(instance, "__constructor__", Value(fn), kDontEnum | kVersion6Up);
    if (version_ < 7)
        defineValue(instance, "constructor", Value(fn), kDontEnum);
    if (fn->constructor) {
        enterCall();
        struct Leave {
            Machine &m;
            ~Leave() { m.leaveCall(); }
        } leave{*this};
        Value made = fn->constructor(*this, Value(instance), args);
        // A class that refuses its arguments answers null: `new` gives undefined.
        if (made.isNull())
            return {};
        return made.isObject() ? made : Value(instance);
    }
    Value result = call(constructor, Value(instance), args, instance->proto());
    if (fn->isNative() && result.isObject())
        return result;
    return Value(instance);
}

bool Machine::instanceOf(const Value &value, Object *constructor)
{
    Object *object = value.object();
    if (!object || !constructor)
        return false;
    Object *proto = get(constructor, "prototype").object();
    const uint16_t cut = InstanceOfCut(version_);
    int steps = 0;
    for (Object *o = object; o && !(o->protoFlags() & cut) && steps < kChainLimit; ++steps) {
        o = o->proto();
        if (!o)
            break;
        if (o == proto)
            return true;
        for (Object *declared : o->interfaces)
            if (declared == constructor || get(declared, "prototype").object() == proto)
                return true;
    }
    return false;
}

}  // namespace swf::avm1
