#pragma once
// One placed text field as scripts change it: its box, its formatted text
// and the settings of the field (border, background, HTML, word wrap...).
// Unlike the characters of the dictionary it belongs to a single display
// object, which draws it instead of the DefineEditText it started from (or
// has it from createTextField). The layout is made again, when drawn or
// measured, after a change. One player's thread.

#include <optional>

#include "swf/characters/character.h"
#include "swf/characters/fieldtext.h"
#include "swf/characters/formattedtext.h"

namespace swf {

class EditTextCharacter;
class FontCharacter;

enum class AutoSize { None, Left, Right, Center };

struct TextFieldSettings {
    bool html = false;
    bool multiline = false;
    bool wordWrap = false;
    bool password = false;
    bool border = false;
    bool background = false;
    bool selectable = true;
    bool editable = false;  // type "input"
    bool embedFonts = false;
    bool condenseWhite = false;
    uint32_t borderColor = 0;
    uint32_t backgroundColor = 0xFFFFFF;
    AutoSize autoSize = AutoSize::None;
    int maxChars = 0;  // 0: no limit
    std::optional<QString> restrict;
    QString variable;
};

class TextFieldCharacter : public Character {
public:
    // A field as its DefineEditText places it.
    explicit TextFieldCharacter(const EditTextCharacter &defined);
    // An empty field of `bounds` (twips), as createTextField makes it.
    explicit TextFieldCharacter(const Rect &bounds);

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    // The letters of embedded glyphs within the box; empty for device text.
    QPainterPath letters() const;
    Rect bounds() const override;

    // The box before autoSize has its say; setting it lays out again.
    void setBounds(const Rect &bounds);

    TextFieldSettings &settings() { return settings_; }
    const TextFieldSettings &settings() const { return settings_; }
    FormattedText &content() { return content_; }
    const FormattedText &content() const { return content_; }
    // The format new text is written in.
    TextFormat newTextFormat;

    // Must follow every change of the settings or the content.
    void changed() { dirty_ = true; }

    // The text replaced by plain text or markup, in the new text format.
    void setText(const QString &text);
    void setHtmlText(const QString &html);
    QString htmlText() const { return content_.toHtml(newTextFormat); }
    // What the field held when placed (markup for an HTML field): a
    // variable it is newly bound to starts with it.
    const QString &initialText() const { return initialText_; }

    // In pixels, as scripts read them.
    double textWidth() const;
    double textHeight() const;
    // Lines of the text and how many fit the box, for scroll and maxscroll.
    int lineCount() const;
    int visibleLines() const;
    // The lines as laid out in the box, and the character boundary
    // nearest a point of the field (twips).
    const std::vector<TextLine> &lines() const;
    int indexAt(const QPointF &point) const;

    int scroll = 1;  // the first line shown, 1-based

private:
    FieldStyle styleFor(const Rect &box) const;
    QString shownText() const;
    void ensureLayout() const;

    Rect box_;
    QString initialText_;
    const FontCharacter *font_ = nullptr;
    TextFieldSettings settings_;
    FormattedText content_;
    mutable bool dirty_ = true;
    mutable Rect laidOutBox_;
    mutable FieldText layout_;
    mutable MemoryBudget glyphBudget_{size_t(16) << 20};
};

}  // namespace swf
