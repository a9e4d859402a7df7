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

std::string ToUpperText(const std::string &utf8)
{
    return QString::fromStdString(utf8).toUpper().toStdString();
}

std::string CharText(uint32_t code)
{
    const char16_t unit = char16_t(code & 0xffff);
    return ToUtf8(std::u16string(1, unit));
}

}  // namespace swf::avm1
