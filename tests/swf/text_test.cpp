// Static text: glyphs of an embedded font placed by DefineText records and
// drawn through the text matrix, the placement and the colour transform.

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "fontbuilder.h"
#include "swf/characters/textcharacter.h"

using namespace fonttest;
using namespace swf;

namespace {

// Draws character `id` into a 50 x 25 pixel image, stage twips to pixels.
QImage renderCharacter(const Dictionary &dictionary, uint16_t id, const Matrix &toStage = {},
                       const ColorTransform &cx = {})
{
    QImage image(50, 25, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    RenderContext ctx;
    ctx.painter = &painter;
    ctx.quality = Quality::Low;  // no anti-aliasing: exact pixels
    ctx.stageToDevice = QTransform::fromScale(1 / kTwipsPerPixel, 1 / kTwipsPerPixel);
    ctx.dictionary = &dictionary;
    if (Character *character = dictionary.find(id))
        character->render(ctx, toStage, cx, 0);
    return image;
}

struct TextCase {
    uint16_t fontCode;
    int unit;  // glyph units per 1/1024 EM
    uint16_t textCode;
};

class StaticText : public testing::TestWithParam<TextCase> {};

}  // namespace

// A full-EM square and a quarter-wide bar, 20 pixels high: the square at
// x 0..20, the bar 30 pixels further at 30..35.
TEST_P(StaticText, PlacesScaledGlyphsInTheRecordColour)
{
    const TextCase c = GetParam();
    FontSpec font;
    font.code = c.fontCode;
    font.glyphs = {RectangleGlyph(0, -1024 * c.unit, 1024 * c.unit, 0), RectangleGlyph(0, -1024 * c.unit, 256 * c.unit, 0)};
    font.codes = {'A', 'B'};
    TextRecordSpec record;
    record.height = 400;
    record.y = 400;
    record.color = qRgba(255, 0, 0, 255);
    record.glyphs = {{0, 600}, {1, 100}};
    DefineRunner runner;
    runner.run(c.fontCode, FontBody(font));
    runner.run(c.textCode, TextBody(c.textCode, 2, {record}));
    ASSERT_NE(runner.dictionary.findAs<TextCharacter>(2), nullptr);

    const QImage image = renderCharacter(runner.dictionary, 2);
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(25, 10), 0u);
    EXPECT_EQ(image.pixel(32, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(40, 10), 0u);
    EXPECT_EQ(image.pixel(10, 22), 0u);
}

INSTANTIATE_TEST_SUITE_P(Text, StaticText,
                         testing::Values(TextCase{48, 1, 11}, TextCase{75, 20, 11}, TextCase{48, 1, 33}));

TEST(Text, ColourTransformAndPlacementApply)
{
    FontSpec font;
    font.glyphs = {RectangleGlyph(0, -1024, 1024, 0)};
    font.codes = {'A'};
    TextRecordSpec first;
    first.y = 400;
    first.color = qRgb(0, 0, 255);
    first.glyphs = {{0, 500}};
    TextRecordSpec second = first;
    second.x = 500;
    second.color = qRgb(0, 255, 0);
    DefineRunner runner;
    runner.run(48, FontBody(font));
    runner.run(11, TextBody(11, 2, {first, second}));
    const auto *text = runner.dictionary.findAs<TextCharacter>(2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->runs().size(), 2u);

    Matrix shift;
    shift.tx = 100;  // five pixels right
    ColorTransform addRed;
    addRed.add[0] = 255;
    const QImage image = renderCharacter(runner.dictionary, 2, shift, addRed);
    EXPECT_EQ(image.pixel(3, 10), 0u);
    EXPECT_EQ(image.pixel(6, 10), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(40, 10), qRgb(255, 255, 0));
    EXPECT_TRUE(text->outline(0).contains(QPointF(700, 200)));
    EXPECT_FALSE(text->outline(0).contains(QPointF(700, 500)));
}

TEST(Text, UnknownFontsAndTruncatedRecordsDrawNothingWithoutFault)
{
    TextRecordSpec record;
    record.fontId = 9;  // never defined
    record.glyphs = {{0, 100}, {3, 100}};
    DefineRunner runner;
    const QByteArray body = TextBody(11, 2, {record});
    runner.run(11, body);
    EXPECT_EQ(renderCharacter(runner.dictionary, 2).pixel(2, 2), 0u);
    for (qsizetype cut = 0; cut < body.size(); ++cut) {
        DefineRunner partial;
        partial.run(11, body.left(cut));
    }
}
