#pragma once
// An edit text field (DefineEditText) showing its initial text: drawn
// with the glyphs of an embedded font where the field asks for outlines
// and the font has them, otherwise as device text in a system font. The
// text is laid out once at load time (lines and, for embedded glyphs, the
// positioned outlines); drawing clips to the field's bounds. A field a
// script reaches gets a TextFieldCharacter of its own, made from this one.
// Immutable after loading; any thread may render.

#include <QPainterPath>
#include <QString>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/fieldtext.h"
#include "swf/format/memorybudget.h"

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
    bool readOnly = false;
    bool selectable = true;
    bool autoSize = false;
    int maxLength = 0;  // 0: no limit
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
    bool usesEmbeddedGlyphs() const { return layout_.embedded(); }
    const std::vector<TextLine> &lines() const { return layout_.lines(); }
    // The field's font from the same dictionary; may be null.
    const FontCharacter *font() const { return font_; }

private:
    EditTextProperties properties_;
    const FontCharacter *font_;
    QString text_;
    FieldText layout_;
};

}  // namespace swf
