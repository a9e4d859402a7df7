#include <memory>

#include "swf/characters/definetags.h"
#include "swf/characters/morphshapecharacter.h"
#include "swf/characters/shaperecords.h"

namespace swf {

namespace {

size_t ReadMorphStyleCount(SwfReader &reader)
{
    size_t count = reader.u8();
    if (count == 0xff)
        count = reader.u16();
    return count;
}

template <class Style, class ReadOne>
std::vector<Style> ReadMorphStyles(SwfReader &reader, MemoryBudget &budget, ReadOne readOne)
{
    std::vector<Style> styles;
    const size_t count = ReadMorphStyleCount(reader);
    if (!budget.reserve(count * sizeof(Style)))
        return styles;
    for (size_t i = 0; i < count && !reader.overrun(); ++i)
        styles.push_back(readOne(reader));
    return styles;
}

void UseLegacyGradientOrder(MorphShapeData &data)
{
    for (MorphFillStyle &fill : data.fills)
        fill.start.gradient.legacyOrder = fill.end.gradient.legacyOrder = true;
    for (MorphLineStyle &line : data.lines)
        line.start.fill.gradient.legacyOrder = line.end.fill.gradient.legacyOrder = true;
}

}  // namespace

void DefineMorphShapeTag(Tag tag, DefineContext &ctx)
{
    SwfReader &reader = tag.body;
    const bool version2 = tag.code == 84;
    const uint16_t id = reader.u16();
    MorphShapeData data;
    data.startBounds = reader.rect();
    data.endBounds = reader.rect();
    if (version2) {
        reader.rect();  // start and end bounds without line widths
        reader.rect();
        reader.u8();    // which kinds of strokes the shape uses
    }
    const uint32_t endEdgesOffset = reader.u32();
    const size_t endEdgesAt = reader.position() + endEdgesOffset;
    if (reader.overrun())
        return;

    data.fills = ReadMorphStyles<MorphFillStyle>(reader, ctx.budget, ReadMorphFillStyle);
    data.lines = ReadMorphStyles<MorphLineStyle>(reader, ctx.budget,
                                                 [version2](SwfReader &r) { return ReadMorphLineStyle(r, version2); });
    if (ctx.swfVersion < 8)
        UseLegacyGradientOrder(data);
    data.startEdges = ReadShape(reader, &ctx.budget);
    // Some writers leave the offset at zero; the end edges then follow the
    // start edges directly.
    if (endEdgesOffset != 0 && endEdgesAt <= reader.size())
        reader.seek(endEdgesAt);
    data.endEdges = ReadShape(reader, &ctx.budget);
    ctx.dictionary.add(std::make_shared<MorphShapeCharacter>(id, std::move(data)));
}

}  // namespace swf
