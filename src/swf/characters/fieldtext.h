#pragma once
// The text of a field laid out in one style and drawn: with the glyphs of
// an embedded font where the field asks for outlines and the font has
// them, otherwise as device text in a system font. Shared by the fields a
// movie defines and those scripts change or make. Units are field twips.
// Built and used on one thread at a time.

#include <QFont>
#include <QPainterPath>
#include <QString>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/textlayout.h"
#include "swf/format/memorybudget.h"
#include "swf/format/types.h"

class QPainter;

namespace swf {

class FontCharacter;

// What the layout needs of a field: its box and the format of its text.
struct FieldStyle {
    Rect bounds;
    double height = 240;  // twips; the EM size of the text
    TextAlign align = TextAlign::Left;
    double leftMargin = 0;
    double rightMargin = 0;
    double indent = 0;
    double leading = 0;
    bool wordWrap = false;
    // The device font's name ("_sans", "Arial"...; empty for the default).
    QString fontName;
    bool bold = false;
    bool italic = false;
    // Glyph outlines come from here when set and usable.
    const FontCharacter *embeddedFont = nullptr;
};

// A field's box: filled with `fill` and outlined with a one-pixel line in
// `line` (either may be invalid for none). The line goes through the
// centres of the device pixels along the box's edges, so neither an
// antialiased nor an aliased line falls between two pixels.
void DrawFieldBox(QPainter &painter, const QRectF &box, const QColor &line, const QColor &fill);

class FieldText;

// What a field shows in its own colours: the box, its border and its
// background (an invalid colour for none) and the colour of its letters.
struct FieldLook {
    QRectF box;
    QColor border;
    QColor background;
    QColor text;
};

// Draws a field as both kinds of field do: the box, then the letters
// clipped to it. Device text cannot be made see-through, so a field
// without embedded glyphs takes the colour change but not the alpha.
void PaintField(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, const FieldLook &look,
                const FieldText &text);

class FieldText {
public:
    // The padding Flash keeps between a field's bounds and its text.
    static constexpr double kGutter = 2 * kTwipsPerPixel;

    // Positioned outlines are booked in `budget` when given.
    void layOut(const FieldStyle &style, const QString &text, MemoryBudget *budget);
    // Draws the letters in `color`, clipped to nothing (the caller clips).
    void paint(QPainter &painter, const QColor &color) const;
    // The filled letters of embedded glyphs; empty for device text.
    QPainterPath letters() const;

    bool embedded() const { return embedded_; }
    const std::vector<TextLine> &lines() const { return lines_; }
    // The character boundary nearest `point` (field twips), in the line
    // at its height (the first or the last beyond them).
    int indexAt(const QPointF &point) const;
    // The size of all the text, laid out without the box's height limit.
    double textWidth() const { return textWidth_; }
    double textHeight() const { return textHeight_; }

private:
    TextLayoutParams params(const FieldStyle &style, double ascent, double descent) const;
    void layOutGlyphs(const FieldStyle &style, const QString &text, MemoryBudget *budget);
    void layOutDeviceText(const FieldStyle &style, const QString &text);
    void measure(const FieldStyle &style, const QString &text, double ascent, double descent,
                 const MeasureText &measure);
    double glyphAdvance(QChar c) const;
    double widthOf(const QString &text) const;

    bool embedded_ = false;
    FieldStyle style_;
    double ascent_ = 0;
    QFont deviceFont_;
    bool hasDeviceFont_ = false;
    std::vector<TextLine> lines_;
    std::vector<QPainterPath> glyphs_;
    double textWidth_ = 0;
    double textHeight_ = 0;
};

}  // namespace swf
