// flash.geom.Point: plain x and y, with the vector methods and the class's
// own distance, interpolate and polar.

#include <cmath>

#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

struct Xy {
    double x = 0, y = 0;
};

Xy Read(Machine &m, const Value &value)
{
    Object *object = value.object();
    if (!object)
        return {NAN, NAN};
    return {m.toNumber(m.get(object, "x")), m.toNumber(m.get(object, "y"))};
}

Value Made(Machine &m, const Xy &p) { return Value(NewPoint(m, p.x, p.y)); }

Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    m.set(object, "x", args.size() ? args[0] : Value(0.0));
    m.set(object, "y", args.size() ? args[1] : Value(0.0));
    return {};
}

Value GetLength(Machine &m, const Value &self, const Args &)
{
    const Xy p = Read(m, self);
    return Value(std::hypot(p.x, p.y));
}

Value Add(Machine &m, const Value &self, const Args &args)
{
    const Xy a = Read(m, self), b = Read(m, args[0]);
    return Made(m, {a.x + b.x, a.y + b.y});
}

Value Subtract(Machine &m, const Value &self, const Args &args)
{
    const Xy a = Read(m, self), b = Read(m, args[0]);
    return Made(m, {a.x - b.x, a.y - b.y});
}

Value Clone(Machine &m, const Value &self, const Args &)
{
    Object *object = self.object();
    if (!object)
        return {};
    Object *copy = NewPoint(m, 0, 0);
    m.set(copy, "x", m.get(object, "x"));
    m.set(copy, "y", m.get(object, "y"));
    return Value(copy);
}

Value Equals(Machine &m, const Value &self, const Args &args)
{
    Object *other = args[0].object();
    if (!other || !m.instanceOf(args[0], m.get(m.builtinPrototypes["flash.geom.Point"], "constructor").object()))
        return Value(false);
    const Xy a = Read(m, self), b = Read(m, args[0]);
    return Value(a.x == b.x && a.y == b.y);
}

Value Normalize(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    const Xy p = Read(m, self);
    const double length = std::hypot(p.x, p.y);
    if (length > 0) {
        const double factor = m.toNumber(args[0]) / length;
        m.set(object, "x", Value(p.x * factor));
        m.set(object, "y", Value(p.y * factor));
    }
    return {};
}

Value Offset(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    const Xy p = Read(m, self);
    m.set(object, "x", Value(p.x + m.toNumber(args[0])));
    m.set(object, "y", Value(p.y + m.toNumber(args[1])));
    return {};
}

Value ToStringMethod(Machine &m, const Value &self, const Args &)
{
    return Value(DescribeProperties(m, self.object(), {{"x", "x"}, {"y", "y"}}));
}

Value Distance(Machine &m, const Value &, const Args &args)
{
    const Xy a = Read(m, args[0]), b = Read(m, args[1]);
    return Value(std::hypot(a.x - b.x, a.y - b.y));
}

// f = 1 gives the first point, f = 0 the second.
Value Interpolate(Machine &m, const Value &, const Args &args)
{
    const Xy a = Read(m, args[0]), b = Read(m, args[1]);
    const double f = m.toNumber(args[2]);
    return Made(m, {b.x + f * (a.x - b.x), b.y + f * (a.y - b.y)});
}

Value Polar(Machine &m, const Value &, const Args &args)
{
    const double length = m.toNumber(args[0]), angle = m.toNumber(args[1]);
    return Made(m, {length * std::cos(angle), length * std::sin(angle)});
}

}  // namespace

Object *NewPoint(Machine &m, double x, double y)
{
    Object *object = m.make<Object>(m.builtinPrototypes["flash.geom.Point"]);
    m.set(object, "x", Value(x));
    m.set(object, "y", Value(y));
    return object;
}

void InstallPointClass(Machine &m, Object *package)
{
    Object *proto = m.newObject();
    FunctionObject *point = DefinePackageClass(m, package, "Point", "flash.geom.Point", proto, Construct);
    DefineAccessor(m, proto, "length", GetLength, nullptr, kDontEnum);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"add", Add},       {"clone", Clone},   {"equals", Equals},           {"normalize", Normalize},
        {"offset", Offset}, {"subtract", Subtract}, {"toString", ToStringMethod},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
    m.defineMethod(point, "distance", Distance);
    m.defineMethod(point, "interpolate", Interpolate);
    m.defineMethod(point, "polar", Polar);
}

}  // namespace swf::avm1
