#include <memory>

#include "swf/characters/definetags.h"
#include "swf/characters/shapecharacter.h"

namespace swf {

namespace {

int ShapeVersion(uint16_t code)
{
    switch (code) {
    case 2: return 1;
    case 22: return 2;
    case 32: return 3;
    default: return 4;
    }
}

}  // namespace

void DefineShapeTag(Tag tag, DefineContext &ctx)
{
    SwfReader &reader = tag.body;
    const int version = ShapeVersion(tag.code);
    const uint16_t id = reader.u16();
    const Rect bounds = reader.rect();
    Qt::FillRule fillRule = Qt::OddEvenFill;
    if (version == 4) {
        reader.rect();  // edge bounds: the bounds without line widths
        reader.ub(5);
        if (reader.flag())
            fillRule = Qt::WindingFill;
        reader.ub(2);  // which kinds of strokes the shape uses
    }
    if (reader.overrun())
        return;
    ShapeRecords records = ReadShapeWithStyle(reader, version, &ctx.budget);
    if (ctx.swfVersion < 8)
        UseLegacyGradientOrder(records.groups);
    ctx.dictionary.add(std::make_shared<ShapeCharacter>(id, bounds, std::move(records), fillRule));
}

}  // namespace swf
