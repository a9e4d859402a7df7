#pragma once
// Small movies built in memory for the conversion and screen saver tests:
// one frame whose stage has a given size and colour, plain or with a zlib
// body, and files holding them.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace smallmovies {

// Appends numbers of a given bit width, first bit highest, as a movie's
// rectangle is written.
class BitWriter {
public:
    void write(uint32_t value, int bits)
    {
        for (int bit = bits - 1; bit >= 0; --bit) {
            if (used_ == 0)
                bytes_.append('\0');
            if (value >> bit & 1)
                bytes_[bytes_.size() - 1] = char(uchar(bytes_.back()) | 0x80 >> used_);
            used_ = (used_ + 1) % 8;
        }
    }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    int used_ = 0;
};

inline QByteArray LittleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Header after the signature: version, length, then the body.
inline QByteArray WithHeader(const char *signature, const QByteArray &body, quint32 fullLength)
{
    return QByteArray(signature) + char(8) + LittleEndian32(fullLength) + body;
}

// The body of a one-frame movie of `width` by `height` pixels at 12 frames
// per second whose stage colour is `colour`.
inline QByteArray MovieBody(const QColor &colour, int width, int height)
{
    BitWriter rectangle;
    rectangle.write(16, 5);
    for (int twips : {0, width * 20, 0, height * 20})
        rectangle.write(uint32_t(twips), 16);
    QByteArray body = rectangle.bytes();
    body += QByteArray("\x00\x0C\x01\x00", 4);                        // rate 12, one frame
    body += QByteArray("\x43\x02", 2);                                // SetBackgroundColor
    for (int component : {colour.red(), colour.green(), colour.blue()})
        body += char(component);
    body += QByteArray("\x40\x00\x00\x00", 4);                        // ShowFrame, End
    return body;
}

inline QByteArray PlainMovie(const QColor &colour = QColor(200, 40, 40), int width = 40, int height = 30)
{
    const QByteArray body = MovieBody(colour, width, height);
    return WithHeader("FWS", body, quint32(8 + body.size()));
}

inline QByteArray ZlibMovie(const QColor &colour = QColor(40, 200, 40), int width = 40, int height = 30)
{
    const QByteArray body = MovieBody(colour, width, height);
    return WithHeader("CWS", qCompress(body).mid(4), quint32(8 + body.size()));
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace smallmovies
