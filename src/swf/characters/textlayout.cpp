#include "swf/characters/textlayout.h"

#include <QStringList>

namespace swf {

namespace {

// Splits one paragraph into lines no wider than `width` (the first one
// `firstWidth`), breaking after spaces; a word longer than a line is
// broken between characters.
QStringList wrapParagraph(const QString &paragraph, double firstWidth, double width, const MeasureText &measure)
{
    QStringList lines;
    QString line;
    double limit = firstWidth;
    qsizetype pos = 0;
    while (pos < paragraph.size()) {
        qsizetype end = paragraph.indexOf(QLatin1Char(' '), pos);
        end = end < 0 ? paragraph.size() : end + 1;
        const QString word = paragraph.mid(pos, end - pos);
        if (!line.isEmpty() && measure(line + word.trimmed()) > limit) {
            lines << line;
            line.clear();
            limit = width;
        }
        if (line.isEmpty() && measure(word.trimmed()) > limit) {
            // Too long for any line: as many characters as fit.
            qsizetype fit = 1;
            while (fit < word.size() && measure(word.left(fit + 1)) <= limit)
                ++fit;
            if (fit < word.trimmed().size()) {
                lines << word.left(fit);
                limit = width;
                pos += fit;
                continue;
            }
        }
        line += word;
        pos = end;
    }
    lines << line;
    return lines;
}

double alignedX(const TextLayoutParams &params, double left, double lineWidth)
{
    const double room = params.area.right() - left - lineWidth;
    switch (params.align) {
    case TextAlign::Right: return left + room;
    case TextAlign::Center: return left + room / 2;
    case TextAlign::Left:
    case TextAlign::Justify: break;
    }
    return left;
}

}  // namespace

std::vector<TextLine> LayOutText(const QString &text, const TextLayoutParams &params, const MeasureText &measure)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::vector<TextLine> lines;
    double baseline = params.area.top() + params.ascent;
    const double lineStep = params.ascent + params.descent + params.leading;
    const double width = params.area.width();
    int start = 0;
    for (const QString &paragraph : normalised.split(QLatin1Char('\n'))) {
        if (baseline - params.ascent > params.area.bottom())
            break;  // nothing further can show
        const QStringList wrapped = params.wordWrap ? wrapParagraph(paragraph, width - params.indent, width, measure)
                                                    : QStringList{paragraph};
        for (qsizetype i = 0; i < wrapped.size(); ++i) {
            const int length = int(wrapped[i].size());
            const QString shown = wrapped[i].trimmed().isEmpty() ? QString() : wrapped[i];
            const double left = params.area.left() + (i == 0 ? params.indent : 0);
            QString measured = shown;
            while (measured.endsWith(QLatin1Char(' ')))
                measured.chop(1);
            lines.push_back({shown, alignedX(params, left, measure(measured)), baseline, start, length});
            baseline += lineStep;
            start += length;
        }
        ++start;  // the break
    }
    return lines;
}

}  // namespace swf
