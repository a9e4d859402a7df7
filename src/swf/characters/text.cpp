// DefineText and DefineText2: text records resolved against the fonts
// defined before them.

#include <QTransform>
#include <memory>

#include "swf/characters/definetags.h"
#include "swf/characters/fontcharacter.h"
#include "swf/characters/textcharacter.h"

namespace swf {

namespace {

constexpr uint16_t kDefineText2 = 33;

// The state text records carry from one to the next.
struct TextPen {
    const FontCharacter *font = nullptr;
    double height = 0;  // twips
    double x = 0;
    double y = 0;
    Rgba color;
};

// Reads one text record's style part; false at the end record.
bool readRecordStyle(SwfReader &body, bool rgba, const Dictionary &dictionary, TextPen &pen)
{
    body.align();
    const uint8_t flags = body.u8();
    if ((flags & 0x80) == 0 || body.overrun())
        return false;
    if (flags & 0x08)
        pen.font = dictionary.findAs<FontCharacter>(body.u16());
    if (flags & 0x04)
        pen.color = rgba ? body.rgba() : body.rgb();
    if (flags & 0x01)
        pen.x = body.s16();
    if (flags & 0x02)
        pen.y = body.s16();
    if (flags & 0x08)
        pen.height = body.u16();
    return !body.overrun();
}

// Reads the glyph entries of one record into `run`, moving the pen. Each
// placed glyph is a copy of the font's path, booked in `budget`: a tag
// that places one large glyph millions of times stops where the budget
// ends.
void readGlyphEntries(SwfReader &body, unsigned glyphBits, unsigned advanceBits, TextPen &pen,
                      TextCharacter::Run &run, MemoryBudget &budget)
{
    const unsigned count = body.u8();
    const double scale = pen.font ? pen.height / pen.font->emSquare() : 0;
    for (unsigned i = 0; i < count && !body.overrun(); ++i) {
        const uint32_t index = body.ub(glyphBits);
        const int32_t advance = body.sb(advanceBits);
        if (pen.font && !body.overrun()) {
            const QPainterPath &glyph = pen.font->glyph(static_cast<int>(index));
            if (!glyph.isEmpty() && budget.reserve(sizeof(QPainterPath::Element) * size_t(glyph.elementCount())))
                run.glyphs.push_back(QTransform(scale, 0, 0, scale, pen.x, pen.y).map(glyph));
        }
        pen.x += advance;
    }
}

}  // namespace

void DefineTextTag(Tag tag, DefineContext &ctx)
{
    SwfReader &body = tag.body;
    const uint16_t id = body.u16();
    const Rect bounds = body.rect();
    const Matrix matrix = body.matrix();
    const unsigned glyphBits = body.u8();
    const unsigned advanceBits = body.u8();
    if (body.overrun() || ctx.dictionary.find(id) || glyphBits > 32 || advanceBits > 32)
        return;
    std::vector<TextCharacter::Run> runs;
    TextPen pen;
    while (readRecordStyle(body, tag.code == kDefineText2, ctx.dictionary, pen)) {
        if (runs.empty() || runs.back().color != pen.color)
            runs.push_back({pen.color, {}});
        readGlyphEntries(body, glyphBits, advanceBits, pen, runs.back(), ctx.budget);
    }
    ctx.dictionary.add(std::make_shared<TextCharacter>(id, bounds, matrix, std::move(runs)));
}

}  // namespace swf
