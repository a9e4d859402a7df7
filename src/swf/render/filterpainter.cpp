#include "swf/render/filterpainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace swf {

namespace {

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
        BlurPlane(plane, boxX, boxY, passes);
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

bool IsBevel(const Filter &f)
{
    return f.kind == Filter::Kind::Bevel || f.kind == Filter::Kind::GradientBevel;
}

QRgb Premultiplied(Rgba c, int alpha)
{
    const int a = alpha * c.a / 255;
    return qRgba(c.r * a / 255, c.g * a / 255, c.b * a / 255, a);
}

// The colour of a gradient at `ratio`, straight between the two stops
// around it and flat beyond the first and last.
QRgb GradientAt(const std::vector<Filter::Stop> &stops, int ratio)
{
    if (stops.empty())
        return 0;
    if (ratio <= stops.front().ratio)
        return Premultiplied(stops.front().colour, 255);
    for (size_t i = 1; i < stops.size(); ++i) {
        const Filter::Stop &from = stops[i - 1];
        const Filter::Stop &to = stops[i];
        if (ratio > to.ratio)
            continue;
        const int span = to.ratio - from.ratio;
        const int t = span > 0 ? (ratio - from.ratio) * 256 / span : 256;
        auto mix = [t](int a, int b) { return a + (b - a) * t / 256; };
        const Rgba c{uint8_t(mix(from.colour.r, to.colour.r)), uint8_t(mix(from.colour.g, to.colour.g)),
                     uint8_t(mix(from.colour.b, to.colour.b)), uint8_t(mix(from.colour.a, to.colour.a))};
        return Premultiplied(c, 255);
    }
    return Premultiplied(stops.back().colour, 255);
}

// What each shade level turns into. A shadow or glow level runs 0..255;
// a bevel level runs -255 (dark side) .. 255 (lit side), stored from index 0.
std::vector<QRgb> ShadeColours(const Filter &f)
{
    std::vector<QRgb> colours;
    switch (f.kind) {
    case Filter::Kind::Bevel:
        for (int level = -255; level <= 255; ++level)
            colours.push_back(level < 0 ? Premultiplied(f.colour, -level) : Premultiplied(f.highlight, level));
        break;
    case Filter::Kind::GradientBevel:  // from the lit side (0) through the flat middle (128) to the dark side
        for (int level = -255; level <= 255; ++level)
            colours.push_back(GradientAt(f.gradient, std::min(255, (256 - level) / 2)));
        break;
    case Filter::Kind::GradientGlow:
        for (int level = 0; level < 256; ++level)
            colours.push_back(GradientAt(f.gradient, level));
        break;
    default:
        for (int level = 0; level < 256; ++level)
            colours.push_back(Premultiplied(f.colour, level));
        break;
    }
    return colours;
}

// A shade level: `value` times the filter's strength, held within the
// levels the colour table has, whatever strength the filter carries.
int Strengthened(int value, float strength, int lowest, int highest)
{
    const float v = value * strength;
    return v > float(lowest) ? (v < float(highest) ? int(v) : highest) : lowest;
}

// Where the shade lies from the object, in device pixels. A shade pushed
// wholly off the picture goes no further, so that no distance or scale a
// file can hold takes pixel arithmetic out of range.
QPointF ShadeOffset(const Filter &f, double scale, const QSize &picture)
{
    const double distance = double(f.distance) * scale;
    const double angle = std::isfinite(f.angle) ? double(f.angle) : 0;
    auto held = [](double offset, int extent) {
        const double beyond = extent + 1.0;
        return std::isnan(offset) ? 0 : std::clamp(offset, -beyond, beyond);
    };
    return {held(std::cos(angle) * distance, picture.width()), held(std::sin(angle) * distance, picture.height())};
}

// A bevel's level: how much more of the object lies away from the light
// than towards it, both seen through the blur, so the edges facing the
// light come out positive.
void DrawBevelLevels(QImage &shade, const Plane &blurred, const Filter &f, QPoint towardsLight,
                     const std::vector<QRgb> &colours)
{
    auto at = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= blurred.columns || y >= blurred.rows)
            return 0;
        return blurred.values[size_t(y) * size_t(blurred.columns) + size_t(x)];
    };
    for (int y = 0; y < blurred.rows; ++y) {
        auto *line = reinterpret_cast<QRgb *>(shade.scanLine(y));
        for (int x = 0; x < blurred.columns; ++x) {
            const int lit = at(x + towardsLight.x(), y + towardsLight.y());
            const int dark = at(x - towardsLight.x(), y - towardsLight.y());
            line[x] = colours[size_t(Strengthened(dark - lit, f.strength, -255, 255) + 255)];
        }
    }
}

// The shadow, glow or bevel: the object's coverage (or its inverse for
// inner glows and shadows), blurred, strengthened and coloured.
QImage Shade(const QImage &picture, const Filter &f, double scale)
{
    const bool invert = f.inner && !IsBevel(f);
    Plane coverage;
    coverage.columns = picture.width();
    coverage.rows = picture.height();
    coverage.values.resize(size_t(coverage.columns) * size_t(coverage.rows));
    uint8_t *value = coverage.values.data();
    for (int y = 0; y < coverage.rows; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < coverage.columns; ++x)
            *value++ = uint8_t(invert ? 255 - qAlpha(in[x]) : qAlpha(in[x]));
    }
    BlurPlane(coverage, BoxSize(f.blurX * scale), BoxSize(f.blurY * scale), f.passCount());
    QImage shade(picture.size(), QImage::Format_ARGB32_Premultiplied);
    const std::vector<QRgb> colours = ShadeColours(f);
    if (IsBevel(f)) {
        DrawBevelLevels(shade, coverage, f, -ShadeOffset(f, scale, picture.size()).toPoint(), colours);
        return shade;
    }
    value = coverage.values.data();
    for (int y = 0; y < coverage.rows; ++y) {
        auto *line = reinterpret_cast<QRgb *>(shade.scanLine(y));
        for (int x = 0; x < coverage.columns; ++x)
            line[x] = colours[size_t(Strengthened(*value++, f.strength, 0, 255))];
    }
    return shade;
}

void ApplyShade(QImage &picture, const Filter &f, double scale)
{
    const QImage shade = Shade(picture, f, scale);
    // A bevel's angle and distance are already in its levels.
    const QPointF offset = IsBevel(f) ? QPointF() : ShadeOffset(f, scale, picture.size());
    QImage result(picture.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter p(&result);
    if (f.onTop) {
        if (!f.knockout)
            p.drawImage(0, 0, picture);
        p.drawImage(offset, shade);
    } else if (f.inner) {
        p.drawImage(0, 0, picture);
        p.setCompositionMode(f.knockout || !f.compositeSource ? QPainter::CompositionMode_SourceIn
                                                              : QPainter::CompositionMode_SourceAtop);
        p.drawImage(offset, shade);
    } else {
        p.drawImage(offset, shade);
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

// Larger kernels would take minutes on a full-stage picture.
constexpr int kMaxKernelCells = 15 * 15;

bool IsDrawableConvolution(const Filter &f)
{
    auto finite = [](float w) { return std::isfinite(w); };
    const bool kernelFilled = f.kernelColumns > 0 && f.kernelRows > 0 &&
                              f.kernel.size() == size_t(f.kernelColumns) * size_t(f.kernelRows);
    return kernelFilled && f.kernel.size() <= size_t(kMaxKernelCells) && finite(f.divisor) && finite(f.bias) &&
           std::all_of(f.kernel.begin(), f.kernel.end(), finite);
}

void ApplyConvolution(QImage &picture, const Filter &f)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    const float divisor = f.divisor != 0 ? f.divisor : 1;
    const QRgb edge = qRgba(f.edgeColour.r, f.edgeColour.g, f.edgeColour.b, f.edgeColour.a);
    auto at = [&](int x, int y) -> QRgb {
        if (source.rect().contains(x, y))
            return reinterpret_cast<const QRgb *>(source.constScanLine(y))[x];
        if (!f.clampEdges)
            return edge;
        x = std::clamp(x, 0, source.width() - 1);
        y = std::clamp(y, 0, source.height() - 1);
        return reinterpret_cast<const QRgb *>(source.constScanLine(y))[x];
    };
    QImage result(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            float sums[4] = {0, 0, 0, 0};
            for (int row = 0; row < f.kernelRows; ++row)
                for (int column = 0; column < f.kernelColumns; ++column) {
                    const float weight = f.kernel[size_t(row) * size_t(f.kernelColumns) + size_t(column)];
                    const QRgb p = at(x + column - f.kernelColumns / 2, y + row - f.kernelRows / 2);
                    sums[0] += weight * qRed(p);
                    sums[1] += weight * qGreen(p);
                    sums[2] += weight * qBlue(p);
                    sums[3] += weight * qAlpha(p);
                }
            int out[4];
            for (int c = 0; c < 4; ++c) {
                const float v = sums[c] / divisor + f.bias;
                out[c] = v > 0 ? (v < 255 ? int(v) : 255) : 0;
            }
            const int alpha = f.preserveAlpha ? qAlpha(at(x, y)) : out[3];
            line[x] = qRgba(out[0], out[1], out[2], alpha);
        }
    }
    picture = result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int MapChannel(QRgb straight, int component)
{
    switch (component) {
    case 1: return qRed(straight);
    case 2: return qGreen(straight);
    case 4: return qBlue(straight);
    case 8: return qAlpha(straight);
    default: return 128;
    }
}

// Where a displaced read lands outside the picture: wrapped round,
// clamped to the edge, the pixel left where it was, or the edge colour.
bool EdgeRead(const Filter &f, const QSize &size, int &x, int &y)
{
    if (x >= 0 && y >= 0 && x < size.width() && y < size.height())
        return true;
    switch (f.edge) {
    case Filter::Edge::Wrap:
        x = ((x % size.width()) + size.width()) % size.width();
        y = ((y % size.height()) + size.height()) % size.height();
        return true;
    case Filter::Edge::Clamp:
        x = std::clamp(x, 0, size.width() - 1);
        y = std::clamp(y, 0, size.height() - 1);
        return true;
    case Filter::Edge::Ignore:
    case Filter::Edge::Colour:
        break;
    }
    return false;
}

void ApplyDisplacement(QImage &picture, const Filter &f, double scale)
{
    const BitmapSurface *map = f.map.get();
    if (!map || map->disposed() || scale <= 0)
        return;
    const QImage source = picture.copy();
    const QRgb edge = qPremultiply(qRgba(f.edgeColour.r, f.edgeColour.g, f.edgeColour.b, f.edgeColour.a));
    const double stepX = f.scaleX * scale / 256, stepY = f.scaleY * scale / 256;
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        const int mapY = int(std::floor(y / scale)) - f.mapOriginY;
        for (int x = 0; x < picture.width(); ++x) {
            const int mapX = int(std::floor(x / scale)) - f.mapOriginX;
            if (mapX < 0 || mapY < 0 || mapX >= map->width() || mapY >= map->height())
                continue;
            const QRgb steer = qUnpremultiply(map->pixels.pixel(mapX, mapY));
            int fromX = x + int(std::floor((MapChannel(steer, f.componentX) - 128) * stepX));
            int fromY = y + int(std::floor((MapChannel(steer, f.componentY) - 128) * stepY));
            if (EdgeRead(f, source.size(), fromX, fromY))
                line[x] = reinterpret_cast<const QRgb *>(source.constScanLine(fromY))[fromX];
            else if (f.edge == Filter::Edge::Colour)
                line[x] = edge;
        }
    }
}

// Plane passes per pixel of each kind of filter, besides its blur passes:
// reading and writing the picture, the shade's colouring and composing,
// the colour matrix's sums, one per kernel cell and channel.
constexpr int kPictureCopyWork = 8;
constexpr int kShadeWork = 10;
constexpr int kColorMatrixWork = 20;
constexpr int kConvolutionWorkPerCell = 4;

int WorkPerPixel(const Filter &filter)
{
    switch (filter.kind) {
    case Filter::Kind::Blur:
        return kPictureCopyWork + 4 * 2 * filter.passCount();
    case Filter::Kind::ColorMatrix:
        return kColorMatrixWork;
    case Filter::Kind::Convolution:
        return kConvolutionWorkPerCell * std::min(int(filter.kernel.size()), kMaxKernelCells);
    case Filter::Kind::DisplacementMap:
        return kPictureCopyWork * 2;
    case Filter::Kind::DropShadow:
    case Filter::Kind::Glow:
    case Filter::Kind::Bevel:
    case Filter::Kind::GradientGlow:
    case Filter::Kind::GradientBevel:
        break;
    }
    return kShadeWork + 2 * filter.passCount();
}

}  // namespace

int64_t FilterWork(const Filter &filter, const QSize &size)
{
    return int64_t(WorkPerPixel(filter)) * size.width() * size.height();
}

void ApplyFilter(const Filter &filter, QImage &picture, double scale)
{
    if (picture.isNull())
        return;
    switch (filter.kind) {
    case Filter::Kind::Blur:
        BoxBlur(picture, filter.blurX * scale, filter.blurY * scale, filter.passCount());
        break;
    case Filter::Kind::ColorMatrix:
        for (float value : filter.matrix)
            if (!std::isfinite(value))
                return;
        ApplyColorMatrix(picture, filter.matrix);
        break;
    case Filter::Kind::Convolution:
        if (IsDrawableConvolution(filter))
            ApplyConvolution(picture, filter);
        break;
    case Filter::Kind::DisplacementMap:
        ApplyDisplacement(picture, filter, scale);
        break;
    case Filter::Kind::DropShadow:
    case Filter::Kind::Glow:
    case Filter::Kind::Bevel:
    case Filter::Kind::GradientGlow:
    case Filter::Kind::GradientBevel:
        ApplyShade(picture, filter, scale);
        break;
    }
}

}  // namespace swf
