#include "swf/filter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace swf {

namespace {

enum FilterId : uint8_t {
    kDropShadow = 0,
    kBlur = 1,
    kGlow = 2,
    kBevel = 3,
    kGradientGlow = 4,
    kConvolution = 5,
    kColorMatrix = 6,
    kGradientBevel = 7,
};

// Division by a box width with a multiply and a shift: the width is at
// most 1023 and a sum at most 255 times that, so the 32-bit reciprocal
// rounded up is exact for every sum (its error stays below 1 / width).
class BoxDivider
{
public:
    explicit BoxDivider(int width) : reciprocal_((uint64_t(1) << 32) / uint64_t(width) + 1) {}
    uint8_t operator()(uint32_t sum) const { return uint8_t((sum * reciprocal_) >> 32); }

private:
    uint64_t reciprocal_;
};

// One channel of a picture, a byte per pixel, row after row, with the
// buffers its blur reuses from pass to pass.
struct Plane {
    int columns = 0;
    int rows = 0;
    std::vector<uint8_t> values;
    std::vector<uint8_t> scratch;
    std::vector<uint32_t> sums;
};

// One pass of a centred box blur of odd `width` along every row: a running
// sum over the row copied between zero margins, so that pixels beyond the
// edge count as transparent.
void BlurRows(Plane &plane, int width)
{
    const int radius = width / 2;
    const BoxDivider divide(width);
    plane.scratch.assign(size_t(plane.columns) + 2 * size_t(radius), 0);
    const uint8_t *padded = plane.scratch.data();
    for (int y = 0; y < plane.rows; ++y) {
        uint8_t *line = plane.values.data() + size_t(y) * size_t(plane.columns);
        std::copy(line, line + plane.columns, plane.scratch.begin() + radius);
        uint32_t sum = 0;
        for (int i = 0; i < 2 * radius; ++i)
            sum += padded[i];
        for (int x = 0; x < plane.columns; ++x) {
            sum += padded[x + 2 * radius];
            line[x] = divide(sum);
            sum -= padded[x];
        }
    }
}

// The same down the columns, all columns at once row by row so that memory
// is read in order.
void BlurColumns(Plane &plane, int width)
{
    const int radius = width / 2;
    const BoxDivider divide(width);
    const size_t columns = size_t(plane.columns);
    plane.scratch.assign(plane.values.begin(), plane.values.end());
    plane.sums.assign(columns, 0);
    uint32_t *sums = plane.sums.data();
    auto row = [&](int y) { return plane.scratch.data() + size_t(y) * columns; };
    for (int y = 0; y < std::min(radius, plane.rows); ++y)
        for (size_t x = 0; x < columns; ++x)
            sums[x] += row(y)[x];
    for (int y = 0; y < plane.rows; ++y) {
        if (y + radius < plane.rows) {
            const uint8_t *entering = row(y + radius);
            for (size_t x = 0; x < columns; ++x)
                sums[x] += entering[x];
        }
        uint8_t *out = plane.values.data() + size_t(y) * columns;
        for (size_t x = 0; x < columns; ++x)
            out[x] = divide(sums[x]);
        if (y - radius >= 0) {
            const uint8_t *leaving = row(y - radius);
            for (size_t x = 0; x < columns; ++x)
                sums[x] -= leaving[x];
        }
    }
}

// Flash's blur is a centred box blur run once per pass (three passes
// approach a Gaussian). The box is the largest odd width within the blur
// amount in device pixels, so an amount of 2 leaves the picture sharp.
int BoxSize(double size)
{
    constexpr int kMaxBox = 1023;
    if (!(size >= 1))
        return 1;
    return 2 * int((std::min(size, double(kMaxBox)) - 1) / 2) + 1;
}

// The record holds five bits, but no player runs more than 15 passes.
int PassCount(int passes)
{
    constexpr int kMaxPasses = 15;
    return std::clamp(passes, 1, kMaxPasses);
}

void BlurPlane(Plane &plane, int boxX, int boxY, int passes)
{
    for (int pass = 0; pass < passes; ++pass) {
        if (boxX > 1)
            BlurRows(plane, boxX);
        if (boxY > 1)
            BlurColumns(plane, boxY);
    }
}

// The colour blur works one channel at a time: a byte plane is what the
// running sums read fastest.
void BoxBlur(QImage &picture, double sizeX, double sizeY, int passes)
{
    const int boxX = BoxSize(sizeX);
    const int boxY = BoxSize(sizeY);
    if (boxX == 1 && boxY == 1)
        return;
    Plane plane;
    plane.columns = picture.width();
    plane.rows = picture.height();
    plane.values.resize(size_t(plane.columns) * size_t(plane.rows));
    for (int shift = 0; shift < 32; shift += 8) {
        uint8_t *value = plane.values.data();
        for (int y = 0; y < plane.rows; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
            for (int x = 0; x < plane.columns; ++x)
                *value++ = uint8_t(line[x] >> shift);
        }
        BlurPlane(plane, boxX, boxY, PassCount(passes));
        value = plane.values.data();
        for (int y = 0; y < plane.rows; ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < plane.columns; ++x)
                line[x] = (line[x] & ~(0xffu << shift)) | (QRgb(*value++) << shift);
        }
    }
}

void ApplyColorMatrix(QImage &picture, const float *m)
{
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb in = qUnpremultiply(line[x]);
            const float c[4] = {float(qRed(in)), float(qGreen(in)), float(qBlue(in)), float(qAlpha(in))};
            int out[4];
            for (int row = 0; row < 4; ++row) {
                const float *k = m + row * 5;
                const float value = k[0] * c[0] + k[1] * c[1] + k[2] * c[2] + k[3] * c[3] + k[4];
                // Clamp before converting: a hostile matrix gives huge or NaN values.
                out[row] = value > 0 ? (value < 255 ? int(value) : 255) : 0;
            }
            line[x] = qPremultiply(qRgba(out[0], out[1], out[2], out[3]));
        }
    }
}

// The shadow or glow: the object's coverage (or its inverse for inner
// ones), blurred, strengthened and tinted.
QImage Shade(const QImage &picture, const Filter &f, double scale)
{
    Plane coverage;
    coverage.columns = picture.width();
    coverage.rows = picture.height();
    coverage.values.resize(size_t(coverage.columns) * size_t(coverage.rows));
    uint8_t *value = coverage.values.data();
    for (int y = 0; y < coverage.rows; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < coverage.columns; ++x)
            *value++ = uint8_t(f.inner ? 255 - qAlpha(in[x]) : qAlpha(in[x]));
    }
    BlurPlane(coverage, BoxSize(f.blurX * scale), BoxSize(f.blurY * scale), PassCount(f.passes));
    QImage shade(picture.size(), QImage::Format_ARGB32_Premultiplied);
    value = coverage.values.data();
    for (int y = 0; y < coverage.rows; ++y) {
        auto *line = reinterpret_cast<QRgb *>(shade.scanLine(y));
        for (int x = 0; x < coverage.columns; ++x) {
            const int a = std::clamp(int(*value++ * f.strength), 0, 255) * f.colour.a / 255;
            line[x] = qRgba(f.colour.r * a / 255, f.colour.g * a / 255, f.colour.b * a / 255, a);
        }
    }
    return shade;
}

void ApplyShade(QImage &picture, const Filter &f, double scale)
{
    const QImage shade = Shade(picture, f, scale);
    const double dx = f.kind == Filter::Kind::DropShadow ? std::cos(f.angle) * f.distance * scale : 0;
    const double dy = f.kind == Filter::Kind::DropShadow ? std::sin(f.angle) * f.distance * scale : 0;
    QImage result(picture.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter p(&result);
    if (f.inner) {
        p.drawImage(0, 0, picture);
        p.setCompositionMode(f.knockout || !f.compositeSource ? QPainter::CompositionMode_SourceIn
                                                              : QPainter::CompositionMode_SourceAtop);
        p.drawImage(QPointF(dx, dy), shade);
    } else {
        p.drawImage(QPointF(dx, dy), shade);
        if (f.knockout) {
            p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
            p.drawImage(0, 0, picture);
        } else if (f.compositeSource) {
            p.drawImage(0, 0, picture);
        }
    }
    p.end();
    picture = result;
}

Filter ReadShadowOrGlow(SwfReader &r, Filter::Kind kind)
{
    Filter f;
    f.kind = kind;
    f.colour = r.rgba();
    f.blurX = float(r.fixed16());
    f.blurY = float(r.fixed16());
    if (kind == Filter::Kind::DropShadow) {
        f.angle = float(r.fixed16());
        f.distance = float(r.fixed16());
    }
    f.strength = float(r.fixed8());
    const uint8_t flags = r.u8();
    f.inner = flags & 0x80;
    f.knockout = flags & 0x40;
    f.compositeSource = flags & 0x20;
    f.passes = flags & 0x1f;
    return f;
}

}  // namespace

void Filter::parseList(SwfReader &r, std::vector<Filter> &out)
{
    const uint8_t count = r.u8();
    for (unsigned i = 0; i < count && !r.overrun(); ++i) {
        Filter f;
        switch (r.u8()) {
        case kDropShadow:
            f = ReadShadowOrGlow(r, Kind::DropShadow);
            break;
        case kGlow:
            f = ReadShadowOrGlow(r, Kind::Glow);
            break;
        case kBlur:
            f.kind = Kind::Blur;
            f.blurX = float(r.fixed16());
            f.blurY = float(r.fixed16());
            f.passes = r.u8() >> 3;
            break;
        case kColorMatrix:
            f.kind = Kind::ColorMatrix;
            for (float &value : f.matrix)
                value = r.f32();
            break;
        case kBevel:
            r.skip(27);
            continue;
        case kGradientGlow:
        case kGradientBevel:
            r.skip(size_t(r.u8()) * 5 + 19);
            continue;
        case kConvolution: {
            const size_t cells = size_t(r.u8()) * r.u8();
            r.skip(8 + cells * 4 + 5);
            continue;
        }
        default:  // the rest of the list cannot be sized
            r.skip(r.remaining());
            return;
        }
        if (!r.overrun())
            out.push_back(f);
    }
}

float Filter::reach() const
{
    if (kind == Kind::ColorMatrix)
        return 0;
    // Each pass spreads by half its box, which is never wider than the blur.
    const float spread = std::max(blurX, blurY) / 2 * float(PassCount(passes));
    return std::clamp(spread + std::fabs(distance), 0.0f, 512.0f);
}

void Filter::apply(QImage &picture, double scale) const
{
    if (picture.isNull())
        return;
    switch (kind) {
    case Kind::Blur:
        BoxBlur(picture, blurX * scale, blurY * scale, passes);
        break;
    case Kind::ColorMatrix:
        for (float value : matrix)
            if (!std::isfinite(value))
                return;
        ApplyColorMatrix(picture, matrix);
        break;
    case Kind::DropShadow:
    case Kind::Glow:
        ApplyShade(picture, *this, scale);
        break;
    }
}

}  // namespace swf
