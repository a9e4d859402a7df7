#pragma once
// The subset of Flash's HTML text markup that a text field's initial text
// needs to be shown: tags are dropped, the common entities decoded, <br>
// and paragraph ends become line breaks, and the first font colour, font
// size and paragraph alignment are reported for the whole field.
// Pure function; any thread.

#include <QString>
#include <optional>

#include "swf/format/types.h"

namespace swf {

struct HtmlText {
    QString text;                  // lines separated by '\n'
    std::optional<Rgba> color;     // <font color="#rrggbb">
    std::optional<double> size;    // <font size="N">, in pixels
    std::optional<int> align;      // <p align="...">: 0 left, 1 right, 2 centre, 3 justify
};

HtmlText ParseHtmlText(const QString &html);

// The value of attribute `name` in the inside of a tag ("font color='#f00'"),
// quoted or not; `found` says whether it was there.
QString HtmlAttribute(const QString &tag, const QString &name, bool *found = nullptr);
// The character an entity name stands for ("amp", "#65", "#x41"); null
// when unknown.
QChar HtmlEntity(const QString &name);

}  // namespace swf
