// Object: the constructor, Object.prototype's methods and ASSetPropFlags.

#include <algorithm>
#include <cmath>
#include <iterator>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

Value ObjectCall(Machine &m, const Value &, const Args &args)
{
    if (args.size() == 0 || args[0].isNullish())
        return Value(m.newObject());
    return Value(m.toObject(args[0]));
}

Value ObjectConstruct(Machine &m, const Value &self, const Args &args)
{
    if (args.size() > 0 && !args[0].isNullish())
        return Value(m.toObject(args[0]));
    return self;
}

Value ToStringMethod(Machine &, const Value &self, const Args &)
{
    Object *object = self.object();
    if (object && object->kind() == Object::Kind::Function)
        return Value("[type Function]");
    return Value("[object Object]");
}

Value ValueOfMethod(Machine &, const Value &self, const Args &) { return self; }

Value HasOwnProperty(Machine &m, const Value &self, const Args &args)
{
    return Value(m.hasOwn(self.object(), m.toString(args[0])));
}

Value IsPropertyEnumerable(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return Value(false);
    const Property *p = object->findOwn(m.key(m.toString(args[0])));
    return Value(p && !(p->flags & kDontEnum));
}

Value IsPrototypeOf(Machine &, const Value &self, const Args &args)
{
    Object *object = args[0].object();
    int steps = 0;
    for (Object *o = object ? object->proto() : nullptr; o && steps < 256; o = o->proto(), ++steps)
        if (o == self.object())
            return Value(true);
    return Value(false);
}

Value AddProperty(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    const std::string name = m.toString(args[0]);
    auto *getter = dynamic_cast<FunctionObject *>(args[1].object());
    Object *setter = args[2].object();
    if (!object || name.empty() || !getter)
        return Value(false);
    if (!args[2].isNull() && !dynamic_cast<FunctionObject *>(setter))
        return Value(false);
    m.book(sizeof(Property) + name.size() * 2);
    Property &p = object->putOwn(m.key(name), name, Value());
    p.getter = getter;
    p.setter = setter;
    return Value(true);
}

Value WatchMethod(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    auto *callback = dynamic_cast<FunctionObject *>(args[1].object());
    if (!object || !callback || args.size() < 2)
        return Value(false);
    const std::string k = m.key(m.toString(args[0]));
    auto &watches = object->watches;
    auto it = std::find_if(watches.begin(), watches.end(), [&](const Watch &w) { return w.key == k; });
    if (it == watches.end()) {
        m.book(sizeof(Watch) + k.size());
        it = watches.insert(watches.end(), Watch{k});
    }
    it->callback = callback;
    it->userData = args[2];
    return Value(true);
}

Value UnwatchMethod(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object || args.size() == 0)
        return Value(false);
    const std::string k = m.key(m.toString(args[0]));
    auto &watches = object->watches;
    auto it = std::find_if(watches.begin(), watches.end(), [&](const Watch &w) { return w.key == k; });
    if (it == watches.end())
        return Value(false);
    watches.erase(it);
    return Value(true);
}

Value RegisterClass(Machine &m, const Value &, const Args &args)
{
    if (args.size() < 2)
        return Value(false);
    m.registeredClasses[m.toString(args[0])] = args[1].object();
    return Value(true);
}

// The names a flags call applies to: all (null), a comma list or an array.
std::vector<std::string> FlagNames(Machine &m, Object *object, const Value &names)
{
    std::vector<std::string> list;
    if (names.isNull()) {
        for (const Property *p : object->ownNewestFirst())
            list.push_back(p->name);
    } else if (auto *array = dynamic_cast<ArrayObject *>(names.object())) {
        for (const Value &v : array->elements)
            list.push_back(m.toString(v));
    } else {
        const std::string text = m.toString(names);
        size_t start = 0;
        while (start <= text.size()) {
            const size_t comma = std::min(text.find(',', start), text.size());
            list.push_back(text.substr(start, comma - start));
            start = comma + 1;
        }
    }
    return list;
}

Value AsSetPropFlags(Machine &m, const Value &, const Args &args)
{
    Object *object = args[0].object();
    if (!object)
        return {};
    const auto set = uint16_t(ToInt32(m.toNumber(args[2])));
    const auto clear = uint16_t(ToInt32(m.toNumber(args[3])));
    for (const std::string &name : FlagNames(m, object, args[1]))
        if (Property *p = object->findOwn(m.key(name)))
            p->flags = uint16_t((p->flags & ~clear) | set);
    return {};
}

}  // namespace

int ToFlags(Machine &m, const Value &value)
{
    const double n = m.toNumber(value);
    return ToInt32(n) & 0xff;
}

// ASnative(101, n): Object's natives by the player's numbers, the way
// movies reach methods their version does not show.
Value AsNative(Machine &m, const Value &, const Args &args)
{
    static const char *const kObjectNatives[] = {"watch",    "unwatch",        "addProperty",   "valueOf",
                                                 "toString", "hasOwnProperty", "isPrototypeOf", "isPropertyEnumerable"};
    constexpr double kObjectTable = 101;
    const double index = m.toNumber(args[1]);
    if (m.toNumber(args[0]) != kObjectTable || !(index >= 0 && index < std::size(kObjectNatives))
        || index != std::floor(index))
        return {};
    const Property *native = m.objectProto->findOwn(m.key(kObjectNatives[size_t(index)]));
    return native ? native->value : Value();
}

void InstallObjectClass(Machine &m)
{
    FunctionObject *object = DefineClass(m, "Object", m.objectProto, ObjectCall, ObjectConstruct);
    m.defineMethod(m.objectProto, "toString", ToStringMethod);
    m.defineMethod(m.objectProto, "valueOf", ValueOfMethod);
    // The rest came with SWF 6: older movies do not see them.
    const std::pair<const char *, NativeFunction> laterMethods[] = {
        {"watch", WatchMethod},
        {"unwatch", UnwatchMethod},
        {"addProperty", AddProperty},
        {"hasOwnProperty", HasOwnProperty},
        {"isPropertyEnumerable", IsPropertyEnumerable},
        {"isPrototypeOf", IsPrototypeOf},
    };
    for (const auto &[name, method] : laterMethods)
        m.defineMethod(m.objectProto, name, method, kDontEnum | kVersion6Up);
    m.defineMethod(object, "registerClass", RegisterClass);
    m.defineMethod(m.global, "ASSetPropFlags", AsSetPropFlags);
    m.defineMethod(m.global, "ASnative", AsNative);
}

}  // namespace swf::avm1
