#include "catalogue/pngtext.h"

#include <QFile>
#include <QtEndian>
#include <zlib.h>

namespace {

const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);
// Text entries are small; a longer chunk before the picture is skipped.
constexpr quint32 kLongestText = 64 * 1024;

// A zlib stream of at most kLongestText bytes inflated; null when it is
// longer or broken.
QByteArray Inflate(const QByteArray &packed)
{
    QByteArray text(int(kLongestText), Qt::Uninitialized);
    uLongf size = kLongestText;
    if (uncompress(reinterpret_cast<Bytef *>(text.data()), &size, reinterpret_cast<const Bytef *>(packed.constData()),
                   uLong(packed.size())) != Z_OK)
        return {};
    text.truncate(int(size));
    return text;
}

// "key\0text" in Latin-1; "zTXt": "key\0", method 0, then the text deflated.
void AddLatinText(const QByteArray &data, bool compressed, QHash<QString, QString> &texts)
{
    const int end = data.indexOf('\0');
    if (end <= 0)
        return;
    const QByteArray text = compressed ? Inflate(data.mid(end + 2)) : data.mid(end + 1);
    texts.insert(QString::fromLatin1(data.left(end)), QString::fromLatin1(text));
}

// "key\0", compression flag, method, "language\0", "translated key\0",
// then the UTF-8 text, deflated when flagged.
void AddInternationalText(const QByteArray &data, QHash<QString, QString> &texts)
{
    const int keyEnd = data.indexOf('\0');
    if (keyEnd <= 0 || keyEnd + 2 >= data.size())
        return;
    const bool compressed = data[keyEnd + 1] != 0;
    const int languageEnd = data.indexOf('\0', keyEnd + 3);
    const int translatedEnd = languageEnd < 0 ? -1 : data.indexOf('\0', languageEnd + 1);
    if (translatedEnd < 0)
        return;
    const QByteArray text = data.mid(translatedEnd + 1);
    texts.insert(QString::fromLatin1(data.left(keyEnd)), QString::fromUtf8(compressed ? Inflate(text) : text));
}

}  // namespace

QHash<QString, QString> ReadPngText(const QString &path)
{
    QHash<QString, QString> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(kSignature.size()) != kSignature)
        return texts;
    for (;;) {
        const QByteArray head = file.read(8);
        if (head.size() != 8)
            break;
        const quint32 length = qFromBigEndian<quint32>(head.constData());
        const QByteArray type = head.mid(4);
        if (type == "IDAT" || type == "IEND" || length > quint64(file.size() - file.pos()))
            break;
        const bool text = type == "tEXt" || type == "zTXt" || type == "iTXt";
        if (text && length <= kLongestText) {
            const QByteArray data = file.read(length);
            if (data.size() != int(length))
                break;
            if (type == "iTXt")
                AddInternationalText(data, texts);
            else
                AddLatinText(data, type == "zTXt", texts);
        } else if (!file.seek(file.pos() + length)) {
            break;
        }
        if (!file.seek(file.pos() + 4))  // the chunk's checksum
            break;
    }
    return texts;
}
