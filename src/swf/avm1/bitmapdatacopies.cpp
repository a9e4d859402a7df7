// BitmapData's methods that carry pixels of a source (another BitmapData
// or the same one) onto this one: a rectangle of the source lands at a
// point of the target, both clipped to their surfaces.

#include <algorithm>
#include <optional>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdatamethods.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

std::optional<Value> ReadCopyArgs(Machine &m, const Value &self, const Args &args, size_t needed, CopyArgs &out)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap || args.size() < needed)
        return NotABitmap();
    auto *source = dynamic_cast<BitmapDataObject *>(args[0].object());
    if (!source)
        return Value(-2.0);
    if (source->disposed())
        return Value(-3.0);
    if (!ReadRect(m, args[1], out.sourceRect))
        return Value(-4.0);
    ReadPoint(m, args[2], out.destX, out.destY);
    out.dest = &bitmap->surface();
    out.source = &source->surface();
    return std::nullopt;
}

namespace {

Value CopyPixelsMethod(Machine &m, const Value &self, const Args &args)
{
    CopyArgs copy;
    if (auto refused = ReadCopyArgs(m, self, args, 3, copy))
        return *refused;
    // The alpha bitmap counts only with its point given, even as undefined.
    AlphaSource alpha;
    BitmapDataObject *alphaBitmap = args.size() > 4 ? LiveBitmapData(args[3]) : nullptr;
    if (alphaBitmap) {
        alpha.surface = &alphaBitmap->surface();
        ReadPoint(m, args[4], alpha.x, alpha.y);
    }
    const bool mergeAlpha = args.size() > 5 && m.toBoolean(args[5]);
    CopyPixels(*copy.dest, *copy.source, copy.sourceRect, copy.destX, copy.destY, alpha, mergeAlpha);
    return Value(0.0);
}

Value CopyChannelMethod(Machine &m, const Value &self, const Args &args)
{
    CopyArgs copy;
    if (auto refused = ReadCopyArgs(m, self, args, 5, copy))
        return *refused;
    CopyChannel(*copy.dest, *copy.source, copy.sourceRect, copy.destX, copy.destY, IntArg(m, args[3]),
                IntArg(m, args[4]));
    return {};
}

Value MergeMethod(Machine &m, const Value &self, const Args &args)
{
    CopyArgs copy;
    if (auto refused = ReadCopyArgs(m, self, args, 6, copy))
        return *refused;
    // Each multiplier is a share of 256; the alpha one may be left out and
    // then takes the source's alpha whole.
    auto share = [&](size_t i) { return i < args.size() ? std::clamp(IntArg(m, args[i]), 0, 256) : 256; };
    const std::array<int, 4> mult{share(3), share(4), share(5), share(6)};
    Merge(*copy.dest, *copy.source, copy.sourceRect, copy.destX, copy.destY, mult);
    return NotABitmap();
}

// Any other text compares as "<" does.
ThresholdTest ReadThresholdTest(const std::string &name)
{
    static const std::pair<const char *, ThresholdTest> kTests[] = {{"<=", ThresholdTest::LessOrEqual},
                                                                    {">", ThresholdTest::Greater},
                                                                    {">=", ThresholdTest::GreaterOrEqual},
                                                                    {"==", ThresholdTest::Equal},
                                                                    {"!=", ThresholdTest::NotEqual}};
    for (const auto &[text, value] : kTests)
        if (name == text)
            return value;
    return ThresholdTest::Less;
}

Value ThresholdMethod(Machine &m, const Value &self, const Args &args)
{
    CopyArgs copy;
    ThresholdRule rule;
    if (auto refused = ReadCopyArgs(m, self, args, 5, copy))
        return *refused;
    rule.test = ReadThresholdTest(m.toString(args[3]));
    rule.threshold = ColorArg(m, args[4]);
    if (args.size() > 5)
        rule.color = ColorArg(m, args[5]);
    if (args.size() > 6)
        rule.mask = ColorArg(m, args[6]);
    rule.copySource = args.size() > 7 && m.toBoolean(args[7]);
    return Value(double(Threshold(*copy.dest, *copy.source, copy.sourceRect, copy.destX, copy.destY, rule)));
}

// A table given as any object maps each of its 256 entries (what it lacks
// counts 0); a channel without one keeps its value in place.
std::array<uint32_t, 256> ReadTable(Machine &m, const Args &args, size_t index, int shift)
{
    std::array<uint32_t, 256> table;
    Object *object = index < args.size() ? args[index].object() : nullptr;
    for (uint32_t i = 0; i < 256; ++i)
        table[i] = object ? ColorArg(m, m.get(object, std::to_string(i))) : i << shift;
    return table;
}

Value PaletteMapMethod(Machine &m, const Value &self, const Args &args)
{
    CopyArgs copy;
    if (auto refused = ReadCopyArgs(m, self, args, 4, copy))
        return *refused;
    const std::array<std::array<uint32_t, 256>, 4> tables{ReadTable(m, args, 3, 16), ReadTable(m, args, 4, 8),
                                                          ReadTable(m, args, 5, 0), ReadTable(m, args, 6, 24)};
    PaletteMap(*copy.dest, *copy.source, copy.sourceRect, copy.destX, copy.destY, tables);
    return NotABitmap();
}

}  // namespace

void InstallCopyMethods(Machine &m, Object *proto)
{
    m.defineMethod(proto, "copyPixels", CopyPixelsMethod);
    m.defineMethod(proto, "copyChannel", CopyChannelMethod);
    m.defineMethod(proto, "merge", MergeMethod);
    m.defineMethod(proto, "threshold", ThresholdMethod);
    m.defineMethod(proto, "paletteMap", PaletteMapMethod);
}

}  // namespace swf::avm1
