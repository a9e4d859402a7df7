#include "swf/avm1/textutil.h"

#include <QString>

namespace swf::avm1 {

std::u16string ToUtf16(const std::string &utf8)
{
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
}

std::string ToUtf8(const std::u16string &utf16)
{
    return QString::fromUtf16(utf16.data(), qsizetype(utf16.size())).toStdString();
}

size_t StringLength(const std::string &utf8)
{
    size_t units = 0;
    bool ascii = true;
    for (unsigned char c : utf8) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
        ++units;
    }
    return ascii ? units : ToUtf16(utf8).size();
}

std::string ToLowerText(const std::string &utf8)
{
    return QString::fromStdString(utf8).toLower().toStdString();
}

std::string FoldNameCase(const std::string &utf8)
{
    QString text = QString::fromStdString(utf8);
    for (QChar &c : text)
        if (c.unicodeVersion() <= QChar::Unicode_3_2)
            c = c.toLower();
    return text.toStdString();
}

std::string ToUpperText(const std::string &utf8)
{
    return QString::fromStdString(utf8).toUpper().toStdString();
}

namespace {

constexpr int kUnicodeVersion = 6;

bool IsContinuation(unsigned char c) { return (c & 0xc0) == 0x80; }

// The length of the UTF-8 sequence starting at `at`; 0 when it is not one.
size_t SequenceLength(const std::string &text, size_t at)
{
    // Lead byte pattern, its payload bits, the sequence length and the
    // smallest code point it may carry (smaller ones are overlong).
    struct Form {
        unsigned char mask, pattern, payload;
        size_t length;
        uint32_t min;
    };
    static constexpr Form kForms[] = {
        {0x80, 0x00, 0x7f, 1, 0}, {0xe0, 0xc0, 0x1f, 2, 0x80}, {0xf0, 0xe0, 0x0f, 3, 0x800}, {0xf8, 0xf0, 0x07, 4, 0x10000}};
    const auto lead = static_cast<unsigned char>(text[at]);
    const Form *form = nullptr;
    for (const Form &f : kForms)
        if ((lead & f.mask) == f.pattern)
            form = &f;
    if (!form)
        return 0;
    const size_t length = form->length;
    const uint32_t min = form->min;
    uint32_t code = lead & form->payload;
    if (at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(c))
            return 0;
        code = (code << 6) | (c & 0x3f);
    }
    return code >= min && code <= 0x10ffff ? length : 0;
}

bool IsValidUtf8(const std::string &text)
{
    for (size_t at = 0; at < text.size();) {
        const size_t length = SequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string Latin1ToUtf8(const std::string &bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            out += byte;
        } else {
            out += char(0xc0 | (c >> 6));
            out += char(0x80 | (c & 0x3f));
        }
    }
    return out;
}

}  // namespace

std::string TextFromMovie(const std::string &bytes, int version)
{
    if (version < kUnicodeVersion)
        return Latin1ToUtf8(bytes);
    return IsValidUtf8(bytes) ? bytes : std::string();
}

std::string CharText(uint32_t code)
{
    const char16_t unit = char16_t(code & 0xffff);
    return ToUtf8(std::u16string(1, unit));
}

}  // namespace swf::avm1
