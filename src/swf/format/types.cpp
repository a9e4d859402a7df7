#include "swf/format/types.h"

#include <algorithm>
#include <cmath>

namespace swf {

Matrix Matrix::operator*(const Matrix &in) const
{
    Matrix m;
    m.a = a * in.a + c * in.b;
    m.b = b * in.a + d * in.b;
    m.c = a * in.c + c * in.d;
    m.d = b * in.c + d * in.d;
    m.tx = a * in.tx + c * in.ty + tx;
    m.ty = b * in.tx + d * in.ty + ty;
    return m;
}

bool Matrix::operator==(const Matrix &o) const
{
    return a == o.a && b == o.b && c == o.c && d == o.d && tx == o.tx && ty == o.ty;
}

bool ColorTransform::isIdentity() const
{
    for (int i = 0; i < 4; ++i)
        if (mult[i] != 1.0f || add[i] != 0.0f)
            return false;
    return true;
}

static uint8_t clampChannel(float value)
{
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

Rgba ColorTransform::apply(const Rgba &c) const
{
    Rgba out;
    out.r = clampChannel(c.r * mult[0] + add[0]);
    out.g = clampChannel(c.g * mult[1] + add[1]);
    out.b = clampChannel(c.b * mult[2] + add[2]);
    out.a = clampChannel(c.a * mult[3] + add[3]);
    return out;
}

QColor ColorTransform::apply(const QColor &c) const
{
    Rgba in;
    in.r = static_cast<uint8_t>(c.red());
    in.g = static_cast<uint8_t>(c.green());
    in.b = static_cast<uint8_t>(c.blue());
    in.a = static_cast<uint8_t>(c.alpha());
    return apply(in).toQColor();
}

ColorTransform ColorTransform::operator*(const ColorTransform &in) const
{
    ColorTransform out;
    for (int i = 0; i < 4; ++i) {
        out.mult[i] = mult[i] * in.mult[i];
        out.add[i] = mult[i] * in.add[i] + add[i];
    }
    return out;
}

Rgba lerp(const Rgba &from, const Rgba &to, double t)
{
    auto mix = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::clamp(std::lround(x + (y - x) * t), 0L, 255L));
    };
    return Rgba{mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b), mix(from.a, to.a)};
}

Matrix lerp(const Matrix &from, const Matrix &to, double t)
{
    auto mix = [t](double x, double y) { return x + (y - x) * t; };
    return Matrix{mix(from.a, to.a), mix(from.b, to.b), mix(from.c, to.c),
                  mix(from.d, to.d), mix(from.tx, to.tx), mix(from.ty, to.ty)};
}

}  // namespace swf
