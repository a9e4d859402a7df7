#pragma once
// PNG files as other programs write them, for the thumbnail cache tests:
// chunks of any kind put in right after the header chunk, where file
// managers put their text entries.

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <zlib.h>

inline QByteArray PngChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray typeAndData = type + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(
        quint32(crc32(0, reinterpret_cast<const Bytef *>(typeAndData.constData()), uInt(typeAndData.size()))),
        crc.data());
    return chunk + typeAndData + crc;
}

// A "tEXt" entry: key and text in Latin-1.
inline QByteArray PngText(const QByteArray &key, const QByteArray &text)
{
    return PngChunk("tEXt", key + '\0' + text);
}

// `picture` as a PNG with `chunks` after its header chunk.
inline QByteArray PngWith(const QImage &picture, const QByteArray &chunks)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const QByteArray png = buffer.data();
    constexpr int kAfterHeader = 8 + 4 + 4 + 13 + 4;
    return png.left(kAfterHeader) + chunks + png.mid(kAfterHeader);
}
