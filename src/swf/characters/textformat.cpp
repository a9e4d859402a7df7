#include "swf/characters/textformat.h"

namespace swf {

namespace {

// Applies `f` to each member pair of two formats.
template <class F> void EachMember(TextFormat &a, const TextFormat &b, F &&f)
{
    f(a.font, b.font);
    f(a.size, b.size);
    f(a.color, b.color);
    f(a.bold, b.bold);
    f(a.italic, b.italic);
    f(a.underline, b.underline);
    f(a.url, b.url);
    f(a.target, b.target);
    f(a.letterSpacing, b.letterSpacing);
    f(a.kerning, b.kerning);
    f(a.align, b.align);
    f(a.leftMargin, b.leftMargin);
    f(a.rightMargin, b.rightMargin);
    f(a.indent, b.indent);
    f(a.leading, b.leading);
    f(a.blockIndent, b.blockIndent);
    f(a.bullet, b.bullet);
    f(a.tabStops, b.tabStops);
    f(a.display, b.display);
}

}  // namespace

TextFormat TextFormat::defaults()
{
    TextFormat f;
    f.font = QStringLiteral("Times New Roman");
    f.size = 12;
    f.color = 0;
    f.bold = false;
    f.italic = false;
    f.underline = false;
    f.url = QString();
    f.target = QString();
    f.letterSpacing = 0;
    f.kerning = false;
    f.align = TextAlign::Left;
    f.leftMargin = 0;
    f.rightMargin = 0;
    f.indent = 0;
    f.leading = 0;
    f.blockIndent = 0;
    f.bullet = false;
    f.tabStops = std::vector<double>();
    f.display = QStringLiteral("block");
    return f;
}

void TextFormat::mergeFrom(const TextFormat &other)
{
    EachMember(*this, other, [](auto &mine, const auto &theirs) {
        if (theirs)
            mine = theirs;
    });
}

void TextFormat::intersectWith(const TextFormat &other)
{
    EachMember(*this, other, [](auto &mine, const auto &theirs) {
        if (mine != theirs)
            mine.reset();
    });
}

TextFormat TextFormat::characterPart() const
{
    TextFormat part = *this;
    part.align.reset();
    part.leftMargin.reset();
    part.rightMargin.reset();
    part.indent.reset();
    part.leading.reset();
    part.blockIndent.reset();
    part.bullet.reset();
    part.tabStops.reset();
    part.display.reset();
    return part;
}

TextFormat TextFormat::paragraphPart() const
{
    TextFormat part;
    part.align = align;
    part.leftMargin = leftMargin;
    part.rightMargin = rightMargin;
    part.indent = indent;
    part.leading = leading;
    part.blockIndent = blockIndent;
    part.bullet = bullet;
    part.tabStops = tabStops;
    part.display = display;
    return part;
}

bool TextFormat::operator==(const TextFormat &other) const
{
    bool same = true;
    TextFormat copy = *this;
    EachMember(copy, other, [&same](const auto &mine, const auto &theirs) { same = same && mine == theirs; });
    return same;
}

const char *AlignName(TextAlign align)
{
    switch (align) {
    case TextAlign::Right:
        return "right";
    case TextAlign::Center:
        return "center";
    case TextAlign::Justify:
        return "justify";
    default:
        return "left";
    }
}

std::optional<TextAlign> AlignFromName(const QString &name)
{
    for (TextAlign align : {TextAlign::Left, TextAlign::Right, TextAlign::Center, TextAlign::Justify})
        if (name.compare(QLatin1String(AlignName(align)), Qt::CaseInsensitive) == 0)
            return align;
    return std::nullopt;
}

}  // namespace swf
