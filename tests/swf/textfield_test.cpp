// Edit text fields: HTML markup of the initial text, line layout, and
// drawing with embedded glyphs or a system font inside the field's bounds.

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "fontbuilder.h"
#include "swf/characters/edittextcharacter.h"
#include "swf/characters/htmltext.h"
#include "swf/characters/textlayout.h"

using namespace fonttest;
using namespace swf;

namespace {

struct FieldSpec {
    uint16_t id = 3;
    int xMin = 0, xMax = 2000, yMin = 0, yMax = 600;  // twips
    uint8_t flags = 0x80 | 0x04 | 0x01;                // text, colour, font
    uint8_t flags2 = 0;
    uint16_t fontId = 1;
    uint16_t height = 400;
    QRgb color = qRgb(0, 0, 0);
    QByteArray text = "Hello";
};

QByteArray fieldBody(const FieldSpec &f)
{
    BitWriter w;
    w.u16(f.id);
    const unsigned bits = SignedBits({f.xMin, f.xMax, f.yMin, f.yMax});
    w.ub(bits, 5);
    for (int v : {f.xMin, f.xMax, f.yMin, f.yMax})
        w.sb(v, bits);
    w.u8(f.flags);
    w.u8(f.flags2);
    w.u16(f.fontId);
    w.u16(f.height);
    for (int channel : {qRed(f.color), qGreen(f.color), qBlue(f.color), qAlpha(f.color)})
        w.u8(unsigned(channel));
    w.append(QByteArray("field", 6));  // variable name
    w.append(f.text + '\0');
    return w.bytes();
}

QImage renderField(const Dictionary &dictionary, uint16_t id, Quality quality = Quality::Low)
{
    const QSize size(120, 40);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    RenderContext ctx;
    ctx.painter = &painter;
    ctx.quality = quality;
    ctx.stageToDevice = QTransform::fromScale(1 / kTwipsPerPixel, 1 / kTwipsPerPixel);
    if (Character *character = dictionary.find(id))
        character->render(ctx, Matrix{}, ColorTransform{}, 0);
    return image;
}

int darkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 && qGray(image.pixel(x, y)) < 100;
    return count;
}

FontSpec squareFont(QString name = QStringLiteral("Blocky"))
{
    FontSpec font;
    font.name = std::move(name);
    font.glyphs = {RectangleGlyph(0, -1024, 1024, 0), RectangleGlyph(0, -1024, 512, 0)};
    font.codes = {'A', 'I'};
    font.advances = {1024, 512};
    font.ascent = 1024;
    font.descent = 0;
    return font;
}

struct HtmlCase {
    const char *html;
    const char *text;
};

class HtmlMarkup : public testing::TestWithParam<HtmlCase> {};

}  // namespace

TEST_P(HtmlMarkup, IsStrippedToTheShownText)
{
    EXPECT_EQ(ParseHtmlText(QString::fromUtf8(GetParam().html)).text, QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(TextField, HtmlMarkup,
                         testing::Values(HtmlCase{"<p>one</p><p>two</p>", "one\ntwo"},
                                         HtmlCase{"a<br>b<BR/>c", "a\nb\nc"},
                                         HtmlCase{"&lt;&amp;&gt; &quot;q&quot; &#65;&#x42;", "<&> \"q\" AB"},
                                         HtmlCase{"fish &chips; &unknown;", "fish &chips; &unknown;"},
                                         HtmlCase{"<b>bold</b> <i>it</i>", "bold it"},
                                         HtmlCase{"cut <font", "cut "}));

TEST(TextField, HtmlFontAndParagraphSetColourSizeAndAlignment)
{
    const HtmlText html = ParseHtmlText(
        QStringLiteral("<P ALIGN=\"CENTER\"><FONT FACE=\"Arial\" SIZE=\"20\" COLOR=\"#FF8000\">x</FONT></P>"));
    EXPECT_EQ(html.text, QStringLiteral("x"));
    ASSERT_TRUE(html.color && html.size && html.align);
    EXPECT_EQ(*html.color, (Rgba{255, 128, 0, 255}));
    EXPECT_EQ(*html.size, 20.0);
    EXPECT_EQ(*html.align, 2);
}

TEST(TextField, LayoutWrapsAlignsAndIndents)
{
    TextLayoutParams params;
    params.area = QRectF(0, 0, 100, 1000);
    params.ascent = 8;
    params.descent = 2;
    params.leading = 5;
    params.wordWrap = true;
    const auto measure = [](const QString &s) { return 10.0 * s.size(); };
    auto lines = LayOutText(QStringLiteral("aaaa bbbb cccc\rdd"), params, measure);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text.trimmed(), QStringLiteral("aaaa bbbb"));
    EXPECT_EQ(lines[1].text, QStringLiteral("cccc"));
    EXPECT_EQ(lines[2].text, QStringLiteral("dd"));
    EXPECT_EQ(lines[0].baseline, 8.0);
    EXPECT_EQ(lines[1].baseline, 23.0);

    params.wordWrap = false;
    params.align = TextAlign::Right;
    lines = LayOutText(QStringLiteral("abc"), params, measure);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, 70.0);

    params.align = TextAlign::Left;
    params.indent = 15;
    params.wordWrap = true;
    lines = LayOutText(QStringLiteral("aaaaaaaaaaaa"), params, measure);  // longer than a line
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x, 15.0);
    EXPECT_EQ(lines[0].text, QStringLiteral("aaaaaaaa"));
    EXPECT_EQ(lines[1].x, 0.0);
}

TEST(TextField, EmbeddedGlyphsFollowTheCodeTable)
{
    FieldSpec field;
    field.flags2 = 0x01;  // use outlines
    field.text = "AIA?";
    field.color = qRgb(0, 0, 200);
    DefineRunner runner;
    runner.run(48, FontBody(squareFont()));
    runner.run(37, fieldBody(field));
    const auto *text = runner.dictionary.findAs<EditTextCharacter>(3);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->usesEmbeddedGlyphs());
    // 2 px gutter, 20 px squares: A at x 2..22, I at 22..32, A at 32..52.
    const QImage image = renderField(runner.dictionary, 3);
    EXPECT_EQ(image.pixel(1, 10), 0u);
    EXPECT_EQ(image.pixel(3, 3), qRgb(0, 0, 200));
    EXPECT_EQ(image.pixel(27, 20), qRgb(0, 0, 200));
    EXPECT_EQ(image.pixel(40, 20), qRgb(0, 0, 200));
    EXPECT_EQ(image.pixel(55, 20), 0u);
    EXPECT_EQ(image.pixel(10, 23), 0u);
}

TEST(TextField, DeviceTextDrawsInsideItsBoundsOnly)
{
    FieldSpec field;
    field.xMin = 200;
    field.xMax = 1400;   // 10 .. 70 px
    field.yMax = 500;    // 0 .. 25 px
    field.text = "WWWWWWWWWWWWWWWWWWWWWWWWWWW";
    DefineRunner runner;
    FontSpec deviceFont;
    deviceFont.name = QStringLiteral("_sans");
    runner.run(48, FontBody(deviceFont));
    runner.run(37, fieldBody(field));
    const auto *text = runner.dictionary.findAs<EditTextCharacter>(3);
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(text->usesEmbeddedGlyphs());
    const QImage image = renderField(runner.dictionary, 3);
    EXPECT_GT(darkPixels(image, QRect(10, 0, 60, 25)), 30);
    EXPECT_EQ(darkPixels(image, QRect(0, 0, 10, 40)), 0);
    EXPECT_EQ(darkPixels(image, QRect(71, 0, 49, 40)), 0);
    EXPECT_EQ(darkPixels(image, QRect(0, 26, 120, 14)), 0);
}

TEST(TextField, BorderFillsTheBackgroundAndOutlinesTheBounds)
{
    FieldSpec field;
    field.flags2 = 0x08;
    field.text = "";
    DefineRunner runner;
    runner.run(37, fieldBody(field));  // font 1 undefined: default device font
    const QImage image = renderField(runner.dictionary, 3);
    EXPECT_EQ(image.pixel(50, 15), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(105, 10), 0u);
}

// A line between two pixel rows would turn both grey: each edge of the
// border fills exactly the one pixel column or row it starts.
TEST(TextField, BorderLinesCoverWholePixelsWhenAntialiased)
{
    FieldSpec field;
    field.flags2 = 0x08;
    field.text = "";
    field.xMin = 200;  // 10 .. 90 px
    field.xMax = 1800;
    field.yMin = 100;  // 5 .. 25 px
    field.yMax = 500;
    DefineRunner runner;
    runner.run(37, fieldBody(field));
    const QImage image = renderField(runner.dictionary, 3, Quality::High);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    struct Probe {
        QPoint at;
        QRgb expected;
    };
    for (const Probe &probe : {Probe{{9, 15}, 0u}, Probe{{10, 15}, black}, Probe{{11, 15}, white},
                               Probe{{89, 15}, white}, Probe{{90, 15}, black}, Probe{{91, 15}, 0u},
                               Probe{{50, 4}, 0u}, Probe{{50, 5}, black}, Probe{{50, 6}, white},
                               Probe{{50, 24}, white}, Probe{{50, 25}, black}, Probe{{50, 26}, 0u}})
        EXPECT_EQ(image.pixel(probe.at), probe.expected) << probe.at.x() << ',' << probe.at.y();
}

struct OutlineCase {
    int xMax;        // twips
    uint8_t flags2;  // use outlines, border
    QPointF inside, outside;
};

class FieldOutline : public testing::TestWithParam<OutlineCase> {};

// "I I" in 20 px squares: letters at x 40..240 and 340..540 twips, y 40..440.
TEST_P(FieldOutline, FollowsWhatTheFieldDraws)
{
    FieldSpec field;
    field.xMax = GetParam().xMax;
    field.flags2 = GetParam().flags2;
    field.text = "I I";
    DefineRunner runner;
    runner.run(48, FontBody(squareFont()));
    runner.run(37, fieldBody(field));
    const auto *text = runner.dictionary.findAs<EditTextCharacter>(3);
    ASSERT_NE(text, nullptr);
    const QPainterPath outline = text->outline(0);
    EXPECT_TRUE(outline.contains(GetParam().inside));
    EXPECT_FALSE(outline.contains(GetParam().outside));
}

INSTANTIATE_TEST_SUITE_P(TextField, FieldOutline,
                         testing::Values(OutlineCase{2000, 0x01, {140, 240}, {290, 240}},  // gap between letters
                                         OutlineCase{2000, 0x01, {440, 240}, {140, 500}},  // below the letters
                                         OutlineCase{400, 0x01, {340, 240}, {440, 240}},   // cut at the bounds
                                         OutlineCase{2000, 0x09, {290, 240}, {2100, 240}},  // background box
                                         OutlineCase{2000, 0x00, {290, 500}, {2100, 240}}));  // device text

TEST(TextField, PasswordAndHtmlFieldsShowTheirDisplayText)
{
    FieldSpec password;
    password.flags |= 0x10;
    FieldSpec html;
    html.id = 4;
    html.flags2 = 0x02;
    html.text = "<p>a &amp; b</p>";
    DefineRunner runner;
    runner.run(37, fieldBody(password));
    runner.run(37, fieldBody(html));
    EXPECT_EQ(runner.dictionary.findAs<EditTextCharacter>(3)->displayedText(), QStringLiteral("*****"));
    EXPECT_EQ(runner.dictionary.findAs<EditTextCharacter>(4)->displayedText(), QStringLiteral("a & b"));
}

TEST(TextField, EveryTruncationLoadsAndDrawsWithoutFault)
{
    FieldSpec field;
    field.flags2 = 0x01 | 0x02 | 0x08;
    field.text = "<p>AI</p>";
    const QByteArray body = fieldBody(field);
    for (qsizetype cut = 0; cut < body.size(); ++cut) {
        DefineRunner runner;
        runner.run(48, FontBody(squareFont()));
        runner.run(37, body.left(cut));
        renderField(runner.dictionary, 3);
    }
}
