#pragma once
// Plain value types shared by every stage of the engine: rectangles and
// matrices in twips, colours, colour transforms.

#include <QColor>
#include <QRectF>
#include <QTransform>
#include <cstdint>

namespace swf {

constexpr double kTwipsPerPixel = 20.0;

struct Rect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;

    bool isEmpty() const { return xMax <= xMin || yMax <= yMin; }
    QRectF toQRectF() const { return QRectF(xMin, yMin, double(xMax) - xMin, double(yMax) - yMin); }
};

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;

    QColor toQColor() const { return QColor(r, g, b, a); }
    bool operator==(const Rgba &o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba &o) const { return !(*this == o); }
};

// Maps character coordinates to parent coordinates, both in twips:
//   x' = a*x + c*y + tx,  y' = b*x + d*y + ty
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    QTransform toQTransform() const { return QTransform(a, b, c, d, tx, ty); }
    // this * inner: first inner, then this.
    Matrix operator*(const Matrix &inner) const;
    bool operator==(const Matrix &o) const;
};

// Flash colour transform: each channel becomes channel * mult + add,
// clamped to 0..255. mult is 1.0 for identity, add is in 0..255 units.
struct ColorTransform {
    float mult[4] = {1, 1, 1, 1};  // r, g, b, a
    float add[4] = {0, 0, 0, 0};

    bool isIdentity() const;
    Rgba apply(const Rgba &c) const;
    QColor apply(const QColor &c) const;
    // this applied after inner.
    ColorTransform operator*(const ColorTransform &inner) const;
    // Interpolation for morphs and similar; t in 0..1.
    static ColorTransform identity() { return ColorTransform(); }
};

Rgba lerp(const Rgba &from, const Rgba &to, double t);
Matrix lerp(const Matrix &from, const Matrix &to, double t);

}  // namespace swf
