#include "swf/characters/htmltext.h"

#include <QRegularExpression>

namespace swf {

QString HtmlAttribute(const QString &tag, const QString &name, bool *found)
{
    static const QRegularExpression pattern(
        QStringLiteral("([a-zA-Z]+)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"));
    for (auto it = pattern.globalMatch(tag); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).compare(name, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = true;
            return m.captured(2) + m.captured(3) + m.captured(4);
        }
    }
    if (found)
        *found = false;
    return {};
}

QChar HtmlEntity(const QString &name)
{
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                                                                                   : name.mid(1).toUInt(&ok, 10);
        return ok && code > 0 && code < 0xFFFF ? QChar(code) : QChar();
    }
    static const std::pair<const char *, char16_t> names[] = {
        {"lt", u'<'}, {"gt", u'>'}, {"amp", u'&'}, {"quot", u'"'}, {"apos", u'\''}, {"nbsp", u'\u00A0'}};
    for (const auto &[entityName, ch] : names)
        if (name == QLatin1String(entityName))
            return QChar(ch);
    return QChar();
}

namespace {

void applyTag(const QString &tag, HtmlText &out)
{
    const QString lower = tag.toLower();
    const QString name = lower.section(QRegularExpression(QStringLiteral("[\\s/]")), 0, 0, QString::SectionSkipEmpty);
    const bool closing = lower.startsWith(QLatin1Char('/'));
    if (name == QLatin1String("br") || (closing && (name == QLatin1String("p") || name == QLatin1String("li")))) {
        out.text += QLatin1Char('\n');
    } else if (!closing && name == QLatin1String("font")) {
        const QString color = HtmlAttribute(tag, QStringLiteral("color"));
        if (!out.color && color.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint rgb = color.mid(1).toUInt(&ok, 16);
            if (ok)
                out.color = Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
        }
        bool ok = false;
        const double size = HtmlAttribute(tag, QStringLiteral("size")).toDouble(&ok);
        if (!out.size && ok && size > 0)
            out.size = size;
    } else if (!closing && name == QLatin1String("p") && !out.align) {
        static const QString aligns[] = {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("center"),
                                         QStringLiteral("justify")};
        const QString align = HtmlAttribute(tag, QStringLiteral("align")).toLower();
        for (int i = 0; i < 4; ++i)
            if (align == aligns[i])
                out.align = i;
    }
}

}  // namespace

HtmlText ParseHtmlText(const QString &html)
{
    HtmlText out;
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html[i];
        if (c == QLatin1Char('<')) {
            const qsizetype end = html.indexOf(QLatin1Char('>'), i);
            if (end < 0)
                break;  // an unclosed tag hides the rest, as in the player
            applyTag(html.mid(i + 1, end - i - 1), out);
            i = end + 1;
        } else if (c == QLatin1Char('&')) {
            const qsizetype end = html.indexOf(QLatin1Char(';'), i);
            const QChar decoded = end > i && end - i <= 8 ? HtmlEntity(html.mid(i + 1, end - i - 1)) : QChar();
            out.text += decoded.isNull() ? c : decoded;
            i = decoded.isNull() ? i + 1 : end + 1;
        } else {
            out.text += c;
            ++i;
        }
    }
    if (out.text.endsWith(QLatin1Char('\n')))
        out.text.chop(1);  // the last paragraph's end opens no new line
    return out;
}

}  // namespace swf
