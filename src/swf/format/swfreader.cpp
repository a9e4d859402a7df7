#include "swf/format/swfreader.h"

#include <cstring>

namespace swf {

bool SwfReader::take(size_t count)
{
    align();
    if (count > remaining()) {
        pos_ = size_;
        overrun_ = true;
        return false;
    }
    return true;
}

void SwfReader::seek(size_t pos)
{
    align();
    if (pos > size_) {
        pos_ = size_;
        overrun_ = true;
    } else {
        pos_ = pos;
    }
}

void SwfReader::skip(size_t count)
{
    if (take(count))
        pos_ += count;
}

SwfReader SwfReader::sub(size_t count)
{
    align();
    const size_t clipped = count < remaining() ? count : remaining();
    SwfReader inner(data_ + pos_, clipped);
    if (clipped < count)
        overrun_ = true;
    pos_ += clipped;
    return inner;
}

uint8_t SwfReader::u8()
{
    if (!take(1))
        return 0;
    return data_[pos_++];
}

uint16_t SwfReader::u16()
{
    if (!take(2))
        return 0;
    const uint16_t value = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
}

uint32_t SwfReader::u32()
{
    if (!take(4))
        return 0;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | data_[pos_ + i];
    pos_ += 4;
    return value;
}

double SwfReader::fixed8()
{
    return s16() / 256.0;
}

double SwfReader::fixed16()
{
    return s32() / 65536.0;
}

float SwfReader::f32()
{
    const uint32_t bits = u32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double SwfReader::f64()
{
    // SWF stores doubles as two little-endian 32-bit halves, high half first.
    const uint64_t high = u32();
    const uint64_t low = u32();
    const uint64_t bits = (high << 32) | low;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t SwfReader::encodedU32()
{
    uint32_t value = 0;
    for (int i = 0; i < 5; ++i) {
        const uint8_t byte = u8();
        value |= static_cast<uint32_t>(byte & 0x7f) << (7 * i);
        if (!(byte & 0x80))
            break;
    }
    return value;
}

std::string SwfReader::string()
{
    align();
    const uint8_t *start = data_ + pos_;
    const void *end = std::memchr(start, 0, remaining());
    if (!end) {
        std::string text(reinterpret_cast<const char *>(start), remaining());
        pos_ = size_;
        overrun_ = true;
        return text;
    }
    const size_t length = static_cast<const uint8_t *>(end) - start;
    pos_ += length + 1;
    return std::string(reinterpret_cast<const char *>(start), length);
}

uint32_t SwfReader::ub(unsigned bits)
{
    uint32_t value = 0;
    for (unsigned i = 0; i < bits; ++i) {
        if (bitCount_ == 0) {
            if (pos_ >= size_) {
                overrun_ = true;
                return 0;
            }
            bitBuffer_ = data_[pos_++];
            bitCount_ = 8;
        }
        --bitCount_;
        value = (value << 1) | ((bitBuffer_ >> bitCount_) & 1u);
    }
    return value;
}

int32_t SwfReader::sb(unsigned bits)
{
    if (bits == 0)
        return 0;
    const uint32_t raw = ub(bits);
    if (bits >= 32)
        return static_cast<int32_t>(raw);
    const uint32_t signBit = 1u << (bits - 1);
    return static_cast<int32_t>((raw ^ signBit) - signBit);
}

double SwfReader::fb(unsigned bits)
{
    return sb(bits) / 65536.0;
}

Rect SwfReader::rect()
{
    align();
    const unsigned bits = ub(5);
    Rect r;
    r.xMin = sb(bits);
    r.xMax = sb(bits);
    r.yMin = sb(bits);
    r.yMax = sb(bits);
    align();
    return r;
}

Matrix SwfReader::matrix()
{
    align();
    Matrix m;
    if (flag()) {
        const unsigned bits = ub(5);
        m.a = fb(bits);
        m.d = fb(bits);
    }
    if (flag()) {
        const unsigned bits = ub(5);
        m.b = fb(bits);
        m.c = fb(bits);
    }
    const unsigned bits = ub(5);
    m.tx = sb(bits);
    m.ty = sb(bits);
    align();
    return m;
}

Rgba SwfReader::rgb()
{
    Rgba c;
    c.r = u8();
    c.g = u8();
    c.b = u8();
    c.a = 255;
    return c;
}

Rgba SwfReader::rgba()
{
    Rgba c = rgb();
    c.a = u8();
    return c;
}

Rgba SwfReader::argb()
{
    Rgba c;
    c.a = u8();
    c.r = u8();
    c.g = u8();
    c.b = u8();
    return c;
}

ColorTransform SwfReader::colorTransform(bool withAlpha)
{
    align();
    ColorTransform cx;
    const bool hasAdd = flag();
    const bool hasMult = flag();
    const unsigned bits = ub(4);
    const int channels = withAlpha ? 4 : 3;
    if (hasMult)
        for (int i = 0; i < channels; ++i)
            cx.mult[i] = sb(bits) / 256.0f;
    if (hasAdd)
        for (int i = 0; i < channels; ++i)
            cx.add[i] = static_cast<float>(sb(bits));
    align();
    return cx;
}

}  // namespace swf
