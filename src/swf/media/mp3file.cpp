#include "swf/media/mp3file.h"

namespace swf {

namespace {

constexpr size_t kHeaderSize = 4;
constexpr size_t kId3HeaderSize = 10;

struct FrameHeader {
    int rate = 0;
    bool stereo = false;
    size_t length = 0;
    uint32_t samples = 0;
};

// The header at `p`, or false when it is none (a broken or free-format
// frame counts as none).
bool ReadFrameHeader(const uint8_t *p, FrameHeader &out)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int version = (p[1] >> 3) & 3;  // 3: MPEG 1, 2: MPEG 2, 0: MPEG 2.5
    const int layer = (p[1] >> 1) & 3;    // 1: layer III
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return false;
    static const int kBitrates[2][15] = {
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    };
    static const int kRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    const bool mpeg1 = version == 3;
    const int bitrate = kBitrates[mpeg1][bitrateIndex] * 1000;
    out.rate = kRates[version][rateIndex];
    out.stereo = (p[3] >> 6) != 3;
    out.samples = mpeg1 ? 1152 : 576;
    out.length = size_t((mpeg1 ? 144 : 72) * bitrate / out.rate + ((p[2] >> 1) & 1));
    return out.length > kHeaderSize;
}

// Where the frames start: past an ID3v2 tag, whose size is stored seven
// bits a byte.
size_t FramesStart(const std::string &bytes)
{
    if (bytes.size() < kId3HeaderSize || bytes.compare(0, 3, "ID3") != 0)
        return 0;
    size_t size = 0;
    for (size_t i = 6; i < kId3HeaderSize; ++i)
        size = (size << 7) | (uint8_t(bytes[i]) & 0x7F);
    return kId3HeaderSize + size;
}

}  // namespace

bool ReadMp3File(const std::string &bytes, Mp3File &out)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
    size_t at = FramesStart(bytes);
    FrameHeader header;
    // Junk before the first frame is passed over.
    while (at + kHeaderSize <= bytes.size() && !ReadFrameHeader(data + at, header))
        ++at;
    if (at + kHeaderSize > bytes.size())
        return false;
    const size_t first = at;
    out.format.codec = SoundCodec::Mp3;
    out.format.rate = header.rate;
    out.format.sixteenBit = true;
    out.format.stereo = header.stereo;
    out.sampleCount = 0;
    FrameHeader frame;
    while (at + kHeaderSize <= bytes.size() && ReadFrameHeader(data + at, frame)
           && at + frame.length <= bytes.size()) {
        out.sampleCount += frame.samples;
        at += frame.length;
    }
    if (out.sampleCount == 0)
        return false;
    out.soundData.assign(2, '\0');
    out.soundData.append(bytes, first, at - first);
    return true;
}

}  // namespace swf
