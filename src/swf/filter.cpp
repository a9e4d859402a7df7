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

// One pass of a box blur of `width` pixels along one row, with a running
// sum. An even box reaches one pixel further right than left.
void BlurRow(QRgb *line, int count, int width, std::vector<QRgb> &scratch)
{
    scratch.assign(line, line + count);
    const int before = (width - 1) / 2;
    const int after = width - before - 1;
    int sum[4] = {0, 0, 0, 0};
    auto add = [&](int index, int sign) {
        if (index < 0 || index >= count)
            return;
        const QRgb p = scratch[size_t(index)];
        sum[0] += sign * qAlpha(p);
        sum[1] += sign * qRed(p);
        sum[2] += sign * qGreen(p);
        sum[3] += sign * qBlue(p);
    };
    for (int i = -before; i < after; ++i)
        add(i, 1);
    for (int i = 0; i < count; ++i) {
        add(i + after, 1);
        line[i] = qRgba(sum[1] / width, sum[2] / width, sum[3] / width, sum[0] / width);
        add(i - before, -1);
    }
}

// The same down the columns, all columns at once row by row so that memory
// is read in order.
void BlurColumns(QImage &picture, int height, int width)
{
    const int columns = picture.width();
    std::vector<int> sums(size_t(columns) * 4, 0);
    std::vector<QRgb> source(size_t(columns) * size_t(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        std::copy(line, line + columns, source.begin() + std::ptrdiff_t(y) * columns);
    }
    const int before = (width - 1) / 2;
    const int after = width - before - 1;
    auto add = [&](int row, int sign) {
        if (row < 0 || row >= height)
            return;
        const QRgb *line = source.data() + std::ptrdiff_t(row) * columns;
        for (int x = 0; x < columns; ++x) {
            int *sum = &sums[size_t(x) * 4];
            sum[0] += sign * qAlpha(line[x]);
            sum[1] += sign * qRed(line[x]);
            sum[2] += sign * qGreen(line[x]);
            sum[3] += sign * qBlue(line[x]);
        }
    };
    for (int y = -before; y < after; ++y)
        add(y, 1);
    for (int y = 0; y < height; ++y) {
        add(y + after, 1);
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < columns; ++x) {
            const int *sum = &sums[size_t(x) * 4];
            line[x] = qRgba(sum[1] / width, sum[2] / width, sum[3] / width, sum[0] / width);
        }
        add(y - before, -1);
    }
}

// Flash's blur is a box blur of the given size, run once per pass (three
// passes approach a Gaussian); more passes than that change little and
// cost a lot, so they are capped.
int BoxSize(double size)
{
    constexpr int kMaxBox = 1024;
    return std::clamp(int(std::lround(size)), 1, kMaxBox);
}

int PassCount(int passes)
{
    constexpr int kMaxPasses = 3;
    return std::clamp(passes, 1, kMaxPasses);
}

void BoxBlur(QImage &picture, double sizeX, double sizeY, int passes)
{
    const int boxX = BoxSize(sizeX);
    const int boxY = BoxSize(sizeY);
    std::vector<QRgb> scratch;
    for (int pass = 0; pass < PassCount(passes); ++pass) {
        if (boxX > 1)
            for (int y = 0; y < picture.height(); ++y)
                BlurRow(reinterpret_cast<QRgb *>(picture.scanLine(y)), picture.width(), boxX, scratch);
        if (boxY > 1)
            BlurColumns(picture, picture.height(), boxY);
    }
}

// The coverage of a shadow or glow is one channel: blurred on its own it
// costs a quarter of a colour blur. Rows first, then columns row by row.
void BlurCoverage(std::vector<int> &coverage, int columns, int rows, int boxX, int boxY, int passes)
{
    std::vector<int> sums;
    auto blurAlong = [&](int count, int lines, ptrdiff_t step, ptrdiff_t lineStep, int width) {
        const int before = (width - 1) / 2;
        const int after = width - before - 1;
        sums.assign(size_t(count), 0);
        for (int line = 0; line < lines; ++line) {
            int *base = coverage.data() + line * lineStep;
            for (int i = 0; i < count; ++i)
                sums[size_t(i)] = base[i * step];
            int sum = 0;
            for (int i = -before; i < after; ++i)
                sum += (i >= 0 && i < count) ? sums[size_t(i)] : 0;
            for (int i = 0; i < count; ++i) {
                if (i + after < count)
                    sum += sums[size_t(i + after)];
                base[i * step] = sum / width;
                if (i - before >= 0)
                    sum -= sums[size_t(i - before)];
            }
        }
    };
    for (int pass = 0; pass < passes; ++pass) {
        if (boxX > 1)
            blurAlong(columns, rows, 1, columns, boxX);
        if (boxY > 1)
            blurAlong(rows, columns, columns, 1, boxY);
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
    const int columns = picture.width(), rows = picture.height();
    std::vector<int> coverage(size_t(columns) * size_t(rows));
    for (int y = 0; y < rows; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < columns; ++x)
            coverage[size_t(y) * columns + x] = f.inner ? 255 - qAlpha(in[x]) : qAlpha(in[x]);
    }
    BlurCoverage(coverage, columns, rows, BoxSize(f.blurX * scale), BoxSize(f.blurY * scale),
                 PassCount(f.passes));
    QImage shade(picture.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < rows; ++y) {
        auto *line = reinterpret_cast<QRgb *>(shade.scanLine(y));
        for (int x = 0; x < columns; ++x) {
            const int a = std::clamp(int(coverage[size_t(y) * columns + x] * f.strength), 0, 255)
                          * f.colour.a / 255;
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
    return std::clamp((blurX + blurY) / 2 * std::clamp(passes, 1, 3) + std::fabs(distance), 0.0f, 512.0f);
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
