#pragma once
// Byte and bit reader over one block of SWF data (a tag body, a header).
//
// Reading never goes past the end of the block: a read that would do so
// returns zero bits and marks the reader as overrun, so a truncated or lying
// file yields a defined (partial) result instead of undefined behaviour.
// Callers check overrun() where a half-read record must be discarded.
// Not thread-safe; cheap to copy (it does not own the bytes).

#include <cstddef>
#include <cstdint>
#include <string>

#include "swf/format/types.h"

namespace swf {

class SwfReader {
public:
    SwfReader() = default;
    SwfReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    size_t size() const { return size_; }
    size_t position() const { return pos_; }
    size_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    bool atEnd() const { return remaining() == 0; }
    bool overrun() const { return overrun_; }
    const uint8_t *data() const { return data_; }
    const uint8_t *current() const { return data_ + pos_; }

    void seek(size_t pos);
    void skip(size_t count);
    // A reader over the next `count` bytes (clipped to what is left);
    // this reader moves past them.
    SwfReader sub(size_t count);

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int16_t s16() { return static_cast<int16_t>(u16()); }
    int32_t s32() { return static_cast<int32_t>(u32()); }
    double fixed8();   // 8.8 signed fixed point
    double fixed16();  // 16.16 signed fixed point
    float f32();
    double f64();
    uint32_t encodedU32();
    // A zero-terminated string (the terminator is consumed, not returned).
    std::string string();

    // Bit fields, most significant bit first. Any byte read aligns first.
    uint32_t ub(unsigned bits);
    int32_t sb(unsigned bits);
    double fb(unsigned bits);  // signed 16.16 fixed point in `bits` bits
    bool flag() { return ub(1) != 0; }
    void align() { bitCount_ = 0; }

    Rect rect();
    Matrix matrix();
    Rgba rgb();
    Rgba rgba();
    Rgba argb();
    ColorTransform colorTransform(bool withAlpha);

private:
    bool take(size_t count);

    const uint8_t *data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    uint8_t bitBuffer_ = 0;
    unsigned bitCount_ = 0;
    bool overrun_ = false;
};

}  // namespace swf
