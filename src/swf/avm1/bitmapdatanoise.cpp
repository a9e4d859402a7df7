// BitmapData's random pictures: noise, from the player's own generator (the
// minimal standard one, seeded as the player seeds it, so that a seed gives
// the picture the player gives), and pixelDissolve.

#include <algorithm>
#include <numeric>

#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdatamethods.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

class MinimalStandardRandom {
public:
    // Seeds of 0 and below count up from 1.
    explicit MinimalStandardRandom(int32_t seed) : state_(seed > 0 ? uint64_t(seed) : uint64_t(1 - int64_t(seed))) {}

    uint32_t next()
    {
        state_ = state_ * 16807 % kModulus;
        return uint32_t(state_);
    }
    // A number from `low` to `high`, both included.
    uint32_t between(uint32_t low, uint32_t high) { return high < low ? low : low + next() % (high - low + 1); }

private:
    static constexpr uint64_t kModulus = 2147483647;
    uint64_t state_;
};

struct NoiseRule {
    uint32_t low = 0, high = 255;
    int channels = 7;
    bool grayScale = false;
};

uint32_t NoisePixel(MinimalStandardRandom &random, const NoiseRule &rule)
{
    auto draw = [&](int channel) { return (rule.channels & channel) ? random.between(rule.low, rule.high) : 0u; };
    uint32_t rgb = 0;
    if (rule.grayScale) {
        const uint32_t gray = random.between(rule.low, rule.high);
        rgb = gray << 16 | gray << 8 | gray;
    } else {
        const uint32_t red = draw(1), green = draw(2), blue = draw(4);
        rgb = red << 16 | green << 8 | blue;
    }
    const uint32_t alpha = (rule.channels & 8) ? random.between(rule.low, rule.high) : 255u;
    return alpha << 24 | rgb;
}

uint32_t ChannelBound(Machine &m, const Value &value) { return uint32_t(std::clamp(IntArg(m, value), 0, 255)); }

Value Noise(Machine &m, const Value &self, const Args &args)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < 1)
        return NotABitmap();
    NoiseRule rule;
    if (args.size() > 1)
        rule.low = ChannelBound(m, args[1]);
    if (args.size() > 2)
        rule.high = ChannelBound(m, args[2]);
    if (args.size() > 3)
        rule.channels = IntArg(m, args[3]);
    rule.grayScale = args.size() > 4 && m.toBoolean(args[4]);
    MinimalStandardRandom random(IntArg(m, args[0]));
    BitmapSurface &surface = bitmap->surface();
    // An opaque surface draws no alpha, so its pixels take the numbers
    // one after the other.
    if (!surface.transparent)
        rule.channels &= ~8;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            SetStored(surface, x, y, PremultiplyBy256ths(NoisePixel(random, rule)));
    return Value(0.0);
}

// Visits the pixels of an area in a fixed scattered order that reaches each
// one once: the seed a call returns is where the next call goes on.
uint64_t ScatterStride(uint64_t count)
{
    uint64_t stride = count / 2 + 1;
    while (std::gcd(stride, count) != 1)
        ++stride;
    return stride;
}

Value PixelDissolve(Machine &m, const Value &self, const Args &args)
{
    CopyArgs copy;
    if (auto refused = ReadCopyArgs(m, self, args, 3, copy))
        return refused->number() == -4 ? *refused : NotABitmap();
    BitmapSurface &dest = *copy.dest;
    const CopyArea area = ClipCopy(*copy.source, copy.sourceRect, dest, copy.destX, copy.destY);
    const uint64_t count = uint64_t(std::max(area.source.width, 0)) * uint64_t(std::max(area.source.height, 0));
    if (count == 0)
        return Value(0.0);
    const uint64_t seed = uint64_t(std::max(IntArg(m, args[3]), 0)) % count;
    const double wanted = args.size() > 4 ? m.toNumber(args[4]) : double(count) / 30;
    const uint64_t pixels = wanted > 0 ? std::min<uint64_t>(uint64_t(std::min(wanted, 1e15)), count) : 0;
    const uint32_t fill = ColorArg(m, args[5]);
    const bool fromItself = copy.source == copy.dest;
    const uint64_t stride = ScatterStride(count);
    // The pixel the seed names is always written and the walk goes on
    // from there: the next call, given the seed this one returns, starts
    // on the last pixel this one wrote.
    for (uint64_t i = 0; i <= std::min(pixels, count - 1); ++i) {
        const uint64_t index = (seed + i) * stride % count;
        const int col = int(index % uint64_t(area.source.width)), row = int(index / uint64_t(area.source.width));
        const int dx = area.destX + col, dy = area.destY + row;
        if (fromItself)
            SetRaw(dest, dx, dy, PremultiplyArgb(fill));
        else
            SetStored(dest, dx, dy, StoredAt(*copy.source, area.source.x + col, area.source.y + row));
    }
    return Value(double((seed + pixels) % count));
}

}  // namespace

void InstallNoiseMethods(Machine &m, Object *proto)
{
    m.defineMethod(proto, "noise", Noise);
    m.defineMethod(proto, "pixelDissolve", PixelDissolve);
}

}  // namespace swf::avm1
