#include "swf/characters/fieldtext.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <cmath>

#include "swf/characters/fontcharacter.h"

namespace swf {

namespace {

// The generic names movies use for the player's standard device fonts.
QFont DeviceFont(const FieldStyle &style)
{
    const QString &name = style.fontName;
    QFont qfont;
    if (name.isEmpty() || name == QLatin1String("Times New Roman")) {
        qfont.setFamilies({QStringLiteral("Times New Roman")});
        qfont.setStyleHint(QFont::Serif);
    } else if (name == QLatin1String("_serif")) {
        qfont.setFamilies({QStringLiteral("serif")});
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
    qfont.setPixelSize(std::max(1, int(std::lround(std::min(style.height, 1e6)))));
    qfont.setBold(style.bold);
    qfont.setItalic(style.italic);
    return qfont;
}

bool UsableGlyphs(const FontCharacter *font)
{
    return font && font->glyphCount() > 0 && font->hasCodeTable();
}

}  // namespace

TextLayoutParams FieldText::params(const FieldStyle &style, double ascent, double descent) const
{
    const QRectF box = style.bounds.toQRectF();
    TextLayoutParams params;
    params.area = box.adjusted(kGutter + style.leftMargin, kGutter, -kGutter - style.rightMargin, -kGutter);
    params.indent = style.indent;
    params.align = style.align;
    params.wordWrap = style.wordWrap;
    params.ascent = ascent;
    params.descent = descent;
    params.leading = style.leading;
    return params;
}

void FieldText::layOut(const FieldStyle &style, const QString &text, MemoryBudget *budget)
{
    lines_.clear();
    glyphs_.clear();
    style_ = style;
    embedded_ = UsableGlyphs(style.embeddedFont);
    if (embedded_) {
        layOutGlyphs(style, text, budget);
    } else if (qGuiApp) {  // system fonts need the application's font database
        deviceFont_ = DeviceFont(style);
        hasDeviceFont_ = true;
        layOutDeviceText(style, text);
    }
}

// The text's own size: every line, however far below the box it goes.
void FieldText::measure(const FieldStyle &style, const QString &text, double ascent, double descent,
                        const MeasureText &measureText)
{
    TextLayoutParams whole = params(style, ascent, descent);
    whole.area.setHeight(1e12);
    const std::vector<TextLine> all = LayOutText(text, whole, measureText);
    textWidth_ = 0;
    for (const TextLine &line : all)
        textWidth_ = std::max(textWidth_, measureText(line.text.trimmed()));
    const double lineStep = ascent + descent + style.leading;
    ascent_ = ascent;
    textHeight_ = text.isEmpty() ? 0 : all.size() * lineStep - style.leading;
}

double FieldText::glyphAdvance(QChar c) const
{
    const FontCharacter &font = *style_.embeddedFont;
    const double scale = style_.height / font.emSquare();
    const int glyph = font.glyphForCode(c.unicode());
    if (glyph < 0)
        return c == QLatin1Char(' ') ? style_.height / 4 : 0.0;
    return scale * (font.hasLayout() ? font.advance(glyph) : font.glyph(glyph).boundingRect().right());
}

double FieldText::widthOf(const QString &text) const
{
    if (!embedded_)
        return hasDeviceFont_ ? QFontMetricsF(deviceFont_).horizontalAdvance(text) : 0.0;
    double width = 0;
    for (QChar c : text)
        width += glyphAdvance(c);
    return width;
}

int FieldText::indexAt(const QPointF &point) const
{
    if (lines_.empty())
        return 0;
    size_t row = 0;
    while (row + 1 < lines_.size() && point.y() >= lines_[row + 1].baseline - ascent_)
        ++row;
    const TextLine &line = lines_[row];
    // The boundary nearest the point: past the middle of a character
    // counts as after it.
    double left = line.x;
    for (int i = 0; i < int(line.text.size()); ++i) {
        const double advance = widthOf(line.text.mid(i, 1));
        if (point.x() < left + advance / 2)
            return line.start + i;
        left += advance;
    }
    return line.start + int(line.text.size());
}

void FieldText::layOutGlyphs(const FieldStyle &style, const QString &text, MemoryBudget *budget)
{
    const FontCharacter &font = *style.embeddedFont;
    const double scale = style.height / font.emSquare();
    auto advance = [this](QChar c) { return glyphAdvance(c); };
    auto measureText = [this](const QString &s) { return widthOf(s); };
    const double ascent = font.hasLayout() ? font.ascent() * scale : style.height * 0.8;
    const double descent = font.hasLayout() ? font.descent() * scale : style.height * 0.2;
    lines_ = LayOutText(text, params(style, ascent, descent), measureText);
    measure(style, text, ascent, descent, measureText);
    for (const TextLine &line : lines_) {
        double x = line.x;
        for (QChar c : line.text) {
            const QPainterPath &glyph = font.glyph(font.glyphForCode(c.unicode()));
            if (!glyph.isEmpty()) {
                if (budget && !budget->reserve(sizeof(QPainterPath::Element) * size_t(glyph.elementCount())))
                    return;
                glyphs_.push_back(QTransform(scale, 0, 0, scale, x, line.baseline).map(glyph));
            }
            x += advance(c);
        }
    }
}

void FieldText::layOutDeviceText(const FieldStyle &style, const QString &text)
{
    const QFontMetricsF metrics(deviceFont_);
    const MeasureText measureText = [&metrics](const QString &s) { return metrics.horizontalAdvance(s); };
    lines_ = LayOutText(text, params(style, metrics.ascent(), metrics.descent()), measureText);
    measure(style, text, metrics.ascent(), metrics.descent(), measureText);
}

void DrawFieldBox(QPainter &painter, const QRectF &box, const QColor &line, const QColor &fill)
{
    QPolygonF corners = painter.transform().map(QPolygonF(box));
    for (QPointF &corner : corners)
        corner = QPointF(std::round(corner.x()) + 0.5, std::round(corner.y()) + 0.5);
    painter.save();
    painter.resetTransform();
    painter.setPen(line.isValid() ? QPen(line, 0) : QPen(Qt::NoPen));
    painter.setBrush(fill.isValid() ? QBrush(fill) : QBrush());
    painter.drawPolygon(corners);
    painter.restore();
}

void PaintField(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, const FieldLook &look,
                const FieldText &text)
{
    if (!ctx.painter)
        return;
    ColorTransform colours = cx;
    if (!text.embedded()) {
        colours.mult[3] = 1;
        colours.add[3] = 0;
    }
    const auto shown = [&colours](const QColor &c) { return c.isValid() ? colours.apply(c) : c; };
    QPainter &painter = *ctx.painter;
    painter.save();
    painter.setTransform(toStage.toQTransform() * ctx.stageToDevice);
    painter.setRenderHint(QPainter::Antialiasing, ctx.antialias());
    painter.setRenderHint(QPainter::TextAntialiasing, ctx.antialias());
    if (look.border.isValid() || look.background.isValid())
        DrawFieldBox(painter, look.box, shown(look.border), shown(look.background));
    painter.setClipRect(look.box, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    text.paint(painter, shown(look.text));
    painter.restore();
}

void FieldText::paint(QPainter &painter, const QColor &color) const
{
    if (embedded_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        for (const QPainterPath &glyph : glyphs_)
            painter.drawPath(glyph);
    } else if (hasDeviceFont_) {
        // Device text is never stretched nor turned: each line starts
        // where the field's transform puts it and takes only its vertical
        // scale, the same across.
        const QTransform toDevice = painter.transform();
        const double scale = std::hypot(toDevice.m12(), toDevice.m22());
        painter.setFont(deviceFont_);
        painter.setPen(color);
        for (const TextLine &line : lines_) {
            const QPointF origin = toDevice.map(QPointF(line.x, line.baseline));
            painter.setTransform(QTransform(scale, 0, 0, scale, origin.x(), origin.y()));
            painter.drawText(QPointF(0, 0), line.text);
        }
        painter.setTransform(toDevice);
    }
}

QPainterPath FieldText::letters() const
{
    QPainterPath letters;
    for (const QPainterPath &glyph : glyphs_)
        letters.addPath(glyph);
    letters.setFillRule(Qt::OddEvenFill);
    return letters;
}

}  // namespace swf
