#include "swf/characters/edittextcharacter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <cmath>

#include "swf/characters/fontcharacter.h"
#include "swf/characters/htmltext.h"

namespace swf {

namespace {

// The generic names movies use for the player's standard device fonts.
QFont deviceFontFor(const FontCharacter *font, double height)
{
    const QString name = font ? font->name() : QString();
    QFont qfont;
    if (name == QLatin1String("_serif") || name.isEmpty()) {
        qfont.setFamilies({name.isEmpty() ? QStringLiteral("Times New Roman") : QStringLiteral("serif")});
        qfont.setStyleHint(QFont::Serif);
    } else if (name == QLatin1String("_typewriter")) {
        qfont.setFamilies({QStringLiteral("monospace")});
        qfont.setStyleHint(QFont::TypeWriter);
    } else {
        qfont.setFamilies({name == QLatin1String("_sans") ? QStringLiteral("sans-serif") : name});
        qfont.setStyleHint(QFont::SansSerif);
    }
    // Laid out and drawn in twips: the pixel size is the height in twips,
    // the painter's transform scales it to the device.
    qfont.setPixelSize(std::max(1, int(std::lround(height))));
    if (font) {
        qfont.setBold(font->bold());
        qfont.setItalic(font->italic());
    }
    return qfont;
}

}  // namespace

EditTextCharacter::EditTextCharacter(uint16_t id, const EditTextProperties &properties, const FontCharacter *font,
                                     MemoryBudget &budget)
    : Character(id), properties_(properties)
{
    text_ = properties_.initialText;
    if (properties_.html) {
        const HtmlText html = ParseHtmlText(text_);
        text_ = html.text;
        if (html.color)
            properties_.color = *html.color;
        if (html.size)
            properties_.height = *html.size * kTwipsPerPixel;
        if (html.align)
            properties_.align = static_cast<TextAlign>(*html.align);
    }
    if (properties_.password)
        text_ = QString(text_.size(), QLatin1Char('*'));
    embedded_ = properties_.useOutlines && font && font->glyphCount() > 0 && font->hasCodeTable();
    if (embedded_) {
        layOutGlyphs(*font, budget);
    } else if (qGuiApp) {  // system fonts need the application's font database
        deviceFont_ = deviceFontFor(font, properties_.height);
        layOutDeviceText();
    }
}

TextLayoutParams EditTextCharacter::layoutParams(double ascent, double descent) const
{
    const QRectF box = properties_.bounds.toQRectF();
    TextLayoutParams params;
    params.area = box.adjusted(kGutter + properties_.leftMargin, kGutter, -kGutter - properties_.rightMargin, -kGutter);
    params.indent = properties_.indent;
    params.align = properties_.align;
    params.wordWrap = properties_.wordWrap;
    params.ascent = ascent;
    params.descent = descent;
    params.leading = properties_.leading;
    return params;
}

void EditTextCharacter::layOutGlyphs(const FontCharacter &font, MemoryBudget &budget)
{
    const double scale = properties_.height / font.emSquare();
    auto advance = [&](QChar c) {
        const int glyph = font.glyphForCode(c.unicode());
        if (glyph < 0)
            return c == QLatin1Char(' ') ? properties_.height / 4 : 0.0;
        return scale * (font.hasLayout() ? font.advance(glyph) : font.glyph(glyph).boundingRect().right());
    };
    auto measure = [&](const QString &s) {
        double width = 0;
        for (QChar c : s)
            width += advance(c);
        return width;
    };
    const double ascent = font.hasLayout() ? font.ascent() * scale : properties_.height * 0.8;
    const double descent = font.hasLayout() ? font.descent() * scale : properties_.height * 0.2;
    lines_ = LayOutText(text_, layoutParams(ascent, descent), measure);
    for (const TextLine &line : lines_) {
        double x = line.x;
        for (QChar c : line.text) {
            const QPainterPath &glyph = font.glyph(font.glyphForCode(c.unicode()));
            if (!glyph.isEmpty()) {
                if (!budget.reserve(sizeof(QPainterPath::Element) * size_t(glyph.elementCount())))
                    return;
                glyphs_.push_back(QTransform(scale, 0, 0, scale, x, line.baseline).map(glyph));
            }
            x += advance(c);
        }
    }
}

void EditTextCharacter::layOutDeviceText()
{
    const QFontMetricsF metrics(deviceFont_);
    lines_ = LayOutText(text_, layoutParams(metrics.ascent(), metrics.descent()),
                        [&metrics](const QString &s) { return metrics.horizontalAdvance(s); });
}

void EditTextCharacter::drawBorder(QPainter &painter, const ColorTransform &cx) const
{
    // The border is a one-pixel line that fills the device pixels along the
    // field's edges: each corner goes to the centre of the pixel it starts,
    // so neither an antialiased nor an aliased line falls between two pixels.
    QPolygonF box = painter.transform().map(QPolygonF(properties_.bounds.toQRectF()));
    for (QPointF &corner : box)
        corner = QPointF(std::round(corner.x()) + 0.5, std::round(corner.y()) + 0.5);
    painter.save();
    painter.resetTransform();
    painter.setPen(QPen(cx.apply(QColor(Qt::black)), 0));
    painter.setBrush(cx.apply(QColor(Qt::white)));
    painter.drawPolygon(box);
    painter.restore();
}

void EditTextCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t) const
{
    if (!ctx.painter || properties_.bounds.isEmpty())
        return;
    QPainter &painter = *ctx.painter;
    painter.save();
    painter.setTransform(toStage.toQTransform() * ctx.stageToDevice);
    painter.setRenderHint(QPainter::Antialiasing, ctx.antialias());
    painter.setRenderHint(QPainter::TextAntialiasing, ctx.antialias());
    if (properties_.border)
        drawBorder(painter, cx);
    painter.setClipRect(properties_.bounds.toQRectF(), painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const QColor color = cx.apply(properties_.color.toQColor());
    if (embedded_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        for (const QPainterPath &glyph : glyphs_)
            painter.drawPath(glyph);
    } else if (qGuiApp) {
        painter.setFont(deviceFont_);
        painter.setPen(color);
        for (const TextLine &line : lines_)
            painter.drawText(QPointF(line.x, line.baseline), line.text);
    }
    painter.restore();
}

// As a clip layer the field shows what it draws: the letters of embedded
// glyphs, cut at the field's bounds, or the whole box where a background
// is filled or the text is device text.
QPainterPath EditTextCharacter::outline(uint16_t) const
{
    QPainterPath box;
    box.addRect(properties_.bounds.toQRectF());
    if (!embedded_ || properties_.border)
        return box;
    QPainterPath letters;
    for (const QPainterPath &glyph : glyphs_)
        letters.addPath(glyph);
    letters.setFillRule(Qt::OddEvenFill);
    return letters.intersected(box);
}

}  // namespace swf
