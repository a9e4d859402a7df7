#pragma once
// The character and paragraph format of a stretch of a text field's text,
// as scripts see it through TextFormat: every value may be unset (a new
// TextFormat, or a range whose characters differ in it). Character values
// (font, size, colour, styles, link, spacing) belong to each character;
// paragraph values (alignment, margins, indent, leading, bullet, tab
// stops) to the whole paragraph. Plain values; any thread.

#include <QString>
#include <optional>
#include <vector>

#include "swf/characters/textlayout.h"

namespace swf {

struct TextFormat {
    std::optional<QString> font;
    std::optional<double> size;  // pixels
    std::optional<uint32_t> color;  // 0xRRGGBB
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<QString> url;
    std::optional<QString> target;
    std::optional<double> letterSpacing;
    std::optional<bool> kerning;
    // Paragraph values.
    std::optional<TextAlign> align;
    std::optional<double> leftMargin;
    std::optional<double> rightMargin;
    std::optional<double> indent;
    std::optional<double> leading;
    std::optional<double> blockIndent;
    std::optional<bool> bullet;
    std::optional<std::vector<double>> tabStops;
    std::optional<QString> display;

    // What a new field writes with: Times New Roman, 12 pixels, black, left.
    static TextFormat defaults();
    // Takes every value `other` sets.
    void mergeFrom(const TextFormat &other);
    // Keeps only the values `other` has equal.
    void intersectWith(const TextFormat &other);
    // Drops the paragraph values (or keeps only them).
    TextFormat characterPart() const;
    TextFormat paragraphPart() const;
    bool operator==(const TextFormat &other) const;
    bool operator!=(const TextFormat &other) const { return !(*this == other); }
};

const char *AlignName(TextAlign align);  // "left", "right", "center", "justify"
std::optional<TextAlign> AlignFromName(const QString &name);

}  // namespace swf
