// flash.geom.Rectangle: plain x, y, width and height; the edges and corners
// are accessors on the prototype computed from them.

#include <algorithm>
#include <cmath>

#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

struct Box {
    double x = 0, y = 0, width = 0, height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool empty() const { return !(width > 0 && height > 0); }
};

Box Read(Machine &m, const Value &value)
{
    Object *object = value.object();
    if (!object)
        return {NAN, NAN, NAN, NAN};
    return {m.toNumber(m.get(object, "x")), m.toNumber(m.get(object, "y")), m.toNumber(m.get(object, "width")),
            m.toNumber(m.get(object, "height"))};
}

void Write(Machine &m, Object *object, const Box &box)
{
    m.set(object, "x", Value(box.x));
    m.set(object, "y", Value(box.y));
    m.set(object, "width", Value(box.width));
    m.set(object, "height", Value(box.height));
}

Value Made(Machine &m, const Box &box) { return Value(NewRectangle(m, box.x, box.y, box.width, box.height)); }

double PointPart(Machine &m, const Value &point, const char *name)
{
    return m.toNumber(point.object() ? m.get(point.object(), name) : Value());
}

// Changes the box through `change` and writes it back.
template <class F> Value Change(Machine &m, const Value &self, F &&change)
{
    Object *object = self.object();
    if (!object)
        return {};
    Box box = Read(m, self);
    change(box);
    Write(m, object, box);
    return {};
}

Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    if (args.size() == 0) {
        Write(m, object, Box());
        return {};
    }
    const char *names[] = {"x", "y", "width", "height"};
    for (size_t i = 0; i < 4; ++i)
        m.set(object, names[i], args[i]);
    return {};
}

Value GetLeft(Machine &m, const Value &self, const Args &) { return Value(Read(m, self).x); }
Value GetTop(Machine &m, const Value &self, const Args &) { return Value(Read(m, self).y); }
Value GetRight(Machine &m, const Value &self, const Args &) { return Value(Read(m, self).right()); }
Value GetBottom(Machine &m, const Value &self, const Args &) { return Value(Read(m, self).bottom()); }

Value GetSize(Machine &m, const Value &self, const Args &)
{
    const Box box = Read(m, self);
    return Value(NewPoint(m, box.width, box.height));
}

Value GetTopLeft(Machine &m, const Value &self, const Args &)
{
    const Box box = Read(m, self);
    return Value(NewPoint(m, box.x, box.y));
}

Value GetBottomRight(Machine &m, const Value &self, const Args &)
{
    const Box box = Read(m, self);
    return Value(NewPoint(m, box.right(), box.bottom()));
}

// Moving an edge keeps the opposite one where it is.
Value SetLeft(Machine &m, const Value &self, const Args &args)
{
    const double v = m.toNumber(args[0]);
    return Change(m, self, [&](Box &b) { b.width += b.x - v, b.x = v; });
}

Value SetTop(Machine &m, const Value &self, const Args &args)
{
    const double v = m.toNumber(args[0]);
    return Change(m, self, [&](Box &b) { b.height += b.y - v, b.y = v; });
}

Value SetRight(Machine &m, const Value &self, const Args &args)
{
    const double v = m.toNumber(args[0]);
    return Change(m, self, [&](Box &b) { b.width = v - b.x; });
}

Value SetBottom(Machine &m, const Value &self, const Args &args)
{
    const double v = m.toNumber(args[0]);
    return Change(m, self, [&](Box &b) { b.height = v - b.y; });
}

Value SetSize(Machine &m, const Value &self, const Args &args)
{
    const double w = PointPart(m, args[0], "x"), h = PointPart(m, args[0], "y");
    return Change(m, self, [&](Box &b) { b.width = w, b.height = h; });
}

Value SetTopLeft(Machine &m, const Value &self, const Args &args)
{
    const double x = PointPart(m, args[0], "x"), y = PointPart(m, args[0], "y");
    return Change(m, self, [&](Box &b) { b.width += b.x - x, b.height += b.y - y, b.x = x, b.y = y; });
}

Value SetBottomRight(Machine &m, const Value &self, const Args &args)
{
    const double x = PointPart(m, args[0], "x"), y = PointPart(m, args[0], "y");
    return Change(m, self, [&](Box &b) { b.width = x - b.x, b.height = y - b.y; });
}

Value Clone(Machine &m, const Value &self, const Args &)
{
    Object *object = self.object();
    if (!object)
        return {};
    Object *copy = NewRectangle(m, 0, 0, 0, 0);
    for (const char *name : {"x", "y", "width", "height"})
        m.set(copy, name, m.get(object, name));
    return Value(copy);
}

bool Inside(const Box &box, double x, double y)
{
    return x >= box.x && x < box.right() && y >= box.y && y < box.bottom();
}

Value Contains(Machine &m, const Value &self, const Args &args)
{
    return Value(Inside(Read(m, self), m.toNumber(args[0]), m.toNumber(args[1])));
}

Value ContainsPoint(Machine &m, const Value &self, const Args &args)
{
    return Value(Inside(Read(m, self), PointPart(m, args[0], "x"), PointPart(m, args[0], "y")));
}

Value ContainsRectangle(Machine &m, const Value &self, const Args &args)
{
    const Box a = Read(m, self), b = Read(m, args[0]);
    return Value(b.x >= a.x && b.y >= a.y && b.right() <= a.right() && b.bottom() <= a.bottom());
}

Value Equals(Machine &m, const Value &self, const Args &args)
{
    if (!args[0].object())
        return Value(false);
    const Box a = Read(m, self), b = Read(m, args[0]);
    return Value(a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height);
}

Value Inflate(Machine &m, const Value &self, const Args &args)
{
    const double dx = m.toNumber(args[0]), dy = m.toNumber(args[1]);
    return Change(m, self, [&](Box &b) { b.x -= dx, b.width += 2 * dx, b.y -= dy, b.height += 2 * dy; });
}

Value InflatePoint(Machine &m, const Value &self, const Args &args)
{
    const double dx = PointPart(m, args[0], "x"), dy = PointPart(m, args[0], "y");
    return Change(m, self, [&](Box &b) { b.x -= dx, b.width += 2 * dx, b.y -= dy, b.height += 2 * dy; });
}

Box Intersected(const Box &a, const Box &b)
{
    const double left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    const double right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    if (!(right > left && bottom > top))
        return Box();
    return {left, top, right - left, bottom - top};
}

Value Intersection(Machine &m, const Value &self, const Args &args)
{
    return Made(m, Intersected(Read(m, self), Read(m, args[0])));
}

Value Intersects(Machine &m, const Value &self, const Args &args)
{
    return Value(!Intersected(Read(m, self), Read(m, args[0])).empty());
}

Value IsEmpty(Machine &m, const Value &self, const Args &) { return Value(Read(m, self).empty()); }

Value Offset(Machine &m, const Value &self, const Args &args)
{
    const double dx = m.toNumber(args[0]), dy = m.toNumber(args[1]);
    return Change(m, self, [&](Box &b) { b.x += dx, b.y += dy; });
}

Value OffsetPoint(Machine &m, const Value &self, const Args &args)
{
    const double dx = PointPart(m, args[0], "x"), dy = PointPart(m, args[0], "y");
    return Change(m, self, [&](Box &b) { b.x += dx, b.y += dy; });
}

Value SetEmpty(Machine &m, const Value &self, const Args &)
{
    return Change(m, self, [](Box &b) { b = Box(); });
}

// An empty rectangle adds nothing to a union.
Value Union(Machine &m, const Value &self, const Args &args)
{
    const Box a = Read(m, self), b = Read(m, args[0]);
    if (a.empty())
        return Made(m, b);
    if (b.empty())
        return Made(m, a);
    const double left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    return Made(m, {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top});
}

Value ToStringMethod(Machine &m, const Value &self, const Args &)
{
    return Value(DescribeProperties(m, self.object(), {{"x", "x"}, {"y", "y"}, {"w", "width"}, {"h", "height"}}));
}

}  // namespace

Object *NewRectangle(Machine &m, double x, double y, double width, double height)
{
    Object *object = m.make<Object>(m.builtinPrototypes["flash.geom.Rectangle"]);
    Write(m, object, {x, y, width, height});
    return object;
}

void InstallRectangleClass(Machine &m, Object *package)
{
    Object *proto = m.newObject();
    DefinePackageClass(m, package, "Rectangle", "flash.geom.Rectangle", proto, Construct);
    const struct {
        const char *name;
        NativeFunction get, set;
    } accessors[] = {
        {"left", GetLeft, SetLeft},     {"top", GetTop, SetTop},
        {"right", GetRight, SetRight},  {"bottom", GetBottom, SetBottom},
        {"size", GetSize, SetSize},     {"topLeft", GetTopLeft, SetTopLeft},
        {"bottomRight", GetBottomRight, SetBottomRight},
    };
    for (const auto &accessor : accessors)
        DefineAccessor(m, proto, accessor.name, accessor.get, accessor.set, kDontEnum);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"clone", Clone},
        {"contains", Contains},
        {"containsPoint", ContainsPoint},
        {"containsRectangle", ContainsRectangle},
        {"equals", Equals},
        {"inflate", Inflate},
        {"inflatePoint", InflatePoint},
        {"intersection", Intersection},
        {"intersects", Intersects},
        {"isEmpty", IsEmpty},
        {"offset", Offset},
        {"offsetPoint", OffsetPoint},
        {"setEmpty", SetEmpty},
        {"toString", ToStringMethod},
        {"union", Union},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
}

}  // namespace swf::avm1
