#include "swf/media/soundstream.h"

#include <algorithm>

#include "swf/media/audiodecoder.h"

namespace swf {

namespace {

// An MP3 block starts with its sample count and a seek count.
constexpr size_t kMp3BlockHeader = 4;

}  // namespace

SoundStream::SoundStream(const SoundFormat &format, uint16_t samplesPerBlock)
    : format_(format), samplesPerBlock_(samplesPerBlock)
{
}

std::shared_ptr<SoundStream> SoundStream::fromHead(SwfReader body)
{
    body.u8();  // the rate the player would like to play at: ignored, as players do
    const SoundFormat format = SoundFormat::fromFlags(body.u8());
    const uint16_t samplesPerBlock = body.u16();
    if (body.overrun())
        return nullptr;
    return std::make_shared<SoundStream>(format, samplesPerBlock);
}

void SoundStream::addBlock(int frame, SwfReader body)
{
    if (!blocks_.empty() && blocks_.back().frame >= frame)
        return;  // one block per frame
    Block block{frame, body.current(), body.remaining(), statedTotal_};
    int64_t samples = samplesPerBlock_;
    if (format_.codec == SoundCodec::Mp3) {
        samples = body.u16();
        if (body.overrun())
            return;
    }
    blocks_.push_back(block);
    statedTotal_ += samples;
}

int64_t SoundStream::blockStart(int frame) const
{
    const auto it = std::lower_bound(blocks_.begin(), blocks_.end(), frame,
                                     [](const Block &block, int f) { return block.frame < f; });
    if (it == blocks_.end() || it->frame != frame)
        return -1;
    return it->firstSample * PcmBuffer::kRate / format_.rate;
}

void SoundStream::decodeInto(PcmBuffer &out) const
{
    AudioDecoder decoder(format_);
    const size_t skip = format_.codec == SoundCodec::Mp3 ? kMp3BlockHeader : 0;
    for (const Block &block : blocks_) {
        if (block.size > skip)
            decoder.decode(block.data + skip, block.size - skip, out);
    }
    decoder.finish(out);
    out.samples.shrink_to_fit();
}

}  // namespace swf
