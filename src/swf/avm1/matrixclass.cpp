// flash.geom.Matrix: six plain properties (a, b, c, d, tx, ty) that the
// methods read and write as scripts would, so that a script's own object
// with those properties works too.

#include <cmath>

#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

constexpr const char *kNames[6] = {"a", "b", "c", "d", "tx", "ty"};
// A gradient box maps the 1638.4-twip gradient square onto the box.
constexpr double kGradientSquare = 1638.4;

struct Numbers {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

Numbers Read(Machine &m, Object *object)
{
    double v[6];
    for (int i = 0; i < 6; ++i)
        v[i] = m.toNumber(m.get(object, kNames[i]));
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

void Write(Machine &m, Object *object, const Numbers &n)
{
    const double v[6] = {n.a, n.b, n.c, n.d, n.tx, n.ty};
    for (int i = 0; i < 6; ++i)
        m.set(object, kNames[i], Value(v[i]));
}

// First `first`, then `then`.
Numbers Concatenated(const Numbers &first, const Numbers &then)
{
    return {first.a * then.a + first.b * then.c,
            first.a * then.b + first.b * then.d,
            first.c * then.a + first.d * then.c,
            first.c * then.b + first.d * then.d,
            first.tx * then.a + first.ty * then.c + then.tx,
            first.tx * then.b + first.ty * then.d + then.ty};
}

double NumberArg(Machine &m, const Args &args, size_t i)
{
    return i < args.size() ? m.toNumber(args[i]) : 0.0;
}

Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    if (args.size() == 0) {
        Write(m, object, Numbers());
        return {};
    }
    for (size_t i = 0; i < 6; ++i)
        m.set(object, kNames[i], args[i]);
    return {};
}

Value Clone(Machine &m, const Value &self, const Args &)
{
    Object *object = self.object();
    if (!object)
        return {};
    Object *copy = m.make<Object>(m.builtinPrototypes["flash.geom.Matrix"]);
    for (const char *name : kNames)
        m.set(copy, name, m.get(object, name));
    return Value(copy);
}

Value Concat(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    Object *other = args[0].object();
    if (object && other)
        Write(m, object, Concatenated(Read(m, object), Read(m, other)));
    return {};
}

Numbers Box(double scaleX, double scaleY, double rotation, double tx, double ty)
{
    const double cosine = std::cos(rotation), sine = std::sin(rotation);
    return {cosine * scaleX, sine * scaleX, -sine * scaleY, cosine * scaleY, tx, ty};
}

Value CreateBox(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object())
        Write(m, object,
              Box(NumberArg(m, args, 0), NumberArg(m, args, 1), NumberArg(m, args, 2), NumberArg(m, args, 3),
                  NumberArg(m, args, 4)));
    return {};
}

Value CreateGradientBox(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    const double width = NumberArg(m, args, 0), height = NumberArg(m, args, 1);
    Write(m, object,
          Box(width / kGradientSquare, height / kGradientSquare, NumberArg(m, args, 2),
              NumberArg(m, args, 3) + width / 2, NumberArg(m, args, 4) + height / 2));
    return {};
}

Value MapPoint(Machine &m, const Value &self, const Args &args, bool translate)
{
    Object *object = self.object();
    Object *point = args[0].object();
    if (!object || !point)
        return {};
    const Numbers n = Read(m, object);
    const double x = m.toNumber(m.get(point, "x")), y = m.toNumber(m.get(point, "y"));
    return Value(NewPoint(m, n.a * x + n.c * y + (translate ? n.tx : 0), n.b * x + n.d * y + (translate ? n.ty : 0)));
}

Value DeltaTransformPoint(Machine &m, const Value &self, const Args &args) { return MapPoint(m, self, args, false); }
Value TransformPoint(Machine &m, const Value &self, const Args &args) { return MapPoint(m, self, args, true); }

Value Identity(Machine &m, const Value &self, const Args &)
{
    if (Object *object = self.object())
        Write(m, object, Numbers());
    return {};
}

// A matrix without an inverse becomes the identity.
Value Invert(Machine &m, const Value &self, const Args &)
{
    Object *object = self.object();
    if (!object)
        return {};
    const Numbers n = Read(m, object);
    const double det = n.a * n.d - n.b * n.c;
    if (det == 0 || !std::isfinite(det)) {
        Write(m, object, Numbers());
        return {};
    }
    Write(m, object,
          {n.d / det, -n.b / det, -n.c / det, n.a / det, (n.c * n.ty - n.d * n.tx) / det,
           (n.b * n.tx - n.a * n.ty) / det});
    return {};
}

Value Rotate(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object())
        Write(m, object, Concatenated(Read(m, object), Box(1, 1, NumberArg(m, args, 0), 0, 0)));
    return {};
}

Value Scale(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object())
        Write(m, object,
              Concatenated(Read(m, object), {NumberArg(m, args, 0), 0, 0, NumberArg(m, args, 1), 0, 0}));
    return {};
}

Value Translate(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    Numbers n = Read(m, object);
    n.tx += NumberArg(m, args, 0);
    n.ty += NumberArg(m, args, 1);
    Write(m, object, n);
    return {};
}

Value ToStringMethod(Machine &m, const Value &self, const Args &)
{
    return Value(DescribeProperties(m, self.object(),
                                    {{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}, {"tx", "tx"}, {"ty", "ty"}}));
}

}  // namespace

Object *NewMatrix(Machine &m, const Matrix &matrix)
{
    Object *object = m.make<Object>(m.builtinPrototypes["flash.geom.Matrix"]);
    Write(m, object, {matrix.a, matrix.b, matrix.c, matrix.d, matrix.tx / 20.0, matrix.ty / 20.0});
    return object;
}

bool ReadMatrix(Machine &m, Object *object, Matrix &matrix)
{
    if (!object)
        return false;
    for (const char *name : kNames)
        if (m.get(object, name).isUndefined())
            return false;
    const Numbers n = Read(m, object);
    matrix = Matrix{n.a, n.b, n.c, n.d, n.tx * 20.0, n.ty * 20.0};
    return true;
}

void InstallMatrixClass(Machine &m, Object *package)
{
    Object *proto = m.newObject();
    DefinePackageClass(m, package, "Matrix", "flash.geom.Matrix", proto, Construct);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"clone", Clone},
        {"concat", Concat},
        {"createBox", CreateBox},
        {"createGradientBox", CreateGradientBox},
        {"deltaTransformPoint", DeltaTransformPoint},
        {"identity", Identity},
        {"invert", Invert},
        {"rotate", Rotate},
        {"scale", Scale},
        {"toString", ToStringMethod},
        {"transformPoint", TransformPoint},
        {"translate", Translate},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
}

}  // namespace swf::avm1
