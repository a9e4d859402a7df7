// Font definitions: glyph outlines, code tables, names and layout of
// DefineFont 1 to 3 and DefineFontInfo, and damaged font tags.

#include <gtest/gtest.h>

#include "fontbuilder.h"
#include "swf/characters/fontcharacter.h"

using namespace fonttest;
using swf::FontCharacter;

namespace {

FontSpec twoGlyphFont(uint16_t code, int unit)
{
    FontSpec font;
    font.code = code;
    font.glyphs = {RectangleGlyph(0, -1024 * unit, 1024 * unit, 0), RectangleGlyph(0, -512 * unit, 256 * unit, 0)};
    font.codes = {'A', 'i'};
    font.advances = {int16_t(1100 * unit), int16_t(300 * unit)};
    font.ascent = 900 * unit;
    font.descent = 200 * unit;
    return font;
}

}  // namespace

TEST(Font, DefineFont2And3ReadGlyphsCodesAndLayoutInTheirUnits)
{
    for (const auto &[code, unit] : {std::pair{48, 1}, std::pair{75, 20}}) {
        DefineRunner runner;
        runner.run(uint16_t(code), FontBody(twoGlyphFont(uint16_t(code), unit)));
        const auto *font = runner.dictionary.findAs<FontCharacter>(1);
        ASSERT_NE(font, nullptr) << code;
        EXPECT_EQ(font->emSquare(), 1024.0 * unit);
        EXPECT_EQ(font->name(), QStringLiteral("Blocky"));
        ASSERT_EQ(font->glyphCount(), 2);
        EXPECT_EQ(font->glyph(0).boundingRect(), QRectF(0, -1024 * unit, 1024 * unit, 1024 * unit));
        EXPECT_EQ(font->glyph(1).boundingRect(), QRectF(0, -512 * unit, 256 * unit, 512 * unit));
        EXPECT_TRUE(font->glyph(2).isEmpty());
        EXPECT_EQ(font->glyphForCode('A'), 0);
        EXPECT_EQ(font->glyphForCode('i'), 1);
        EXPECT_EQ(font->glyphForCode('B'), -1);
        ASSERT_TRUE(font->hasLayout());
        EXPECT_EQ(font->ascent(), 900.0 * unit);
        EXPECT_EQ(font->descent(), 200.0 * unit);
        EXPECT_EQ(font->advance(1), 300.0 * unit);
    }
}

TEST(Font, DefineFontInfoGivesAFont1ItsNameAndCodes)
{
    FontSpec spec;
    spec.code = 10;
    spec.id = 4;
    spec.glyphs = {RectangleGlyph(0, -100, 100, 0), RectangleGlyph(0, -50, 50, 0)};
    DefineRunner runner;
    runner.run(10, FontBody(spec));
    const auto *font = runner.dictionary.findAs<FontCharacter>(4);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->glyphCount(), 2);
    EXPECT_EQ(font->glyph(1).boundingRect(), QRectF(0, -50, 50, 50));
    EXPECT_FALSE(font->hasCodeTable());

    // DefineFontInfo: id, name, flags (bold, 8-bit codes), codes.
    runner.run(13, QByteArray("\x04\x00\x05Serif\x01", 9) + "xy");
    EXPECT_EQ(font->name(), QStringLiteral("Serif"));
    EXPECT_TRUE(font->bold());
    EXPECT_EQ(font->glyphForCode('y'), 1);
    // DefineFontInfo2: wide codes and a language byte.
    runner.run(62, QByteArray("\x04\x00\x01Z\x02\x00\x41\x00\x42\x00", 11));
    EXPECT_TRUE(font->italic());
    EXPECT_EQ(font->glyphForCode('B'), 1);
    EXPECT_EQ(font->glyphForCode('y'), -1);
}

TEST(Font, EveryTruncationOfAFontTagLoadsWithoutFault)
{
    const QByteArray body = FontBody(twoGlyphFont(48, 1));
    for (qsizetype cut = 0; cut < body.size(); ++cut) {
        DefineRunner runner;
        runner.run(48, body.left(cut));
        if (const auto *font = runner.dictionary.findAs<FontCharacter>(1)) {
            EXPECT_LE(font->glyphCount(), 2);
        }
    }
}

TEST(Font, OffsetsPointingOutsideTheTagGiveEmptyGlyphs)
{
    FontSpec spec = twoGlyphFont(48, 1);
    QByteArray body = FontBody(spec);
    // Name "Blocky" ends at byte 10; glyph count at 11, offsets from 13.
    body[13] = char(0xF0);
    body[14] = char(0x7F);
    DefineRunner runner;
    runner.run(48, body);
    const auto *font = runner.dictionary.findAs<FontCharacter>(1);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->glyph(0).isEmpty());
    EXPECT_FALSE(font->glyph(1).isEmpty());
}
