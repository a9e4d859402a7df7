#include "swf/media/speexframes.h"

namespace swf {

namespace {

// Bits of a narrowband frame by mode, its 5 header bits included; modes 9
// to 13 do not exist, 14 is an in-band signal and 15 the terminator.
constexpr int kNarrowbandBits[9] = {5, 43, 119, 160, 220, 300, 364, 492, 79};
// Bits of the wideband layer that may follow, by mode, its 4 header bits
// included.
constexpr int kWidebandBits[5] = {4, 36, 112, 192, 352};
constexpr int kTerminator = 15;

class BitCursor {
public:
    BitCursor(const uint8_t *data, size_t size) : data_(data), bits_(size * 8) {}

    size_t position() const { return position_; }
    size_t left() const { return bits_ - position_; }
    void skip(size_t bits) { position_ += bits; }
    void alignToByte() { position_ = (position_ + 7) / 8 * 8; }
    // `count` bits from the current position, without moving; the caller
    // checks there are that many.
    int peek(int count, size_t at = 0) const
    {
        int value = 0;
        for (int i = 0; i < count; ++i) {
            const size_t bit = position_ + at + size_t(i);
            value = value << 1 | ((data_[bit / 8] >> (7 - bit % 8)) & 1);
        }
        return value;
    }

private:
    const uint8_t *data_;
    size_t bits_;
    size_t position_ = 0;
};

constexpr int kHeaderBits = 5;

// Bits of the frame at the cursor; 0 for a terminator, -1 for no frame.
int FrameBits(const BitCursor &cursor)
{
    if (cursor.left() < size_t(kHeaderBits) || cursor.peek(1) != 0)
        return -1;
    const int mode = cursor.peek(4, 1);
    if (mode == kTerminator)
        return 0;
    if (mode >= int(sizeof kNarrowbandBits / sizeof *kNarrowbandBits))
        return -1;
    const size_t narrowband = size_t(kNarrowbandBits[mode]);
    if (cursor.left() < narrowband + 4 || cursor.peek(1, narrowband) != 1)
        return int(narrowband);
    const int widebandMode = cursor.peek(3, narrowband + 1);
    if (widebandMode >= int(sizeof kWidebandBits / sizeof *kWidebandBits))
        return -1;
    return int(narrowband) + kWidebandBits[widebandMode];
}

}  // namespace

std::vector<SpeexFrame> SplitSpeexFrames(const uint8_t *data, size_t size)
{
    std::vector<SpeexFrame> frames;
    BitCursor cursor(data, size);
    while (cursor.left() >= 8) {
        const int bits = FrameBits(cursor);
        if (bits < 0 || size_t(bits) > cursor.left())
            break;
        const size_t start = cursor.position() / 8;
        // A terminator's header is all there is of it.
        cursor.skip(size_t(bits > 0 ? bits : kHeaderBits));
        cursor.alignToByte();
        if (bits > 0)
            frames.push_back({start, cursor.position() / 8 - start});
    }
    return frames;
}

}  // namespace swf
