#include "swf/characters/textfieldcharacter.h"

#include <QPainterPath>
#include <cmath>

#include "swf/characters/edittextcharacter.h"
#include "swf/characters/fontcharacter.h"

namespace swf {

namespace {

uint32_t Rgb(const Rgba &c)
{
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

QColor ColorOf(uint32_t rgb)
{
    return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

// The format a DefineEditText gives its text.
TextFormat DefinedFormat(const EditTextCharacter &defined)
{
    const EditTextProperties &p = defined.properties();
    TextFormat format = TextFormat::defaults();
    if (defined.font() && !defined.font()->name().isEmpty())
        format.font = defined.font()->name();
    if (defined.font()) {
        format.bold = defined.font()->bold();
        format.italic = defined.font()->italic();
    }
    format.size = p.height / kTwipsPerPixel;
    format.color = Rgb(p.color);
    format.align = p.align;
    format.leftMargin = p.leftMargin / kTwipsPerPixel;
    format.rightMargin = p.rightMargin / kTwipsPerPixel;
    format.indent = p.indent / kTwipsPerPixel;
    format.leading = p.leading / kTwipsPerPixel;
    return format;
}

}  // namespace

TextFieldCharacter::TextFieldCharacter(const EditTextCharacter &defined)
    : Character(defined.id()), box_(defined.properties().bounds), initialText_(defined.properties().initialText),
      font_(defined.font())
{
    const EditTextProperties &p = defined.properties();
    settings_.html = p.html;
    settings_.multiline = p.multiline;
    settings_.wordWrap = p.wordWrap;
    settings_.password = p.password;
    // The border flag of a defined field gives it a white background too.
    settings_.border = p.border;
    settings_.background = p.border;
    settings_.selectable = p.selectable;
    settings_.editable = !p.readOnly;
    settings_.embedFonts = p.useOutlines;
    settings_.autoSize = p.autoSize ? AutoSize::Left : AutoSize::None;
    settings_.maxChars = p.maxLength;
    settings_.variable = p.variableName;
    newTextFormat = DefinedFormat(defined);
    if (p.html)
        setHtmlText(p.initialText);
    else
        setText(p.initialText);
}

TextFieldCharacter::TextFieldCharacter(const Rect &bounds) : Character(0), box_(bounds)
{
    settings_.editable = false;
    newTextFormat = TextFormat::defaults();
}

void TextFieldCharacter::setBounds(const Rect &bounds)
{
    box_ = bounds;
    changed();
}

void TextFieldCharacter::setText(const QString &text)
{
    content_.setText(text, newTextFormat);
    changed();
}

void TextFieldCharacter::setHtmlText(const QString &html)
{
    content_.setHtml(html, newTextFormat, settings_.condenseWhite);
    changed();
}

QString TextFieldCharacter::shownText() const
{
    return settings_.password ? QString(content_.size(), QLatin1Char('*')) : content_.text();
}

FieldStyle TextFieldCharacter::styleFor(const Rect &box) const
{
    const TextFormat format = content_.size() ? content_.formatAt(0) : newTextFormat;
    FieldStyle style;
    style.bounds = box;
    style.height = format.size.value_or(12) * kTwipsPerPixel;
    style.align = format.align.value_or(TextAlign::Left);
    style.leftMargin = (format.leftMargin.value_or(0) + format.blockIndent.value_or(0)) * kTwipsPerPixel;
    style.rightMargin = format.rightMargin.value_or(0) * kTwipsPerPixel;
    style.indent = format.indent.value_or(0) * kTwipsPerPixel;
    style.leading = format.leading.value_or(0) * kTwipsPerPixel;
    style.wordWrap = settings_.wordWrap;
    style.fontName = format.font.value_or(QString());
    style.bold = format.bold.value_or(false);
    style.italic = format.italic.value_or(false);
    if (settings_.embedFonts)
        style.embeddedFont = font_;
    return style;
}

// autoSize fits the box to the text: around its left edge, its right edge
// or its centre; with word wrap only the height follows the text.
void TextFieldCharacter::ensureLayout() const
{
    if (!dirty_)
        return;
    dirty_ = false;
    const QString text = shownText();
    layout_.layOut(styleFor(box_), text, &glyphBudget_);
    laidOutBox_ = box_;
    if (settings_.autoSize == AutoSize::None)
        return;
    const double gutter = 2 * FieldText::kGutter;
    Rect box = box_;
    if (!settings_.wordWrap) {
        const double width = std::ceil(layout_.textWidth()) + gutter;
        const double grow = width - (box.xMax - box.xMin);
        if (settings_.autoSize == AutoSize::Right)
            box.xMin -= int32_t(grow);
        else if (settings_.autoSize == AutoSize::Center)
            box.xMin -= int32_t(grow / 2);
        box.xMax = box.xMin + int32_t(width);
    }
    box.yMax = box.yMin + int32_t(std::ceil(layout_.textHeight()) + gutter);
    laidOutBox_ = box;
    layout_.layOut(styleFor(box), text, &glyphBudget_);
}

Rect TextFieldCharacter::bounds() const
{
    ensureLayout();
    return laidOutBox_;
}

double TextFieldCharacter::textWidth() const
{
    ensureLayout();
    return std::round(layout_.textWidth()) / kTwipsPerPixel;
}

double TextFieldCharacter::textHeight() const
{
    ensureLayout();
    return std::round(layout_.textHeight()) / kTwipsPerPixel;
}

int TextFieldCharacter::lineCount() const
{
    ensureLayout();
    const double step = std::max(1.0, styleFor(box_).height);
    return std::max(1, int(std::lround(layout_.textHeight() / step)));
}

int TextFieldCharacter::visibleLines() const
{
    ensureLayout();
    const double step = std::max(1.0, styleFor(box_).height);
    const double room = (laidOutBox_.yMax - laidOutBox_.yMin) - 2 * FieldText::kGutter;
    return std::max(1, int(room / step));
}

const std::vector<TextLine> &TextFieldCharacter::lines() const
{
    ensureLayout();
    return layout_.lines();
}

int TextFieldCharacter::indexAt(const QPointF &point) const
{
    ensureLayout();
    return std::min(layout_.indexAt(point), content_.size());
}

void TextFieldCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t) const
{
    ensureLayout();
    if (laidOutBox_.isEmpty())
        return;
    FieldLook look;
    look.box = laidOutBox_.toQRectF();
    if (settings_.border)
        look.border = ColorOf(settings_.borderColor);
    if (settings_.background)
        look.background = ColorOf(settings_.backgroundColor);
    const TextFormat format = content_.size() ? content_.formatAt(0) : newTextFormat;
    look.text = ColorOf(format.color.value_or(0));
    PaintField(ctx, toStage, cx, look, layout_);
}

QPainterPath TextFieldCharacter::outline(uint16_t) const
{
    ensureLayout();
    QPainterPath box;
    box.addRect(laidOutBox_.toQRectF());
    if (!layout_.embedded() || settings_.border || settings_.background)
        return box;
    return letters();
}

QPainterPath TextFieldCharacter::letters() const
{
    ensureLayout();
    if (!layout_.embedded())
        return {};
    QPainterPath box;
    box.addRect(laidOutBox_.toQRectF());
    return layout_.letters().intersected(box);
}

}  // namespace swf
