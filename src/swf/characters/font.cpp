// DefineFont, DefineFont2, DefineFont3 and DefineFontInfo 1/2.

#include <algorithm>
#include <memory>

#include "swf/characters/definetags.h"
#include "swf/characters/fontcharacter.h"
#include "swf/characters/shaperecords.h"

namespace swf {

namespace {

constexpr uint16_t kDefineFont3 = 75;
constexpr uint16_t kDefineFontInfo2 = 62;

// Upper bound of what a glyph's path holds per byte of its records (an
// edge takes at least a byte and may become a path element on each side):
// booked before a glyph is built so that a huge font tag cannot make paths
// beyond the movie's budget.
constexpr size_t kPathBytesPerGlyphByte = 2 * sizeof(QPainterPath::Element);

// Flag bits shared by DefineFont2/3 and DefineFontInfo.
constexpr uint8_t kFlagBold = 0x01;
constexpr uint8_t kFlagItalic = 0x02;
constexpr uint8_t kFlagWideCodes = 0x04;
constexpr uint8_t kFlagWideOffsets = 0x08;
constexpr uint8_t kFlagHasLayout = 0x80;

// Glyph i of a font runs from its offset to the next one (the last to
// `end`); offsets count from `base` in the tag body. Glyphs whose extent
// lies outside the body are empty.
std::vector<QPainterPath> readGlyphs(const SwfReader &body, size_t base, const std::vector<uint32_t> &offsets,
                                     size_t end, MemoryBudget &budget)
{
    std::vector<QPainterPath> glyphs(offsets.size());
    end = std::min(end, body.size());
    for (size_t i = 0; i < offsets.size(); ++i) {
        const size_t start = base + offsets[i];
        const size_t stop = i + 1 < offsets.size() ? std::min<size_t>(base + offsets[i + 1], end) : end;
        if (start >= stop || stop > body.size())
            continue;
        if (!budget.reserve((stop - start) * kPathBytesPerGlyphByte))
            break;
        SwfReader glyph(body.data() + start, stop - start);
        glyphs[i] = GlyphPath(glyph);
    }
    return glyphs;
}

QString fontName(SwfReader &body, size_t length, int swfVersion)
{
    const size_t available = std::min(length, body.remaining());
    const auto *bytes = reinterpret_cast<const char *>(body.current());
    body.skip(length);
    QString name = swfVersion >= 6 ? QString::fromUtf8(bytes, qsizetype(available))
                                   : QString::fromLatin1(bytes, qsizetype(available));
    while (name.endsWith(QChar(0)))
        name.chop(1);
    return name;
}

std::vector<uint16_t> readCodes(SwfReader &body, size_t count, bool wide)
{
    std::vector<uint16_t> codes;
    codes.reserve(std::min(count, body.remaining()));
    for (size_t i = 0; i < count && !body.atEnd(); ++i)
        codes.push_back(wide ? body.u16() : body.u8());
    return codes;
}

void readLayout(SwfReader &body, FontCharacter &font)
{
    const double ascent = body.u16();
    const double descent = body.u16();
    const double leading = body.s16();
    std::vector<double> advances;
    advances.reserve(std::min<size_t>(size_t(font.glyphCount()), body.remaining() / 2));
    for (int i = 0; i < font.glyphCount() && !body.atEnd(); ++i)
        advances.push_back(body.s16());
    if (!body.overrun())
        font.setLayout(ascent, descent, leading, std::move(advances));
    // The glyph bounds and the kerning pairs follow; text here is laid out
    // from the advances alone.
}

void defineFont1(SwfReader &body, uint16_t id, DefineContext &ctx)
{
    const size_t base = body.position();
    // The offset table's size tells the glyph count: the first offset
    // points just past the table.
    const uint16_t first = body.u16();
    std::vector<uint32_t> offsets;
    if (first >= 2)
        offsets.push_back(first);
    for (size_t i = 1; i < first / 2u && !body.overrun(); ++i)
        offsets.push_back(body.u16());
    if (body.overrun())
        return;
    ctx.dictionary.add(std::make_shared<FontCharacter>(
        id, FontCharacter::kEmSquare, readGlyphs(body, base, offsets, body.size(), ctx.budget)));
}

void defineFont2(SwfReader &body, uint16_t id, bool fine, DefineContext &ctx)
{
    const uint8_t flags = body.u8();
    body.u8();  // language code
    const QString name = fontName(body, body.u8(), ctx.swfVersion);
    const uint16_t glyphCount = body.u16();
    const size_t base = body.position();
    const bool wideOffsets = flags & kFlagWideOffsets;
    std::vector<uint32_t> offsets;
    offsets.reserve(std::min<size_t>(glyphCount, body.remaining() / 2));
    for (size_t i = 0; i < glyphCount && !body.overrun(); ++i)
        offsets.push_back(wideOffsets ? body.u32() : body.u16());
    const uint32_t codeTableOffset = glyphCount == 0 ? 0 : wideOffsets ? body.u32() : body.u16();
    if (body.overrun())
        return;
    auto font = std::make_shared<FontCharacter>(
        id, fine ? FontCharacter::kEmSquareFine : FontCharacter::kEmSquare,
        readGlyphs(body, base, offsets, base + codeTableOffset, ctx.budget));
    font->setNameAndStyle(name, flags & kFlagBold, flags & kFlagItalic);
    if (glyphCount > 0) {
        body.seek(base + codeTableOffset);
        font->setCodeTable(readCodes(body, glyphCount, fine || (flags & kFlagWideCodes)));
        if ((flags & kFlagHasLayout) && !body.overrun())
            readLayout(body, *font);
    }
    ctx.dictionary.add(std::move(font));
}

}  // namespace

void DefineFontTag(Tag tag, DefineContext &ctx)
{
    SwfReader &body = tag.body;
    const uint16_t id = body.u16();
    if (body.overrun() || ctx.dictionary.find(id))
        return;
    if (tag.code == 10)
        defineFont1(body, id, ctx);
    else
        defineFont2(body, id, tag.code == kDefineFont3, ctx);
}

void DefineFontInfoTag(Tag tag, DefineContext &ctx)
{
    SwfReader &body = tag.body;
    auto *font = ctx.dictionary.findAs<FontCharacter>(body.u16());
    if (!font)
        return;
    const QString name = fontName(body, body.u8(), ctx.swfVersion);
    const uint8_t flags = body.u8();
    const bool second = tag.code == kDefineFontInfo2;
    if (second)
        body.u8();  // language code
    if (body.overrun())
        return;
    font->setNameAndStyle(name, flags & kFlagBold, flags & kFlagItalic);
    font->setCodeTable(readCodes(body, size_t(font->glyphCount()), second || (flags & kFlagWideCodes)));
}

}  // namespace swf
