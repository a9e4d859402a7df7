#pragma once
// Line layout of a text field: paragraphs split at line breaks, words
// wrapped to the field's width when asked, each line aligned and given its
// baseline. Units are the caller's (twips here); widths come from a
// measuring function so that embedded and device fonts share the rules.
// Pure function; any thread.

#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

namespace swf {

enum class TextAlign { Left = 0, Right = 1, Center = 2, Justify = 3 };

struct TextLayoutParams {
    QRectF area;          // where lines go: the field less its gutter and margins
    double indent = 0;    // first line of each paragraph
    TextAlign align = TextAlign::Left;
    bool wordWrap = false;
    double ascent = 0;
    double descent = 0;
    double leading = 0;   // extra space between lines
};

struct TextLine {
    QString text;
    double x = 0;         // left end of the line
    double baseline = 0;
    int start = 0;        // index of its first character in the text
    int length = 0;       // characters it takes from the text, spaces and all
};

using MeasureText = std::function<double(const QString &)>;

// Lines of `text` ('\n', '\r' or "\r\n" break lines). Layout stops at the
// first paragraph that starts below the area; the caller clips the rest.
std::vector<TextLine> LayOutText(const QString &text, const TextLayoutParams &params, const MeasureText &measure);

}  // namespace swf
