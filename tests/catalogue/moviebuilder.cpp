#include "moviebuilder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

int BitsFor(uint32_t value)
{
    int bits = 0;
    while (bits < 31 && (value >> bits) != 0)
        ++bits;
    return bits;
}

class TBitWriter {
public:
    void put(uint32_t value, int bits)
    {
        for (int bit = bits - 1; bit >= 0; --bit) {
            if (used_ % 8 == 0)
                bytes_.append('\0');
            if ((value >> bit) & 1u)
                bytes_[bytes_.size() - 1] = char(uint8_t(bytes_.back()) | (0x80 >> (used_ % 8)));
            ++used_;
        }
    }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    int used_ = 0;
};

void AppendLittleEndian(QByteArray &bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray ZlibCompress(const QByteArray &data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(int(size), '\0');
    compress(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(data.constData()),
             uLong(data.size()));
    out.resize(int(size));
    return out;
}

}  // namespace

QByteArray MovieBody(const TMovieSpec &spec)
{
    const int bits = std::min(31, std::max(BitsFor(spec.xMax), BitsFor(spec.yMax)) + 1);
    TBitWriter rect;
    rect.put(uint32_t(bits), 5);
    for (const uint32_t value : {0u, spec.xMax, 0u, spec.yMax})
        rect.put(value, bits);
    QByteArray body = rect.bytes();
    body.append(char(spec.rateFraction));
    body.append(char(spec.rate));
    AppendLittleEndian(body, spec.frames, 2);
    for (int frame = 0; frame < spec.frames; ++frame)
        body.append("\x40\x00", 2);  // ShowFrame
    body.append("\x00\x00", 2);      // End
    return body;
}

QByteArray RawMovie(const QByteArray &signature, uint8_t version, uint32_t length, const QByteArray &body,
                    bool compress)
{
    QByteArray bytes = signature.left(3);
    bytes.append(char(version));
    AppendLittleEndian(bytes, length, 4);
    bytes.append(compress ? ZlibCompress(body) : body);
    return bytes;
}

QByteArray MovieBytes(const TMovieSpec &spec)
{
    const QByteArray body = MovieBody(spec);
    const uint32_t length = spec.recordedLength ? spec.recordedLength : uint32_t(8 + body.size());
    return RawMovie(spec.signature, spec.version, length, body, spec.signature == "CWS");
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TSwfHeader ExampleHeader(uint32_t length)
{
    TSwfHeader h;
    h.Version = 6;
    h.FileLength = length;
    h.XMax = 11000;
    h.YMax = 8000;
    h.FrameRate = 12;
    h.FrameCount = 120;
    return h;
}
