// The player's HTML form of a text field's text: written with its exact
// upper-case markup, read back from the subset of tags fields know.

#include <QRegularExpression>

#include "swf/characters/formattedtext.h"
#include "swf/characters/htmltext.h"

namespace swf {

namespace {

constexpr QChar kBreak = QLatin1Char('\r');

QString Number(double value)
{
    return QString::number(value, 'g', 15);
}

QString Escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('<'))
            out += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            out += QLatin1String("&gt;");
        else if (c == QLatin1Char('&'))
            out += QLatin1String("&amp;");
        else if (c == QLatin1Char('"'))
            out += QLatin1String("&quot;");
        else if (c == QLatin1Char('\''))
            out += QLatin1String("&apos;");
        else
            out += c;
    }
    return out;
}

QString Attribute(const char *name, const QString &value)
{
    return QLatin1Char(' ') + QLatin1String(name) + QLatin1String("=\"") + value + QLatin1Char('"');
}

// <TEXTFORMAT> carries the paragraph values that differ from nothing.
QString TextFormatOpening(const TextFormat &f)
{
    QString attributes;
    auto add = [&](const char *name, const std::optional<double> &value) {
        if (value && *value != 0)
            attributes += Attribute(name, Number(*value));
    };
    add("LEFTMARGIN", f.leftMargin);
    add("RIGHTMARGIN", f.rightMargin);
    add("INDENT", f.indent);
    add("LEADING", f.leading);
    add("BLOCKINDENT", f.blockIndent);
    if (f.tabStops && !f.tabStops->empty()) {
        QStringList stops;
        for (double stop : *f.tabStops)
            stops << Number(stop);
        attributes += Attribute("TABSTOPS", stops.join(QLatin1Char(',')));
    }
    return attributes.isEmpty() ? QString() : QLatin1String("<TEXTFORMAT") + attributes + QLatin1Char('>');
}

QString FontOpening(const TextFormat &f)
{
    QString out = QLatin1String("<FONT");
    out += Attribute("FACE", f.font.value_or(QString()));
    out += Attribute("SIZE", Number(f.size.value_or(12)));
    out += Attribute("COLOR", QStringLiteral("#%1").arg(f.color.value_or(0) & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper());
    out += Attribute("LETTERSPACING", Number(f.letterSpacing.value_or(0)));
    out += Attribute("KERNING", f.kerning.value_or(false) ? QStringLiteral("1") : QStringLiteral("0"));
    return out + QLatin1Char('>');
}

QString RunHtml(const QString &text, const TextFormat &f)
{
    QString inner = Escaped(text);
    if (f.underline.value_or(false))
        inner = QLatin1String("<U>") + inner + QLatin1String("</U>");
    if (f.italic.value_or(false))
        inner = QLatin1String("<I>") + inner + QLatin1String("</I>");
    if (f.bold.value_or(false))
        inner = QLatin1String("<B>") + inner + QLatin1String("</B>");
    if (f.url && !f.url->isEmpty())
        inner = QLatin1String("<A HREF=\"") + Escaped(*f.url) + QLatin1String("\" TARGET=\"")
                + Escaped(f.target.value_or(QString())) + QLatin1String("\">") + inner + QLatin1String("</A>");
    return FontOpening(f) + inner + QLatin1String("</FONT>");
}

}  // namespace

QString FormattedText::toHtml(const TextFormat &empty) const
{
    QString html;
    int start = 0;
    do {
        int stop = int(text_.indexOf(kBreak, start));
        const bool last = stop < 0;
        if (last)
            stop = size();
        const TextFormat paragraph = start < size() ? formatAt(start) : (size() ? formatAt(size() - 1) : empty);
        const QString wrapper = TextFormatOpening(paragraph);
        const bool bullet = paragraph.bullet.value_or(false);
        html += wrapper;
        html += bullet ? QStringLiteral("<LI>")
                       : QLatin1String("<P ALIGN=\"") + QString::fromLatin1(AlignName(paragraph.align.value_or(TextAlign::Left))).toUpper()
                             + QLatin1String("\">");
        const std::vector<Run> parts = runs(start, stop);
        if (parts.empty())
            html += RunHtml(QString(), paragraph);
        for (const Run &run : parts)
            html += RunHtml(text_.mid(run.begin, run.end - run.begin), *run.format);
        html += bullet ? QStringLiteral("</LI>") : QStringLiteral("</P>");
        if (!wrapper.isEmpty())
            html += QLatin1String("</TEXTFORMAT>");
        start = stop + 1;
        if (last)
            break;
    } while (true);
    return html;
}

namespace {

// Reads markup into a FormattedText: a stack of formats, one per open tag.
class HtmlReader {
public:
    HtmlReader(FormattedText &out, const TextFormat &base, bool condenseWhite)
        : out_(out), condenseWhite_(condenseWhite)
    {
        stack_.push_back({QString(), base});
    }

    void read(const QString &html)
    {
        qsizetype i = 0;
        while (i < html.size()) {
            const QChar c = html[i];
            if (c == QLatin1Char('<')) {
                const qsizetype end = html.indexOf(QLatin1Char('>'), i);
                if (end < 0)
                    break;  // an unclosed tag hides the rest
                tag(html.mid(i + 1, end - i - 1));
                i = end + 1;
            } else if (c == QLatin1Char('&')) {
                const qsizetype end = html.indexOf(QLatin1Char(';'), i);
                const QChar decoded = end > i && end - i <= 8 ? HtmlEntity(html.mid(i + 1, end - i - 1)) : QChar();
                character(decoded.isNull() ? c : decoded);
                i = decoded.isNull() ? i + 1 : end + 1;
            } else {
                character(c);
                ++i;
            }
        }
    }

private:
    struct Open {
        QString name;
        TextFormat format;
    };

    void character(QChar c)
    {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (condenseWhite_)
                c = QLatin1Char(' ');
            else {
                breakLine();
                return;
            }
        }
        if (condenseWhite_ && c.isSpace()) {
            if (out_.size() == 0 || out_.text().endsWith(QLatin1Char(' ')) || out_.text().endsWith(kBreak))
                return;
            c = QLatin1Char(' ');
        }
        append(QString(c));
    }

    void append(const QString &text)
    {
        out_.append(text, stack_.back().format);
    }

    void breakLine() { append(QString(kBreak)); }

    void push(const QString &name, const TextFormat &format) { stack_.push_back({name, format}); }

    void pop(const QString &name)
    {
        for (size_t i = stack_.size(); i-- > 1;) {
            if (stack_[i].name == name) {
                stack_.resize(i);
                return;
            }
        }
    }

    void tag(const QString &body)
    {
        const QString lower = body.trimmed().toLower();
        const bool closing = lower.startsWith(QLatin1Char('/'));
        static const QRegularExpression separator(QStringLiteral("[\\s/]"));
        const QString name = lower.section(separator, 0, 0, QString::SectionSkipEmpty);
        if (name == QLatin1String("br")) {
            breakLine();
            return;
        }
        if (closing) {
            if (name == QLatin1String("p") || name == QLatin1String("li"))
                breakLine();
            pop(name);
            return;
        }
        TextFormat format = stack_.back().format;
        if (name == QLatin1String("p") || name == QLatin1String("li")) {
            // Only a paragraph's end breaks the line: text before an
            // opening tag runs on into it, and the paragraph keeps the
            // values of its first character.
            if (auto align = AlignFromName(HtmlAttribute(body, QStringLiteral("align"))))
                format.align = align;
            if (name == QLatin1String("li"))
                format.bullet = true;
        } else if (name == QLatin1String("font")) {
            fontAttributes(body, format);
        } else if (name == QLatin1String("b")) {
            format.bold = true;
        } else if (name == QLatin1String("i")) {
            format.italic = true;
        } else if (name == QLatin1String("u")) {
            format.underline = true;
        } else if (name == QLatin1String("a")) {
            format.url = HtmlAttribute(body, QStringLiteral("href"));
            format.target = HtmlAttribute(body, QStringLiteral("target"));
        } else if (name == QLatin1String("textformat")) {
            textFormatAttributes(body, format);
        } else {
            return;
        }
        push(name, format);
    }

    static void fontAttributes(const QString &body, TextFormat &format)
    {
        bool found = false;
        const QString face = HtmlAttribute(body, QStringLiteral("face"), &found);
        if (found)
            format.font = face;
        bool ok = false;
        const double size = HtmlAttribute(body, QStringLiteral("size")).toDouble(&ok);
        if (ok)
            format.size = size;
        const QString color = HtmlAttribute(body, QStringLiteral("color"));
        if (color.startsWith(QLatin1Char('#'))) {
            const uint rgb = color.mid(1).toUInt(&ok, 16);
            if (ok)
                format.color = rgb & 0xFFFFFF;
        }
        const double spacing = HtmlAttribute(body, QStringLiteral("letterspacing")).toDouble(&ok);
        if (ok)
            format.letterSpacing = spacing;
        const int kerning = HtmlAttribute(body, QStringLiteral("kerning")).toInt(&ok);
        if (ok)
            format.kerning = kerning != 0;
    }

    static void textFormatAttributes(const QString &body, TextFormat &format)
    {
        const std::pair<const char *, std::optional<double> TextFormat::*> values[] = {
            {"leftmargin", &TextFormat::leftMargin}, {"rightmargin", &TextFormat::rightMargin},
            {"indent", &TextFormat::indent},         {"leading", &TextFormat::leading},
            {"blockindent", &TextFormat::blockIndent},
        };
        for (const auto &[name, member] : values) {
            bool ok = false;
            const double value = HtmlAttribute(body, QLatin1String(name)).toDouble(&ok);
            if (ok)
                format.*member = value;
        }
        bool found = false;
        const QString stops = HtmlAttribute(body, QStringLiteral("tabstops"), &found);
        if (found) {
            std::vector<double> list;
            for (const QString &stop : stops.split(QLatin1Char(','), Qt::SkipEmptyParts))
                list.push_back(stop.trimmed().toDouble());
            format.tabStops = list;
        }
    }

    FormattedText &out_;
    bool condenseWhite_;
    std::vector<Open> stack_;
};

}  // namespace

void FormattedText::setHtml(const QString &html, const TextFormat &base, bool condenseWhite)
{
    text_.clear();
    formatOfChar_.clear();
    formats_.clear();
    HtmlReader(*this, base, condenseWhite).read(html);
    // The last paragraph's end opens no new line.
    if (text_.endsWith(kBreak)) {
        text_.chop(1);
        formatOfChar_.pop_back();
    }
    spreadParagraphValues(0, size());
    compactFormats();
}

}  // namespace swf
