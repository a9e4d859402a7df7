#pragma once
// An edit text field (DefineEditText) showing its initial text: drawn
// with the glyphs of an embedded font where the field asks for outlines
// and the font has them, otherwise as device text in a system font. The
// text is laid out once at load time (lines and, for embedded glyphs, the
// positioned outlines); drawing clips to the field's bounds. Fields are
// not editable and no script changes their text yet.
// Immutable after loading; any thread may render.

#include <QFont>
#include <QPainterPath>
#include <QString>
#include <vector>

#include "swf/characters/character.h"
#include "swf/format/memorybudget.h"
#include "swf/characters/textlayout.h"

namespace swf {

class FontCharacter;

struct EditTextProperties {
    Rect bounds;
    bool wordWrap = false;
    bool multiline = false;
    bool password = false;
    bool border = false;
    bool html = false;
    bool useOutlines = false;
    double height = 240;  // twips; the EM size of the text
    Rgba color{0, 0, 0, 255};
    TextAlign align = TextAlign::Left;
    double leftMargin = 0;
    double rightMargin = 0;
    double indent = 0;
    double leading = 0;
    QString variableName;
    QString initialText;
};

class EditTextCharacter : public Character {
public:
    // The padding Flash keeps between a field's bounds and its text.
    static constexpr double kGutter = 2 * kTwipsPerPixel;

    // `font` (may be null) is the field's font from the same dictionary;
    // positioned glyph outlines are booked in `budget`.
    EditTextCharacter(uint16_t id, const EditTextProperties &properties, const FontCharacter *font,
                      MemoryBudget &budget);

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    Rect bounds() const override { return properties_.bounds; }

    const EditTextProperties &properties() const { return properties_; }
    // The text as shown: markup removed, password fields masked.
    const QString &displayedText() const { return text_; }
    bool usesEmbeddedGlyphs() const { return embedded_; }
    const std::vector<TextLine> &lines() const { return lines_; }

private:
    TextLayoutParams layoutParams(double ascent, double descent) const;
    void layOutGlyphs(const FontCharacter &font, MemoryBudget &budget);
    void layOutDeviceText();
    void drawBorder(QPainter &painter, const ColorTransform &cx) const;

    EditTextProperties properties_;
    QString text_;
    bool embedded_ = false;
    QFont deviceFont_;
    std::vector<TextLine> lines_;
    std::vector<QPainterPath> glyphs_;  // embedded glyphs in field twips
};

}  // namespace swf
