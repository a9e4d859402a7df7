// BitmapData.perlinNoise: smooth gradient noise summed over octaves, each
// twice as fine and half as strong as the one before, per channel; the
// seed picks the gradients, so one seed always gives one picture.

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdatamethods.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

// More octaves than this add nothing a pixel can show.
constexpr int kMaxOctaves = 24;

class GradientNoise {
public:
    explicit GradientNoise(uint32_t seed)
    {
        std::minstd_rand0 random(seed == 0 ? 1 : seed);
        std::array<uint8_t, 256> order;
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        for (size_t i = 0; i < 512; ++i)
            permutation_[i] = order[i & 255];
    }

    // In -1..1 at (x, y); `period` > 0 repeats it every that many cells.
    double at(double x, double y, int periodX, int periodY) const
    {
        const double floorX = std::floor(x), floorY = std::floor(y);
        const double fx = x - floorX, fy = y - floorY;
        const int x0 = Wrapped(floorX, periodX), y0 = Wrapped(floorY, periodY);
        const int x1 = Wrapped(floorX + 1, periodX), y1 = Wrapped(floorY + 1, periodY);
        const double u = Fade(fx), v = Fade(fy);
        const double top = Mix(grad(x0, y0, fx, fy), grad(x1, y0, fx - 1, fy), u);
        const double bottom = Mix(grad(x0, y1, fx, fy - 1), grad(x1, y1, fx - 1, fy - 1), u);
        return Mix(top, bottom, v);
    }

private:
    static double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
    static double Mix(double a, double b, double t) { return a + t * (b - a); }
    static int Wrapped(double cell, int period)
    {
        const double wrapped = period > 0 ? cell - period * std::floor(cell / period) : cell;
        return int(int64_t(wrapped) & 255);
    }
    double grad(int x, int y, double dx, double dy) const
    {
        switch (permutation_[size_t(permutation_[size_t(x)] + y)] & 3) {
        case 0: return dx + dy;
        case 1: return -dx + dy;
        case 2: return dx - dy;
        default: return -dx - dy;
        }
    }

    std::array<uint8_t, 512> permutation_{};
};

struct PerlinRule {
    double baseX = 0, baseY = 0;
    int octaves = 0;
    bool stitch = false, fractal = false, grayScale = false;
    int channels = 7;
    std::vector<std::pair<double, double>> offsets;  // per octave; the last goes on
};

std::vector<std::pair<double, double>> ReadOffsets(Machine &m, const Value &value)
{
    std::vector<std::pair<double, double>> offsets;
    auto *array = dynamic_cast<ArrayObject *>(value.object());
    if (!array)
        return offsets;
    for (size_t i = 0; i < std::min(array->elements.size(), size_t(kMaxOctaves)); ++i) {
        Object *point = array->elements[i].object();
        if (point)
            offsets.emplace_back(m.toNumber(m.get(point, "x")), m.toNumber(m.get(point, "y")));
    }
    return offsets;
}

// The octaves' sum at a pixel for one channel's noise, as a byte.
uint32_t ChannelValue(const GradientNoise &noise, const PerlinRule &rule, double x, double y, int width, int height)
{
    double sum = 0, strength = 1, frequency = 1;
    for (int octave = 0; octave < rule.octaves; ++octave) {
        const auto offset = rule.offsets.empty() ? std::pair<double, double>()
                                                 : rule.offsets[std::min(size_t(octave), rule.offsets.size() - 1)];
        const double cellsX = frequency / rule.baseX, cellsY = frequency / rule.baseY;
        const int periodX = rule.stitch ? std::max(1, int(std::lround(width * cellsX))) : 0;
        const int periodY = rule.stitch ? std::max(1, int(std::lround(height * cellsY))) : 0;
        const double value = noise.at((x + offset.first) * cellsX, (y + offset.second) * cellsY, periodX, periodY);
        sum += (rule.fractal ? value : std::fabs(value)) * strength;
        strength /= 2;
        frequency *= 2;
    }
    const double level = rule.fractal ? (sum + 1) / 2 : sum;
    return uint32_t(std::clamp(level * 255, 0.0, 255.0));
}

void FillPerlin(BitmapSurface &surface, const PerlinRule &rule, uint32_t seed)
{
    static constexpr int kShifts[4] = {16, 8, 0, 24};
    std::array<GradientNoise, 4> noises{GradientNoise(seed), GradientNoise(seed + 1), GradientNoise(seed + 2),
                                        GradientNoise(seed + 3)};
    const bool alpha = surface.transparent && (rule.channels & 8);
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            uint32_t argb = alpha ? 0 : 0xFF000000u;
            const int w = surface.width(), h = surface.height();
            if (rule.grayScale) {
                const uint32_t gray = ChannelValue(noises[0], rule, x, y, w, h);
                argb |= gray << 16 | gray << 8 | gray;
            } else {
                for (int c = 0; c < 3; ++c)
                    if (rule.channels & (1 << c))
                        argb |= ChannelValue(noises[size_t(c)], rule, x, y, w, h) << kShifts[c];
            }
            if (alpha)
                argb |= ChannelValue(noises[3], rule, x, y, w, h) << 24;
            SetArgb(surface, x, y, argb);
        }
}

// perlinNoise(baseX, baseY, numOctaves, randomSeed, stitch, fractalNoise,
// channelOptions, grayScale, offsets).
Value PerlinNoise(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 6)
        return NotABitmap();
    PerlinRule rule;
    rule.baseX = m.toNumber(args[0]);
    rule.baseY = m.toNumber(args[1]);
    rule.octaves = std::clamp(IntArg(m, args[2]), 0, kMaxOctaves);
    rule.stitch = m.toBoolean(args[4]);
    rule.fractal = m.toBoolean(args[5]);
    if (args.size() > 6)
        rule.channels = IntArg(m, args[6]);
    rule.grayScale = args.size() > 7 && m.toBoolean(args[7]);
    rule.offsets = ReadOffsets(m, args[8]);
    BitmapSurface &surface = bitmap->surface();
    if (!(std::isfinite(rule.baseX) && std::isfinite(rule.baseY) && rule.baseX != 0 && rule.baseY != 0)) {
        FillRect(surface, SurfaceRect(surface), 0xFF000000u);
        return {};
    }
    // The work grows with the pixels and octaves: it counts against the
    // frame's script budget like the actions it replaces.
    const uint64_t pixels = uint64_t(surface.width()) * uint64_t(surface.height());
    m.countActions(pixels * uint64_t(rule.octaves) * 2 + 1);
    FillPerlin(surface, rule, ColorArg(m, args[3]));
    return {};
}

}  // namespace

void InstallPerlinNoise(Machine &m, Object *proto) { m.defineMethod(proto, "perlinNoise", PerlinNoise); }

}  // namespace swf::avm1
