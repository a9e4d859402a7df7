#include "swf/characters/formattedtext.h"

#include <algorithm>

namespace swf {

namespace {

constexpr QChar kBreak = QLatin1Char('\r');

}  // namespace

QString FormattedText::normalizedBreaks(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    out.replace(QLatin1Char('\n'), kBreak);
    return out;
}

// Only the newest formats are searched, so markup with a new colour on
// every letter costs no more than plain markup; a duplicate entry only
// splits a run.
uint32_t FormattedText::indexOf(const TextFormat &format)
{
    constexpr size_t kSearched = 64;
    for (size_t i = formats_.size(); i-- > 0 && formats_.size() - i <= kSearched;)
        if (formats_[i] == format)
            return uint32_t(i);
    formats_.push_back(format);
    return uint32_t(formats_.size() - 1);
}

// Drops formats no character uses any more, so the table stays as small
// as the number of distinct formats in the text.
void FormattedText::compactFormats()
{
    std::vector<int64_t> remap(formats_.size(), -1);
    std::vector<TextFormat> kept;
    for (uint32_t &index : formatOfChar_) {
        if (remap[index] < 0) {
            remap[index] = int64_t(kept.size());
            kept.push_back(formats_[index]);
        }
        index = uint32_t(remap[index]);
    }
    formats_ = std::move(kept);
}

void FormattedText::replace(int begin, int end, const QString &text, const TextFormat &format)
{
    begin = std::clamp(begin, 0, size());
    end = std::clamp(end, begin, size());
    const QString inserted = normalizedBreaks(text);
    TextFormat written = format;
    if (size() > 0)
        written.mergeFrom(formatAt(begin).paragraphPart());
    const uint32_t index = indexOf(written);
    text_.replace(begin, end - begin, inserted);
    formatOfChar_.erase(formatOfChar_.begin() + begin, formatOfChar_.begin() + end);
    formatOfChar_.insert(formatOfChar_.begin() + begin, size_t(inserted.size()), index);
    spreadParagraphValues(begin, begin + int(inserted.size()));
    compactFormats();
}

void FormattedText::append(const QString &text, const TextFormat &format)
{
    const uint32_t index = indexOf(format);
    text_ += text;
    formatOfChar_.insert(formatOfChar_.end(), size_t(text.size()), index);
}

void FormattedText::applyFormat(int begin, int end, const TextFormat &format)
{
    begin = std::clamp(begin, 0, size());
    end = std::clamp(end, begin, size());
    const TextFormat characterPart = format.characterPart();
    const TextFormat paragraphPart = format.paragraphPart();
    // Paragraph values reach from the paragraph's start to its break.
    const int paragraphBegin = int(text_.lastIndexOf(kBreak, std::max(0, begin - 1)) + 1);
    int paragraphEnd = int(text_.indexOf(kBreak, std::max(begin, end - 1)));
    paragraphEnd = paragraphEnd < 0 ? size() : paragraphEnd + 1;
    const size_t count = formats_.size();
    std::vector<int64_t> merged(count * 2, -1);
    for (int i = paragraphBegin; i < paragraphEnd; ++i) {
        const bool inRange = i >= begin && i < end;
        const uint32_t old = formatOfChar_[size_t(i)];
        const size_t slot = old * 2 + (inRange ? 1 : 0);
        if (merged[slot] < 0) {
            TextFormat updated = formats_[old];
            updated.mergeFrom(paragraphPart);
            if (inRange)
                updated.mergeFrom(characterPart);
            merged[slot] = indexOf(updated);
        }
        formatOfChar_[size_t(i)] = uint32_t(merged[slot]);
    }
    compactFormats();
}

// A paragraph takes the paragraph values of its first character; an
// insertion may have joined or split paragraphs between `begin` and `end`.
void FormattedText::spreadParagraphValues(int begin, int end)
{
    int start = begin == 0 ? 0 : int(text_.lastIndexOf(kBreak, begin - 1) + 1);
    while (start < size() && start <= end) {
        int stop = int(text_.indexOf(kBreak, start));
        stop = stop < 0 ? size() : stop + 1;
        const TextFormat paragraph = formats_[formatOfChar_[size_t(start)]].paragraphPart();
        for (int i = start + 1; i < stop; ++i) {
            if (formats_[formatOfChar_[size_t(i)]].paragraphPart() == paragraph)
                continue;
            TextFormat updated = formats_[formatOfChar_[size_t(i)]];
            updated.mergeFrom(paragraph);
            formatOfChar_[size_t(i)] = indexOf(updated);
        }
        start = stop;
    }
}

TextFormat FormattedText::formatAt(int index) const
{
    if (formatOfChar_.empty())
        return {};
    index = std::clamp(index, 0, size() - 1);
    return formats_[formatOfChar_[size_t(index)]];
}

TextFormat FormattedText::commonFormat(int begin, int end) const
{
    begin = std::clamp(begin, 0, size());
    end = std::clamp(end, begin, size());
    if (begin == end)
        return formatAt(begin);
    TextFormat common = formats_[formatOfChar_[size_t(begin)]];
    uint32_t last = formatOfChar_[size_t(begin)];
    for (int i = begin + 1; i < end; ++i) {
        if (formatOfChar_[size_t(i)] == last)
            continue;
        last = formatOfChar_[size_t(i)];
        common.intersectWith(formats_[last]);
    }
    return common;
}

std::vector<FormattedText::Run> FormattedText::runs(int begin, int end) const
{
    std::vector<Run> out;
    begin = std::clamp(begin, 0, size());
    end = std::clamp(end, begin, size());
    for (int i = begin; i < end;) {
        const uint32_t index = formatOfChar_[size_t(i)];
        int j = i + 1;
        while (j < end && formatOfChar_[size_t(j)] == index)
            ++j;
        out.push_back({i, j, &formats_[index]});
        i = j;
    }
    return out;
}

}  // namespace swf
