#include "swf/characters/edittextcharacter.h"

#include <QPainterPath>
#include <cmath>

#include "swf/characters/fontcharacter.h"
#include "swf/characters/htmltext.h"

namespace swf {

EditTextCharacter::EditTextCharacter(uint16_t id, const EditTextProperties &properties, const FontCharacter *font,
                                     MemoryBudget &budget)
    : Character(id), properties_(properties), font_(font)
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
    FieldStyle style;
    style.bounds = properties_.bounds;
    style.height = properties_.height;
    style.align = properties_.align;
    style.leftMargin = properties_.leftMargin;
    style.rightMargin = properties_.rightMargin;
    style.indent = properties_.indent;
    style.leading = properties_.leading;
    style.wordWrap = properties_.wordWrap;
    if (font) {
        style.fontName = font->name();
        style.bold = font->bold();
        style.italic = font->italic();
    }
    if (properties_.useOutlines)
        style.embeddedFont = font;
    layout_.layOut(style, text_, &budget);
}

void EditTextCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t) const
{
    if (properties_.bounds.isEmpty())
        return;
    FieldLook look;
    look.box = properties_.bounds.toQRectF();
    if (properties_.border) {
        look.border = Qt::black;
        look.background = Qt::white;
    }
    look.text = properties_.color.toQColor();
    PaintField(ctx, toStage, cx, look, layout_);
}

// As a clip layer the field shows what it draws: the letters of embedded
// glyphs, cut at the field's bounds, or the whole box where a background
// is filled or the text is device text.
QPainterPath EditTextCharacter::outline(uint16_t) const
{
    QPainterPath box;
    box.addRect(properties_.bounds.toQRectF());
    if (!layout_.embedded() || properties_.border)
        return box;
    return layout_.letters().intersected(box);
}

}  // namespace swf
