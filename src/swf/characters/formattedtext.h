#pragma once
// The text of a text field with the format of each character. Paragraphs
// end at '\r' (the player's own line break; '\n' and "\r\n" become one on
// the way in). Paragraph values of a format (alignment, margins...) are
// kept equal over each paragraph: the first character's count. The
// player's HTML form of the text comes and goes through here too.
// Plain value; one player's thread.

#include <QString>
#include <cstdint>
#include <vector>

#include "swf/characters/textformat.h"

namespace swf {

class FormattedText {
public:
    const QString &text() const { return text_; }
    int size() const { return int(text_.size()); }

    // Replaces [begin, end) with `text` written in `format` (indices are
    // clamped; the paragraph values of the paragraph it lands in stay).
    void replace(int begin, int end, const QString &text, const TextFormat &format);
    void setText(const QString &text, const TextFormat &format) { replace(0, size(), text, format); }
    // Merges `format` into [begin, end); its paragraph values go to every
    // paragraph the range touches.
    void applyFormat(int begin, int end, const TextFormat &format);
    // The whole format of one character (the last one's past the end).
    TextFormat formatAt(int index) const;
    // What [begin, end) has in common.
    TextFormat commonFormat(int begin, int end) const;

    // Stretches of equal format within [begin, end).
    struct Run {
        int begin;
        int end;
        const TextFormat *format;
    };
    std::vector<Run> runs(int begin, int end) const;

    // The player's markup: one <P> (or <LI>) per paragraph, one <FONT> per
    // run; `empty` formats the paragraph of an empty text.
    QString toHtml(const TextFormat &empty) const;
    // Adds `text` at the end as it is; setHtml's step, which settles the
    // paragraphs once at its end.
    void append(const QString &text, const TextFormat &format);
    // Reads the markup; what it leaves unsaid comes from `base`.
    void setHtml(const QString &html, const TextFormat &base, bool condenseWhite);

    // '\n' and "\r\n" as '\r'.
    static QString normalizedBreaks(const QString &text);

private:
    uint32_t indexOf(const TextFormat &format);
    void compactFormats();
    void spreadParagraphValues(int begin, int end);

    QString text_;
    std::vector<uint32_t> formatOfChar_;  // index into formats_, one per character
    std::vector<TextFormat> formats_;
};

}  // namespace swf
